#include "databaselocation.h"
#include "inifile.h"
#include "kivin2form.h"
#include "messagerecorder.h"
#include "serverdb.h"
#include "testdb.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// The server cases of the database location, against the private test server.
namespace {

class ServerApriDatabase : public ::testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(); }
    void TearDown() override { Modal::setRunner({}); }
    QString folder() const { return dir.path() + "/"; }
    void writeIni(const QList<QPair<QString, QString>> &keys)
    {
        TIniFile ini(folder() + "dati.ini");
        for (const auto &kv : keys)
            ini.WriteString("CONFIG", kv.first, kv.second);
    }
    QTemporaryDir dir;
    TIBDatabase db;
    MessageRecorder rec;
};

} // namespace

TEST_F(ServerApriDatabase, ServerAndAliasConnectAndNothingElseIsTried)
{
    const QString alias = dir.path() + "/utenti.fdb";
    writeIni({{"Nome Server", testServer()}, {"Alias", alias}});
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    DbOpening opening;
    ASSERT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr, &opening));
    EXPECT_TRUE(opening.created);
    EXPECT_EQ(db.DatabaseName, testServer() + ":" + alias);
    EXPECT_FALSE(QFile::exists(folder() + "user.fdb"));

    db.Close();
    ASSERT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr, &opening));
    EXPECT_FALSE(opening.created);
    EXPECT_EQ(db.DatabaseName, testServer() + ":" + alias);
}

TEST_F(ServerApriDatabase, ServerFolderIsUsedAsWritten)
{
    writeIni({{"Nome Server", testServer()}, {"PercorsoDatabase", dir.path()}});
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    ASSERT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
    // The folder gets the "\" it lacks, exactly as the rule says; a server on
    // Linux then sees a file whose name begins with that "\".
    EXPECT_EQ(db.DatabaseName, "\\\\" + testServer() + "\\" + dir.path() + "\\user.fdb");
    EXPECT_TRUE(QFile::exists(dir.path() + "\\user.fdb"));
    // That file stands beside the test's folder, not in it: it goes by hand.
    db.Close();
    EXPECT_TRUE(QFile::remove(dir.path() + "\\user.fdb"));
}

TEST_F(ServerApriDatabase, ADatabaseTheServerHoldsIsNoPromptButAStoredServerReachesIt)
{
    // The server has the database open, so the local engine cannot open it;
    // that is no reason to create a new one, nor to ask for a server.
    TIBDatabase held;
    held.DatabaseName = serverDatabaseName(folder() + "user.fdb");
    held.Params = {"USER \"SYSDBA\"", "PASSWORD \"plumtree7\"", "PAGE_SIZE 4096"};
    held.CreateDatabase();

    int prompts = 0;
    Modal::setRunner([&](QDialog *) {
        ++prompts;
        return int(mrCancel);
    });
    DbOpening opening;
    EXPECT_FALSE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr, &opening));
    EXPECT_EQ(opening.cause, DbLocationText::heldElsewhere());
    EXPECT_EQ(prompts, 0);
    EXPECT_FALSE(QFile::exists(folder() + "dati.ini"));

    // The server named in dati.ini is tried without a prompt.
    TIniFile(folder() + "dati.ini").WriteString("CONFIG", "Nome Server", testServer());
    ASSERT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
    EXPECT_EQ(prompts, 0);
    EXPECT_EQ(db.DatabaseName, testServer() + ":" + folder() + "user.fdb");
}
