#include "databaselocation.h"

#include "busycursor.h"
#include "databasecreation.h"
#include "ibdatabase.h"
#include "inifile.h"
#include "kivin2form.h"
#include "messages.h"

#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpression>
#include <memory>

namespace {

const QString kSection = QStringLiteral("CONFIG");
const QString kDefaultUser = QStringLiteral("SYSDBA");
const QString kDefaultPassword = QStringLiteral("plumtree7");

} // namespace

namespace DbLocationText {

QString databaseName(const QString &percorso, const QString &server, const QString &lettera)
{
    if (server.isEmpty())
        return percorso;
    QString path = percorso;
    if (!lettera.isEmpty() && !path.isEmpty())
        path.replace(0, 1, lettera);
    return server + QLatin1Char(':') + path;
}

UncPath fromUnc(const QString &directory, const QString &percorsoNelServer)
{
    UncPath out;
    QString rest = directory.mid(2);
    const int afterServer = rest.indexOf(QLatin1Char('\\'));
    const QString server = afterServer < 0 ? rest : rest.left(afterServer);
    rest = afterServer < 0 ? QString() : rest.mid(afterServer + 1);
    const int afterShare = rest.indexOf(QLatin1Char('\\'));
    out.share = afterShare < 0 ? rest : rest.left(afterShare);

    if (out.share.size() < 2) {
        // A share named by its disk letter: \\srv\C\dati\ is C:\dati\ on srv.
        const int slash = rest.indexOf(QLatin1Char('\\'));
        if (slash >= 0)
            rest.insert(slash, QLatin1Char(':'));
        else
            rest += QLatin1Char(':');
        out.percorso = server + QLatin1Char(':') + rest;
        return out;
    }
    out.namedShare = true;
    if (!percorsoNelServer.isEmpty()) {
        out.percorso = server + QLatin1Char(':') + percorsoNelServer;
        return out;
    }
    out.warn = true;
    return out;
}

QString namedShareWarning(const QString &share)
{
    return QStringLiteral("Attenzione: il disco con gli archivi è stato condiviso in rete con un "
                          "nome - ") +
           share +
           QStringLiteral(" - e non con la lettera che lo identifica. Si consiglia di correggere "
                          "la condivisione oppure ") +
           QStringLiteral("di correggere manualmente la sezione Percorso Nel Server nel file "
                          "Dati.ini accanto al database");
}

QString serverFolder(const QString &server, const QString &percorsoDatabase)
{
    QString folder = percorsoDatabase;
    if (!folder.endsWith(QLatin1Char('\\')))
        folder += QLatin1Char('\\');
    return QStringLiteral("\\\\") + server + QLatin1Char('\\') + folder;
}

bool isUsableName(const QString &name)
{
    if (name.startsWith(QLatin1Char('/')) || name.startsWith(QLatin1String("\\\\")))
        return true;
    // "host:path" or "host/port:path"; a single letter before ":" is a drive.
    static const QRegularExpression withServer(QStringLiteral("^[^:\\\\/]{2,}(/[^:\\\\/]+)?:"));
    return withServer.match(name).hasMatch();
}

QString creationName(const QString &finalName)
{
    return finalName + QStringLiteral(".tmp");
}

QString heldElsewhere()
{
    return QStringLiteral("Il database è già aperto da un altro programma");
}

} // namespace DbLocationText

namespace {

QStringList creationLines(const QString &user, const QString &pwd)
{
    return {QStringLiteral("USER \"") + user + QLatin1Char('"'),
            QStringLiteral("PASSWORD \"") + pwd + QLatin1Char('"'),
            QStringLiteral("PAGE_SIZE 4096")};
}

} // namespace

bool ConnettiIBDatabase(TIBDatabase *database, const QString &percorso, const QString &server,
                        const QString &lettera, const QString &userName, const QString &password,
                        bool allowCreate, DbOpening *opening)
{
    DbOpening unused;
    DbOpening &out = opening ? *opening : unused;
    out.cause.clear();
    out.held = false;
    const QString user = userName.isEmpty() ? kDefaultUser : userName;
    const QString pwd = password.isEmpty() ? kDefaultPassword : password;
    const QStringList connectLines = {QStringLiteral("user_name=") + user,
                                      QStringLiteral("password=") + pwd};
    try {
        database->Close();
    } catch (const EIBError &) {
        // A connection that cannot be closed cleanly is dropped all the same.
    }
    database->LoginPrompt = false;
    database->Params = connectLines;
    database->DatabaseName = DbLocationText::databaseName(percorso, server, lettera);

    // A relative or Windows drive path would open or create a stray file in
    // the current folder.
    if (!DbLocationText::isUsableName(database->DatabaseName))
        return false;

    bool missing = false;
    try {
        database->Open();
        return true;
    } catch (const EIBError &e) {
        out.cause = causeOf(e);
        out.held = e.isHeldElsewhere();
        // Only a missing or unopenable file is created; after a login, network
        // or lock failure a new empty database would hide the real one.
        if (!allowCreate || !e.isFileOpenFailure())
            return false;
        missing = e.isMissingFile();
    }

    const QStringList createLines = creationLines(user, pwd);
    // A file on this machine can be built aside and renamed; one reached
    // through a server cannot.
    if (out.buildNew && database->DatabaseName.startsWith(QLatin1Char('/')))
        return createAllOrNothing(database, connectLines, createLines, out);

    database->Params = createLines;
    database->SQLDialect = 3;
    try {
        database->CreateDatabase();
    } catch (const EIBError &e) {
        database->Params = connectLines;
        // For a file that is there, why it could not be opened says more than
        // why it could not be created again.
        if (missing)
            out.cause = causeOf(e);
        return false;
    }
    database->Params = connectLines;
    out.created = true;
    out.cause.clear();
    Messages::plain(QStringLiteral("Effettuata creazione data base"));
    if (out.buildNew) {
        QString ignored;
        out.buildNew(ignored);
    }
    return true;
}

bool PercorsoDaUNC(const QString &directory, const QString &percorsoNelServer, QString &percorso,
                   bool &condivisioneConNome)
{
    const UncPath unc = DbLocationText::fromUnc(directory, percorsoNelServer);
    if (unc.namedShare)
        condivisioneConNome = true;
    if (unc.warn) {
        Messages::plain(DbLocationText::namedShareWarning(unc.share));
        return true;
    }
    percorso = unc.percorso;
    return false;
}

void ChiediServerDati(const QString &directory, QWidget *owner, QString &server, QString &lettera)
{
    TIniFile ini(directory + QStringLiteral("dati.ini"));
    server = ini.ReadString(kSection, QStringLiteral("Nome Server"), QString());
    lettera = ini.ReadString(kSection, QStringLiteral("Lettera Disco Server"), QString());
    if (!server.isEmpty())
        return;

    Messages::plain(QStringLiteral("Non trovato dati.ini"));
    auto dlg = std::make_unique<TKivIn2Form>(owner);
    dlg->setWindowTitle(QStringLiteral("Non trovato dati.ini"));
    dlg->Label1->setText(QStringLiteral("Inserire il nome del computer e la lettera della sua\r\n"
                                        "unità disco dove risulta ospitato (o sarà ospitato) il "
                                        "database"));
    dlg->setFont(QFont(QStringLiteral("Arial"), 8));
    dlg->Edit1->clear();
    Modal::exec(dlg.get());
    if (dlg->Esito != 1) {
        server.clear();
        lettera.clear();
        return;
    }
    server = dlg->Edit1->text();
    lettera = dlg->Edit2->text();
    try {
        ini.WriteString(kSection, QStringLiteral("Nome Server"), server);
        if (!lettera.isEmpty())
            ini.WriteString(kSection, QStringLiteral("Lettera Disco Server"), lettera);
    } catch (const EIniFileException &) {
        // A folder that is not on this machine (a Windows drive path) cannot
        // keep the answer; it is used for this connection all the same.
    }
}

bool ApriDatabase(TIBDatabase *database, const QString &directory, QString nomeFile,
                  const QString &userName, const QString &password, QWidget *owner,
                  DbOpening *opening, bool allowCreate)
{
    const BusyCursor busy;
    DbOpening unused;
    DbOpening *const out = opening ? opening : &unused;
    out->created = false;
    out->abandoned = false;
    out->held = false;
    out->cause.clear();

    QString percorso = directory;
    bool warned = false;
    if (nomeFile.isEmpty())
        nomeFile = QStringLiteral("archivio.fdb");

    TIniFile ini(directory + QStringLiteral("dati.ini"));
    const QString server = ini.ReadString(kSection, QStringLiteral("Nome Server"), QString());
    const QString alias = ini.ReadString(kSection, QStringLiteral("Alias"), QString());

    // Once a configured server has been tried, a local database must not be
    // created in its place: it would be empty and silently used instead.
    bool serverTried = false;
    if (!server.isEmpty() && !alias.isEmpty()) {
        serverTried = true;
        if (ConnettiIBDatabase(database, alias, server, QString(), userName, password, allowCreate,
                               out))
            return true;
    }

    const QString percorsoDatabase =
        ini.ReadString(kSection, QStringLiteral("PercorsoDatabase"), QString());
    if (!percorsoDatabase.isEmpty()) {
        const QString folder = DbLocationText::serverFolder(server, percorsoDatabase);
        return ConnettiIBDatabase(database, folder + nomeFile, QString(), QString(), userName,
                                  password, allowCreate && !serverTried, out);
    }

    bool condivisioneConNome = false;
    if (directory.contains(QLatin1String("\\\\"))) {
        warned = PercorsoDaUNC(
            directory, ini.ReadString(kSection, QStringLiteral("Percorso Nel Server"), QString()),
            percorso, condivisioneConNome);
    }

    bool connected = false;
    bool skipPrompt = warned;
    if (!warned) {
        connected = ConnettiIBDatabase(database, percorso + nomeFile, QString(), QString(),
                                       userName, password, allowCreate && !serverTried, out);
        // A new file whose first schema failed was removed: asking for a
        // server now would only hide that.
        if (out->abandoned)
            return false;
        // A file here that another program holds is the answer already:
        // asking for a server now would only hide it and write dati.ini. A
        // server already stored there is still tried.
        if (!connected && out->held && server.isEmpty() &&
            QFileInfo::exists(database->DatabaseName))
            return false;
        if (!connected && condivisioneConNome) {
            Messages::plain(QStringLiteral("Errore: nonostante le configurazioni, il particolare "
                                           "percorso di rete sta rendendo impossibile "
                                           "l'attivazione del database"));
            skipPrompt = true;
        }
    }

    if (!connected && !skipPrompt && allowCreate) {
        QString promptServer, lettera;
        ChiediServerDati(directory, owner, promptServer, lettera);
        if (promptServer.isEmpty()) {
            Messages::plain(QStringLiteral("Apertura / creazione del database non riuscita!"));
            return false;
        }
        connected = ConnettiIBDatabase(database, percorso + nomeFile, promptServer, lettera,
                                       userName, password, !serverTried, out);
    }
    return connected && database->Connected();
}
