#include "dataerrors.h"
#include "datasetmodel.h"
#include "messagerecorder.h"
#include "viewsources.h"

#include <QSignalSpy>
#include <gtest/gtest.h>

namespace {

template <typename Source> class DataSetModelTest : public ::testing::Test
{
protected:
    DataSetModelTest()
        : model(&source.ds())
        , check(&model)
        , resets(&model, &QAbstractItemModel::modelReset)
    {
    }
    void TearDown() override { EXPECT_EQ(check.failures().join("\n").toStdString(), ""); }

    TDataSet &ds() { return source.ds(); }
    TField *field(const char *name) { return ds().FieldByName(QString::fromLatin1(name)); }
    // The NOME column as the model shows it, "_" for an empty cell.
    QString names()
    {
        QString s;
        const int column = model.columnOfField(QStringLiteral("NOME"));
        for (int r = 0; r < model.rowCount(); ++r) {
            const QString text = model.index(r, column).data().toString();
            s += text.isEmpty() ? QStringLiteral("_") : text;
        }
        return s;
    }
    void goTo(int code) { ASSERT_TRUE(ds().Locate(QStringLiteral("CODICE"), code)); }

    Source source;
    TDataSetModel model;
    ModelCheck check;
    QSignalSpy resets;
};

using Sources = ::testing::Types<MemorySource, QuerySource>;
TYPED_TEST_SUITE(DataSetModelTest, Sources);

} // namespace

TYPED_TEST(DataSetModelTest, ShowsEveryFieldWithBlobsAsPlaceholders)
{
    TDataSetModel &m = this->model;
    ASSERT_EQ(m.columnCount(), 4);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "CODICE");
    EXPECT_EQ(m.headerData(3, Qt::Horizontal).toString(), "DATI");
    EXPECT_EQ(m.index(1, 0).data().toString(), "20");
    EXPECT_EQ(m.index(1, 2).data().toString(), "(MEMO)");
    EXPECT_EQ(m.index(1, 3).data().toString(), "(BLOB)"); // NULL or not, never read
    EXPECT_EQ(this->names(), "ABCDE");
    EXPECT_EQ(m.currentRow(), 0);
}

TYPED_TEST(DataSetModelTest, ScrollingMovesTheCurrentRowWithoutAReset)
{
    QSignalSpy current(&this->model, &TDataSetModel::currentRowChanged);
    this->ds().Next();
    this->ds().Last();
    this->goTo(30);
    EXPECT_EQ(this->resets.count(), 0);
    ASSERT_EQ(current.count(), 3);
    EXPECT_EQ(current.at(0).at(0).toInt(), 1);
    EXPECT_EQ(current.at(1).at(0).toInt(), 4);
    EXPECT_EQ(current.at(2).at(0).toInt(), 2);
}

TYPED_TEST(DataSetModelTest, InsertBeforeShowsTheNewRowInItsPlaceUntilPosted)
{
    this->goTo(30);
    this->ds().Insert();
    EXPECT_EQ(this->names(), "AB_CDE");
    EXPECT_EQ(this->model.currentRow(), 2);
    this->field("CODICE")->setAsInteger(25);
    this->field("NOME")->setAsString("X");
    EXPECT_EQ(this->names(), "ABXCDE");
    this->ds().Post();
    EXPECT_EQ(this->names(), "ABXCDE");
    EXPECT_EQ(this->model.currentRow(), 2);
    EXPECT_EQ(this->model.index(2, 0).data().toString(), "25");
    EXPECT_EQ(this->resets.count(), 0);
}

TYPED_TEST(DataSetModelTest, AppendAtTheEndAndCancelledAppend)
{
    this->goTo(20);
    this->ds().Append();
    EXPECT_EQ(this->names(), "ABCDE_");
    EXPECT_EQ(this->model.currentRow(), 5);
    this->ds().Cancel();
    EXPECT_EQ(this->names(), "ABCDE");
    EXPECT_EQ(this->model.currentRow(), 4);

    this->ds().Append();
    this->field("CODICE")->setAsInteger(60);
    this->field("NOME")->setAsString("F");
    this->ds().Post();
    EXPECT_EQ(this->names(), "ABCDEF");
    EXPECT_EQ(this->model.currentRow(), 5);
    EXPECT_EQ(this->resets.count(), 0);
}

TYPED_TEST(DataSetModelTest, DeleteInTheMiddleAndAtTheEnd)
{
    this->goTo(30);
    this->ds().Delete();
    EXPECT_EQ(this->names(), "ABDE");
    EXPECT_EQ(this->model.currentRow(), 2); // the row that took its place
    this->ds().Last();
    this->ds().Delete();
    EXPECT_EQ(this->names(), "ABD");
    EXPECT_EQ(this->model.currentRow(), 2); // the previous one
    this->ds().First();
    this->ds().Delete();
    this->ds().Delete();
    this->ds().Delete();
    EXPECT_EQ(this->model.rowCount(), 0);
    EXPECT_EQ(this->model.currentRow(), -1);
    EXPECT_EQ(this->resets.count(), 0);
}

TYPED_TEST(DataSetModelTest, FilterHidesRowsThenIsLifted)
{
    int asked = 0;
    this->ds().setOnFilterRecord([&](TDataSet *d, bool &accept) {
        ++asked;
        accept = d->FieldByName("CODICE")->AsInteger() >= 30;
    });
    this->ds().setFiltered(true);
    EXPECT_EQ(this->names(), "CDE");
    EXPECT_EQ(this->model.currentRow(), 0);
    EXPECT_EQ(this->resets.count(), 1);
    // The verdicts are kept: walking and repainting ask nothing again.
    const int afterFirstLook = asked;
    for (this->ds().First(); !this->ds().Eof(); this->ds().Next())
        ;
    this->names();
    EXPECT_EQ(asked, afterFirstLook);

    // A record the filter refuses after a post leaves the view.
    this->goTo(40);
    this->ds().Edit();
    this->field("CODICE")->setAsInteger(4);
    this->ds().Post();
    EXPECT_EQ(this->names(), "CE");
    EXPECT_EQ(this->model.currentRow(), 1);
    EXPECT_EQ(this->resets.count(), 1);

    this->ds().setFiltered(false);
    EXPECT_EQ(this->names(), "ABCDE"); // the store's order, as posted
    EXPECT_EQ(this->resets.count(), 2);
}

TYPED_TEST(DataSetModelTest, ANewRecordTheFilterRefusesLeavesTheView)
{
    this->ds().setOnFilterRecord(
        [](TDataSet *d, bool &accept) { accept = d->FieldByName("CODICE")->AsInteger() >= 30; });
    this->ds().setFiltered(true);
    this->ds().Append();
    EXPECT_EQ(this->names(), "CDE_");
    this->field("CODICE")->setAsInteger(5);
    this->ds().Post();
    EXPECT_EQ(this->names(), "CDE");
    EXPECT_EQ(this->model.currentRow(), 2);
    this->ds().Append();
    this->field("CODICE")->setAsInteger(70);
    this->field("NOME")->setAsString("G");
    this->ds().Post();
    EXPECT_EQ(this->names(), "CDEG");
    EXPECT_EQ(this->resets.count(), 1);
}

TYPED_TEST(DataSetModelTest, AFailingFilterIsReportedOnceForItsRecord)
{
    MessageRecorder rec;
    rec.expect(TMsgDlgType::Error, "filtro guasto");
    this->ds().setOnFilterRecord([](TDataSet *d, bool &accept) {
        if (d->FieldByName("CODICE")->AsInteger() == 20)
            throw EDatabaseError("filtro guasto");
        accept = true;
    });
    this->ds().setFiltered(true);
    for (int walk = 0; walk < 3; ++walk) {
        for (this->ds().First(); !this->ds().Eof(); this->ds().Next())
            ;
    }
    EXPECT_EQ(this->names(), "ABCDE");
    EXPECT_EQ(rec.seen().size(), 1);
}

TYPED_TEST(DataSetModelTest, RefreshAsksTheFilterAgainAndStaysWhereItCan)
{
    int limit = 30;
    this->ds().setOnFilterRecord([&](TDataSet *d, bool &accept) {
        accept = d->FieldByName("CODICE")->AsInteger() >= limit;
    });
    this->ds().setFiltered(true);
    this->goTo(40);
    limit = 20;
    EXPECT_EQ(this->names(), "CDE"); // nothing asked again yet
    this->ds().Refresh();
    EXPECT_EQ(this->names(), "BCDE");
    EXPECT_EQ(this->model.currentRow(), 2);
    limit = 50;
    this->ds().Refresh();
    EXPECT_EQ(this->names(), "E");
    EXPECT_EQ(this->model.currentRow(), 0);
    EXPECT_EQ(this->resets.count(), 3);
}

TYPED_TEST(DataSetModelTest, CancelledEditShowsTheStoredValuesAgain)
{
    this->goTo(20);
    this->ds().Edit();
    this->field("NOME")->setAsString("Z");
    EXPECT_EQ(this->names(), "AZCDE");
    this->ds().Cancel();
    EXPECT_EQ(this->names(), "ABCDE");
    EXPECT_EQ(this->model.currentRow(), 1);
    EXPECT_EQ(this->resets.count(), 0);
}

TYPED_TEST(DataSetModelTest, DisabledControlsEndInOneReset)
{
    this->ds().DisableControls();
    this->ds().Last();
    this->ds().Delete();
    this->ds().First();
    EXPECT_EQ(this->resets.count(), 0);
    this->ds().EnableControls();
    EXPECT_EQ(this->resets.count(), 1);
    EXPECT_EQ(this->names(), "ABCD");
    EXPECT_EQ(this->model.currentRow(), 0);
}

TYPED_TEST(DataSetModelTest, TheViewMovesTheCursor)
{
    this->model.setCurrentRow(3);
    EXPECT_EQ(this->field("NOME")->AsString(), "D");
    // A pending edit is posted by the move, as any move posts it.
    this->ds().Edit();
    this->field("NOME")->setAsString("W");
    this->model.setCurrentRow(0);
    EXPECT_EQ(this->ds().State(), dsBrowse);
    EXPECT_EQ(this->names(), "ABCWE");
    EXPECT_EQ(this->model.currentRow(), 0);

    // A refused move leaves the dataset where it was, silently for EAbort.
    this->ds().BeforeScroll = [](TDataSet *) { throw EAbort(); };
    this->model.setCurrentRow(2);
    EXPECT_EQ(this->model.currentRow(), 0);
}

TYPED_TEST(DataSetModelTest, HiddenColumnsAndHooks)
{
    TDataSetModel &m = this->model;
    m.setColumnHidden("codice");
    m.setColumnHidden("DATI");
    ASSERT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.headerData(0, Qt::Horizontal).toString(), "NOME");
    this->source.reopen();
    EXPECT_EQ(m.columnCount(), 2);
    EXPECT_EQ(m.columnOfField("CODICE"), -1);

    m.setRowColourHook([&m](int row, QColor &background, QColor &text) {
        if (m.value(row, "CODICE").toInt() == 20) {
            background = Qt::cyan;
            text = Qt::black;
        }
    });
    m.setCellTextHook([](int, const TField *f, QString &text) {
        if (f->FieldName() == "NOME")
            text = QString(text.size() + 1, QLatin1Char('*'));
    });
    EXPECT_EQ(m.index(1, 0).data().toString(), "**");
    EXPECT_EQ(m.index(1, 0).data(Qt::BackgroundRole).value<QColor>(), QColor(Qt::cyan));
    EXPECT_FALSE(m.index(2, 0).data(Qt::BackgroundRole).isValid());
}

// ---- The query's own cases ----------------------------------------------------

using QueryModelTest = DataSetModelTest<QuerySource>;

TEST_F(QueryModelTest, ReopenReturnsToTheBookmark)
{
    goTo(40);
    const TBookmark mark = ds().GetBookmark();
    source.db.exec("UPDATE PROVA SET NOME = 'Q' WHERE CODICE = 10"); // a hard commit: closed
    EXPECT_FALSE(ds().Active());
    EXPECT_EQ(model.rowCount(), 0);
    ds().Open();
    ASSERT_TRUE(ds().GotoBookmark(mark));
    EXPECT_EQ(names(), "QBCDE");
    EXPECT_EQ(model.currentRow(), 3);
}

TEST_F(QueryModelTest, AFailedPostChangesNothingShown)
{
    goTo(20);
    ds().Edit();
    field("CODICE")->setAsInteger(30); // the key of another row
    EXPECT_THROW(ds().Post(), std::exception);
    EXPECT_EQ(ds().State(), dsEdit);
    EXPECT_EQ(names(), "ABCDE");
    EXPECT_EQ(model.index(1, 0).data().toString(), "30"); // the edit buffer
    ds().Cancel();
    EXPECT_EQ(model.index(1, 0).data().toString(), "20");
}
