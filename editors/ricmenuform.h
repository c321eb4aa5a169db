#pragma once

#include "ricercaform.h"

class TDBEdit;
class TDBGrid;
class TIBQuery;

// Picks one menu entry of one program (a parent entry, a profile's grant).
class TRicMenuForm : public TRicercaForm
{
    Q_OBJECT
public:
    TRicMenuForm(QWidget *owner, TTabForm *&tabForm, const QString &Programma);

    TIBQuery *QueryMenu;
    TDBGrid *GridMenu;
    TDBEdit *EditProgramma;
    TDBEdit *EditDescrizione;
    TDBEdit *EditMenu;
};
