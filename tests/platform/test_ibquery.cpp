#include "ibquery.h"
#include "testdb.h"

#include <gtest/gtest.h>

namespace {

class IBQueryTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.exec(QStringLiteral("CREATE TABLE DETTMENU (PROGRAMMA INTEGER NOT NULL, "
                              "MENU INTEGER NOT NULL, DESCRIZIONE VARCHAR(10), "
                              "NOTE BLOB SUB_TYPE 1, GIORNO DATE, PREZZO NUMERIC(9,2), "
                              "PRIMARY KEY (PROGRAMMA, MENU))"));
        for (const char *row : {"1, 1, 'uno'", "1, 2, 'due'", "2, 1, 'tre'", "2, 2, 'quattro'"})
            t.exec(QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (%1)")
                       .arg(QLatin1String(row)));
        q.setDatabase(&t.db());
        q.SQL = QStringList{QStringLiteral("SELECT * FROM DETTMENU ORDER BY PROGRAMMA, MENU")};
        upd.ModifySQL = QStringList{QStringLiteral("UPDATE \"DETTMENU\""),
                                    QStringLiteral("SET"),
                                    QStringLiteral("PROGRAMMA=:PROGRAMMA,"),
                                    QStringLiteral("MENU=:MENU,"),
                                    QStringLiteral("DESCRIZIONE=:DESCRIZIONE,"),
                                    QStringLiteral("NOTE=:NOTE,"),
                                    QStringLiteral("GIORNO=:GIORNO,"),
                                    QStringLiteral("PREZZO=:PREZZO"),
                                    QStringLiteral("WHERE (PROGRAMMA=:OLD_PROGRAMMA)AND"),
                                    QStringLiteral("(MENU=:OLD_MENU)")};
        upd.InsertSQL =
            QStringList{QStringLiteral("INSERT INTO \"DETTMENU\" (PROGRAMMA, MENU, DESCRIZIONE)"),
                        QStringLiteral("VALUES (:PROGRAMMA, :MENU, :DESCRIZIONE)")};
        upd.DeleteSQL = QStringList{QStringLiteral("DELETE FROM \"DETTMENU\""),
                                    QStringLiteral("WHERE (PROGRAMMA=:PROGRAMMA)AND"),
                                    QStringLiteral("(MENU=:MENU)")};
        q.setUpdateObject(&upd);
    }
    QString field(const char *name) { return q.FieldByName(QLatin1String(name))->AsString(); }
    QString key() { return field("PROGRAMMA") + QLatin1Char('/') + field("MENU"); }
    // What the database holds, seen from a transaction of its own.
    QString stored(const QString &sql) { return OtherConnection(t.path()).scalar(sql); }

    TestDatabase t;
    TIBQuery q;
    TIBUpdateSQL upd;
};

} // namespace

TEST_F(IBQueryTest, OpenFetchesRowsTypesAndKey)
{
    q.Open();
    EXPECT_EQ(q.RecordCount(), 4);
    EXPECT_EQ(q.Transaction(), &t.tr());
    EXPECT_EQ(q.KeyFields(), (QStringList{"PROGRAMMA", "MENU"}));
    EXPECT_EQ(q.FieldByName(QStringLiteral("PROGRAMMA"))->DataType(), ftInteger);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DESCRIZIONE"))->DataType(), ftString);
    EXPECT_EQ(q.FieldByName(QStringLiteral("DESCRIZIONE"))->Size(), 10);
    EXPECT_EQ(q.FieldByName(QStringLiteral("NOTE"))->DataType(), ftMemo);
    EXPECT_EQ(q.FieldByName(QStringLiteral("GIORNO"))->DataType(), ftDate);
    EXPECT_EQ(q.FieldByName(QStringLiteral("PREZZO"))->DataType(), ftFloat);
    EXPECT_EQ(fieldTypeOfSQL(580, 0, 0), ftLargeint);
    EXPECT_EQ(fieldTypeOfSQL(500, 0, 0), ftSmallint);
    EXPECT_EQ(fieldTypeOfSQL(520, 0, 0), ftBlob);
    EXPECT_EQ(fieldTypeOfSQL(510, 0, 0), ftDateTime);
    EXPECT_TRUE(q.Locate(QStringLiteral("PROGRAMMA;MENU"), QVariantList{2, 1}));
    EXPECT_EQ(field("DESCRIZIONE"), QStringLiteral("tre"));
}

TEST_F(IBQueryTest, ParametersAndExecSQL)
{
    q.SQL =
        QStringList{QStringLiteral("SELECT * FROM DETTMENU WHERE PROGRAMMA = :P ORDER BY MENU")};
    q.ParamByName(QStringLiteral("p")).setAsInteger(2);
    q.Open();
    EXPECT_EQ(q.RecordCount(), 2);
    EXPECT_EQ(field("DESCRIZIONE"), QStringLiteral("tre"));
    q.Close();

    TIBQuery cmd;
    cmd.setDatabase(&t.db());
    cmd.SQL =
        QStringList{QStringLiteral("UPDATE DETTMENU SET DESCRIZIONE = :D WHERE PROGRAMMA = :P")};
    cmd.ParamByName(QStringLiteral("D")).setAsString(QStringLiteral("x"));
    cmd.ParamByName(QStringLiteral("P")).setAsInteger(1);
    cmd.ExecSQL();
    EXPECT_EQ(cmd.RowsAffected(), 2);
    EXPECT_THROW(cmd.ParamByName(QStringLiteral("NONE")), EIBError);
}

TEST_F(IBQueryTest, ModifyFindsTheStoredRowByItsOldKey)
{
    q.Open();
    q.Next();
    q.Edit();
    q.FieldByName(QStringLiteral("MENU"))->setAsInteger(7);
    q.FieldByName(QStringLiteral("NOTE"))->setAsString(QStringLiteral("Perché"));
    q.FieldByName(QStringLiteral("GIORNO"))->setAsString(QStringLiteral("09/03/2012"));
    q.FieldByName(QStringLiteral("PREZZO"))->setAsString(QStringLiteral("12,5"));
    q.MoveBy(0); // posts
    EXPECT_EQ(q.State(), dsBrowse);
    EXPECT_EQ(key(), QStringLiteral("1/7"));
    t.tr().Commit();
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(stored("SELECT COUNT(*) FROM DETTMENU WHERE PROGRAMMA = 1 AND MENU = 2"), "0");
    EXPECT_EQ(stored("SELECT NOTE FROM DETTMENU WHERE MENU = 7"), QStringLiteral("Perché"));
    EXPECT_EQ(stored("SELECT GIORNO FROM DETTMENU WHERE MENU = 7"), QStringLiteral("09/03/2012"));
    EXPECT_EQ(stored("SELECT PREZZO FROM DETTMENU WHERE MENU = 7"), QStringLiteral("12,5"));
}

TEST_F(IBQueryTest, InsertDeleteNullsAndTruncation)
{
    q.Open();
    q.Append();
    q.FieldByName(QStringLiteral("PROGRAMMA"))->setAsInteger(3);
    q.FieldByName(QStringLiteral("MENU"))->setAsInteger(1);
    // Without the cut to the column's size the server would refuse the row.
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->setAsString(QStringLiteral("abcdefghijklmno"));
    q.Post();
    EXPECT_EQ(field("DESCRIZIONE"), QStringLiteral("abcdefghij"));
    q.First();
    q.Edit();
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->Clear();
    q.Post();
    q.Next();
    q.Delete();
    EXPECT_EQ(key(), QStringLiteral("2/1"));
    t.tr().Commit();
    EXPECT_EQ(stored("SELECT DESCRIZIONE FROM DETTMENU WHERE PROGRAMMA = 3"), "abcdefghij");
    EXPECT_EQ(stored("SELECT COUNT(*) FROM DETTMENU WHERE DESCRIZIONE IS NULL"), "1");
    EXPECT_EQ(stored("SELECT COUNT(*) FROM DETTMENU"), "4");
}

TEST_F(IBQueryTest, FailedPostKeepsTheRowBeingEdited)
{
    q.Open();
    q.Append();
    q.FieldByName(QStringLiteral("PROGRAMMA"))->setAsInteger(1);
    q.FieldByName(QStringLiteral("MENU"))->setAsInteger(1); // a key already stored
    EXPECT_THROW(q.Post(), EIBError);
    EXPECT_EQ(q.State(), dsInsert);
    q.FieldByName(QStringLiteral("MENU"))->setAsInteger(9);
    q.Post();
    EXPECT_EQ(q.RecordCount(), 5);
}

TEST_F(IBQueryTest, EditOfARowDeletedElsewhereIsNotReportedAsSaved)
{
    // Read committed, so the other user's delete is seen by the update.
    t.tr().Params = QStringList{QStringLiteral("read_committed"), QStringLiteral("rec_version")};
    q.Open();
    ASSERT_TRUE(q.Locate(QStringLiteral("PROGRAMMA;MENU"), QVariantList{2, 1}));
    OtherConnection(t.path()).exec(
        QStringLiteral("DELETE FROM DETTMENU WHERE PROGRAMMA = 2 AND MENU = 1"));
    q.Edit();
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->setAsString(QStringLiteral("perso"));
    EXPECT_THROW(q.Post(), EDatabaseError);
    EXPECT_EQ(q.State(), dsEdit);
}

TEST_F(IBQueryTest, NumbersThatDoNotFitOrUseAPointAreRefused)
{
    q.Open();
    q.Edit();
    EXPECT_THROW(q.FieldByName(QStringLiteral("MENU"))->setAsString(QStringLiteral("3000000000")),
                 EConvertError);
    EXPECT_THROW(q.FieldByName(QStringLiteral("PREZZO"))->setAsString(QStringLiteral("1.234")),
                 EConvertError);
    q.FieldByName(QStringLiteral("PREZZO"))->setAsString(QStringLiteral("1234,5"));
    EXPECT_DOUBLE_EQ(q.FieldByName(QStringLiteral("PREZZO"))->AsFloat(), 1234.5);
    q.Cancel();
}

TEST_F(IBQueryTest, RollbackDropsAPendingEditAndCommitRetainingKeepsTheQueryOpen)
{
    q.Open();
    q.Edit();
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->setAsString(QStringLiteral("mai"));
    t.tr().Rollback();
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(q.State(), dsInactive);
    EXPECT_EQ(stored("SELECT DESCRIZIONE FROM DETTMENU WHERE PROGRAMMA = 1 AND MENU = 1"), "uno");
    // A hard commit with an edit pending commits only what was posted.
    q.Open();
    q.Edit();
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->setAsString(QStringLiteral("mai"));
    t.tr().Commit();
    EXPECT_FALSE(q.Active());
    EXPECT_EQ(stored("SELECT DESCRIZIONE FROM DETTMENU WHERE PROGRAMMA = 1 AND MENU = 1"), "uno");

    q.Open();
    q.Last();
    q.Edit();
    q.FieldByName(QStringLiteral("DESCRIZIONE"))->setAsString(QStringLiteral("salvato"));
    q.Post();
    t.tr().CommitRetaining();
    EXPECT_TRUE(q.Active());
    EXPECT_EQ(key(), QStringLiteral("2/2"));
    EXPECT_EQ(stored("SELECT DESCRIZIONE FROM DETTMENU WHERE MENU = 2 AND PROGRAMMA = 2"),
              "salvato");
}

TEST_F(IBQueryTest, BookmarkFollowsItsRowAcrossAReopen)
{
    q.Open();
    q.Locate(QStringLiteral("PROGRAMMA;MENU"), QVariantList{2, 1});
    const TBookmark b = q.GetBookmark();
    t.tr().Commit();
    // Another program adds a row that sorts before it: the row's index moves.
    OtherConnection(t.path()).exec(
        QStringLiteral("INSERT INTO DETTMENU (PROGRAMMA, MENU) VALUES (0, 5)"));
    q.Open();
    EXPECT_EQ(key(), QStringLiteral("0/5"));
    EXPECT_TRUE(q.BookmarkValid(b));
    EXPECT_TRUE(q.GotoBookmark(b));
    EXPECT_EQ(key(), QStringLiteral("2/1"));
    EXPECT_EQ(q.RecNo(), 4);
}

TEST_F(IBQueryTest, BookmarkOfARowDeletedElsewhereLeavesTheFirstRow)
{
    q.Open();
    q.Last();
    const TBookmark b = q.GetBookmark();
    q.Close();
    t.tr().Commit();
    OtherConnection(t.path()).exec(
        QStringLiteral("DELETE FROM DETTMENU WHERE PROGRAMMA = 2 AND MENU = 2"));
    q.Open();
    EXPECT_FALSE(q.BookmarkValid(b));
    EXPECT_FALSE(q.GotoBookmark(b));
    EXPECT_EQ(key(), QStringLiteral("1/1"));
}

TEST_F(IBQueryTest, TableWithoutPrimaryKeyUsesEveryColumn)
{
    t.exec(QStringLiteral("CREATE TABLE LIBERA (A INTEGER, B VARCHAR(5), C BLOB SUB_TYPE 1)"));
    t.exec(QStringLiteral("INSERT INTO LIBERA VALUES (1, NULL, 'x')"));
    t.exec(QStringLiteral("INSERT INTO LIBERA VALUES (2, 'b', 'y')"));
    TIBQuery free;
    free.setDatabase(&t.db());
    free.SQL = QStringList{QStringLiteral("SELECT * FROM LIBERA ORDER BY A")};
    free.Open();
    EXPECT_EQ(free.KeyFields(), (QStringList{"A", "B"}));
    const TBookmark b = free.GetBookmark(); // a NULL among the values
    free.Close();
    free.Open();
    free.Last();
    EXPECT_TRUE(free.GotoBookmark(b));
    EXPECT_EQ(free.RecNo(), 1);
    // Without an update object the query only reads.
    try {
        free.Edit();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Impossibile modificare un dataset di sola lettura"));
    }
}
