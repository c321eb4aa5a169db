#pragma once

#include <QString>
#include <functional>

class QWidget;
class TIBDatabase;

// How a database is reached: through "dati.ini" beside it, the form of its
// folder, or a first-run prompt, creating it when it does not exist yet.

// The outcome of turning a UNC folder into a server path.
struct UncPath
{
    bool warn = false;       // the share is a name and nothing says where it is
    bool namedShare = false; // CondivisioneConNome
    QString percorso;        // the server path, when not warned
    QString share;
};

// What an opening reports besides its answer, and how it fills a database
// it has just created.
struct DbOpening
{
    // Fills a new database after "Effettuata creazione data base"; answers
    // false, with the database's message in `cause`, when it could not. A new
    // local file is then made all or nothing: created under creationName()
    // beside its final name, filled and committed, detached and renamed; a
    // failed fill removes it and ends the opening. A database created through
    // a server is filled in place and kept whatever the fill answers. Without
    // it a new database stays empty.
    std::function<bool(QString &cause)> buildNew;

    bool created = false;   // this opening created the database
    QString cause;          // why the last attempt failed, in the database's words
    bool abandoned = false; // a new local file could not be completed: nothing more was tried
    bool held = false;      // the last attempt found the file held by another program
};

// Pure text rules, kept exactly as the suite's Windows programs apply them.
namespace DbLocationText {
// ConnettiIBDatabase's database name for a path, server and disk letter.
QString databaseName(const QString &percorso, const QString &server, const QString &lettera);
// "\\server\share\rest\" to "server:..." or a warning.
UncPath fromUnc(const QString &directory, const QString &percorsoNelServer);
QString namedShareWarning(const QString &share);
// "\\" + server + "\" + folder, with the trailing "\" the folder may lack.
QString serverFolder(const QString &server, const QString &percorsoDatabase);
// True for a name a connection can be tried on: a local absolute path or a
// name that carries its server. A Windows drive path is neither here.
bool isUsableName(const QString &name);
// The name a new local database is built under before it takes its own.
QString creationName(const QString &finalName);
// The cause shown when another program holds the file.
QString heldElsewhere();
} // namespace DbLocationText

// allowCreate false, for a database that is only read: a file that cannot be
// opened is a failed opening, never replaced by a new empty one, and nothing
// is asked or written beside it.
bool ApriDatabase(TIBDatabase *database, const QString &directory, QString nomeFile,
                  const QString &userName, const QString &password, QWidget *owner,
                  DbOpening *opening = nullptr, bool allowCreate = true);

// allowCreate false: a failed connection is only reported, never followed by
// the creation of a new file (used once a configured server has been tried).
bool ConnettiIBDatabase(TIBDatabase *database, const QString &percorso, const QString &server,
                        const QString &lettera, const QString &userName, const QString &password,
                        bool allowCreate = true, DbOpening *opening = nullptr);

void ChiediServerDati(const QString &directory, QWidget *owner, QString &server, QString &lettera);

bool PercorsoDaUNC(const QString &directory, const QString &percorsoNelServer, QString &percorso,
                   bool &condivisioneConNome);
