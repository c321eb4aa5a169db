#include "ibquery.h"
#include "messagerecorder.h"
#include "sqlgen.h"
#include "statusbutton.h"
#include "tabform.h"
#include "tag.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLocale>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

// A signed-in archive object with three profiles and an editor's query on them.
class EditProtocolTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkdir("Grafica");
        for (const char *picture : {"/Grafica/Verde.bmp", "/Grafica/Rosso.bmp"})
            QFile::copy(QCoreApplication::applicationDirPath() + picture, dir.path() + picture);
        tab.DirectoryProgramma = dir.path() + "/";
        rec.allowAny();
        ASSERT_TRUE(tab.ConnettiDatabaseArchivi());
        rec.allowAny(false);
        for (int i = 1; i <= 3; ++i)
            exec(QString("INSERT INTO PROFILI (CODICE, DESCRIZIONE) VALUES (%1, 'profilo %1')")
                     .arg(i));
        tab.IBTransaction1->Commit();

        query.setDatabase(tab.IBDatabase1);
        query.setTransaction(tab.IBTransaction1);
        query.SQL = QStringList{"SELECT CODICE, DESCRIZIONE FROM PROFILI ORDER BY CODICE"};
        GeneraSQLAggiornamento(&query, "PROFILI", "UPDATE", &update);
        update.ModifySQL << "WHERE (CODICE=:OLD_CODICE)";
        GeneraSQLAggiornamento(&query, "PROFILI", "INSERT", &update);
        query.setUpdateObject(&update);
        query.Open();
        setTag(&status, 1);
    }
    void exec(const QString &sql)
    {
        TIBSQL s;
        s.setDatabase(tab.IBDatabase1);
        s.SQL = QStringList{sql};
        s.ExecQuery();
    }
    // What another program of the suite sees, through its own connection.
    QString committed(const QString &sql)
    {
        return OtherConnection(tab.IBDatabase1->DatabaseName).scalar(sql);
    }

    QTemporaryDir dir;
    MessageRecorder rec;
    TTabForm tab;
    TIBQuery query;
    TIBUpdateSQL update;
    QPushButton status;
    TBookmark bookmark;
    bool bookmarkValido = false;
};

} // namespace

TEST_F(EditProtocolTest, SavingAnEditedRowCommitsAndStaysOnItWithAGreenButton)
{
    ASSERT_TRUE(query.Locate("CODICE", 2));
    query.Edit();
    query.FieldByName("DESCRIZIONE")->setAsString("modificato");
    tab.ChiudiTransEAggiorna(&query, bookmark, bookmarkValido, &status);
    EXPECT_TRUE(bookmarkValido);
    EXPECT_EQ(query.FieldByName("CODICE")->AsInteger(), 2);
    EXPECT_EQ(Tag(&status), 0);
    EXPECT_FALSE(status.icon().isNull());
    EXPECT_EQ(committed("SELECT DESCRIZIONE FROM PROFILI WHERE CODICE = 2"), "modificato");
}

TEST_F(EditProtocolTest, SavingWithTheDatasetClosedReopensOnTheFirstRow)
{
    exec("UPDATE PROFILI SET DESCRIZIONE = 'fuori' WHERE CODICE = 3");
    query.Close();
    tab.ChiudiTransEAggiorna(&query, bookmark, bookmarkValido, &status);
    EXPECT_FALSE(bookmarkValido);
    EXPECT_TRUE(query.Active());
    EXPECT_EQ(query.FieldByName("CODICE")->AsInteger(), 1);
    EXPECT_EQ(committed("SELECT DESCRIZIONE FROM PROFILI WHERE CODICE = 3"), "fuori");
}

TEST_F(EditProtocolTest, StatusButtonShowsThePicturesOrAPaintedSquare)
{
    tab.MostraStato(&status, StatusUnsaved);
    EXPECT_EQ(Tag(&status), 1);
    const QImage red = status.icon().pixmap(16, 16).toImage();
    EXPECT_EQ(red, QImage(tab.FileRosso).convertToFormat(red.format()));

    // Without the picture the mode stays visible: a green square.
    QFile::remove(dir.path() + "/Grafica/Verde.bmp");
    tab.ChiudiTransEAggiorna(&query, bookmark, bookmarkValido, &status);
    EXPECT_EQ(Tag(&status), 0);
    const QImage green = status.icon().pixmap(16, 16).toImage();
    ASSERT_FALSE(green.isNull());
    const QColor centre = green.pixelColor(8, 8);
    EXPECT_GT(centre.green(), 100);
    EXPECT_LT(centre.red(), 60);
}

TEST_F(EditProtocolTest, CancellingAnAppendedUncommittedRowReturnsToTheRememberedRow)
{
    ASSERT_TRUE(query.Locate("CODICE", 3));
    const TBookmark remembered = query.GetBookmark();
    query.Append();
    query.FieldByName("CODICE")->setAsInteger(9);
    query.FieldByName("DESCRIZIONE")->setAsString("nuovo");
    query.Post();
    tab.AggiornaTabella(&query, remembered, true);
    EXPECT_EQ(query.RecordCount(), 3);
    EXPECT_EQ(query.FieldByName("CODICE")->AsInteger(), 3);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROFILI WHERE CODICE = 9"), "0");
}

TEST_F(EditProtocolTest, RefreshingAfterTheRememberedRowWasDeletedLandsOnTheFirstRow)
{
    ASSERT_TRUE(query.Locate("CODICE", 2));
    const TBookmark remembered = query.GetBookmark();
    tab.IBTransaction1->Commit(); // the other user's delete must be visible to a new transaction
    OtherConnection(tab.IBDatabase1->DatabaseName).exec("DELETE FROM PROFILI WHERE CODICE = 2");
    tab.AggiornaTabella(&query, remembered, true);
    EXPECT_EQ(query.RecordCount(), 2);
    EXPECT_EQ(query.FieldByName("CODICE")->AsInteger(), 1);
}

TEST_F(EditProtocolTest, GeneratedStatementsFollowTheColumns)
{
    TIBUpdateSQL lower;
    GeneraSQLAggiornamento(&query, "PROFILI", "update", &lower);
    EXPECT_EQ(lower.ModifySQL, (QStringList{"UPDATE \"PROFILI\"", "SET", "CODICE=:CODICE,",
                                            "DESCRIZIONE=:DESCRIZIONE"}));
    EXPECT_TRUE(lower.InsertSQL.isEmpty());
    EXPECT_EQ(update.InsertSQL,
              (QStringList{"INSERT INTO \"PROFILI\"", "(", "CODICE,", "DESCRIZIONE", ")", "VALUES",
                           "(", ":CODICE,", ":DESCRIZIONE", ")"}));
    TIBUpdateSQL other;
    GeneraSQLAggiornamento(&query, "PROFILI", "DELETE", &other);
    EXPECT_TRUE(other.ModifySQL.isEmpty() && other.InsertSQL.isEmpty() &&
                other.DeleteSQL.isEmpty());
}

TEST(DataSQL, MonthFirstWithSlashesWhateverTheLocale)
{
    const QLocale before;
    QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
    EXPECT_EQ(DataSQL(QDateTime(QDate(2012, 3, 9), QTime(15, 30))), "'03/09/2012'");
    EXPECT_EQ(DataSQL(QDate(987, 12, 31)), "'12/31/0987'");
    QLocale::setDefault(before);
}
