#pragma once

#include "ricercaform.h"

class TDBEdit;
class TDBGrid;
class TIBQuery;

// Picks a security profile (the users editor's profile of a user).
class TRicProfForm : public TRicercaForm
{
    Q_OBJECT
public:
    TRicProfForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *QueryProfili;
    TDBGrid *GridProfili;
    TDBEdit *EditCodice;
    TDBEdit *EditDescrizione;
    TDBEdit *EditLivello;
};
