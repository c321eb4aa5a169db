#include "ricprogrform.h"

TRicProgrForm::TRicProgrForm(QWidget *owner, TTabForm *&tabForm)
    : TRicercaForm(owner, tabForm, QStringLiteral("Ricerca programmi"),
                   QStringLiteral("QueryProgrammi"), QStringLiteral("GridProgrammi"))
    , QueryProgrammi(query())
    , GridProgrammi(grid())
    , EditCodice(
          campo(QStringLiteral("EditCodice"), QStringLiteral("Codice"), QStringLiteral("CODICE")))
    , EditNome(campo(QStringLiteral("EditNome"), QStringLiteral("Nome"), QStringLiteral("NOME")))
    , EditDescrizione(campo(QStringLiteral("EditDescrizione"), QStringLiteral("Descrizione"),
                            QStringLiteral("DESCRIZIONE")))
{
    setObjectName(QStringLiteral("RicProgrForm"));
    apri({QStringLiteral("SELECT * FROM PROGRAMMI ORDER BY CODICE")});
}
