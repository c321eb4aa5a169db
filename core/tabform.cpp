#include "tabform.h"

#include "busycursor.h"
#include "databaselocation.h"
#include "editprotocol.h"
#include "guard.h"
#include "messages.h"
#include "pathutil.h"
#include "schema.h"
#include "statusbutton.h"

#include <QDir>
#include <QFile>
#include <QWidget>
#include <cstdio>

namespace {

QString folderOf(const QString &path)
{
    const int cut = qMax(path.lastIndexOf(QLatin1Char('\\')), path.lastIndexOf(QLatin1Char('/')));
    return path.left(cut + 1);
}

QString fileNameOf(const QString &path)
{
    return path.mid(folderOf(path).size());
}

// A statement on one connection with parameter scanning off, its transaction
// started, as the archive object's own maintenance statements are run.
struct MaintenanceStatement
{
    TIBSQL sql;
    MaintenanceStatement(TIBDatabase *db, TIBTransaction *tr)
    {
        sql.setDatabase(db);
        sql.setTransaction(tr);
        sql.ParamCheck = false;
        tr->ensureStarted();
    }
    int count(const QStringList &lines)
    {
        sql.SQL = lines;
        sql.ExecQuery();
        const int n = sql.Eof() ? 0 : sql.FieldByName(QStringLiteral("TOT")).AsInteger();
        sql.Close();
        return n;
    }
    void exec(const QStringList &lines)
    {
        sql.Close();
        sql.SQL = lines;
        sql.ExecQuery();
    }
};

} // namespace

TTabForm::TTabForm(QWidget *owner)
    : QObject(owner)
    , IBDatabase1(new TIBDatabase(this))
    , IBTransaction1(new TIBTransaction(this))
    , QueryAux(new TIBSQL(this))
    , IBCSDProgetti(new TIBDatabase(this))
    , IBTransactionCSDProgetti(new TIBTransaction(this))
    , DirectoryProgramma(programFolder())
    , m_owner(owner)
{
    IBDatabase1->SQLDialect = 3;
    // Another administrator's unsaved change makes a statement wait: after 10
    // seconds it fails as a conflict instead of holding the window for good.
    IBTransaction1->Params = {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_wait"),
                              QStringLiteral("isc_tpb_write"),
                              QStringLiteral("isc_tpb_lock_timeout=%1").arg(LockTimeout)};
    IBTransaction1->setDefaultDatabase(IBDatabase1);
    IBDatabase1->DefaultTransaction = IBTransaction1;
    QueryAux->setDatabase(IBDatabase1);
    QueryAux->setTransaction(IBTransaction1);
    IBCSDProgetti->SQLDialect = 3;
    IBTransactionCSDProgetti->setDefaultDatabase(IBCSDProgetti);
    IBCSDProgetti->DefaultTransaction = IBTransactionCSDProgetti;
}

TTabForm::~TTabForm() = default;

bool TTabForm::ConnettiDatabaseArchivi()
{
    const BusyCursor busy;
    if (!DirectoryProgramma.endsWith(QLatin1Char('/')))
        DirectoryProgramma += QLatin1Char('/');
    const QString userFolder = DirectoryProgramma + QStringLiteral("user/");
    QDir().mkpath(userFolder);

    // A database this opening creates gets the first schema and then the
    // settings table before it takes its name; one that opens already has
    // its tables. Nothing is left to create in a new file once it has its
    // name: a kill inside the engine's commit of a new table leaves debris
    // that the next creation of the same table trips over.
    bool settingsTried = false, settingsReady = false;
    DbOpening opening;
    opening.buildNew = [&](QString &cause) {
        if (!CreazioneTabelle(&cause))
            return false;
        settingsTried = true;
        settingsReady = ensureImpostazioni();
        return true;
    };
    if (!ApriDatabase(IBDatabase1, userFolder, QStringLiteral("user.fdb"), QString(), QString(),
                      m_owner, &opening)) {
        const QString text = QStringLiteral("Errore inizializzazione database utenti");
        std::fprintf(stderr, "%s: %s\n", qPrintable(text),
                     qPrintable(opening.cause.isEmpty() ? QStringLiteral("-") : opening.cause));
        Messages::error(opening.cause.isEmpty() ? text : text + QLatin1Char('\r') + opening.cause);
        return false;
    }

    FileVerde = DirectoryProgramma + QStringLiteral("Grafica/Verde.bmp");
    FileRosso = DirectoryProgramma + QStringLiteral("Grafica/Rosso.bmp");

    // Without the settings table there is no stored path to read; the
    // sign-in goes on all the same.
    if (!settingsTried)
        settingsReady = ensureImpostazioni();
    if (settingsReady) {
        const QString csd = Get_DBCSDProgetti();
        if (!csd.isEmpty())
            ConnettiIBCSDProgetti(csd);
    }
    return true;
}

bool TTabForm::CreazioneTabelle(QString *cause)
{
    for (const SchemaStatement &s : Schema::userDatabase()) {
        try {
            QueryAux->Close();
            QueryAux->SQL.clear();
            QueryAux->SQL << s.lines;
            QueryAux->ExecQuery();
        } catch (const std::exception &e) {
            if (cause)
                *cause = Guard::messageOf(e);
            Messages::error(s.errorText);
            // Undo the statements that did run: the next commit on the shared
            // transaction would otherwise make half a schema permanent.
            if (IBTransaction1->InTransaction())
                Guard::run([this] { IBTransaction1->Rollback(); });
            return false;
        }
    }
    try {
        IBTransaction1->Commit();
    } catch (const std::exception &e) {
        // A definition the server refuses only at commit must not stay
        // pending in the shared transaction.
        if (IBTransaction1->InTransaction())
            Guard::run([this] { IBTransaction1->Rollback(); });
        if (cause)
            *cause = Guard::messageOf(e);
        Messages::error(Guard::messageOf(e));
        return false;
    }
    return true;
}

bool TTabForm::ensureImpostazioni()
{
    try {
        MaintenanceStatement st(IBDatabase1, IBTransaction1);
        const int tot = st.count({"SELECT", "  COUNT(*) AS TOT", "FROM", "  RDB$RELATIONS", "WHERE",
                                  "  RDB$RELATION_NAME='IMPOSTAZIONIVELMOUSER'"});
        if (tot == 0) {
            st.exec(Schema::impostazioniVelmoUser());
            IBTransaction1->CommitRetaining();
        }
        return true;
    } catch (const std::exception &e) {
        if (IBTransaction1->InTransaction())
            Guard::run([this] { IBTransaction1->RollbackRetaining(); });
        Messages::error(QStringLiteral("Fallita creazione tabella \"IMPOSTAZIONIVELMOUSER\":\r") +
                        Guard::messageOf(e));
        return false;
    }
}

QString TTabForm::Get_DBCSDProgetti()
{
    TIBSQL sql;
    sql.setDatabase(IBDatabase1);
    sql.setTransaction(IBTransaction1);
    sql.SQL = QStringList{"SELECT", "  DBCSDPROGETTI", "FROM", "  IMPOSTAZIONIVELMOUSER",
                          "WHERE",  "  ID=1"};
    sql.ExecQuery();
    if (sql.Eof())
        return {};
    QString value = sql.FieldByName(QStringLiteral("DBCSDPROGETTI")).AsString();
    value.replace(QStringLiteral("´"), QStringLiteral("'"));
    return value;
}

void TTabForm::Set_DBCSDProgetti(const QString &percorso)
{
    QString value = QStringLiteral("NULL");
    if (!percorso.isEmpty()) {
        QString quoted = percorso;
        quoted.replace(QLatin1Char('\''), QStringLiteral("´"));
        value = QLatin1Char('\'') + quoted + QLatin1Char('\'');
    }
    try {
        MaintenanceStatement st(IBDatabase1, IBTransaction1);
        st.exec({"UPDATE OR INSERT INTO IMPOSTAZIONIVELMOUSER(", "ID,", "DBCSDPROGETTI", ")",
                 "VALUES(", "1,", value, ")"});
        IBTransaction1->CommitRetaining();
    } catch (const std::exception &e) {
        Messages::error(QStringLiteral("Fallito salvataggio impostazione \"DBCSDPROGETTI\":\r") +
                        Guard::messageOf(e));
    }
    if (!percorso.isEmpty())
        ConnettiIBCSDProgetti(percorso);
}

void TTabForm::ConnettiIBCSDProgetti(const QString &percorso)
{
    const BusyCursor busy;
    if (!ApriDatabase(IBCSDProgetti, folderOf(percorso), fileNameOf(percorso), QString(), QString(),
                      m_owner)) {
        Messages::warning(QStringLiteral("Connessione database CSDProgetti non riuscita"));
        return;
    }
    bool completed = false;
    try {
        MaintenanceStatement st(IBCSDProgetti, IBTransactionCSDProgetti);
        completed = true;
        for (const Schema::CsdObject &o : Schema::csdProgetti()) {
            const bool exists = o.generator ? EsisteGeneratore(o.name) : EsisteTabella(o.name);
            if (exists)
                continue;
            try {
                st.exec(o.lines);
            } catch (const std::exception &e) {
                const QString what = o.generator ? QStringLiteral("Fallita creazione generatore \"")
                                                 : QStringLiteral("Fallita creazione tabella \"");
                Messages::error(what + o.name + QStringLiteral("\":\r") + Guard::messageOf(e));
                completed = false;
                break;
            }
        }
        if (completed && IBTransactionCSDProgetti->InTransaction())
            IBTransactionCSDProgetti->CommitRetaining();
    } catch (const std::exception &e) {
        completed = false;
        Messages::error(Guard::messageOf(e));
    }
    if (!completed && IBTransactionCSDProgetti->InTransaction())
        Guard::run([this] { IBTransactionCSDProgetti->RollbackRetaining(); });
}

bool TTabForm::csdProbe(const QString &catalogue, const QString &column, const QString &nome)
{
    MaintenanceStatement st(IBCSDProgetti, IBTransactionCSDProgetti);
    return st.count({"SELECT", "  COUNT(*) AS TOT", "FROM", "  " + catalogue, "WHERE",
                     "  " + column + "='" + nome + "'"}) >= 1;
}

bool TTabForm::EsisteTabella(const QString &nome)
{
    return csdProbe(QStringLiteral("RDB$RELATIONS"), QStringLiteral("RDB$RELATION_NAME"), nome);
}

bool TTabForm::EsisteGeneratore(const QString &nome)
{
    return csdProbe(QStringLiteral("RDB$GENERATORS"), QStringLiteral("RDB$GENERATOR_NAME"), nome);
}

void TTabForm::MostraStato(QAbstractButton *statusButton, int tag) const
{
    setStatusGlyph(statusButton, tag, tag == StatusUnsaved ? FileRosso : FileVerde);
}

void TTabForm::AggiornaTabella(TDataSet *dataSet, const TBookmark &bookmark, bool usaBookmark)
{
    EditProtocol::AggiornaTabella(dataSet, bookmark, usaBookmark);
}

void TTabForm::ChiudiTransazione(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                                 QAbstractButton *statusButton)
{
    EditProtocol::ChiudiTransazione(dataSet, bookmark, bookmarkValido, statusButton, FileVerde);
}

void TTabForm::ChiudiTransEAggiorna(TDataSet *dataSet, TBookmark &bookmark, bool &bookmarkValido,
                                    QAbstractButton *statusButton)
{
    EditProtocol::ChiudiTransEAggiorna(dataSet, bookmark, bookmarkValido, statusButton, FileVerde);
}

bool TTabForm::userProbe(TIBTransaction *tr, const QString &catalogue, const QString &column,
                         const QString &nome)
{
    TIBSQL sql;
    sql.setDatabase(IBDatabase1);
    sql.setTransaction(tr);
    tr->ensureStarted();
    sql.SQL = QStringList{"SELECT COUNT(*) AS TOT FROM " + catalogue, "WHERE " + column + "=:NOME"};
    sql.ParamByName(QStringLiteral("NOME")).setValue(nome);
    sql.ExecQuery();
    const bool trovato = !sql.Eof() && sql.FieldByName(QStringLiteral("TOT")).AsInteger() >= 1;
    sql.Close();
    return trovato;
}

bool TTabForm::EsisteTabellaUtenti(TIBTransaction *tr, const QString &nome)
{
    return userProbe(tr, QStringLiteral("RDB$RELATIONS"), QStringLiteral("RDB$RELATION_NAME"),
                     nome);
}

bool TTabForm::EsisteGeneratoreUtenti(TIBTransaction *tr, const QString &nome)
{
    return userProbe(tr, QStringLiteral("RDB$GENERATORS"), QStringLiteral("RDB$GENERATOR_NAME"),
                     nome);
}
