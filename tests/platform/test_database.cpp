#include "ibsql.h"
#include "testdb.h"
#include "win1252.h"

#include <QDir>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

class DatabaseTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.exec(QStringLiteral("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, NOME VARCHAR(300), "
                              "NOTE BLOB SUB_TYPE 1, DATI BLOB SUB_TYPE 0, GIORNO DATE, "
                              "MOMENTO TIMESTAMP, IMPORTO NUMERIC(15,2))"));
    }
    TIBSQL &sql(const QString &text)
    {
        q = std::make_unique<TIBSQL>();
        q->setDatabase(&t.db());
        q->SQL = QStringList{text};
        return *q;
    }
    TestDatabase t;
    std::unique_ptr<TIBSQL> q;
};

} // namespace

TEST_F(DatabaseTest, CommitRetainingIsSeenByASecondConnectionAndRollbackRetainingIsNot)
{
    OtherConnection other(t.path());
    sql("INSERT INTO T (ID, NOME) VALUES (1, 'uno')").ExecQuery();
    t.tr().CommitRetaining();
    EXPECT_TRUE(t.tr().InTransaction());
    EXPECT_EQ(other.scalar("SELECT NOME FROM T WHERE ID = 1"), QStringLiteral("uno"));

    sql("INSERT INTO T (ID, NOME) VALUES (2, 'due')").ExecQuery();
    t.tr().RollbackRetaining();
    EXPECT_TRUE(t.tr().InTransaction());
    EXPECT_EQ(t.scalar("SELECT COUNT(*) FROM T"), QStringLiteral("1"));
}

TEST_F(DatabaseTest, DisconnectCommitsTheOpenTransaction)
{
    sql("INSERT INTO T (ID, NOME) VALUES (7, 'sette')").ExecQuery();
    q.reset();
    t.db().Close();
    EXPECT_FALSE(t.tr().InTransaction());
    t.db().Open();
    EXPECT_EQ(t.scalar("SELECT NOME FROM T WHERE ID = 7"), QStringLiteral("sette"));
}

TEST_F(DatabaseTest, HardCommitClosesAnOpenCursor)
{
    t.exec("INSERT INTO T (ID) VALUES (1)");
    t.exec("INSERT INTO T (ID) VALUES (2)");
    TIBSQL &s = sql("SELECT ID FROM T ORDER BY ID");
    s.ExecQuery();
    ASSERT_TRUE(s.Open());
    t.tr().Commit();
    EXPECT_FALSE(s.Open());
    EXPECT_TRUE(s.Eof());
    // The statement stays usable and starts the transaction again by itself.
    s.ExecQuery();
    EXPECT_EQ(s.FieldByName("id").AsInteger(), 1);
    s.Next();
    EXPECT_EQ(s.FieldByName("ID").AsInteger(), 2);
    s.Next();
    EXPECT_TRUE(s.Eof());
}

TEST_F(DatabaseTest, AcuteAccentIsOneByteAndEveryHighByteRoundTrips)
{
    QString all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all += Win1252::decode(QByteArray(1, char(b)));
    TIBSQL &ins = sql("INSERT INTO T (ID, NOME, NOTE) VALUES (:ID, :NOME, :NOTE)");
    ins.ParamByName("ID").setAsInteger(1);
    ins.ParamByName("NOME").setAsString(all);
    ins.ParamByName("NOTE").setAsString(all);
    ins.ExecQuery();
    sql("INSERT INTO T (ID, NOME) VALUES (2, 'l´altro')").ExecQuery();
    t.tr().Commit();

    // The engine sees bytes, not characters: "´" is the single byte 0xB4.
    EXPECT_EQ(t.scalar("SELECT OCTET_LENGTH(NOME) FROM T WHERE ID = 2"), QStringLiteral("7"));
    EXPECT_EQ(t.scalar("SELECT NOME FROM T WHERE ID = 2"), QStringLiteral("l´altro"));
    EXPECT_EQ(t.scalar("SELECT OCTET_LENGTH(NOME) FROM T WHERE ID = 1"), QStringLiteral("128"));
    EXPECT_EQ(t.scalar("SELECT NOME FROM T WHERE ID = 1"), all);
    EXPECT_EQ(t.scalar("SELECT NOTE FROM T WHERE ID = 1"), all);
}

TEST_F(DatabaseTest, TextThatTheCodePageCannotHoldIsRefused)
{
    TIBSQL &ins = sql("INSERT INTO T (ID, NOME) VALUES (1, :NOME)");
    ins.ParamByName("NOME").setAsString(QStringLiteral("Привет"));
    EXPECT_THROW(ins.ExecQuery(), Win1252::EncodingError);
}

TEST_F(DatabaseTest, BinaryBlobsOfAnySizeRoundTripByteForByte)
{
    QByteArray big(1024 * 1024, Qt::Uninitialized);
    for (int i = 0; i < big.size(); ++i)
        big[i] = char((i * 7 + i / 251) & 0xFF);
    const QList<QByteArray> samples = {QByteArray(), QByteArray(1, '\0'), big};
    for (int i = 0; i < samples.size(); ++i) {
        TIBSQL &ins = sql("INSERT INTO T (ID, DATI) VALUES (:ID, :DATI)");
        ins.ParamByName("ID").setAsInteger(i);
        ins.ParamByName("DATI").setAsBytes(samples[i]);
        ins.ExecQuery();
    }
    t.tr().Commit();
    TIBSQL &sel = sql("SELECT ID, DATI FROM T ORDER BY ID");
    sel.ExecQuery();
    for (int i = 0; i < samples.size(); ++i) {
        ASSERT_FALSE(sel.Eof());
        EXPECT_FALSE(sel.FieldByName("DATI").IsNull());
        EXPECT_EQ(sel.FieldByName("DATI").AsBytes(), samples[i]) << "sample " << i;
        sel.Next();
    }
    EXPECT_TRUE(sel.Eof());
}

TEST_F(DatabaseTest, NamedParametersInsideAndOutsideQuotedText)
{
    TIBSQL &ins = sql("INSERT INTO T (ID, NOME, NOTE) VALUES (:ID, ':ID resta testo', :ID || '')");
    ins.ParamByName("id").setAsInteger(5);
    ins.ExecQuery();
    EXPECT_EQ(ins.Params().Count(), 1);
    EXPECT_EQ(t.scalar("SELECT NOME FROM T"), QStringLiteral(":ID resta testo"));
    EXPECT_EQ(t.scalar("SELECT NOTE FROM T"), QStringLiteral("5"));
}

TEST_F(DatabaseTest, ParametersFollowTheTextAcrossPreparesOfAnother)
{
    TIBSQL &s = sql("SELECT ID FROM T WHERE ID=:ID");
    EXPECT_EQ(s.Params().Count(), 1);
    s.SQL = QStringList{"SELECT * FROM T"};
    s.Prepare();
    EXPECT_EQ(s.Params().Count(), 0);
    s.SQL = QStringList{"SELECT ID FROM T WHERE ID=:ID"};
    s.ParamByName("ID").setAsInteger(1);
    s.ExecQuery();
    EXPECT_TRUE(s.Eof());
}

// The count is asked of the engine only when read: it must still be the
// last run's, also once the text changed, and -1 after a SELECT.
TEST_F(DatabaseTest, RowsAffectedIsTheLastRunsWheneverItIsRead)
{
    for (int id = 1; id <= 3; ++id)
        t.exec(QStringLiteral("INSERT INTO T (ID) VALUES (%1)").arg(id));
    TIBSQL &s = sql("UPDATE T SET NOME='x' WHERE ID>=:ID");
    const struct
    {
        int da;
        qint64 righe;
    } runs[] = {{1, 3}, {3, 1}, {9, 0}};
    for (const auto &r : runs) {
        s.ParamByName("ID").setAsInteger(r.da);
        s.ExecQuery();
        EXPECT_EQ(s.RowsAffected(), r.righe) << r.da;
    }
    s.ParamByName("ID").setAsInteger(2);
    s.ExecQuery();
    s.SQL = QStringList{"SELECT ID FROM T"};
    s.Prepare();
    EXPECT_EQ(s.RowsAffected(), 2);
    s.ExecQuery();
    EXPECT_EQ(s.RowsAffected(), -1);
}

TEST_F(DatabaseTest, NullsDatesAndNumbersComeBackTyped)
{
    TIBSQL &ins =
        sql("INSERT INTO T (ID, NOME, GIORNO, MOMENTO, IMPORTO) VALUES (1, :N, :G, :M, :I)");
    ins.ParamByName("N").Clear();
    ins.ParamByName("G").setAsDate(QDate(2012, 3, 9));
    ins.ParamByName("M").setAsDateTime(QDateTime(QDate(2012, 7, 12), QTime(13, 45, 30)));
    ins.ParamByName("I").setAsString(QStringLiteral("12,5"));
    EXPECT_THROW(ins.ExecQuery(), EIBError); // text goes to the engine as text: "12,5" is no number
    ins.ParamByName("I").setAsFloat(12.5);
    ins.ExecQuery();

    TIBSQL &sel = sql("SELECT NOME, GIORNO, MOMENTO, IMPORTO FROM T");
    sel.ExecQuery();
    EXPECT_TRUE(sel.FieldByName("NOME").IsNull());
    EXPECT_EQ(sel.FieldByName("GIORNO").AsDate(), QDate(2012, 3, 9));
    EXPECT_EQ(sel.FieldByName("MOMENTO").AsDateTime(),
              QDateTime(QDate(2012, 7, 12), QTime(13, 45, 30)));
    EXPECT_DOUBLE_EQ(sel.FieldByName("IMPORTO").AsFloat(), 12.5);
    EXPECT_EQ(sel.FieldByName("GIORNO").AsString(), QStringLiteral("09/03/2012"));
    EXPECT_THROW(sel.FieldByName("NESSUNO"), EIBError);
}

TEST_F(DatabaseTest, NoWaitUpdateConflictIsClassifiedAsConflict)
{
    t.exec("INSERT INTO T (ID, NOME) VALUES (1, 'a')");
    OtherConnection other(t.path(), {"isc_tpb_concurrency", "isc_tpb_nowait"});
    sql("UPDATE T SET NOME = 'b' WHERE ID = 1").ExecQuery(); // holds the row, uncommitted

    TIBSQL upd;
    upd.setDatabase(&other.db);
    upd.SQL = QStringList{"UPDATE T SET NOME = 'c' WHERE ID = 1"};
    try {
        upd.ExecQuery();
        FAIL() << "the second update should have met a conflict";
    } catch (const EIBError &e) {
        EXPECT_TRUE(e.isLockConflict()) << e.message().toStdString();
        EXPECT_FALSE(e.isFileOpenFailure());
    }
}

TEST(DatabaseFiles, FolderWithApostropheAndBlanks)
{
    TestDatabase t(QStringLiteral("user.fdb"), QStringLiteral("l'archivio di prova"));
    t.exec(QStringLiteral("CREATE TABLE X (A INTEGER)"));
    t.db().Close();
    TIBDatabase again;
    again.DatabaseName = t.path();
    again.Params = connectionParams();
    again.Open();
    EXPECT_TRUE(again.Connected());
}

TEST(DatabaseFiles, MissingFileIsAFileOpenFailure)
{
    QTemporaryDir dir;
    TIBDatabase db;
    db.DatabaseName = dir.path() + QStringLiteral("/nessuno.fdb");
    db.Params = connectionParams();
    try {
        db.Open();
        FAIL() << "opening a missing file should fail";
    } catch (const EIBError &e) {
        EXPECT_TRUE(e.isMissingFile()) << e.message().toStdString();
        EXPECT_TRUE(e.isFileOpenFailure());
        EXPECT_FALSE(e.isLockConflict());
    }
    EXPECT_FALSE(db.Connected());
}

TEST(DatabaseFiles, FileHeldByAnotherEngineIsNotAFileOpenFailure)
{
    using namespace IBErrorCodes;
    EXPECT_TRUE(EIBError("I/O error", {IoError}, 2).isFileOpenFailure());
    EXPECT_FALSE(EIBError("in use", {IoError, DatabaseInUse}).isFileOpenFailure());
    EXPECT_FALSE(EIBError("login", {LoginFailed}).isFileOpenFailure());
    EXPECT_TRUE(EIBError("conflict", {UpdateConflict, ConcurrentTransaction}).isLockConflict());
}

TEST_F(DatabaseTest, DefaultTransactionLetsGoOfADestroyedOrMovedTransaction)
{
    TIBDatabase &db = t.db();
    EXPECT_EQ(db.DefaultTransaction, &t.tr());
    auto own = std::make_unique<TIBTransaction>();
    db.DefaultTransaction = own.get();
    own->setDefaultDatabase(&db);
    own->StartTransaction();
    own.reset();
    EXPECT_EQ(db.DefaultTransaction, nullptr);
    // A statement bound now finds no transaction instead of a freed one.
    TIBSQL s;
    s.setDatabase(&db);
    s.SQL = QStringList{QStringLiteral("SELECT COUNT(*) FROM T")};
    EXPECT_EQ(s.Transaction(), nullptr);
    EXPECT_THROW(s.Prepare(), EIBError);

    // A transaction moved to another database stops being this one's default.
    TestDatabase other(QStringLiteral("altro.fdb"));
    db.DefaultTransaction = &t.tr();
    t.tr().setDefaultDatabase(&other.db());
    EXPECT_EQ(db.DefaultTransaction, nullptr);
    t.tr().setDefaultDatabase(&db);
}
