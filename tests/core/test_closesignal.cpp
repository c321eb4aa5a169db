#include "childprocess.h"
#include "ibsql.h"
#include "messagerecorder.h"
#include "tabform.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <signal.h>

namespace {

QString descrizione(const QString &database)
{
    TIBDatabase db;
    db.DatabaseName = database;
    db.Params =
        QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=plumtree7")};
    db.Open();
    TIBTransaction tr;
    tr.setDefaultDatabase(&db);
    TIBSQL q;
    q.setDatabase(&db);
    q.setTransaction(&tr);
    q.SQL = QStringList{QStringLiteral("SELECT DESCRIZIONE FROM PROGRAMMI WHERE CODICE=1")};
    q.ExecQuery();
    const QString testo = q.Eof() ? QStringLiteral("<nessuna riga>") : q.Fields(0).AsString();
    q.Close();
    tr.Commit();
    return testo;
}

} // namespace

// A kill, Ctrl+C or a closed session while an editor holds a changed row:
// the tool ends as by "Esci", offers no save, and the row stays as it was.
TEST(CloseOnSignal, EachSignalEndsTheToolAndLeavesTheEditedRowAsItWas)
{
    QTemporaryDir dir;
    QDir(dir.path()).mkpath(QStringLiteral("Grafica"));
    const QString database = dir.path() + QStringLiteral("/user/user.fdb");
    {
        MessageRecorder rec;
        rec.allowAny();
        TTabForm tab;
        tab.DirectoryProgramma = dir.path() + QLatin1Char('/');
        ASSERT_TRUE(tab.ConnettiDatabaseArchivi());
        TIBSQL q;
        q.setDatabase(tab.IBDatabase1);
        q.setTransaction(tab.IBTransaction1);
        q.SQL = QStringList{QStringLiteral(
            "INSERT INTO PROGRAMMI (CODICE, NOME, DESCRIZIONE) VALUES (1, 'P1', 'Prima')")};
        q.ExecQuery();
        tab.IBTransaction1->Commit();
    }
    for (const int segnale : {SIGTERM, SIGINT, SIGHUP}) {
        ChildProcess child({QStringLiteral("edit"), dir.path()});
        ASSERT_TRUE(child.waitFor(QStringLiteral("editing"))) << segnale;
        child.send(segnale);
        EXPECT_EQ(child.finish(), 0) << segnale;
        const QStringList righe = child.lines();
        const QStringList dopo = righe.mid(righe.indexOf(QStringLiteral("editing")) + 1);
        EXPECT_EQ(dopo, QStringList{QStringLiteral("ended")}) << segnale;
        EXPECT_EQ(descrizione(database), QStringLiteral("Prima")) << segnale;
    }
}
