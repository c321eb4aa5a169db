#include "ricmenuform.h"

TRicMenuForm::TRicMenuForm(QWidget *owner, TTabForm *&tabForm, const QString &Programma)
    : TRicercaForm(owner, tabForm, QStringLiteral("Ricerca menu"), QStringLiteral("QueryMenu"),
                   QStringLiteral("GridMenu"))
    , QueryMenu(query())
    , GridMenu(grid())
    , EditProgramma(campo(QStringLiteral("EditProgramma"), QStringLiteral("Programma"),
                          QStringLiteral("PROGRAMMA")))
    , EditDescrizione(campo(QStringLiteral("EditDescrizione"), QStringLiteral("Descrizione"),
                            QStringLiteral("DESCRIZIONE")))
    , EditMenu(campo(QStringLiteral("EditMenu"), QStringLiteral("Menu"), QStringLiteral("MENU")))
{
    setObjectName(QStringLiteral("RicMenuForm"));
    apri({QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA"),
          QStringLiteral("ORDER BY PROGRAMMA,MENU")},
         {{QStringLiteral("PROGRAMMA"), Programma}});
}
