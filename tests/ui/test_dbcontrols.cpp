#include "dataerrors.h"
#include "dbcontrols.h"
#include "memorydata.h"
#include "messagerecorder.h"
#include "viewsources.h"

#include <QKeyEvent>
#include <QRadioButton>
#include <QRegularExpression>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>
#include <random>

namespace {

// Rows: CODICE, NOME (5 characters), FLAG (1 character), LIVELLO, NOTE.
class BoundControlsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.FieldDefs.Add("CODICE", ftSmallint);
        t.FieldDefs.Add("NOME", ftString, 5);
        t.FieldDefs.Add("FLAG", ftString, 1);
        t.FieldDefs.Add("LIVELLO", ftSmallint);
        t.FieldDefs.Add("NOTE", ftMemo);
        t.Open();
        t.AppendRecord({1, "uno", "0", 0, "riga 1\r\nriga 2"});
        t.AppendRecord({2, "due", "1", 1, QVariant()});
        t.AppendRecord({3, QVariant(), QVariant(), QVariant(), QVariant()});
        t.AppendRecord({4, "quat", "X", 7, QVariant()});
        t.First();
    }
    QString value(const char *field) { return t.FieldByName(field)->AsString(); }

    TRxMemoryData t;
};

} // namespace

TEST_F(BoundControlsTest, EditShowsEveryRowAndWritesWhatIsTyped)
{
    TDBEdit edit;
    QSignalSpy changes(&edit, &TDBEdit::Change);
    edit.bind(&t, "NOME");
    EXPECT_EQ(edit.text(), "uno");
    EXPECT_EQ(edit.maxLength(), 5);
    t.Next();
    EXPECT_EQ(edit.text(), "due");
    t.Next();
    EXPECT_EQ(edit.text(), ""); // NULL
    EXPECT_EQ(changes.count(), 3);

    // The first keystroke in browse state begins the edit.
    t.Prior();
    changes.clear();
    QTest::keyClicks(&edit, "ttoxyz");
    EXPECT_EQ(t.State(), dsEdit);
    EXPECT_EQ(edit.text(), "duett"); // no more than the column holds
    EXPECT_EQ(value("NOME"), "duett");
    EXPECT_EQ(changes.count(), 2);
    t.Post();
    EXPECT_EQ(value("NOME"), "duett");

    // A new record shows empty.
    t.Append();
    EXPECT_EQ(edit.text(), "");
    t.Cancel();
    EXPECT_EQ(edit.text(), "quat");
}

TEST_F(BoundControlsTest, IntegerColumnTakesOnlyASignAndDigits)
{
    TDBEdit edit;
    edit.bind(&t, "CODICE");
    edit.end(false);
    QTest::keyClick(&edit, Qt::Key_Backspace); // "1" -> ""
    EXPECT_TRUE(t.FieldByName("CODICE")->IsNull());
    QTest::keyClicks(&edit, "-");
    EXPECT_TRUE(t.FieldByName("CODICE")->IsNull()); // no number yet
    QTest::keyClicks(&edit, "1a2-");
    EXPECT_EQ(edit.text(), "-12");
    EXPECT_EQ(t.FieldByName("CODICE")->AsInteger(), -12);

    // A number the column cannot hold is refused, keeping the last good one.
    edit.selectAll();
    QTest::keyClicks(&edit, "40000");
    EXPECT_EQ(t.FieldByName("CODICE")->AsInteger(), 4000);
    EXPECT_EQ(edit.text(), "4000");
}

TEST_F(BoundControlsTest, ARefusedEditPutsTheStoredTextBack)
{
    MessageRecorder rec;
    TDBEdit edit;
    edit.bind(&t, "NOME");
    t.BeforeEdit = [](TDataSet *) { throw EDatabaseError("Record bloccato"); };
    rec.expect(TMsgDlgType::Error, "Record bloccato");
    QTest::keyClicks(&edit, "x");
    EXPECT_EQ(rec.pending(), 0);
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_EQ(edit.text(), "uno");
}

TEST_F(BoundControlsTest, CheckBoxTicksOnlyForItsValueAndRewritesOnlyOnAClick)
{
    TDBCheckBox box("Visibile");
    box.bind(&t, "FLAG");
    QStringList shown;
    for (t.First(); !t.Eof(); t.Next())
        shown << (box.isChecked() ? "on" : "off");
    EXPECT_EQ(shown, QStringList({"off", "on", "off", "off"})); // "0", "1", NULL, "X"
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_EQ(value("FLAG"), "X"); // showing wrote nothing

    box.click();
    EXPECT_EQ(t.State(), dsEdit);
    EXPECT_EQ(value("FLAG"), "1");
    box.click();
    EXPECT_EQ(value("FLAG"), "0");
    t.Post();

    t.First();
    box.ValueChecked = "S";
    box.ValueUnchecked = "N";
    box.click();
    EXPECT_EQ(value("FLAG"), "S");
}

TEST_F(BoundControlsTest, RadioGroupChecksTheMatchingValueOrNone)
{
    TDBRadioGroup radio("Passaggio parametri");
    radio.setItems({"1 Parametro", "2 Parametri"}, {"0", "1"});
    radio.bind(&t, "LIVELLO");
    QList<int> shown;
    for (t.First(); !t.Eof(); t.Next())
        shown << radio.ItemIndex();
    EXPECT_EQ(shown, QList<int>({0, 1, -1, -1})); // 0, 1, NULL, 7 outside the list

    auto buttons = radio.findChildren<QRadioButton *>();
    ASSERT_EQ(buttons.size(), 2);
    buttons[1]->click();
    EXPECT_EQ(t.FieldByName("LIVELLO")->AsInteger(), 1);
    EXPECT_EQ(radio.ItemIndex(), 1);
    t.Cancel();
    EXPECT_EQ(radio.ItemIndex(), -1);

    // Clicking the button already checked is no change.
    t.First();
    buttons[0]->click();
    EXPECT_EQ(t.State(), dsBrowse);
}

TEST_F(BoundControlsTest, MemoKeepsCrLfLines)
{
    TDBMemo memo;
    memo.bind(&t, "NOTE");
    EXPECT_EQ(memo.toPlainText(), "riga 1\nriga 2");
    memo.moveCursor(QTextCursor::End);
    QTest::keyClick(&memo, Qt::Key_Return);
    QTest::keyClicks(&memo, "tre");
    EXPECT_EQ(value("NOTE"), "riga 1\r\nriga 2\r\ntre");
    t.Next();
    EXPECT_EQ(memo.toPlainText(), ""); // posted, and the next row has none
    t.Prior();
    EXPECT_EQ(memo.text(), "riga 1\r\nriga 2\r\ntre");
}

TEST(BoundControlsOnQuery, AReopenWithTheSameTextStillNotifies)
{
    QuerySource source;
    TDBEdit edit;
    TDBMemo memo;
    edit.bind(&source.query, "NOME");
    memo.bind(&source.query, "NOTE");
    QSignalSpy editChanges(&edit, &TDBEdit::Change);
    QSignalSpy memoChanges(&memo, &TDBMemo::Change);
    source.reopen();
    EXPECT_EQ(edit.text(), "A");
    EXPECT_EQ(memo.toPlainText(), "nota");
    // Once, for the opening: closing only emptied the boxes.
    EXPECT_EQ(editChanges.count(), 1);
    EXPECT_EQ(memoChanges.count(), 1);
    source.query.Close();
    EXPECT_EQ(edit.text(), "");
    EXPECT_EQ(editChanges.count(), 1);
    source.query.Open();

    // A walk with the controls disabled ends in one showing.
    editChanges.clear();
    source.query.DisableControls();
    for (source.query.First(); !source.query.Eof(); source.query.Next())
        ;
    source.query.First();
    source.query.EnableControls();
    EXPECT_EQ(editChanges.count(), 1);
}

namespace {

// A typed character, also one the test library cannot spell as a key.
void type(QWidget *box, QChar c)
{
    QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(box, &press);
    QKeyEvent release(QEvent::KeyRelease, 0, Qt::NoModifier, QString(c));
    QCoreApplication::sendEvent(box, &release);
}

} // namespace

// Random keystrokes, a fixed seed: the boxes never hold a text their field
// does not, and nothing typed crashes or sticks.
TEST_F(BoundControlsTest, RandomTypingKeepsBoxAndFieldTogether)
{
    TDBEdit number, name;
    TDBMemo note;
    number.bind(&t, "CODICE");
    name.bind(&t, "NOME");
    note.bind(&t, "NOTE");
    const QString chars = QStringLiteral("0123456789+-aZ è€,.; ");
    const Qt::Key keys[] = {Qt::Key_Backspace, Qt::Key_Delete, Qt::Key_Home,
                            Qt::Key_End,       Qt::Key_Left,   Qt::Key_Return};
    std::mt19937 random(20240512);
    QWidget *boxes[] = {&number, &name, &note};
    for (int step = 0; step < 3000; ++step) {
        QWidget *box = boxes[random() % 3];
        if (random() % 4 == 0)
            QTest::keyClick(box, keys[random() % std::size(keys)]);
        else
            type(box, chars[int(random() % chars.size())]);
        if (random() % 200 == 0) {
            t.Post();
            t.Next();
            if (t.Eof())
                t.First();
        }
        const QString digits = number.text();
        const TField *code = t.FieldByName("CODICE");
        ASSERT_TRUE(QRegularExpression("^[+-]?[0-9]*$").match(digits).hasMatch())
            << digits.toStdString();
        if (digits.isEmpty() || digits == "-" || digits == "+")
            ASSERT_TRUE(code->IsNull()) << digits.toStdString();
        else
            ASSERT_EQ(code->AsInteger(), digits.toInt()) << digits.toStdString();
        ASSERT_EQ(name.text(), value("NOME"));
        ASSERT_LE(name.text().size(), 5);
        ASSERT_EQ(note.text(), value("NOTE"));
    }
}
