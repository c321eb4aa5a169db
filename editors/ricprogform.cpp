#include "ricprogform.h"

TRicProgForm::TRicProgForm(QWidget *owner, TTabForm *&tabForm)
    : TRicercaForm(owner, tabForm, QStringLiteral("Ricerca progetti"),
                   QStringLiteral("QueryProgetti"), QStringLiteral("GridProgetti"))
    , QueryProgetti(query())
    , GridProgetti(grid())
    , EditCodice(
          campo(QStringLiteral("EditCodice"), QStringLiteral("Codice"), QStringLiteral("CODICE")))
    , EditNome(campo(QStringLiteral("EditNome"), QStringLiteral("Nome"), QStringLiteral("NOME")))
    , EditDescrizione(campo(QStringLiteral("EditDescrizione"), QStringLiteral("Descrizione"),
                            QStringLiteral("DESCRIZIONE")))
{
    setObjectName(QStringLiteral("RicProgForm"));
    apri({QStringLiteral("SELECT * FROM PROGETTI ORDER BY CODICE")});
}
