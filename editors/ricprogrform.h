#pragma once

#include "ricercaform.h"

class TDBEdit;
class TDBGrid;
class TIBQuery;

// Picks a program (the profile details' program of a grant). Not to be
// confused with TRicProgForm, which picks a project.
class TRicProgrForm : public TRicercaForm
{
    Q_OBJECT
public:
    TRicProgrForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *QueryProgrammi;
    TDBGrid *GridProgrammi;
    TDBEdit *EditCodice;
    TDBEdit *EditNome;
    TDBEdit *EditDescrizione;
};
