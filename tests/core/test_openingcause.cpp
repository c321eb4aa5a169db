#include "childprocess.h"
#include "databaselocation.h"
#include "messagerecorder.h"
#include "serverdb.h"
#include "tabform.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Why the user database could not be opened, said after the usual
// sequence of messages.
namespace {

const QString kFailed = QStringLiteral("Errore inizializzazione database utenti\r");

class OpeningCause : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkpath("Grafica");
        QDir(dir.path()).mkpath("user");
        tab.DirectoryProgramma = dir.path() + "/";
        Modal::setRunner([](QDialog *d) {
            d->reject();
            return int(mrCancel);
        });
    }
    void TearDown() override { Modal::setRunner({}); }
    QString database() const { return dir.path() + "/user/user.fdb"; }
    void write(const QByteArray &bytes)
    {
        QFile f(database());
        ASSERT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(bytes);
    }
    // The local attempt fails, the prompt for a server is cancelled, and the
    // opening ends with the local attempt's cause.
    void expectFailure(const QString &cause)
    {
        rec.expect(TMsgDlgType::None, "Non trovato dati.ini")
            .expect(TMsgDlgType::None, "Apertura / creazione del database non riuscita!")
            .expect(TMsgDlgType::Error, kFailed + cause);
        EXPECT_FALSE(tab.ConnettiDatabaseArchivi());
    }
    // A file another program holds: the cause at once, no server asked for
    // and nothing written beside the database.
    void expectHeld()
    {
        rec.expect(TMsgDlgType::Error, kFailed + DbLocationText::heldElsewhere());
        EXPECT_FALSE(tab.ConnettiDatabaseArchivi());
        EXPECT_EQ(rec.pending(), 0);
        EXPECT_FALSE(QFile::exists(dir.path() + "/user/dati.ini"));
    }
    // A first sign-in here, then the file closed again.
    void createDatabase()
    {
        rec.allowAny();
        {
            TTabForm first;
            first.DirectoryProgramma = tab.DirectoryProgramma;
            ASSERT_TRUE(first.ConnettiDatabaseArchivi());
        }
        rec.allowAny(false);
        rec.clear();
    }

    QTemporaryDir dir;
    MessageRecorder rec;
    TTabForm tab;
};

} // namespace

TEST_F(OpeningCause, CorruptOrHalfMadeFileSaysWhatIsWrongAndIsLeftAsItIs)
{
    write(QByteArray(8192, 'x'));
    expectFailure("file " + database() + " is not a valid database");
    EXPECT_EQ(QFileInfo(database()).size(), 8192);

    // Half made: never replaced by a new database either.
    write(QByteArray());
    expectFailure("I/O error during \"read\" operation for file \"" + database() +
                  "\"\n-File size is less than expected");
    EXPECT_EQ(QFileInfo(database()).size(), 0);
    EXPECT_FALSE(QFile::exists(DbLocationText::creationName(database())));
}

TEST_F(OpeningCause, FileAnotherProgramHoldsSaysSoWithoutAskingForAServer)
{
    createDatabase();
    ChildProcess other({"hold", database()});
    ASSERT_TRUE(other.waitFor("ready"));
    expectHeld();
}

TEST_F(OpeningCause, CauseAlsoGoesToStandardError)
{
    write(QByteArray(8192, 'x'));
    ChildProcess child({"signin", dir.path(), "0"});
    ASSERT_TRUE(child.waitFor("signed-out"));
    EXPECT_EQ(child.finish(), 1);
    EXPECT_TRUE(child.lines().contains("box Errore inizializzazione database utenti file " +
                                       database() + " is not a valid database"));
    EXPECT_TRUE(QString::fromLocal8Bit(child.standardError())
                    .contains("Errore inizializzazione database utenti: file " + database() +
                              " is not a valid database\n"));
}

namespace {
class ServerOpeningCause : public OpeningCause
{
};
} // namespace

TEST_F(ServerOpeningCause, FileTheServerHoldsIsHeldByAnotherProgram)
{
    SKIP_WITHOUT_TEST_SERVER();
    TIBDatabase held;
    held.DatabaseName = serverDatabaseName(database());
    held.Params = {"USER \"SYSDBA\"", "PASSWORD \"plumtree7\"", "PAGE_SIZE 4096"};
    held.CreateDatabase();
    expectHeld();
    EXPECT_FALSE(QFile::exists(DbLocationText::creationName(database())));
}
