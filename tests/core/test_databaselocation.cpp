#include "databaselocation.h"
#include "inifile.h"
#include "kivin2form.h"
#include "messagerecorder.h"
#include "testdb.h"

#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

using namespace DbLocationText;

namespace {

// A server address that refuses at once, standing in for an unreachable server.
const QString kDeadServer = QStringLiteral("127.0.0.1/1");

void writeIni(const QString &folder, const QList<QPair<QString, QString>> &keys)
{
    TIniFile ini(folder + QStringLiteral("dati.ini"));
    for (const auto &kv : keys)
        ini.WriteString(QStringLiteral("CONFIG"), kv.first, kv.second);
}

// Answers the first-run prompt; an empty server cancels it.
struct PromptAnswer
{
    int shown = 0;
    QString caption;
    PromptAnswer(const QString &server, const QString &letter)
    {
        Modal::setRunner([=](QDialog *d) {
            ++shown;
            caption = d->windowTitle();
            auto *f = qobject_cast<TKivIn2Form *>(d);
            EXPECT_NE(f, nullptr);
            if (server.isEmpty()) {
                f->CancelBtn->click();
            } else {
                f->Edit1->setText(server);
                f->Edit2->setText(letter);
                f->OKBtn->click();
            }
            return f->result();
        });
    }
    ~PromptAnswer() { Modal::setRunner({}); }
};

} // namespace

TEST(DbLocationText, DatabaseNameFromServerAndLetter)
{
    EXPECT_EQ(databaseName("/prog/user/user.fdb", "", "E"), "/prog/user/user.fdb");
    EXPECT_EQ(databaseName("C:\\prog\\user\\user.fdb", "srv", "E"), "srv:E:\\prog\\user\\user.fdb");
    EXPECT_EQ(databaseName("C:\\prog\\user\\user.fdb", "srv", ""), "srv:C:\\prog\\user\\user.fdb");
    EXPECT_EQ(databaseName("archivi", "srv", ""), "srv:archivi");
}

TEST(DbLocationText, UncFolders)
{
    UncPath letter = fromUnc("\\\\srv\\C\\dati\\user\\", "");
    EXPECT_FALSE(letter.warn);
    EXPECT_FALSE(letter.namedShare);
    EXPECT_EQ(letter.percorso, "srv:C:\\dati\\user\\");

    UncPath named = fromUnc("\\\\srv\\archivi\\dati\\", "");
    EXPECT_TRUE(named.warn);
    EXPECT_TRUE(named.namedShare);
    EXPECT_EQ(named.share, "archivi");

    UncPath configured = fromUnc("\\\\srv\\archivi\\dati\\", "D:\\archivi\\");
    EXPECT_FALSE(configured.warn);
    EXPECT_TRUE(configured.namedShare);
    EXPECT_EQ(configured.percorso + "user.fdb", "srv:D:\\archivi\\user.fdb");

    EXPECT_EQ(serverFolder("srv", "C:\\dati") + "user.fdb", "\\\\srv\\C:\\dati\\user.fdb");
    EXPECT_EQ(serverFolder("srv", "C:\\dati\\"), "\\\\srv\\C:\\dati\\");
}

TEST(DbLocationText, OnlyAbsoluteOrServerNamesAreTried)
{
    EXPECT_TRUE(isUsableName("/var/lib/dati/user.fdb"));
    EXPECT_TRUE(isUsableName("srv:C:\\dati\\user.fdb"));
    EXPECT_TRUE(isUsableName("127.0.0.1/3050:/dati/user.fdb"));
    EXPECT_TRUE(isUsableName("\\\\srv\\C:\\dati\\user.fdb"));
    EXPECT_FALSE(isUsableName("C:\\dati\\csd.fdb"));
    EXPECT_FALSE(isUsableName("user.fdb"));
    EXPECT_FALSE(isUsableName(""));
}

TEST(PercorsoDaUNC, NamedShareWithoutServerPathWarns)
{
    MessageRecorder rec;
    rec.expect(TMsgDlgType::None,
               "Attenzione: il disco con gli archivi è stato condiviso in rete con un nome - "
               "archivi - e non con la lettera che lo identifica. Si consiglia di correggere la "
               "condivisione oppure di correggere manualmente la sezione Percorso Nel Server nel "
               "file Dati.ini accanto al database");
    QString percorso = "\\\\srv\\archivi\\dati\\";
    bool named = false;
    EXPECT_TRUE(PercorsoDaUNC("\\\\srv\\archivi\\dati\\", "", percorso, named));
    EXPECT_TRUE(named);
}

class ApriDatabaseTest : public ::testing::Test
{
protected:
    QString folder() const { return dir.path() + "/"; }
    QTemporaryDir dir;
    TIBDatabase db;
    MessageRecorder rec;
};

TEST_F(ApriDatabaseTest, CleanLocalFolderCreatesTheDatabaseWithoutPrompt)
{
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    DbOpening opening;
    EXPECT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr, &opening));
    EXPECT_TRUE(opening.created);
    EXPECT_TRUE(db.Connected());
    EXPECT_EQ(db.DatabaseName, folder() + "user.fdb");
    EXPECT_TRUE(db.Params.contains("user_name=SYSDBA"));
    EXPECT_TRUE(db.Params.contains("password=plumtree7"));

    // The second time the file is simply opened.
    db.Close();
    opening.created = true;
    EXPECT_TRUE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr, &opening));
    EXPECT_FALSE(opening.created);
}

TEST_F(ApriDatabaseTest, EmptyFileNameOpensArchivio)
{
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    EXPECT_TRUE(ApriDatabase(&db, folder(), "", "", "", nullptr));
    EXPECT_TRUE(QFile::exists(folder() + "archivio.fdb"));
}

TEST_F(ApriDatabaseTest, ServerPathIsTheOnlyAttemptWhenConfigured)
{
    writeIni(folder(), {{"Nome Server", kDeadServer}, {"PercorsoDatabase", "C:\\dati"}});
    EXPECT_FALSE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
    EXPECT_EQ(db.DatabaseName, "\\\\" + kDeadServer + "\\C:\\dati\\user.fdb");
    EXPECT_FALSE(QFile::exists(folder() + "user.fdb"));
}

TEST_F(ApriDatabaseTest, UnreachableConfiguredServerNeverCreatesALocalDatabase)
{
    writeIni(folder(), {{"Nome Server", kDeadServer}, {"Alias", "utenti"}});
    // Server and alias fail, the local attempt must not create, and the
    // stored server name means no prompt.
    EXPECT_FALSE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
    EXPECT_FALSE(QFile::exists(folder() + "user.fdb"));
    EXPECT_TRUE(db.DatabaseName.startsWith(kDeadServer + ":"));
}

TEST_F(ApriDatabaseTest, NamedShareWithoutServerPathTriesNothing)
{
    rec.expect(TMsgDlgType::None, namedShareWarning("archivi"));
    EXPECT_FALSE(ApriDatabase(&db, "\\\\srv\\archivi\\dati\\", "user.fdb", "", "", nullptr));
    EXPECT_TRUE(db.DatabaseName.isEmpty());
}

TEST_F(ApriDatabaseTest, UncLetterShareFailingLeadsToThePromptAndCancel)
{
    rec.expect(TMsgDlgType::None, "Non trovato dati.ini")
        .expect(TMsgDlgType::None, "Apertura / creazione del database non riuscita!");
    PromptAnswer cancel("", "");
    const QString unc = "\\\\" + kDeadServer + "\\C\\dati\\";
    EXPECT_FALSE(ApriDatabase(&db, unc, "user.fdb", "", "", nullptr));
    EXPECT_EQ(cancel.shown, 1);
    EXPECT_EQ(cancel.caption, "Non trovato dati.ini");
    EXPECT_EQ(db.DatabaseName, kDeadServer + ":C:\\dati\\user.fdb");
}

TEST_F(ApriDatabaseTest, PromptAnswerIsWrittenAndUsedAndNotAskedAgain)
{
    // A file that is not a database: the local attempt fails without creating.
    QFile junk(folder() + "user.fdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();

    rec.expect(TMsgDlgType::None, "Non trovato dati.ini");
    {
        PromptAnswer answer(kDeadServer, "E");
        EXPECT_FALSE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
        EXPECT_EQ(answer.shown, 1);
    }
    EXPECT_EQ(db.DatabaseName, kDeadServer + ":E" + folder().mid(1) + "user.fdb");
    TIniFile ini(folder() + "dati.ini");
    EXPECT_EQ(ini.ReadString("CONFIG", "Nome Server", ""), kDeadServer);
    EXPECT_EQ(ini.ReadString("CONFIG", "Lettera Disco Server", ""), "E");

    PromptAnswer never("", "");
    EXPECT_FALSE(ApriDatabase(&db, folder(), "user.fdb", "", "", nullptr));
    EXPECT_EQ(never.shown, 0);
}

TEST_F(ApriDatabaseTest, PromptWithoutLetterWritesOnlyTheServer)
{
    QDir(folder()).mkdir("vuota");
    const QString sub = folder() + "vuota/";
    QFile junk(sub + "user.fdb");
    ASSERT_TRUE(junk.open(QIODevice::WriteOnly));
    junk.write(QByteArray(8192, 'x'));
    junk.close();
    rec.expect(TMsgDlgType::None, "Non trovato dati.ini");
    PromptAnswer answer(kDeadServer, "");
    EXPECT_FALSE(ApriDatabase(&db, sub, "user.fdb", "", "", nullptr));
    TIniFile ini(sub + "dati.ini");
    EXPECT_EQ(ini.ReadString("CONFIG", "Nome Server", ""), kDeadServer);
    EXPECT_FALSE(ini.ValueExists("CONFIG", "Lettera Disco Server"));
}

TEST_F(ApriDatabaseTest, WindowsDrivePathIsNotCreatedInTheCurrentFolder)
{
    rec.expect(TMsgDlgType::None, "Non trovato dati.ini")
        .expect(TMsgDlgType::None, "Apertura / creazione del database non riuscita!");
    PromptAnswer cancel("", "");
    const QString before = QDir::currentPath();
    EXPECT_FALSE(ApriDatabase(&db, "C:\\dati\\", "csd.fdb", "", "", nullptr));
    EXPECT_FALSE(QFile::exists(before + "/C:\\dati\\csd.fdb"));
    EXPECT_FALSE(db.Connected());
}
