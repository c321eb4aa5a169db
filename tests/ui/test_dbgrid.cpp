#include "dataerrors.h"
#include "dbgrid.h"
#include "messagerecorder.h"
#include "viewsources.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QSet>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

namespace {

class DBGridTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        // Enough rows that the grid must scroll.
        for (int code = 60; code <= 400; code += 10)
            source.table.AppendRecord({code, QStringLiteral("R%1").arg(code)});
        source.table.First();
        grid.setDataSet(&source.table);
        grid.resize(360, 220);
        grid.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&grid));
    }
    QPoint cellCentre(int row, int column)
    {
        return grid.visualRect(grid.Model()->index(row, column)).center();
    }
    bool currentCellVisible()
    {
        const QRect cell = grid.visualRect(grid.currentIndex());
        return grid.currentIndex().isValid() && grid.viewport()->rect().contains(cell);
    }
    int recNo() { return source.table.RecNo(); }

    MemorySource source;
    TDBGrid grid;
};

} // namespace

TEST_F(DBGridTest, TheCurrentCellFollowsTheDataSetAndStaysInSight)
{
    EXPECT_EQ(grid.currentIndex().row(), 0);
    source.table.Last();
    EXPECT_EQ(grid.currentIndex().row(), grid.Model()->rowCount() - 1);
    EXPECT_TRUE(currentCellVisible());
    ASSERT_TRUE(source.table.Locate("CODICE", 30));
    EXPECT_EQ(grid.currentIndex().row(), 2);
    EXPECT_TRUE(currentCellVisible());
    // Rows have one height; none is measured.
    EXPECT_EQ(grid.verticalHeader()->sectionResizeMode(0), QHeaderView::Fixed);
}

TEST_F(DBGridTest, ClicksAndKeysMoveTheDataSet)
{
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(3, 1));
    EXPECT_EQ(recNo(), 4);
    QTest::keyClick(&grid, Qt::Key_Down);
    EXPECT_EQ(recNo(), 5);
    EXPECT_EQ(source.table.FieldByName("NOME")->AsString(), "E");
    QTest::keyClick(&grid, Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(recNo(), source.table.RecordCount());
    EXPECT_TRUE(currentCellVisible());
}

TEST_F(DBGridTest, ARefusedMoveTakesTheGridBackToTheDataSetsRow)
{
    source.table.BeforeScroll = [](TDataSet *) { throw EAbort(); };
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(2, 0));
    QCoreApplication::processEvents();
    EXPECT_EQ(recNo(), 1);
    EXPECT_EQ(grid.currentIndex().row(), 0);
}

TEST_F(DBGridTest, DoubleClickAndF3ReachTheWindowWithoutRepeats)
{
    QSignalSpy dbl(&grid, &TDBGrid::DblClick);
    QSignalSpy down(&grid, &TDBGrid::KeyDown);
    QSignalSpy up(&grid, &TDBGrid::KeyUp);
    int rowAtDblClick = -1;
    QObject::connect(&grid, &TDBGrid::DblClick, [&] { rowAtDblClick = recNo(); });
    QTest::mouseDClick(grid.viewport(), Qt::LeftButton, {}, cellCentre(2, 1));
    EXPECT_EQ(dbl.count(), 1);
    EXPECT_EQ(rowAtDblClick, 3); // the clicked row is current by then

    QTest::keyPress(&grid, Qt::Key_F3);
    QKeyEvent repeat(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&grid, &repeat);
    QKeyEvent repeatUp(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier, QString(), true);
    QCoreApplication::sendEvent(&grid, &repeatUp);
    QTest::keyRelease(&grid, Qt::Key_F3);
    ASSERT_EQ(down.count(), 1);
    ASSERT_EQ(up.count(), 1);
    EXPECT_EQ(down.at(0).at(0).toInt(), int(Qt::Key_F3));
    EXPECT_EQ(up.at(0).at(0).toInt(), int(Qt::Key_F3));
}

TEST_F(DBGridTest, DisabledWhileEditingItStillShowsRowsAndTheEditBuffer)
{
    ASSERT_TRUE(source.table.Locate("CODICE", 20));
    source.table.Edit();
    source.table.FieldByName("NOME")->setAsString("Nuovo");
    grid.setEnabled(false);
    EXPECT_EQ(grid.Model()->index(1, 1).data().toString(), "Nuovo");
    const QPalette p = grid.palette();
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Text),
              p.color(QPalette::Active, QPalette::Text));
    EXPECT_EQ(p.color(QPalette::Disabled, QPalette::Highlight),
              p.color(QPalette::Active, QPalette::Highlight));
    // The window's own moves still show.
    source.table.Cancel();
    source.table.Next();
    EXPECT_EQ(grid.currentIndex().row(), 2);
}

TEST_F(DBGridTest, MarkedRowsArePaintedInTheBackgroundColour)
{
    QSet<QString> marks{QStringLiteral("20"), QStringLiteral("40")};
    TDataSetModel *m = grid.Model();
    m->setRowColourHook([m, &marks](int row, QColor &background, QColor &text) {
        background = marks.contains(m->value(row, "CODICE").toString()) ? clBackground : Qt::white;
        text = Qt::black;
    });
    grid.viewport()->update();
    const QImage shot = grid.grab().toImage();
    const auto colourAt = [&](int row) {
        const QRect cell = grid.visualRect(m->index(row, 2));
        const QPoint inViewport = cell.topLeft() + QPoint(cell.width() - 4, cell.height() / 2);
        return shot.pixelColor(grid.viewport()->mapTo(&grid, inViewport));
    };
    EXPECT_EQ(colourAt(1), clBackground);
    EXPECT_EQ(colourAt(3), clBackground);
    EXPECT_EQ(colourAt(2), QColor(Qt::white));
}
