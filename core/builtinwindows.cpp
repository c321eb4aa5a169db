#include "builtinwindows.h"

#include "builtinscripts.h"
#include "guard.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "messages.h"
#include "suitelibraries.h"

namespace BuiltinWindows {
namespace {

bool hasRow(TIBSQL &query, const QStringList &sql)
{
    query.Close();
    query.SQL = sql;
    query.ExecQuery();
    const bool found = !query.Eof();
    query.Close();
    return found;
}

bool create(TIBSQL &query, TIBTransaction &transaction, const QStringList &sql)
{
    try {
        query.Close();
        query.SQL = sql;
        query.ExecQuery();
        transaction.CommitRetaining();
        return true;
    } catch (const std::exception &) {
        // A statement that failed only at commit would otherwise stay pending
        // in the shared transaction and break every later commit on it.
        if (transaction.InTransaction())
            Guard::run([&transaction] { transaction.RollbackRetaining(); });
        Messages::error(QStringLiteral("Errore interno durante la creazione della tabella "
                                       "pulsantoni"));
        return false;
    }
}

} // namespace

bool GestionePulsantoni(TIBSQL &query, TIBDatabase &database, TIBTransaction &transaction)
{
    query.setDatabase(&database);
    query.setTransaction(&transaction);
    if (!hasRow(query, BuiltinScripts::pulsantoniProbeSql())) {
        Messages::warning(QStringLiteral("Tabella PULSANTONI mancante: verrà creata ora"));
        if (!create(query, transaction, BuiltinScripts::pulsantoniCreateSql()))
            return false;
    }
    if (!hasRow(query, BuiltinScripts::pulsantoniGeneratorProbeSql())) {
        if (!create(query, transaction, BuiltinScripts::pulsantoniGeneratorCreateSql()))
            return false;
    }
    return SuiteLibraries::ShowCSDFormStatic(database.DatabaseName,
                                             BuiltinScripts::pulsantoniScript());
}

bool LingueComponent(const TIBDatabase &database)
{
    return SuiteLibraries::ShowCSDFormStatic(database.DatabaseName,
                                             BuiltinScripts::lingueComponentScript());
}

bool LingueMenu(const TIBDatabase &database)
{
    return SuiteLibraries::ShowCSDFormStatic(database.DatabaseName,
                                             BuiltinScripts::lingueMenuScript());
}

} // namespace BuiltinWindows
