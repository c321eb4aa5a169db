#pragma once

#include "ricercaform.h"

class TDBEdit;
class TDBGrid;
class TIBQuery;

// Picks a project (the users editor's project of a user).
class TRicProgForm : public TRicercaForm
{
    Q_OBJECT
public:
    TRicProgForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *QueryProgetti;
    TDBGrid *GridProgetti;
    TDBEdit *EditCodice;
    TDBEdit *EditNome;
    TDBEdit *EditDescrizione;
};
