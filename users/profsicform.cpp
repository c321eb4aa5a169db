#include "profsicform.h"

#include "dbcombobox.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "dettprofform.h"
#include "editorwidgets.h"
#include "ibquery.h"
#include "messages.h"
#include "tag.h"

#include <QGridLayout>
#include <QPushButton>

using EditorWidgets::bound;

TProfSicForm::TProfSicForm(QWidget *owner, TTabForm *&tabForm)
    : TRecordEditorForm(
          owner, tabForm,
          {QStringLiteral("PROFILI"), {QStringLiteral("CODICE")}, QStringLiteral("CODICE"), {}})
    , QueryProfili(MainQuery)
    , UpdateProfili(MainUpdate)
{
    setNames(QStringLiteral("ProfSicForm"), QStringLiteral("Profili sicurezza"),
             QStringLiteral("QueryProfili"), QStringLiteral("UpdateProfili"));
    buildFields();

    GridProfili = mainGrid("GridProfili");
    ButtonDettagli = addCommand("ButtonDettagli", QStringLiteral("Dettagli"), true);
    onClick(ButtonDettagli, this, &TProfSicForm::ButtonDettagliClick);

    fitTo(QSize(760, 520));
    Apri();
}

void TProfSicForm::buildFields()
{
    QWidget *p = PanelCampi;
    EditCodice = EditorWidgets::keyEdit(p, "EditCodice", QueryProfili, "CODICE");
    EditDescrizione = bound<TDBEdit>(p, "EditDescrizione", QueryProfili, "DESCRIZIONE");
    EditLivello = bound<TDBEdit>(p, "EditLivello", QueryProfili, "LIVELLOPREDEFINITO");
    ComboTipo = bound<TDBComboBox>(p, "ComboTipo", QueryProfili, "TIPO");
    ComboTipo->addItems({QStringLiteral("Administrator"), QStringLiteral("Guest")});
    MemoNote = bound<TDBMemo>(p, "MemoNote", QueryProfili, "NOTE");

    ButtonCodice = codeButton(QStringLiteral("Codice"));
    ButtonDescrizione = labelButton(QStringLiteral("ButtonDescrizione"),
                                    QStringLiteral("Descrizione"), EditDescrizione);
    ButtonLivello = labelButton(QStringLiteral("ButtonLivello"),
                                QStringLiteral("Livello Predefinito"), EditLivello);
    ButtonTipo = labelButton(QStringLiteral("ButtonTipo"), QStringLiteral("Tipo"), ComboTipo);
    ButtonNote = labelButton(QStringLiteral("ButtonNote"), QStringLiteral("Note"), MemoNote);

    const QFontMetrics fm(EditDescrizione->font());
    EditCodice->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("0000000000")));
    EditLivello->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("0000000000")));
    ComboTipo->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("Administrator")) + 40);
    EditDescrizione->setMinimumWidth(fm.averageCharWidth() * 32);
    MemoNote->setFixedHeight(fm.lineSpacing() * 4 + 2 * MemoNote->frameWidth() + 8);

    auto *grid = new QGridLayout(p);
    grid->setContentsMargins(0, 0, 0, 6);
    grid->setVerticalSpacing(2);
    grid->addWidget(ButtonCodice, 0, 0);
    grid->addWidget(ButtonDescrizione, 0, 1);
    grid->addWidget(ButtonLivello, 0, 2);
    grid->addWidget(ButtonTipo, 0, 3);
    grid->addWidget(EditCodice, 1, 0);
    grid->addWidget(EditDescrizione, 1, 1);
    grid->addWidget(EditLivello, 1, 2);
    grid->addWidget(ComboTipo, 1, 3);
    grid->setRowMinimumHeight(2, 6);
    grid->addWidget(ButtonNote, 3, 0, 1, 4);
    grid->addWidget(MemoNote, 4, 0, 1, 4);
    grid->setColumnStretch(1, 1);
}

QWidget *TProfSicForm::EditChiave() const
{
    return EditCodice;
}

QString TProfSicForm::PromptNuovoCodice() const
{
    return QStringLiteral("Inserire il nuovo codice di menu");
}

void TProfSicForm::ValoriNuovoRecord()
{
    QueryProfili->FieldByName(QStringLiteral("LIVELLOPREDEFINITO"))->setValue(0);
}

bool TProfSicForm::ControlloDipendenti()
{
    // Users that carry the profile are not checked: they keep its code.
    // Without a row there is nothing to check; the delete says so.
    if (EditCodice->text().isEmpty() ||
        !rowExists({QStringLiteral("SELECT * FROM DETTPROF WHERE PROFILO=:PROFILO")},
                   {{QStringLiteral("PROFILO"), EditCodice->text()}}))
        return true;
    Messages::warning(QStringLiteral("Ci sono dei dettagli legati a questo profilo sicurezza, si "
                                     "prega di eliminarli prima di cancellare questo record"));
    return false;
}

QList<TDipendente> TProfSicForm::Dipendenti()
{
    return {{QStringLiteral("DETTPROF"), QStringLiteral("PROFILO"), false},
            {QStringLiteral("UTENTI"), QStringLiteral("PROFILOSICUREZZA"), false}};
}

QString TProfSicForm::ProssimoCodice()
{
    // A user still naming a deleted profile must not be given a new one.
    return ProssimoCodiceOltre(QStringLiteral("UTENTI"), QStringLiteral("PROFILOSICUREZZA"));
}

void TProfSicForm::ButtonDettagliClick()
{
    if (QueryProfili->IsEmpty()) {
        Messages::warning(QStringLiteral("Non è stato selezionato nessun profilo"));
        return;
    }
    const QString codice = EditCodice->text();
    {
        TDettProfForm dettagli(this, FTabForm, codice);
        Modal::exec(&dettagli);
    }
    ButtonAggiornaClick();
    QueryProfili->Locate(QStringLiteral("CODICE"), codice);
}
