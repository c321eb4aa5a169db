#include "messages.h"
#include "pathutil.h"
#include "replicazione.h"
#include "tabform.h"
#include "utentitest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

// Set in the child: the program folder whose user database it replicates in.
const char *kCartella = "REPLICA_KILL_FOLDER";

} // namespace

// The child: the test program started again with the folder in its
// environment. It replicates to three users and, once the second is written,
// says so and waits to be killed.
TEST(ReplicaKill, DISABLED_Child)
{
    const QString cartella = qEnvironmentVariable(kCartella);
    ASSERT_FALSE(cartella.isEmpty());
    setProgramFolder(cartella);
    MessageRecorder rec;
    rec.allowAny();
    TTabForm tab;
    ASSERT_TRUE(tab.ConnettiDatabaseArchivi());
    TReplicazioneComponent r;
    r.SetDatabase(tab.IBDatabase1);
    r.UtenteOrigine = 1;
    r.Ditta = QStringLiteral("ALFA");
    r.UtentiDestinazione = QStringList{"2", "3", "4"};
    r.Verifica();
    int scritte = 0;
    r.DopoDestinazione = [&](int) {
        if (++scritte < 2)
            return;
        std::fputs("pronto\n", stdout);
        std::fflush(stdout);
        for (;;)
            pause();
    };
    r.Esegui();
    ADD_FAILURE() << "the replication ended on its own";
}

class ReplicaKillTest : public UtentiTest
{
};

TEST_F(ReplicaKillTest, AReplicationKilledBeforeItsCommitLeavesEveryDestinationAsItWas)
{
    utente(1, "anna", "ALFA", "[ALFA]\nA=1\nB=2\n");
    for (int u : {2, 3, 4}) {
        utente(u, QString("u%1").arg(u), "ALFA", "[ALFA]\nX=1\n[BETA]\nY=2\n");
        riga(u, "ALFA", "X", "1", 1);
        riga(u, "BETA", "Y", "2", 2);
    }
    const QStringList prima = istantanea();
    // One process at a time holds the file through the embedded engine.
    tab.reset();
    tabVar = nullptr;

    QProcess figlio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kCartella, cartella());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The engine's shared files in a folder of the child's own: a kill can
    // leave a process-shared mutex held there.
    QTemporaryDir fileMotore;
    env.insert("FIREBIRD_LOCK", fileMotore.path());
    figlio.setProcessEnvironment(env);
    figlio.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=ReplicaKill.DISABLED_Child", "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(figlio.waitForStarted());
    QByteArray uscita;
    while (!uscita.contains("pronto\n") && figlio.state() == QProcess::Running) {
        figlio.waitForReadyRead(1000);
        uscita += figlio.readAllStandardOutput();
    }
    ASSERT_TRUE(uscita.contains("pronto\n"))
        << uscita.toStdString() << figlio.readAllStandardError().toStdString();
    figlio.kill(); // SIGKILL
    ASSERT_TRUE(figlio.waitForFinished(30000));
    EXPECT_EQ(figlio.exitStatus(), QProcess::CrashExit);

    tab = std::make_unique<TTabForm>();
    tabVar = tab.get();
    rec.allowAny();
    ASSERT_TRUE(tab->ConnettiDatabaseArchivi());
    rec.allowAny(false);
    EXPECT_EQ(istantanea(), prima);
}
