#include "dataset.h"
#include "guard.h"
#include "messagerecorder.h"
#include "valueconv.h"

#include <gtest/gtest.h>

namespace {

// The smallest record store: rows in a vector, bookmarks as record IDs.
class ListTable : public TDataSet
{
public:
    ListTable()
    {
        FieldDefs.Add(QStringLiteral("CODICE"), ftInteger);
        FieldDefs.Add(QStringLiteral("NOME"), ftString, 8);
        FieldDefs.Add(QStringLiteral("GIORNO"), ftDate);
        FieldDefs.Add(QStringLiteral("PREZZO"), ftFloat);
    }
    ~ListTable() override { closeWithoutEvents(); }

    void add(int code, const QString &name)
    {
        rows.append(TRecordBuffer{code, name, QVariant(), QVariant()});
        ids.append(nextId++);
    }
    QVector<TRecordBuffer> rows;
    QVector<int> ids;
    int nextId = 1;

protected:
    void openCursor() override {}
    void closeCursor() override {}
    int storeCount() const override { return rows.size(); }
    QVariant storedValue(int i, int f) const override { return rows[i][f]; }
    void storeEdit(int i, TRecordBuffer &b) override { rows[i] = b; }
    int storeInsert(int i, TRecordBuffer &b) override
    {
        rows.insert(i, b);
        ids.insert(i, nextId++);
        return i;
    }
    void storeDelete(int i) override
    {
        rows.remove(i);
        ids.remove(i);
    }
    TBookmark bookmarkAt(int i) const override { return TBookmark(ids[i]); }
    int recordOfBookmark(const TBookmark &b) const override { return ids.indexOf(b.Data.toInt()); }
};

QString names(ListTable &t)
{
    QString s;
    for (const TRecordBuffer &r : t.rows)
        s += r[1].toString();
    return s;
}

QString walk(TDataSet &ds)
{
    QString s;
    for (ds.First(); !ds.Eof(); ds.Next())
        s += ds.FieldByName(QStringLiteral("NOME"))->AsString();
    return s;
}

QString walkBack(TDataSet &ds)
{
    QString s;
    for (ds.Last(); !ds.Bof(); ds.Prior())
        s += ds.FieldByName(QStringLiteral("NOME"))->AsString();
    return s;
}

QString current(TDataSet &ds)
{
    return ds.FieldByName(QStringLiteral("NOME"))->AsString();
}

class DataSetTest : public ::testing::Test
{
protected:
    void fill(const QString &letters)
    {
        for (int i = 0; i < letters.size(); ++i)
            t.add(i + 1, letters.mid(i, 1));
        t.Open();
    }
    ListTable t;
};

} // namespace

TEST_F(DataSetTest, EmptySetIsBothBofAndEof)
{
    t.Open();
    EXPECT_TRUE(t.Bof());
    EXPECT_TRUE(t.Eof());
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(t.RecNo(), 0);
    EXPECT_EQ(t.MoveBy(1), 0);
    EXPECT_TRUE(t.FieldByName(QStringLiteral("NOME"))->IsNull());
    // Editing nothing starts a new record.
    t.Edit();
    EXPECT_EQ(t.State(), dsInsert);
}

TEST_F(DataSetTest, WalksVisitEveryRowBothWays)
{
    fill(QStringLiteral("ABC"));
    EXPECT_TRUE(t.Bof());
    EXPECT_FALSE(t.Eof());
    EXPECT_EQ(walk(t), QStringLiteral("ABC"));
    EXPECT_EQ(current(t), QStringLiteral("C"));
    // Walking back from the last row must still reach the first one.
    EXPECT_EQ(walkBack(t), QStringLiteral("CBA"));
    EXPECT_EQ(current(t), QStringLiteral("A"));

    t.Last();
    EXPECT_TRUE(t.Eof());
    EXPECT_FALSE(t.Bof());
    EXPECT_EQ(t.MoveBy(-10), -2);
    EXPECT_TRUE(t.Bof());
    EXPECT_EQ(t.MoveBy(5), 2);
    EXPECT_TRUE(t.Eof());
    EXPECT_EQ(t.RecNo(), 3);
    t.setRecNo(2);
    EXPECT_EQ(current(t), QStringLiteral("B"));
    EXPECT_FALSE(t.Bof() || t.Eof());
}

TEST_F(DataSetTest, SingleRowMovesSetFlagsWithoutLeavingIt)
{
    fill(QStringLiteral("A"));
    t.Next();
    EXPECT_TRUE(t.Eof());
    EXPECT_FALSE(t.Bof());
    t.Prior();
    EXPECT_TRUE(t.Bof());
    EXPECT_EQ(current(t), QStringLiteral("A"));
}

TEST_F(DataSetTest, InsertGoesBeforeTheCurrentRecord)
{
    fill(QStringLiteral("ABCD"));
    t.setRecNo(3);
    t.Insert();
    EXPECT_EQ(t.State(), dsInsert);
    EXPECT_TRUE(t.FieldByName(QStringLiteral("CODICE"))->IsNull());
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("X"));
    t.Post();
    EXPECT_EQ(names(t), QStringLiteral("ABXCD"));
    EXPECT_EQ(current(t), QStringLiteral("X"));
    EXPECT_EQ(t.RecNo(), 3);

    t.First();
    t.Insert();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("F"));
    t.Post();
    t.Append();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("Z"));
    t.Post();
    EXPECT_EQ(names(t), QStringLiteral("FABXCDZ"));
    EXPECT_EQ(t.RecordCount(), 7);
}

TEST_F(DataSetTest, CancelReturnsToTheRowBeforeTheInsert)
{
    fill(QStringLiteral("ABC"));
    t.setRecNo(2);
    t.Insert();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("X"));
    t.Cancel();
    EXPECT_EQ(current(t), QStringLiteral("B"));
    t.First();
    t.Append();
    t.Cancel();
    EXPECT_EQ(current(t), QStringLiteral("C"));
    EXPECT_EQ(names(t), QStringLiteral("ABC"));
}

TEST_F(DataSetTest, NavigationPostsAWrittenRecordAndDropsAnUntouchedOne)
{
    fill(QStringLiteral("AB"));
    t.OnNewRecord = [](TDataSet *ds) { ds->FieldByName(QStringLiteral("NOME"))->setAsString("N"); };
    t.Append();
    t.Next(); // only OnNewRecord wrote to it: not worth posting
    EXPECT_EQ(names(t), QStringLiteral("AB"));

    t.Append();
    EXPECT_EQ(current(t), QStringLiteral("N"));
    t.FieldByName(QStringLiteral("CODICE"))->setAsInteger(9);
    EXPECT_EQ(t.MoveBy(0), 0);
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_EQ(names(t), QStringLiteral("ABN"));

    t.First();
    t.Edit();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("Q"));
    t.Last();
    EXPECT_EQ(names(t), QStringLiteral("QBN"));
}

TEST_F(DataSetTest, DeleteStandsOnTheNextRowElseThePreviousOne)
{
    fill(QStringLiteral("ABC"));
    t.setRecNo(2);
    t.Delete();
    EXPECT_EQ(current(t), QStringLiteral("C"));
    t.Delete();
    EXPECT_EQ(current(t), QStringLiteral("A"));
    t.Delete();
    EXPECT_TRUE(t.IsEmpty());
    try {
        t.Delete();
        FAIL() << "deleting from an empty dataset must fail";
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(),
                  QStringLiteral("Impossibile eseguire questa operazione su un dataset vuoto"));
    }
}

TEST_F(DataSetTest, FilterHidesRowsFromEveryMove)
{
    fill(QStringLiteral("ABCDE"));
    t.setOnFilterRecord([](TDataSet *ds, bool &accept) {
        EXPECT_EQ(ds->State(), dsFilter);
        accept = ds->FieldByName(QStringLiteral("CODICE"))->AsInteger() % 2 == 1;
    });
    t.setFiltered(true);
    EXPECT_EQ(walk(t), QStringLiteral("ACE"));
    EXPECT_EQ(walkBack(t), QStringLiteral("ECA"));
    EXPECT_EQ(t.RecordCount(), 5);
    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("B")));

    // Deleting the last visible row moves to the previous visible one.
    t.Last();
    t.Delete();
    EXPECT_EQ(current(t), QStringLiteral("C"));

    t.setOnFilterRecord([](TDataSet *, bool &accept) { accept = false; });
    EXPECT_TRUE(t.Bof() && t.Eof());
    t.setFiltered(false);
    EXPECT_EQ(walk(t), QStringLiteral("ABCD"));
}

TEST_F(DataSetTest, FailingFilterHandlerIsReportedNotPropagated)
{
    fill(QStringLiteral("AB"));
    MessageRecorder rec;
    rec.expect(TMsgDlgType::Error, QStringLiteral("filtro rotto"));
    t.setOnFilterRecord([](TDataSet *, bool &) { throw std::runtime_error("filtro rotto"); });
    t.setFiltered(true);
    EXPECT_EQ(current(t), QStringLiteral("A"));
}

TEST_F(DataSetTest, LocateOnTwoColumnsWithOptions)
{
    t.add(1, QStringLiteral("Rossi"));
    t.add(2, QStringLiteral("Bianchi"));
    t.add(2, QStringLiteral("rossini"));
    t.Open();
    const QString keys = QStringLiteral("CODICE;NOME");
    EXPECT_TRUE(t.Locate(keys, QVariantList{2, QStringLiteral("rossini")}));
    EXPECT_EQ(t.RecNo(), 3);
    EXPECT_FALSE(t.Locate(keys, QVariantList{2, QStringLiteral("Rossini")}));
    EXPECT_EQ(t.RecNo(), 3); // a failed search does not move
    EXPECT_TRUE(t.Locate(keys, QVariantList{2, QStringLiteral("ROSSINI")}, loCaseInsensitive));
    EXPECT_FALSE(t.Locate(keys, QVariantList{"2", QStringLiteral("Ro")}, loPartialKey));
    EXPECT_TRUE(
        t.Locate(keys, QVariantList{"2", QStringLiteral("Ro")}, loPartialKey | loCaseInsensitive));
    EXPECT_EQ(t.RecNo(), 3);
    // Partial keys cut the field, never the key.
    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("Rossix"), loPartialKey));
    // A key that is not a number matches no number, without an error.
    EXPECT_FALSE(t.Locate(QStringLiteral("codice"), QStringLiteral("due")));
    EXPECT_TRUE(t.Locate(QStringLiteral("GIORNO"), QString()));
    EXPECT_EQ(t.RecNo(), 1);
    EXPECT_THROW(t.Locate(keys, 2), EDatabaseError);
}

TEST(FieldValues, SmallIntegersStayInTheirRange)
{
    EXPECT_EQ(FieldTypes::coerce(ftSmallint, 0, 32767).toInt(), 32767);
    EXPECT_THROW(FieldTypes::coerce(ftSmallint, 0, 70000), EConvertError);
    EXPECT_THROW(FieldTypes::coerce(ftWord, 0, -1), EConvertError);
    EXPECT_THROW(FieldTypes::coerce(ftInteger, 0, qint64(3000000000LL)), EConvertError);
    EXPECT_EQ(FieldTypes::coerce(ftLargeint, 0, qint64(3000000000LL)).toLongLong(), 3000000000LL);
}

TEST_F(DataSetTest, FieldsByNameAndTypedValues)
{
    fill(QStringLiteral("A"));
    EXPECT_EQ(t.FieldByName(QStringLiteral("nome")), t.FindField(QStringLiteral("NOME")));
    EXPECT_EQ(t.FindField(QStringLiteral("MANCA")), nullptr);
    try {
        t.FieldByName(QStringLiteral("Manca"));
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Campo 'Manca' non trovato"));
    }
    TField *nome = t.FieldByName(QStringLiteral("NOME"));
    try {
        nome->setAsString(QStringLiteral("x"));
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Dataset not in edit or insert mode"));
    }

    t.Edit();
    nome->setAsString(QStringLiteral("Più lungo di otto"));
    EXPECT_EQ(nome->AsString(), QStringLiteral("Più lung"));
    TField *prezzo = t.FieldByName(QStringLiteral("PREZZO"));
    prezzo->setAsString(QStringLiteral("1,5"));
    EXPECT_DOUBLE_EQ(prezzo->AsFloat(), 1.5);
    EXPECT_EQ(prezzo->AsString(), QStringLiteral("1,5"));
    EXPECT_THROW(prezzo->setAsString(QStringLiteral("uno")), EConvertError);
    TField *giorno = t.FieldByName(QStringLiteral("GIORNO"));
    giorno->setAsString(QStringLiteral("09/03/2012"));
    EXPECT_EQ(giorno->AsDateTime().date(), QDate(2012, 3, 9));
    TField *codice = t.FieldByName(QStringLiteral("CODICE"));
    codice->setAsString(QStringLiteral(""));
    EXPECT_TRUE(codice->IsNull());
    EXPECT_EQ(codice->AsInteger(), 0);
    codice->setAsString(QStringLiteral("12"));
    EXPECT_EQ(codice->Value(), QVariant(12));
    giorno->Clear();
    EXPECT_TRUE(giorno->IsNull());
    t.Post();
    EXPECT_EQ(t.rows[0][1], QVariant(QStringLiteral("Più lung")));
    EXPECT_FALSE(t.rows[0][2].isValid());

    codice->ReadOnly = true;
    t.Edit();
    EXPECT_THROW(codice->setAsInteger(3), EDatabaseError);
    codice->ReadOnly = false;
    codice->Required = true;
    codice->Clear();
    try {
        t.Post();
        FAIL();
    } catch (const EDatabaseError &e) {
        EXPECT_EQ(e.message(), QStringLiteral("Il campo 'CODICE' deve avere un valore"));
    }
    EXPECT_EQ(t.State(), dsEdit);
}

TEST_F(DataSetTest, BeforeEditAbortIsSilentAndLeavesBrowse)
{
    fill(QStringLiteral("AB"));
    t.BeforeEdit = [](TDataSet *) { throw EAbort(); };
    MessageRecorder rec; // any box would fail the test
    EXPECT_FALSE(Guard::run([&] { t.Edit(); }));
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_TRUE(rec.seen().isEmpty());

    t.BeforePost = [](TDataSet *) { throw EAbort(); };
    t.Append();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("X"));
    EXPECT_THROW(t.Post(), EAbort);
    EXPECT_EQ(t.State(), dsInsert);
    t.Close(); // closing drops the pending insert
    EXPECT_EQ(names(t), QStringLiteral("AB"));
}

TEST_F(DataSetTest, ScrollEventsAndBookmarks)
{
    int scrolls = 0, opens = 0;
    t.AfterScroll = [&](TDataSet *) { ++scrolls; };
    t.AfterOpen = [&](TDataSet *) { ++opens; };
    fill(QStringLiteral("ABC"));
    EXPECT_EQ(opens, 1);
    EXPECT_EQ(scrolls, 1);
    t.Next();
    const TBookmark b = t.GetBookmark();
    t.Last();
    t.Next(); // already at the end: no scroll
    EXPECT_EQ(scrolls, 3);
    EXPECT_TRUE(t.GotoBookmark(b));
    EXPECT_EQ(current(t), QStringLiteral("B"));
    EXPECT_EQ(t.CompareBookmarks(b, t.GetBookmark()), 0);
    t.Delete();
    EXPECT_FALSE(t.BookmarkValid(b));
    EXPECT_FALSE(t.GotoBookmark(b));
    EXPECT_EQ(current(t), QStringLiteral("C"));
}

TEST_F(DataSetTest, ObserversAreQuietWhileControlsAreDisabled)
{
    struct Counter : TDataSetObserver
    {
        int moves = 0, records = 0, states = 0, resets = 0, rows = 0;
        void cursorMoved(TDataSet *) override { ++moves; }
        void recordChanged(TDataSet *, TField *) override { ++records; }
        void stateChanged(TDataSet *) override { ++states; }
        void dataSetReset(TDataSet *) override { ++resets; }
        void rowChanged(TDataSet *, int) override { ++rows; }
    } c;
    t.addObserver(&c);
    fill(QStringLiteral("ABC"));
    EXPECT_EQ(c.resets, 1);
    t.Next();
    EXPECT_EQ(c.moves, 1);
    t.Edit();
    t.FieldByName(QStringLiteral("NOME"))->setAsString(QStringLiteral("b"));
    EXPECT_EQ(c.states, 1);
    EXPECT_EQ(c.records, 2); // the edit began, then one value changed

    c = Counter();
    t.DisableControls();
    t.Post();
    t.First();
    t.Last();
    EXPECT_EQ(c.moves + c.states + c.records + c.rows + c.resets, 0);
    t.EnableControls();
    EXPECT_EQ(c.resets, 1);
    EXPECT_EQ(c.states, 1);
    EXPECT_EQ(c.moves, 0);
    t.removeObserver(&c);
}
