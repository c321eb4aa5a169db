#include "csdeditorform.h"

#include "dbgrid.h"
#include "editorwidgets.h"
#include "field.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "tabform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QVBoxLayout>

TCSDEditorForm::TCSDEditorForm(QWidget *owner, TTabForm *tabForm, const QString &tabella)
    : QDialog(owner)
    , FTabForm(tabForm)
    , PageControl(new QTabWidget(this))
    , TabConsultazione(new QWidget)
    , TabInserimento(new QWidget)
    , QueryElenco(new TIBQuery(this))
    , GridElenco(new TDBGrid(TabConsultazione))
    , EditCodice(new QLineEdit(TabInserimento))
    , EditDescrizione(new QLineEdit(TabInserimento))
    , m_tabella(tabella)
    , m_consultazione(new QVBoxLayout(TabConsultazione))
    , m_inserimento(new QVBoxLayout(TabInserimento))
{
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    PageControl->setObjectName(QStringLiteral("PageControl"));
    TabConsultazione->setObjectName(QStringLiteral("TabConsultazione"));
    TabInserimento->setObjectName(QStringLiteral("TabInserimento"));
    PageControl->addTab(TabConsultazione, QStringLiteral("Consultazione"));
    PageControl->addTab(TabInserimento, QStringLiteral("Inserimento"));
    QueryElenco->setObjectName(QStringLiteral("QueryElenco"));
    GridElenco->setObjectName(QStringLiteral("GridElenco"));
    GridElenco->setDataSet(QueryElenco);
    m_consultazione->addWidget(GridElenco, 1);

    EditCodice->setObjectName(QStringLiteral("EditCodice"));
    EditorWidgets::keyBox(EditCodice);
    m_inserimento->addLayout(
        EditorWidgets::cell(new QLabel(QStringLiteral("Codice"), TabInserimento), EditCodice));
    EditDescrizione->setObjectName(QStringLiteral("EditDescrizione"));
    EditDescrizione->setMaxLength(128);
    inserimento("ButtonDescrizione", QStringLiteral("Descrizione"), EditDescrizione);

    auto *comandi = new QVBoxLayout;
    auto comando = [&](const char *name, const QString &caption, void (TCSDEditorForm::*click)()) {
        auto *b = new QPushButton(caption, this);
        b->setObjectName(QLatin1String(name));
        // Enter in a box must never press a command.
        b->setAutoDefault(false);
        comandi->addWidget(b);
        Guard::connect(b, &QPushButton::clicked, this, click);
        return b;
    };
    ButtonNuovo =
        comando("ButtonNuovo", QStringLiteral("&Nuovo"), &TCSDEditorForm::ButtonNuovoClick);
    ButtonEdit = comando("ButtonEdit", QStringLiteral("Edit &X"), &TCSDEditorForm::ButtonEditClick);
    ButtonMemorizza = comando("ButtonMemorizza", QStringLiteral("&Memorizza"),
                              &TCSDEditorForm::ButtonMemorizzaClick);
    ButtonAnnulla =
        comando("ButtonAnnulla", QStringLiteral("&Annulla"), &TCSDEditorForm::ButtonAnnullaClick);
    ButtonElimina =
        comando("ButtonElimina", QStringLiteral("&Elimina"), &TCSDEditorForm::ButtonEliminaClick);
    comandi->addStretch(1);
    ButtonChiudi =
        comando("ButtonChiudi", QStringLiteral("Ch&iudi"), &TCSDEditorForm::ButtonChiudiClick);

    auto *esterno = new QHBoxLayout(this);
    esterno->addWidget(PageControl, 1);
    esterno->addLayout(comandi);
}

TCSDEditorForm::~TCSDEditorForm() = default;

void TCSDEditorForm::consultazione(const QString &caption, QWidget *box, int stretch)
{
    m_consultazione->addLayout(EditorWidgets::cell(new QLabel(caption, TabConsultazione), box),
                               stretch);
}

QPushButton *TCSDEditorForm::inserimento(const char *buttonName, const QString &caption,
                                         QWidget *control, int stretch)
{
    QPushButton *b =
        EditorWidgets::labelButton(TabInserimento, QLatin1String(buttonName), caption, control);
    b->setAutoDefault(false);
    m_inserimento->addLayout(EditorWidgets::cell(b, control), stretch);
    return b;
}

void TCSDEditorForm::apri()
{
    QueryElenco->setDatabase(FTabForm->IBCSDProgetti);
    QueryElenco->setTransaction(FTabForm->IBTransactionCSDProgetti);
    QueryElenco->SQL = sqlElenco();
    QueryElenco->Open();
    SetModalita(0);
    resize(sizeHint().expandedTo(QSize(640, 520)));
}

// A memo shows CR LF lines as Qt's; a text left as loaded goes back byte for
// byte, whatever its line ends.
QString TCSDEditorForm::testoMemo(const QPlainTextEdit *memo)
{
    QString t = memo->toPlainText();
    if (t == memo->property("testoMostrato").toString())
        return memo->property("testoCaricato").toString();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

void TCSDEditorForm::mostraMemo(QPlainTextEdit *memo, const QString &testo)
{
    QString t = testo;
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    memo->setPlainText(t);
    memo->setProperty("testoCaricato", testo);
    memo->setProperty("testoMostrato", memo->toPlainText());
}

// ---- Modes -------------------------------------------------------------------

void TCSDEditorForm::SetModalita(int modalita)
{
    if (modalita != 0)
        carica();
    m_modalita = modalita;
    const bool consulta = modalita == 0;
    for (QPushButton *b : {ButtonNuovo, ButtonElimina, ButtonEdit, ButtonChiudi})
        b->setEnabled(consulta);
    ButtonMemorizza->setEnabled(!consulta);
    ButtonAnnulla->setEnabled(!consulta);
    GridElenco->setEnabled(consulta);
    // The page follows the mode: the other one cannot be chosen meanwhile.
    QWidget *pagina = consulta ? TabConsultazione : TabInserimento;
    PageControl->setTabEnabled(PageControl->indexOf(pagina), true);
    PageControl->setCurrentWidget(pagina);
    PageControl->setTabEnabled(PageControl->indexOf(consulta ? TabInserimento : TabConsultazione),
                               false);
    if (consulta)
        GridElenco->setFocus();
    else
        EditDescrizione->setFocus();
}

QString TCSDEditorForm::GetCodiceCorrente() const
{
    if (!QueryElenco->Active() || QueryElenco->IsEmpty())
        return QString();
    return QueryElenco->FieldByName(QStringLiteral("CODICE"))->AsString();
}

void TCSDEditorForm::carica()
{
    TIBSQL st;
    esegui(st, {QStringLiteral("SELECT"), QStringLiteral("  *"), QStringLiteral("FROM"),
                QStringLiteral("  ") + m_tabella, QStringLiteral("WHERE"),
                QStringLiteral("  CODICE=") + m_codice});
    QVariantMap riga;
    if (!st.Eof()) {
        for (int i = 0; i < st.FieldCount(); ++i)
            riga.insert(st.Fields(i).Name,
                        st.Fields(i).IsNull() ? QVariant() : st.Fields(i).Value());
    }
    st.Close();
    EditCodice->setText(m_codice);
    EditDescrizione->setText(riga.value(QStringLiteral("DESCRIZIONE")).toString());
    mostraRiga(riga);
}

void TCSDEditorForm::esegui(TIBSQL &st, const QStringList &sql)
{
    st.setDatabase(FTabForm->IBCSDProgetti);
    st.setTransaction(FTabForm->IBTransactionCSDProgetti);
    if (!sql.isEmpty())
        st.SQL = sql;
    st.ExecQuery();
}

void TCSDEditorForm::riapri(const QString &codice, int posizione)
{
    QueryElenco->Close();
    QueryElenco->Open();
    if (!codice.isEmpty())
        QueryElenco->Locate(QStringLiteral("CODICE"), codice.toInt());
    else if (posizione > 0 && !QueryElenco->IsEmpty())
        QueryElenco->setRecNo(qMin(posizione, QueryElenco->RecordCount()));
}

bool TCSDEditorForm::fallito(const QString &operazione, const std::exception &e)
{
    // Nothing half-done stays in the transaction for a later commit.
    Guard::run([this] {
        if (FTabForm->IBTransactionCSDProgetti->InTransaction())
            FTabForm->IBTransactionCSDProgetti->RollbackRetaining();
    });
    Messages::error(operazione + QLatin1Char('\r') + Guard::messageOf(e));
    return false;
}

// ---- Operations ----------------------------------------------------------------

bool TCSDEditorForm::Nuovo()
{
    QString codice;
    try {
        TIBSQL st;
        esegui(st, sqlNuovo());
        codice = QString::number(st.FieldByName(QStringLiteral("CODICE")).AsInteger());
        st.Close();
        FTabForm->IBTransactionCSDProgetti->CommitRetaining();
    } catch (const std::exception &e) {
        return fallito(QStringLiteral("Inserimento fallito"), e);
    }
    riapri(codice);
    m_codice = codice;
    SetModalita(1);
    return true;
}

void TCSDEditorForm::sqlSalva(TIBSQL &st) const
{
    QStringList sql{QStringLiteral("UPDATE ") + m_tabella + QStringLiteral(" SET")};
    QList<TColonnaCSD> tutte = colonne();
    tutte.prepend({QStringLiteral("DESCRIZIONE"), EditDescrizione->text(), true});
    for (int i = 0; i < tutte.size(); ++i) {
        const TColonnaCSD &c = tutte[i];
        const QString virgola = i + 1 < tutte.size() ? QStringLiteral(",") : QString();
        sql << c.nome + (c.testo.isEmpty() ? QStringLiteral("=NULL") : "=:" + c.nome) + virgola;
    }
    sql << QStringLiteral("WHERE") << QStringLiteral("  CODICE=") + m_codice;
    st.SQL = sql;
    for (const TColonnaCSD &c : tutte) {
        if (c.testo.isEmpty())
            continue;
        st.ParamByName(c.nome).setAsString(c.accento ? ConAccento(c.testo) : c.testo);
    }
}

bool TCSDEditorForm::Memorizza()
{
    try {
        TIBSQL st;
        sqlSalva(st);
        esegui(st, {});
        // Another administrator deleted the row meanwhile.
        if (st.RowsAffected() == 0)
            throw EDatabaseError(TIBQuery::RecordNonTrovato());
        FTabForm->IBTransactionCSDProgetti->CommitRetaining();
    } catch (const std::exception &e) {
        return fallito(QStringLiteral("Fallito salvataggio modifiche"), e);
    }
    riapri(m_codice);
    SetModalita(0);
    if (ModoRicerca)
        done(mrOk);
    return true;
}

bool TCSDEditorForm::Elimina()
{
    const QString codice = GetCodiceCorrente();
    if (codice.isEmpty())
        return false;
    return eliminaRiga(codice, QStringLiteral("Fallita eliminazione"));
}

bool TCSDEditorForm::eliminaRiga(const QString &codice, const QString &operazione)
{
    const int posizione = QueryElenco->RecNo();
    try {
        TIBSQL st;
        esegui(st, {QStringLiteral("DELETE FROM ") + m_tabella, QStringLiteral("WHERE"),
                    QStringLiteral("  CODICE=") + codice});
        FTabForm->IBTransactionCSDProgetti->CommitRetaining();
    } catch (const std::exception &e) {
        return fallito(operazione, e);
    }
    riapri(QString(), posizione);
    return true;
}

bool TCSDEditorForm::Annulla()
{
    // The row a new record made at once goes again.
    if (m_modalita == 1 && !eliminaRiga(m_codice, QStringLiteral("Fallito annullamento modifiche")))
        return false;
    SetModalita(0);
    if (ModoRicerca)
        done(mrCancel);
    return true;
}

// ---- Buttons and closing -------------------------------------------------------

void TCSDEditorForm::ButtonNuovoClick()
{
    Nuovo();
}

void TCSDEditorForm::ButtonEditClick()
{
    const QString codice = GetCodiceCorrente();
    if (codice.isEmpty()) {
        Messages::warning(QStringLiteral("Nessun record selezionato"));
        return;
    }
    m_codice = codice;
    SetModalita(2);
}

void TCSDEditorForm::ButtonEliminaClick()
{
    if (GetCodiceCorrente().isEmpty()) {
        Messages::warning(QStringLiteral("Nessun record selezionato"));
        return;
    }
    if (Messages::show(TMsgDlgType::Warning, QStringLiteral("Eliminare il record corrente?"),
                       TMsgDlgButtons::YesNo) == mrYes)
        Elimina();
}

void TCSDEditorForm::ButtonMemorizzaClick()
{
    Memorizza();
}

void TCSDEditorForm::ButtonAnnullaClick()
{
    Annulla();
}

void TCSDEditorForm::ButtonChiudiClick()
{
    reject();
}

void TCSDEditorForm::reject()
{
    if (m_modalita != 0) {
        Messages::warning(QStringLiteral("Memorizzare o annullare le modifiche"));
        return;
    }
    QDialog::reject();
}
