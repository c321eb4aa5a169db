// The users editor: its window and its opening.

#include "utentiform.h"

#include "dataerrors.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "editorwidgets.h"
#include "iberror.h"
#include "ibquery.h"
#include "ibsql.h"
#include "passwordmask.h"
#include "tabform.h"
#include "tabxform.h"
#include "tag.h"
#include "utentiverifica.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QPushButton>
#include <QVBoxLayout>
#include <memory>

using EditorWidgets::bound;
using EditorWidgets::button;
using EditorWidgets::cell;

namespace {

TDBCheckBox *check(QWidget *parent, const char *name, const QString &caption, TDataSet *dataSet,
                   const char *field)
{
    auto *box = bound<TDBCheckBox>(parent, name, dataSet, field);
    box->setText(caption);
    box->ValueChecked = QStringLiteral("1");
    box->ValueUnchecked = QStringLiteral("0");
    return box;
}

} // namespace

TUtentiForm::TUtentiForm(QWidget *owner, TTabForm *&tabForm)
    : TRecordEditorForm(
          owner, tabForm,
          {QStringLiteral("UTENTI"), {QStringLiteral("CODICE")}, QStringLiteral("CODICE"), {}})
    , QueryUtenti(MainQuery)
    , UpdateUtenti(MainUpdate)
    , QueryAux2(new TIBQuery(this))
{
    setNames(QStringLiteral("UtentiForm"), QStringLiteral("Gestione utenti"),
             QStringLiteral("QueryUtenti"), QStringLiteral("UpdateUtenti"));
    QueryAux2->setObjectName(QStringLiteral("QueryAux2"));
    buildFields();
    buildTools();

    GridUtenti = mainGrid("GridUtenti");
    // The password never reaches the view in clear.
    GridUtenti->Model()->setCellTextHook([](int, const TField *field, QString &text) {
        if (field->FieldName().compare(QLatin1String("PWDUTENTE"), Qt::CaseInsensitive) == 0)
            text = Utenti::Asterischi(text);
    });
    GridUtenti->setMinimumHeight(GridUtenti->verticalHeader()->defaultSectionSize() * 7 +
                                 GridUtenti->horizontalHeader()->sizeHint().height());
    setStretch(3, 2);

    onClick(ButtonPassword, this, &TUtentiForm::ButtonPasswordClick);
    onClick(ButtonProfilo, this, &TUtentiForm::ButtonProfiloClick);
    onClick(ButtonProgetto, this, &TUtentiForm::ButtonProgettoClick);
    onClick(ButtonVerifica, this, &TUtentiForm::ButtonVerificaClick);
    onClick(ButtonVerificaHelp, this, &TUtentiForm::ButtonVerificaHelpClick);
    onClick(ButtonFile, this, &TUtentiForm::ButtonFileClick);
    onClick(ButtonPercorso, this, &TUtentiForm::ButtonPercorsoClick);
    onClick(ButtonCerca, this, &TUtentiForm::ButtonCercaClick);
    onClick(ButtonSostituisci, this, &TUtentiForm::ButtonSostituisciClick);
    onClick(ButtonApriEditor, this, &TUtentiForm::ButtonWordpadClick);
    onClick(ButtonResetEditor, this, &TUtentiForm::ButtonResetEditorClick);
    onClick(ButtonInfo1Help, this, &TUtentiForm::ButtonInfo1HelpClick);
    onClick(ButtonAbilitazDitte, this, &TUtentiForm::ButtonAbilitaDitteClick);
    onClick(ButtonAcqDaFile, this, &TUtentiForm::ButtonAcqDaFileClick);
    onClick(ButtonReplicaDitte, this, &TUtentiForm::ButtonReplicaDitteClick);

    Apri();
    // After the opening: it may have shown "Utente inattivo".
    fitTo(QSize(1040, 780));
}

void TUtentiForm::buildFields()
{
    QWidget *p = PanelCampi;
    TIBQuery *q = QueryUtenti;
    EditCodice = EditorWidgets::keyEdit(p, "EditCodice", q, "CODICE");
    EditNomeUtente = bound<TDBEdit>(p, "EditNomeUtente", q, "NOMEUTENTE");
    EditPassword = bound<TDBEdit>(p, "EditPassword", q, "PWDUTENTE", 0);
    EditPassword->setReadOnly(true);
    maskWithStars(EditPassword);
    EditPassword->setFocusPolicy(Qt::ClickFocus);
    EditDescrizione = bound<TDBEdit>(p, "EditDescrizione", q, "DESCRIZIONE");
    EditEmail = bound<TDBEdit>(p, "EditEmail", q, "EMAIL");
    EditInfo1 = bound<TDBEdit>(p, "EditInfo1", q, "INFO1");
    EditInfo2 = bound<TDBEdit>(p, "EditInfo2", q, "INFO2");
    EditDitta = bound<TDBEdit>(p, "EditDitta", q, "DITTA");
    EditProfilo = bound<TDBEdit>(p, "EditProfilo", q, "PROFILOSICUREZZA");
    EditProgetto = bound<TDBEdit>(p, "EditProgetto", q, "PROGETTO");
    EditLingua1 = bound<TDBEdit>(p, "EditLingua1", q, "LINGUA1");
    EditLingua2 = bound<TDBEdit>(p, "EditLingua2", q, "LINGUA2");
    // The memos stay enabled while browsing, read-only, so a long text
    // still scrolls.
    MemoNote = bound<TDBMemo>(p, "MemoNote", q, "NOTE", 0);
    MemoNote->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    MemoPravlin = bound<TDBMemo>(p, "MemoPravlin", q, "PRAVLIN", 0);
    MemoPravlin->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    MemoPravlin->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoPravlin->setFont(QFont(QStringLiteral("Courier New")));

    CheckMantieniStdMin = check(p, "CheckMantieniStdMin",
                                QStringLiteral("Mantieni Standard Minimo"), q, "MANTIENISTDMIN");
    CheckAbilitaSceltaDisco =
        check(p, "CheckAbilitaSceltaDisco", QStringLiteral("Abilita scelta disco"), q,
              "ABILITASCELTADISCO");
    CheckAccessoPravlin = check(p, "CheckAccessoPravlin",
                                QStringLiteral("Consenti accesso a pravlin"), q, "ACCESSOPRAVLIN");
    // Bound at the opening, when the table has the column.
    CheckUtenteInattivo = new TDBCheckBox(QStringLiteral("Utente inattivo"), p);
    CheckUtenteInattivo->setObjectName(QStringLiteral("CheckUtenteInattivo"));
    setTag(CheckUtenteInattivo, 2);
    CheckUtenteInattivo->hide();

    ButtonCodice = codeButton(QStringLiteral("&Codice"));
    ButtonNomeUtente = labelButton(QStringLiteral("ButtonNomeUtente"),
                                   QStringLiteral("Nome &Utente"), EditNomeUtente);
    ButtonPassword =
        labelButton(QStringLiteral("ButtonPassword"), QStringLiteral("&Password"), nullptr);
    ButtonDescrizione = labelButton(QStringLiteral("ButtonDescrizione"),
                                    QStringLiteral("&Descrizione"), EditDescrizione);
    ButtonEmail = labelButton(QStringLiteral("ButtonEmail"), QStringLiteral("E-Mai&l"), EditEmail);
    ButtonNote = labelButton(QStringLiteral("ButtonNote"), QStringLiteral("N&ote"), MemoNote);
    ButtonInfo1 = labelButton(QStringLiteral("ButtonInfo1"), QStringLiteral("Info &1"), EditInfo1);
    ButtonInfo2 = labelButton(QStringLiteral("ButtonInfo2"), QStringLiteral("Info &2"), EditInfo2);
    ButtonDitta = labelButton(QStringLiteral("ButtonDitta"), QStringLiteral("&Ditta"), EditDitta);
    ButtonPravlin =
        labelButton(QStringLiteral("ButtonPravlin"), QStringLiteral("&Pravlin"), MemoPravlin);
    ButtonProfilo =
        labelButton(QStringLiteral("ButtonProfilo"), QStringLiteral("Profilo Sicurezza"), nullptr);
    ButtonProgetto =
        labelButton(QStringLiteral("ButtonProgetto"), QStringLiteral("Progetto"), nullptr);
    ButtonLingua1 =
        labelButton(QStringLiteral("ButtonLingua1"), QStringLiteral("Lingua 1"), EditLingua1);
    ButtonLingua2 =
        labelButton(QStringLiteral("ButtonLingua2"), QStringLiteral("Lingua 2"), EditLingua2);
    ButtonInfo1Help = button("ButtonInfo1Help", QStringLiteral("?"));
    ButtonInfo1Help->setParent(p);

    const QFontMetrics fm(EditNomeUtente->font());
    for (TDBEdit *e : {EditCodice, EditProfilo, EditProgetto, EditLingua1, EditLingua2})
        e->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("0000000000")));
    for (TDBEdit *e : {EditInfo1, EditInfo2})
        e->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("MMMMMMMMMMMM")));
    ButtonInfo1Help->setFixedWidth(fm.horizontalAdvance(QStringLiteral("??")) + 12);

    // The boxes in a grid; the check boxes, the parameter text and the
    // notes in full rows under it, each as wide as its content needs.
    auto *colonna = new QVBoxLayout(p);
    colonna->setContentsMargins(0, 0, 0, 4);
    colonna->setSpacing(4);
    auto *grid = new QGridLayout;
    colonna->addLayout(grid);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(4);
    // Identity and contacts.
    grid->addLayout(cell(ButtonCodice, EditCodice), 0, 0);
    grid->addLayout(cell(ButtonNomeUtente, EditNomeUtente), 0, 1);
    grid->addLayout(cell(ButtonPassword, EditPassword), 0, 2);
    grid->addLayout(cell(ButtonDescrizione, EditDescrizione), 0, 3, 1, 2);
    // Company, profile, project.
    grid->addLayout(cell(ButtonDitta, EditDitta), 1, 0, 1, 2);
    grid->addLayout(cell(ButtonProfilo, EditProfilo), 1, 2);
    grid->addLayout(cell(ButtonProgetto, EditProgetto), 1, 3);
    grid->addLayout(cell(ButtonEmail, EditEmail), 1, 4);
    // Launch mode and languages.
    auto *info1 = new QHBoxLayout;
    info1->setSpacing(2);
    info1->addWidget(EditInfo1);
    info1->addWidget(ButtonInfo1Help);
    info1->addStretch(1);
    auto *info1Cell = new QVBoxLayout;
    info1Cell->setSpacing(1);
    info1Cell->addWidget(ButtonInfo1);
    info1Cell->addLayout(info1);
    grid->addLayout(info1Cell, 2, 0, 1, 2);
    grid->addLayout(cell(ButtonInfo2, EditInfo2), 2, 2);
    grid->addLayout(cell(ButtonLingua1, EditLingua1), 2, 3);
    grid->addLayout(cell(ButtonLingua2, EditLingua2), 2, 4, Qt::AlignLeft);

    auto *checks = new QHBoxLayout;
    checks->setSpacing(16);
    for (QWidget *w : {(QWidget *)CheckMantieniStdMin, (QWidget *)CheckAbilitaSceltaDisco,
                       (QWidget *)CheckAccessoPravlin, (QWidget *)CheckUtenteInattivo})
        checks->addWidget(w);
    checks->addStretch();
    colonna->addLayout(checks);
    grid->setColumnStretch(1, 2);
    grid->setColumnStretch(2, 1);
    grid->setColumnStretch(4, 2);
}

void TUtentiForm::buildTools()
{
    QWidget *p = PanelCampi;
    auto *colonna = static_cast<QVBoxLayout *>(p->layout());

    ButtonFile = button("ButtonFile", QStringLiteral("File"), 2);
    ButtonPercorso = button("ButtonPercorso", QStringLiteral("Percorso"), 2);
    ButtonApriEditor = button("ButtonApriEditor", QStringLiteral("Apri editor"), 2);
    ButtonResetEditor = button("ButtonResetEditor", QStringLiteral("Reset editor"), 2);
    ButtonAbilitazDitte = button("ButtonAbilitazDitte", QStringLiteral("Abilitaz. ditte"), 2);
    ButtonAcqDaFile = button("ButtonAcqDaFile", QStringLiteral("Acq. da File"));
    ButtonSostituisci = button("ButtonSostituisci", QStringLiteral("Sostituisci"));
    ButtonCerca = button("ButtonCerca", QStringLiteral("Cerca"));
    ButtonReplicaDitte = button("ButtonReplicaDitte", QStringLiteral("Replica ditte"));

    // The parameter text with its tools beside it, the notes under them.
    auto *tools = new QVBoxLayout;
    tools->setSpacing(3);
    for (QPushButton *b : {ButtonFile, ButtonPercorso, ButtonApriEditor, ButtonResetEditor,
                           ButtonAbilitazDitte, ButtonAcqDaFile, ButtonSostituisci, ButtonCerca}) {
        b->setParent(p);
        // The memo keeps its caret, selection and focus.
        b->setFocusPolicy(Qt::NoFocus);
        tools->addWidget(b);
    }
    tools->addStretch();
    auto *pravlin = new QHBoxLayout;
    pravlin->addWidget(MemoPravlin, 1);
    pravlin->addLayout(tools);
    colonna->addWidget(ButtonPravlin);
    colonna->addLayout(pravlin, 1);
    colonna->addWidget(ButtonNote);
    colonna->addWidget(MemoNote);
    // The notes are a few lines; the parameter text takes what is left
    // beside the grid, which always shows a screenful of users.
    const int riga = QFontMetrics(MemoNote->font()).lineSpacing();
    MemoNote->setFixedHeight(riga * 3 + 2 * MemoNote->frameWidth() + 8);
    MemoPravlin->setMinimumHeight(QFontMetrics(MemoPravlin->font()).lineSpacing() * 8);

    // The commands beside the standard ones.
    ButtonVerifica = button("ButtonVerifica", QStringLiteral("Verifica Dati"));
    addCommand(ButtonVerifica, false);
    ButtonVerificaHelp = button("ButtonVerificaHelp", QStringLiteral("?"));
    addCommand(ButtonVerificaHelp, false);
    addCommand(ButtonReplicaDitte, true);
}

QWidget *TUtentiForm::EditChiave() const
{
    return EditCodice;
}

void TUtentiForm::SettaggioInterfaccia(bool editing)
{
    TRecordEditorForm::SettaggioInterfaccia(editing);
    for (QPushButton *b : {ButtonAcqDaFile, ButtonSostituisci, ButtonCerca})
        b->setEnabled(editing);
    MemoNote->setReadOnly(!editing);
    MemoPravlin->setReadOnly(!editing);
}

// ---- Opening -----------------------------------------------------------------

void TUtentiForm::PrimaDellApertura()
{
    QueryAux2->setDatabase(FTabForm->IBDatabase1);
    QueryAux2->setTransaction(FTabForm->IBTransaction1);
    RicostruisciTesti();
    MostraUtenteInattivo();
}

void TUtentiForm::RicostruisciTesti()
{
    std::unique_ptr<TTabXForm> tabx;
    try {
        tabx = std::make_unique<TTabXForm>(this, 0);
    } catch (const EIBError &) {
        // The table-services object has shown why; the editor does not open.
        throw EAbort();
    }
    // Whatever the shared transaction held before the editor opened goes:
    // the codes are read on a snapshot that sees every user there is now,
    // and the grid's on one that sees the rebuilt texts.
    TIBTransaction *tr = FTabForm->IBTransaction1;
    const auto riparti = [tr] {
        if (tr->InTransaction())
            tr->Rollback();
        tr->StartTransaction();
    };
    riparti();
    Utenti::RicostruisciPravlin(*tabx, *QueryAux);
    tabx.reset();
    riparti();
}

void TUtentiForm::MostraUtenteInattivo()
{
    const bool presente =
        rowExists({QStringLiteral("SELECT 1 FROM RDB$RELATION_FIELDS"),
                   QStringLiteral("WHERE RDB$RELATION_NAME=:TABELLA AND RDB$FIELD_NAME=:CAMPO")},
                  {{QStringLiteral("TABELLA"), QStringLiteral("UTENTI")},
                   {QStringLiteral("CAMPO"), QStringLiteral("UTENTEINATTIVO")}});
    if (!presente)
        return;
    CheckUtenteInattivo->bind(QueryUtenti, QStringLiteral("UTENTEINATTIVO"));
    CheckUtenteInattivo->show();
}
