#include "ibdatabase.h"
#include "ibsql.h"
#include "serverdb.h"
#include "testdb.h"
#include "win1252.h"

#include <QFileInfo>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// Connections through the private test server to files in a temporary folder.
class ServerDatabase : public ::testing::Test
{
protected:
    void SetUp() override { SKIP_WITHOUT_TEST_SERVER(); }

    QString pathOf(const QString &fileName) const
    {
        return dir.path() + QLatin1Char('/') + fileName;
    }

    void create(TIBDatabase &db, const QString &path)
    {
        db.DatabaseName = serverDatabaseName(path);
        db.Params = {QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"plumtree7\""),
                     QStringLiteral("PAGE_SIZE 4096")};
        db.CreateDatabase();
    }

    static QVariant scalar(TIBDatabase &db, const QString &sql)
    {
        TIBSQL q;
        q.setDatabase(&db);
        q.SQL = QStringList{sql};
        q.ExecQuery();
        const QVariant v = q.Eof() ? QVariant() : q.Fields(0).Value();
        q.Close();
        return v;
    }

    // The failure raised by opening `name`; fails the test when it opens.
    static EIBError openFailure(const QString &name, const QStringList &params)
    {
        TIBDatabase db;
        db.DatabaseName = name;
        db.Params = params;
        try {
            db.Open();
        } catch (const EIBError &e) {
            EXPECT_FALSE(db.Connected());
            return e;
        }
        ADD_FAILURE() << "opening " << name.toStdString() << " should have failed";
        return EIBError(QString());
    }

    QTemporaryDir dir;
};

// Every byte from 0x80 to 0xFF, as the text the tool would hold for it.
QByteArray highBytes()
{
    QByteArray bytes;
    for (int b = 0x80; b <= 0xFF; ++b)
        bytes.append(char(b));
    return bytes;
}

} // namespace

TEST_F(ServerDatabase, CreatesTheFileAndKeepsHighBytesThroughAParameter)
{
    const QString path = pathOf(QStringLiteral("archivio.fdb"));
    const QString text = Win1252::decode(highBytes());
    {
        TIBDatabase db;
        TIBTransaction tr;
        create(db, path);
        tr.setDefaultDatabase(&db);
        // The connection really goes through the network layer, not the
        // embedded engine that a plain path would use.
        EXPECT_EQ(scalar(db, "SELECT MON$REMOTE_PROTOCOL FROM MON$ATTACHMENTS "
                             "WHERE MON$ATTACHMENT_ID = CURRENT_CONNECTION")
                      .toString()
                      .trimmed(),
                  QStringLiteral("TCPv4"));

        TIBSQL q;
        q.setDatabase(&db);
        q.SQL = QStringList{"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(200))"};
        q.ExecQuery();
        tr.Commit();
        q.SQL = QStringList{"INSERT INTO T (ID, NOME) VALUES (1, :NOME)"};
        q.ParamByName("NOME").setAsString(text);
        q.ExecQuery();
        tr.Commit();
        db.Close();
    }
    EXPECT_TRUE(QFileInfo::exists(path));

    // Attach again, this time naming the server "localhost".
    TIBDatabase again;
    again.DatabaseName =
        testServer().replace(QStringLiteral("127.0.0.1"), QStringLiteral("localhost")) +
        QLatin1Char(':') + path;
    again.Params = connectionParams();
    again.Open();
    TIBTransaction tr;
    tr.setDefaultDatabase(&again);
    EXPECT_EQ(scalar(again, "SELECT NOME FROM T WHERE ID = 1").toString(), text);
    // The stored bytes are the code page's own, one per character.
    EXPECT_EQ(scalar(again, "SELECT CAST(NOME AS VARCHAR(200) CHARACTER SET OCTETS) "
                            "FROM T WHERE ID = 1")
                  .toByteArray(),
              highBytes());
}

TEST_F(ServerDatabase, MissingFileIsReportedAsMissing)
{
    const EIBError e =
        openFailure(serverDatabaseName(pathOf(QStringLiteral("nessuno.fdb"))), connectionParams());
    EXPECT_TRUE(e.isMissingFile()) << e.message().toStdString();
    EXPECT_TRUE(e.isFileOpenFailure());
    EXPECT_TRUE(e.message().contains(QLatin1String("No such file or directory")))
        << e.message().toStdString();
    EXPECT_FALSE(QFileInfo::exists(pathOf(QStringLiteral("nessuno.fdb"))));
}

TEST_F(ServerDatabase, WrongPasswordIsALoginFailureNotAFileFailure)
{
    const QString path = pathOf(QStringLiteral("chiuso.fdb"));
    {
        TIBDatabase db;
        create(db, path);
    }
    const EIBError e =
        openFailure(serverDatabaseName(path),
                    {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=sbagliata")});
    EXPECT_TRUE(e.hasCode(IBErrorCodes::LoginFailed)) << e.message().toStdString();
    EXPECT_FALSE(e.isFileOpenFailure());
    EXPECT_FALSE(e.isMissingFile());
}
