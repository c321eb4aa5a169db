#include "ricprofform.h"

TRicProfForm::TRicProfForm(QWidget *owner, TTabForm *&tabForm)
    : TRicercaForm(owner, tabForm, QStringLiteral("Ricerca profili sicurezza"),
                   QStringLiteral("QueryProfili"), QStringLiteral("GridProfili"))
    , QueryProfili(query())
    , GridProfili(grid())
    , EditCodice(
          campo(QStringLiteral("EditCodice"), QStringLiteral("Codice"), QStringLiteral("CODICE")))
    , EditDescrizione(campo(QStringLiteral("EditDescrizione"), QStringLiteral("Descrizione"),
                            QStringLiteral("DESCRIZIONE")))
    , EditLivello(campo(QStringLiteral("EditLivello"), QStringLiteral("Livello Predefinito"),
                        QStringLiteral("LIVELLOPREDEFINITO")))
{
    setObjectName(QStringLiteral("RicProfForm"));
    apri({QStringLiteral("SELECT * FROM PROFILI"), QStringLiteral("ORDER BY CODICE")});
}
