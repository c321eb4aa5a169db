// The record editor's window: its frame, the modes and closing.

#include "recordeditor.h"

#include "dbcontrols.h"
#include "dbgrid.h"
#include "editorsql.h"
#include "editorwidgets.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "screenfit.h"
#include "sqlgen.h"
#include "statusbutton.h"
#include "tabform.h"
#include "tag.h"

#include <QDynamicPropertyChangeEvent>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TRecordEditorForm::TRecordEditorForm(QWidget *owner, TTabForm *&tabForm,
                                     const TRecordEditorTable &table)
    : QDialog(owner)
    , FTabForm(tabForm)
    , MainQuery(new TIBQuery(this))
    , MainUpdate(new TIBUpdateSQL(this))
    , QueryAux(new TIBSQL(this))
    , m_table(table)
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    MainQuery->setUpdateObject(MainUpdate);
    buildFrame();
}

TRecordEditorForm::~TRecordEditorForm() = default;

void TRecordEditorForm::buildFrame()
{
    auto *outer = new QHBoxLayout(this);
    m_leftLayout = new QVBoxLayout;
    PanelCampi = new QWidget;
    PanelCampi->setObjectName(QStringLiteral("PanelCampi"));
    // On a small screen the fields scroll, the commands stay in view.
    m_panel = new TScrollPanel(PanelCampi, this);
    m_leftLayout->addWidget(m_panel);
    outer->addLayout(m_leftLayout, 1);

    m_commandLayout = new QVBoxLayout;
    auto command = [this](const char *name, const QString &caption) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        m_commandLayout->addWidget(b);
        return b;
    };
    ButtonAggiorna = command("ButtonAggiorna", QString());
    ButtonAggiorna->setToolTip(QStringLiteral("Aggiorna"));
    ButtonAggiorna->setIconSize(QSize(24, 24));
    ButtonAggiorna->installEventFilter(this);
    ButtonNuovo = command("ButtonNuovo", QStringLiteral("&Nuovo"));
    ButtonEdit = command("ButtonEdit", QStringLiteral("Edit &X"));
    ButtonMemorizza = command("ButtonMemorizza", QStringLiteral("&Memorizza"));
    ButtonAnnulla = command("ButtonAnnulla", QStringLiteral("&Annulla"));
    ButtonElimina = command("ButtonElimina", QStringLiteral("&Elimina"));
    m_commandInsert = m_commandLayout->count();
    m_commandLayout->addStretch();
    ButtonChiudi = command("ButtonChiudi", QStringLiteral("Ch&iudi"));
    outer->addLayout(m_commandLayout);
    m_browseOnly = {ButtonNuovo, ButtonEdit, ButtonElimina, ButtonChiudi};

    onClick(ButtonNuovo, this, &TRecordEditorForm::ButtonNuovoClick);
    onClick(ButtonEdit, this, &TRecordEditorForm::ButtonEditClick);
    onClick(ButtonMemorizza, this, &TRecordEditorForm::ButtonMemorizzaClick);
    onClick(ButtonAnnulla, this, &TRecordEditorForm::ButtonAnnullaClick);
    onClick(ButtonAggiorna, this, &TRecordEditorForm::ButtonAggiornaClick);
    onClick(ButtonElimina, this, &TRecordEditorForm::ButtonEliminaClick);
    onClick(ButtonChiudi, this, &TRecordEditorForm::ButtonChiudiClick);
}

void TRecordEditorForm::setGrid(QWidget *grid)
{
    m_grid = grid;
    m_leftLayout->addWidget(grid, 1);
    m_browseOnly.append(grid);
}

void TRecordEditorForm::setStretch(int campi, int griglia)
{
    m_leftLayout->setStretchFactor(m_panel, campi);
    if (m_grid)
        m_leftLayout->setStretchFactor(m_grid, griglia);
}

void TRecordEditorForm::addCommand(QPushButton *button, bool browseOnly)
{
    button->setParent(this);
    m_commandLayout->insertWidget(m_commandInsert++, button);
    if (browseOnly)
        m_browseOnly.append(button);
}

QPushButton *TRecordEditorForm::labelButton(const QString &objectName, const QString &caption,
                                            QWidget *target)
{
    return EditorWidgets::labelButton(PanelCampi, objectName, caption, target);
}

QPushButton *TRecordEditorForm::addCommand(const char *objectName, const QString &caption,
                                           bool browseOnly)
{
    auto *b = new QPushButton(caption);
    b->setObjectName(QLatin1String(objectName));
    addCommand(b, browseOnly);
    return b;
}

QPushButton *TRecordEditorForm::codeButton(const QString &caption)
{
    QPushButton *b = labelButton(QStringLiteral("ButtonCodice"), caption, nullptr);
    onClick(b, this, &TRecordEditorForm::ButtonCodiceClick);
    return b;
}

void TRecordEditorForm::rigaCodice(QGridLayout *grid, TDBEdit *&codice, TDBEdit *&nome,
                                   TDBEdit *&descrizione, QPushButton *&buttonCodice,
                                   QPushButton *&buttonNome, QPushButton *&buttonDescrizione)
{
    codice = EditorWidgets::keyEdit(PanelCampi, "EditCodice", MainQuery, "CODICE");
    nome = EditorWidgets::bound<TDBEdit>(PanelCampi, "EditNome", MainQuery, "NOME");
    descrizione =
        EditorWidgets::bound<TDBEdit>(PanelCampi, "EditDescrizione", MainQuery, "DESCRIZIONE");

    // Room for the values each column holds, whatever the font.
    const QFontMetrics fm(nome->font());
    codice->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000000")));
    codice->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("000000000000")));
    nome->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("MMMMMMMMMMMM")));
    descrizione->setMinimumWidth(fm.averageCharWidth() * 32);

    buttonCodice = codeButton(QStringLiteral("Codice"));
    buttonNome = labelButton(QStringLiteral("ButtonNome"), QStringLiteral("Nome"), nome);
    buttonDescrizione = labelButton(QStringLiteral("ButtonDescrizione"),
                                    QStringLiteral("Descrizione"), descrizione);

    grid->addWidget(buttonCodice, 0, 0);
    grid->addWidget(buttonNome, 0, 1);
    grid->addWidget(buttonDescrizione, 0, 2);
    grid->addWidget(codice, 1, 0);
    grid->addWidget(nome, 1, 1);
    grid->addWidget(descrizione, 1, 2);
}

void TRecordEditorForm::setNames(const QString &form, const QString &title, const QString &query,
                                 const QString &update)
{
    setObjectName(form);
    setWindowTitle(title);
    MainQuery->setObjectName(query);
    MainUpdate->setObjectName(update);
}

TDBGrid *TRecordEditorForm::mainGrid(const char *objectName)
{
    auto *grid = new TDBGrid(this);
    grid->setObjectName(QLatin1String(objectName));
    grid->setDataSet(MainQuery);
    setGrid(grid);
    return grid;
}

void TRecordEditorForm::fitTo(const QSize &least)
{
    ScreenFit::fitToScreen(this, sizeHint().expandedTo(least));
}

QWidget *TRecordEditorForm::PrimoCampo() const
{
    return ScreenFit::firstTypable(PanelCampi);
}

void TRecordEditorForm::focusPrimoCampo()
{
    if (QWidget *w = PrimoCampo())
        w->setFocus();
}

QString TRecordEditorForm::PromptNuovoCodice() const
{
    return QStringLiteral("Inserire il nuovo codice");
}

QStringList TRecordEditorForm::parentFields() const
{
    return m_table.parentValues.keys();
}

void TRecordEditorForm::bindParent(TIBSQL *statement) const
{
    for (auto it = m_table.parentValues.cbegin(); it != m_table.parentValues.cend(); ++it)
        statement->ParamByName(it.key()).setValue(it.value());
}

void TRecordEditorForm::Apri()
{
    TTabForm *tab = FTabForm;
    QueryAux->setDatabase(tab->IBDatabase1);
    QueryAux->setTransaction(tab->IBTransaction1);
    MainQuery->setDatabase(tab->IBDatabase1);
    MainQuery->setTransaction(tab->IBTransaction1);
    // Enter in a box must never press a command button.
    for (QPushButton *b : findChildren<QPushButton *>())
        b->setAutoDefault(false);

    ScreenFit::orderTabsOnShow(this);

    PrimaDellApertura();

    MainQuery->SQL = EditorSQL::selectAll(m_table.table, m_table.keyFields, parentFields());
    for (auto it = m_table.parentValues.cbegin(); it != m_table.parentValues.cend(); ++it)
        MainQuery->ParamByName(it.key()).setValue(it.value());
    MainQuery->Open();
    GeneraSQLAggiornamento(MainQuery, m_table.table, QStringLiteral("INSERT"), MainUpdate);
    GeneraSQLAggiornamento(MainQuery, m_table.table, QStringLiteral("UPDATE"), MainUpdate);
    MainUpdate->ModifySQL << EditorSQL::keyCondition(m_table.keyFields, QStringLiteral("OLD_"));
    MainUpdate->DeleteSQL = EditorSQL::deleteStatement(m_table.table, m_table.keyFields);
    SettaggioInterfaccia(false);
}

bool TRecordEditorForm::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == ButtonAggiorna && event->type() == QEvent::DynamicPropertyChange &&
        static_cast<QDynamicPropertyChangeEvent *>(event)->propertyName() == "Tag") {
        m_editing = Tag(ButtonAggiorna) == StatusUnsaved;
        // A save or a rollback has ended the pending code change.
        if (!m_editing)
            m_codiceSalvato = QVariant();
    }
    return QDialog::eventFilter(watched, event);
}

void TRecordEditorForm::SettaggioInterfaccia(bool editing)
{
    m_editing = editing;
    if (!editing)
        m_codiceSalvato = QVariant();
    FTabForm->MostraStato(ButtonAggiorna, editing ? StatusUnsaved : StatusSaved);
    for (QWidget *w : findChildren<QWidget *>()) {
        if (Tag(w) == 2)
            w->setEnabled(editing);
    }
    for (QWidget *w : m_browseOnly)
        w->setEnabled(!editing);
    if (m_grid)
        m_grid->update();
}

// ---- Closing -----------------------------------------------------------------

void TRecordEditorForm::ButtonChiudiClick()
{
    close();
}

void TRecordEditorForm::FormClose(bool &chiudi)
{
    if (!Editing())
        return;
    if (Messages::confirm(QStringLiteral("Salvare le modifiche prima di chiudere la finestra?"))) {
        // A refused or failed save keeps the window open with the edit.
        chiudi = false;
        Memorizzazione();
        chiudi = !Editing();
    } else {
        Annullamento();
    }
}

void TRecordEditorForm::reject()
{
    bool chiudi = true;
    Guard::run([&] { FormClose(chiudi); });
    if (chiudi)
        QDialog::reject();
}

// ---- Helpers -------------------------------------------------------------------

namespace {

void prepare(TIBSQL *s, const QStringList &sql, const QVariantMap &params)
{
    s->Close();
    s->SQL = sql;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        s->ParamByName(it.key()).setValue(it.value());
    s->ExecQuery();
}

} // namespace

bool TRecordEditorForm::rowExists(const QStringList &sql, const QVariantMap &params)
{
    prepare(QueryAux, sql, params);
    const bool found = !QueryAux->Eof();
    QueryAux->Close();
    return found;
}

QVariant TRecordEditorForm::firstValue(const QStringList &sql, const QVariantMap &params)
{
    prepare(QueryAux, sql, params);
    const QVariant v = QueryAux->Eof() ? QVariant() : QueryAux->Fields(0).Value();
    QueryAux->Close();
    return v;
}

QVariantList TRecordEditorForm::currentKey() const
{
    QVariantList key;
    for (const QString &k : m_table.keyFields)
        key << MainQuery->FieldByName(k)->Value();
    return key;
}

bool TRecordEditorForm::locateKey(const QVariantList &key)
{
    return MainQuery->Locate(m_table.keyFields.join(QLatin1Char(';')),
                             key.size() == 1 ? key.first() : QVariant(key));
}
