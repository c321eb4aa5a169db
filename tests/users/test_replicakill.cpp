#include "childkill.h"
#include "messages.h"
#include "replicazione.h"
#include "tabform.h"
#include "utentitest.h"

namespace {

// Set in the child: the program folder whose user database it replicates in.
const char *kCartella = "REPLICA_KILL_FOLDER";

} // namespace

// The child: the test program started again with the folder in its
// environment. It replicates to three users and, once the second is written,
// says so and waits to be killed.
TEST(ReplicaKill, DISABLED_Child)
{
    KillChild figlio;
    ASSERT_TRUE(figlio.start(kCartella));
    TReplicazioneComponent r;
    r.SetDatabase(figlio.tab->IBDatabase1);
    r.UtenteOrigine = 1;
    r.Ditta = QStringLiteral("ALFA");
    r.UtentiDestinazione = QStringList{"2", "3", "4"};
    r.Verifica();
    int scritte = 0;
    r.DopoDestinazione = [&](int) {
        if (++scritte >= 2)
            announceAndWaitForKill();
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

    QProcessEnvironment env;
    env.insert(kCartella, cartella());
    ASSERT_NO_FATAL_FAILURE(killChildWhenReady("ReplicaKill.DISABLED_Child", env));

    tab = std::make_unique<TTabForm>();
    tabVar = tab.get();
    rec.allowAny();
    ASSERT_TRUE(tab->ConnettiDatabaseArchivi());
    rec.allowAny(false);
    EXPECT_EQ(istantanea(), prima);
}
