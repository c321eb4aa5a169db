#include "dettprofform.h"

#include "currentrecord.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "dettmenu.h"
#include "editorwidgets.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "ricmenuform.h"
#include "ricprogrform.h"
#include "tabform.h"
#include "tag.h"

#include <QGridLayout>
#include <QLineEdit>
#include <QPushButton>

using EditorWidgets::bound;
using EditorWidgets::keyEdit;

TDettProfForm::TDettProfForm(QWidget *owner, TTabForm *&tabForm, const QString &Profilo)
    : TRecordEditorForm(
          owner, tabForm,
          {QStringLiteral("DETTPROF"),
           {QStringLiteral("PROFILO"), QStringLiteral("PROGRAMMA"), QStringLiteral("MENU")},
           QString(),
           {{QStringLiteral("PROFILO"), Profilo}}})
    , QueryDettProf(MainQuery)
    , UpdateDettProf(MainUpdate)
    , FProfilo(Profilo)
    , m_descrMenu(new TIBSQL(this))
{
    setNames(QStringLiteral("DettProfForm"), QStringLiteral("Dettagli profilo sicurezza"),
             QStringLiteral("QueryDettProf"), QStringLiteral("UpdateDettProf"));
    m_descrMenu->setDatabase(tabForm->IBDatabase1);
    m_descrMenu->setTransaction(tabForm->IBTransaction1);
    buildFields();

    GridDettProf = mainGrid("GridDettProf");
    ButtonAzzera = addCommand("ButtonAzzera", QStringLiteral("Azzera"), true);
    onClick(ButtonAzzera, this, &TDettProfForm::ButtonAzzeraClick);
    // Shown while browsing too; a failure of the lookup is reported and
    // leaves the description empty.
    onCurrentRecord(QueryDettProf, QStringLiteral("MENU"), this, [this] { DescrizioneMenu(); });

    fitTo(QSize(720, 500));
    Apri();
}

void TDettProfForm::buildFields()
{
    QWidget *p = PanelCampi;
    EditProfilo = keyEdit(p, "EditProfilo", QueryDettProf, "PROFILO");
    EditProgramma = keyEdit(p, "EditProgramma", QueryDettProf, "PROGRAMMA");
    EditMenu = keyEdit(p, "EditMenu", QueryDettProf, "MENU");
    EditDescrMenu = new QLineEdit(p);
    EditDescrMenu->setObjectName(QStringLiteral("EditDescrMenu"));
    EditDescrMenu->setReadOnly(true);
    EditDescrMenu->setFocusPolicy(Qt::ClickFocus);
    EditLivello = bound<TDBEdit>(p, "EditLivello", QueryDettProf, "LIVELLO");

    // The key's captions do nothing: the key is chosen by Nuovo.
    ButtonProfilo =
        labelButton(QStringLiteral("ButtonProfilo"), QStringLiteral("Profilo"), nullptr);
    ButtonProgramma =
        labelButton(QStringLiteral("ButtonProgramma"), QStringLiteral("Programma"), nullptr);
    ButtonMenu = labelButton(QStringLiteral("ButtonMenu"), QStringLiteral("Menu"), nullptr);
    ButtonLivello =
        labelButton(QStringLiteral("ButtonLivello"), QStringLiteral("Livello"), EditLivello);

    const QFontMetrics fm(EditLivello->font());
    for (QLineEdit *e : {(QLineEdit *)EditProfilo, (QLineEdit *)EditProgramma,
                         (QLineEdit *)EditMenu, (QLineEdit *)EditLivello})
        e->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("0000000000")));
    EditDescrMenu->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("M")) * 24);

    auto *grid = new QGridLayout(p);
    grid->setContentsMargins(0, 0, 0, 6);
    grid->setVerticalSpacing(2);
    grid->addWidget(ButtonProfilo, 0, 0);
    grid->addWidget(ButtonProgramma, 0, 1);
    grid->addWidget(ButtonMenu, 0, 2);
    grid->addWidget(ButtonLivello, 0, 4);
    grid->addWidget(EditProfilo, 1, 0);
    grid->addWidget(EditProgramma, 1, 1);
    grid->addWidget(EditMenu, 1, 2);
    grid->addWidget(EditDescrMenu, 1, 3);
    grid->addWidget(EditLivello, 1, 4);
    grid->setColumnStretch(3, 1);
}

bool TDettProfForm::ScegliChiaveNuova()
{
    {
        TRicProgrForm programmi(this, FTabForm);
        if (Modal::exec(&programmi) != mrOk)
            return false;
        FProgramma = programmi.QueryProgrammi->FieldByName(QStringLiteral("CODICE"))->AsString();
    }
    QString menu;
    {
        TRicMenuForm menuList(this, FTabForm, FProgramma);
        if (Modal::exec(&menuList) != mrOk)
            return false;
        menu = menuList.QueryMenu->FieldByName(QStringLiteral("MENU"))->AsString();
    }
    if (rowExists({QStringLiteral("SELECT * FROM DETTPROF WHERE"),
                   QStringLiteral("(PROFILO=:PROFILO)AND"),
                   QStringLiteral("(PROGRAMMA=:PROGRAMMA)AND"), QStringLiteral("(MENU=:MENU)")},
                  {{QStringLiteral("PROFILO"), FProfilo},
                   {QStringLiteral("PROGRAMMA"), FProgramma},
                   {QStringLiteral("MENU"), menu}})) {
        Messages::warning(QStringLiteral(
            "Il menu scelto è già presente nei dettagli di questo profilo sicurezza"));
        return false;
    }
    FMenu = menu;
    return true;
}

void TDettProfForm::ValoriNuovoRecord()
{
    QueryDettProf->FieldByName(QStringLiteral("PROGRAMMA"))->setAsString(FProgramma);
    QueryDettProf->FieldByName(QStringLiteral("MENU"))->setAsString(FMenu);
    QueryDettProf->FieldByName(QStringLiteral("LIVELLO"))->setValue(0);
}

void TDettProfForm::DescrizioneMenu()
{
    EditDescrMenu->clear();
    if (!QueryDettProf->Active() || QueryDettProf->IsEmpty())
        return;
    const QString programma = QueryDettProf->FieldByName(QStringLiteral("PROGRAMMA"))->AsString();
    const QString menu = QueryDettProf->FieldByName(QStringLiteral("MENU"))->AsString();
    if (programma.isEmpty() || menu.isEmpty())
        return;
    EditDescrMenu->setText(DettMenu::Descrizione(*m_descrMenu, programma, menu));
}

void TDettProfForm::ButtonAzzeraClick()
{
    AzzeraRighe(QStringLiteral("Confermare l'azzeramento dei dettagli del profilo sicurezza?"),
                {QStringLiteral("DELETE FROM DETTPROF WHERE PROFILO=:PROFILO")},
                {{QStringLiteral("PROFILO"), FProfilo}});
}
