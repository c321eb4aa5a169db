// How a query holds its rows and writes them back: blobs read when first
// asked for, unchanged blobs sent back by id, empty text stored as NULL,
// update statements kept prepared.
#include "ibblobid.h"
#include "ibquery.h"
#include "ibrows.h"
#include "serverdb.h"
#include "testdb.h"

#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QByteArray everyByte()
{
    QByteArray bytes;
    for (int i = 0; i < 3 * 256; ++i)
        bytes.append(char(i % 256));
    return bytes;
}

class QueryRowsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.exec(QStringLiteral("CREATE TABLE VOCI (CODICE INTEGER NOT NULL PRIMARY KEY, "
                              "NOME VARCHAR(20), SIGLA CHAR(3), NOTE BLOB SUB_TYPE 1, "
                              "DATI BLOB SUB_TYPE 0)"));
        TIBSQL ins;
        ins.setDatabase(&t.db());
        ins.SQL = QStringList{QStringLiteral("INSERT INTO VOCI (CODICE, NOME, SIGLA, NOTE, DATI)"),
                              QStringLiteral("VALUES (:CODICE, :NOME, 'ABC', :NOTE, :DATI)")};
        for (int code = 1; code <= 3; ++code) {
            ins.ParamByName(QStringLiteral("CODICE")).setAsInteger(code);
            ins.ParamByName(QStringLiteral("NOME"))
                .setAsString(QStringLiteral("voce %1").arg(code));
            ins.ParamByName(QStringLiteral("NOTE")).setAsString(note(code));
            ins.ParamByName(QStringLiteral("DATI")).setAsBytes(everyByte());
            ins.ExecQuery();
        }
        t.tr().Commit();
        q.setDatabase(&t.db());
        q.SQL = QStringList{QStringLiteral("SELECT * FROM VOCI ORDER BY CODICE")};
        setStatements(QStringLiteral("CODICE, NOME, SIGLA, NOTE, DATI"));
        q.setUpdateObject(&upd);
    }

    static QString note(int code) { return QStringLiteral("Nota n´%1 è lunga").arg(code); }

    void setStatements(const QString &columns)
    {
        QStringList set, values;
        for (const QString &c : columns.split(QStringLiteral(", ")))
            set.append(c + QStringLiteral("=:") + c), values.append(QLatin1Char(':') + c);
        upd.ModifySQL = QStringList{QStringLiteral("UPDATE VOCI SET"), set.join(QLatin1Char(',')),
                                    QStringLiteral("WHERE CODICE=:OLD_CODICE")};
        upd.InsertSQL = QStringList{QStringLiteral("INSERT INTO VOCI (%1)").arg(columns),
                                    QStringLiteral("VALUES (%1)").arg(values.join(','))};
        upd.DeleteSQL = QStringList{QStringLiteral("DELETE FROM VOCI WHERE CODICE=:CODICE")};
    }

    TField *f(const char *name) { return q.FieldByName(QLatin1String(name)); }

    // A column of one row as another program's connection reads it.
    QVariant stored(const QString &column, int code)
    {
        OtherConnection other(t.path());
        TIBSQL s;
        s.setDatabase(&other.db);
        s.SQL = QStringList{
            QStringLiteral("SELECT %1 FROM VOCI WHERE CODICE = %2").arg(column).arg(code)};
        s.ExecQuery();
        const QVariant v = s.Eof() ? QVariant(QStringLiteral("<none>")) : s.Fields(0).Value();
        s.Close();
        other.tr.Commit();
        return v;
    }

    // The engine's id of a row's blob, as a query on our connection sees it.
    quint64 blobIdOf(const QString &column, int code)
    {
        TIBSQL s;
        s.setDatabase(&t.db());
        s.BlobIds = true;
        s.SQL = QStringList{
            QStringLiteral("SELECT %1 FROM VOCI WHERE CODICE = %2").arg(column).arg(code)};
        s.ExecQuery();
        const QVariant v = s.Fields(0).Value();
        s.Close();
        return holdsBlobId(v) ? v.value<TIBBlobId>().quad : 0;
    }

    TestDatabase t;
    TIBQuery q;
    TIBUpdateSQL upd;
};

} // namespace

TEST_F(QueryRowsTest, BlobsAreReadWhenAskedForAlsoAfterARetainingCommit)
{
    q.Open();
    q.Last();
    t.tr().CommitRetaining();
    ASSERT_TRUE(q.Active());
    EXPECT_EQ(f("NOTE")->AsString(), note(3));
    EXPECT_EQ(f("DATI")->AsBytes(), everyByte());
    q.First();
    EXPECT_EQ(f("NOTE")->AsString(), note(1));
    // A text key on a memo reads the blobs it passes.
    EXPECT_TRUE(q.Locate(QStringLiteral("NOTE"), note(2)));
    EXPECT_EQ(f("CODICE")->AsInteger(), 2);
}

TEST_F(QueryRowsTest, BlobReadAfterAHardCommitClosedTheQueryIsAClearError)
{
    q.Open();
    TField *noteField = f("NOTE");
    t.tr().Commit();
    ASSERT_FALSE(q.Active());
    try {
        noteField->AsString();
        FAIL() << "a closed query cannot read a blob";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Impossibile leggere il campo 'NOTE': il dataset è chiuso"));
    }
    EXPECT_THROW(f("DATI")->AsBytes(), EDatabaseError);
    EXPECT_TRUE(f("NOME")->IsNull());
    // Reopened, the query reads its blobs in the new transaction.
    q.Open();
    EXPECT_EQ(noteField->AsString(), note(1));
}

TEST_F(QueryRowsTest, PostOfANumberLeavesTheBlobsAsStored)
{
    q.Open();
    q.Next();
    const quint64 noteId = blobIdOf(QStringLiteral("NOTE"), 2);
    q.Edit();
    f("CODICE")->setAsInteger(20);
    q.Post();
    // The engine kept the very blob it was given back, so the row may go on
    // naming it.
    EXPECT_EQ(blobIdOf(QStringLiteral("NOTE"), 20), noteId);
    t.tr().CommitRetaining();
    EXPECT_EQ(f("NOTE")->AsString(), note(2));
    EXPECT_EQ(f("DATI")->AsBytes(), everyByte());
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("NOTE"), 20).toString(), note(2));
    EXPECT_EQ(stored(QStringLiteral("DATI"), 20).toByteArray(), everyByte());

    // A changed blob is written; the other one stays as it was.
    q.Open();
    q.Edit();
    f("DATI")->setAsBytes(QByteArray("\x00\x01", 2));
    f("NOTE")->setAsString(f("NOTE")->AsString() + QStringLiteral(" e più"));
    q.Post();
    q.Next();
    q.Edit();
    f("DATI")->setAsBytes(everyByte()); // the same bytes, written anew
    q.Post();
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("DATI"), 1).toByteArray(), QByteArray("\x00\x01", 2));
    EXPECT_EQ(stored(QStringLiteral("NOTE"), 1).toString(), note(1) + QStringLiteral(" e più"));
    EXPECT_EQ(stored(QStringLiteral("DATI"), 3).toByteArray(), everyByte());
    EXPECT_EQ(stored(QStringLiteral("NOTE"), 3).toString(), note(3));
}

TEST_F(QueryRowsTest, EmptyTextIsStoredAsNullAndEmptyBlobsStayEmpty)
{
    q.Open();
    q.Edit();
    f("NOME")->setAsString(QString());
    f("SIGLA")->setAsString(QStringLiteral(""));
    f("NOTE")->setAsString(QStringLiteral(""));
    q.Post();
    EXPECT_TRUE(f("NOME")->IsNull());
    EXPECT_TRUE(f("SIGLA")->IsNull());
    EXPECT_FALSE(f("NOTE")->IsNull());
    q.Append();
    f("CODICE")->setAsInteger(9);
    f("NOME")->setAsString(QStringLiteral(""));
    f("SIGLA")->setAsString(QStringLiteral(""));
    f("DATI")->setAsBytes(QByteArray());
    q.Post();
    t.tr().Commit();
    OtherConnection other(t.path());
    EXPECT_EQ(other.scalar("SELECT COUNT(*) FROM VOCI WHERE NOME IS NULL AND SIGLA IS NULL"), "2");
    EXPECT_EQ(other.scalar("SELECT COUNT(*) FROM VOCI WHERE CODICE = 1 AND NOTE = ''"), "1");
    EXPECT_EQ(other.scalar("SELECT COUNT(*) FROM VOCI WHERE CODICE = 9 AND DATI IS NOT NULL"), "1");
    // A text of blanks is a value.
    q.Open();
    q.Last();
    q.Edit();
    f("NOME")->setAsString(QStringLiteral(" "));
    q.Post();
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("NOME"), 9).toString(), QStringLiteral(" "));
}

TEST_F(QueryRowsTest, KeptStatementsFollowNewTextNewColumnsAndNewConnections)
{
    q.Open();
    q.Edit();
    f("NOME")->setAsString(QStringLiteral("primo"));
    q.Post();
    // New statement text between two posts.
    setStatements(QStringLiteral("CODICE, NOME"));
    q.Next();
    q.Edit();
    f("NOME")->setAsString(QStringLiteral("secondo"));
    q.Post();
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("NOME"), 1).toString(), QStringLiteral("primo"));
    EXPECT_EQ(stored(QStringLiteral("NOME"), 2).toString(), QStringLiteral("secondo"));

    // Another column order: the parameters must find their columns again.
    q.SQL = QStringList{QStringLiteral("SELECT NOME, CODICE FROM VOCI ORDER BY CODICE")};
    q.Open();
    q.Last();
    q.Edit();
    f("NOME")->setAsString(QStringLiteral("terzo"));
    q.Post();
    q.Append();
    f("CODICE")->setAsInteger(4);
    f("NOME")->setAsString(QStringLiteral("quarto"));
    q.Post();
    q.First();
    q.Delete();
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("NOME"), 3).toString(), QStringLiteral("terzo"));
    EXPECT_EQ(stored(QStringLiteral("NOME"), 4).toString(), QStringLiteral("quarto"));
    EXPECT_EQ(stored(QStringLiteral("NOME"), 1).toString(), QStringLiteral("<none>"));

    // A connection closed and opened again drops the prepared statements.
    t.db().Close();
    t.db().Open();
    q.Open();
    q.Edit();
    f("NOME")->setAsString(QStringLiteral("dopo"));
    q.Post();
    t.tr().Commit();
    EXPECT_EQ(stored(QStringLiteral("NOME"), 2).toString(), QStringLiteral("dopo"));
}

TEST_F(QueryRowsTest, TextsThatRepeatOrChangeFromRowToRowReadBackAsStored)
{
    const QStringList names{"uno", "uno", "<null>", "uno", "due", "", "due", "<null>"};
    t.exec(QStringLiteral("DELETE FROM VOCI"));
    for (int i = 0; i < names.size(); ++i) {
        const QString v = names[i] == "<null>" ? QStringLiteral("NULL") : "'" + names[i] + "'";
        t.exec(QStringLiteral("INSERT INTO VOCI (CODICE, NOME, SIGLA) VALUES (%1, %2, %2)")
                   .arg(i)
                   .arg(v));
    }
    q.Open();
    QStringList read, fixed;
    for (; !q.Eof(); q.Next()) {
        read.append(f("NOME")->IsNull() ? QStringLiteral("<null>") : f("NOME")->AsString());
        fixed.append(f("SIGLA")->IsNull() ? QStringLiteral("<null>") : f("SIGLA")->AsString());
    }
    EXPECT_EQ(read, names);
    EXPECT_EQ(fixed, (QStringList{"uno", "uno", "<null>", "uno", "due", "   ", "due", "<null>"}));

    // A statement that leaves its rows to the reader gives the same values
    // and keeps none in its fields.
    TIBSQL s;
    s.setDatabase(&t.db());
    s.RowsTaken = true;
    s.SQL = QStringList{QStringLiteral("SELECT NOME, CODICE FROM VOCI ORDER BY CODICE")};
    s.ExecQuery();
    EXPECT_TRUE(s.Fields(0).IsNull());
    IBRows rows;
    s.TakeRows(rows);
    EXPECT_TRUE(s.Eof());
    ASSERT_EQ(rows.columnCount(), 2);
    QStringList taken;
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows.value(r, 1).toInt(), r);
        taken.append(rows.value(r, 0).isNull() ? QStringLiteral("<null>")
                                               : rows.value(r, 0).toString());
    }
    EXPECT_EQ(taken, names);
}

// The same reads and writes through the wire, where each blob costs round
// trips of its own.
TEST(ServerQueryRows, BlobsAreReadWhenAskedForAndGoBackByIdThroughTheServer)
{
    SKIP_WITHOUT_TEST_SERVER();
    QTemporaryDir dir;
    TIBDatabase db;
    db.DatabaseName = serverDatabaseName(dir.path() + QStringLiteral("/voci.fdb"));
    db.Params = {QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"plumtree7\""),
                 QStringLiteral("PAGE_SIZE 4096")};
    db.CreateDatabase();
    TIBTransaction tr;
    tr.setDefaultDatabase(&db);
    TIBSQL s;
    s.setDatabase(&db);
    s.SQL = QStringList{QStringLiteral("CREATE TABLE VOCI (CODICE INTEGER NOT NULL PRIMARY KEY, "
                                       "NOTE BLOB SUB_TYPE 1, DATI BLOB SUB_TYPE 0)")};
    s.ExecQuery();
    tr.Commit();
    s.SQL = QStringList{QStringLiteral("INSERT INTO VOCI VALUES (:C, :N, :D)")};
    for (int code = 1; code <= 2; ++code) {
        s.ParamByName(QStringLiteral("C")).setAsInteger(code);
        s.ParamByName(QStringLiteral("N")).setAsString(QStringLiteral("Nota ´%1´").arg(code));
        s.ParamByName(QStringLiteral("D")).setAsBytes(everyByte());
        s.ExecQuery();
    }
    tr.Commit();

    TIBQuery q;
    TIBUpdateSQL upd;
    q.setDatabase(&db);
    q.SQL = QStringList{QStringLiteral("SELECT * FROM VOCI ORDER BY CODICE")};
    upd.ModifySQL = QStringList{QStringLiteral("UPDATE VOCI SET CODICE=:CODICE, NOTE=:NOTE,"),
                                QStringLiteral("DATI=:DATI WHERE CODICE=:OLD_CODICE")};
    q.setUpdateObject(&upd);
    q.Open();
    tr.CommitRetaining();
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("NOTE"))->AsString(), QStringLiteral("Nota ´2´"));
    q.First();
    q.Edit();
    q.FieldByName(QStringLiteral("CODICE"))->setAsInteger(10);
    q.Post();
    tr.Commit();
    q.Open();
    q.Last();
    EXPECT_EQ(q.FieldByName(QStringLiteral("CODICE"))->AsInteger(), 10);
    EXPECT_EQ(q.FieldByName(QStringLiteral("NOTE"))->AsString(), QStringLiteral("Nota ´1´"));
    EXPECT_EQ(q.FieldByName(QStringLiteral("DATI"))->AsBytes(), everyByte());
    q.Close();
    tr.Commit();
}
