#include "memtesttable.h"

TEST_F(MemTableTest, OpenRefusesAnUnknownTypeAndStaysClosed)
{
    t.FieldDefs.Add(QStringLiteral("STAMPA"), ftTimeStamp);
    EXPECT_EQ(errorOf([&] { t.Open(); }), "Field 'STAMPA' is of an unknown type");
    EXPECT_FALSE(t.Active());

    TRxMemoryData cursor;
    cursor.FieldDefs.Add(QStringLiteral("C"), ftCursor);
    EXPECT_EQ(errorOf([&] { cursor.Open(); }), "Field 'C' is of an unknown type");
    EXPECT_FALSE(cursor.Active());
}

TEST_F(MemTableTest, FieldDefinitionsCannotChangeWhileOpen)
{
    fill(QStringLiteral("ab"));
    const QString refused =
        QStringLiteral("Impossibile modificare le definizioni dei campi di un dataset aperto");
    EXPECT_EQ(errorOf([&] { t.FieldDefs.Add(QStringLiteral("ALTRO"), ftInteger); }), refused);
    EXPECT_EQ(errorOf([&] { t.FieldDefs.Clear(); }), refused);
    EXPECT_EQ(errorOf([&] { t.FieldDefs.Items(2).Size = 1; }), refused);
    EXPECT_EQ(errorOf([&] { t.FieldDefs = TFieldDefs(); }), refused);
    EXPECT_EQ(t.FieldDefs.Count(), 6);
    EXPECT_EQ(current(), "a");
    // A copy is anybody's to change; the closed table takes changes again.
    TFieldDefs copy = t.FieldDefs;
    copy.Clear();
    t.Close();
    t.FieldDefs.Items(2).Size = 1;
    t.Open();
    EXPECT_EQ(f("NOME")->Size(), 1);
}

TEST_F(MemTableTest, FieldRulesForTextAndWrites)
{
    t.Open();
    EXPECT_TRUE(f("NOME")->IsNull()); // an empty table reads NULL
    EXPECT_EQ(errorOf([&] { f("NOME")->setValue(QStringLiteral("x")); }),
              "Dataset not in edit or insert mode");

    t.Append();
    f("NOME")->setValue(QStringLiteral("Una riga troppo lunga"));
    EXPECT_EQ(current(), "Una riga t");
    f("NOME")->setValue(QString());
    f("NOME")->setValue(QStringLiteral(""));
    EXPECT_TRUE(f("NOME")->IsNull());
    t.Post();
    EXPECT_TRUE(f("NOME")->IsNull());

    f("CODICE")->ReadOnly = true;
    f("CODICE")->DisplayLabel = QStringLiteral("Codice");
    t.Edit();
    EXPECT_EQ(errorOf([&] { f("CODICE")->setValue(3); }), "Field 'Codice' cannot be modified");
}

TEST_F(MemTableTest, InsertGoesBeforeTheFirstAndInTheMiddle)
{
    t.Open();
    t.Insert();
    f("NOME")->setValue(QStringLiteral("A"));
    t.Post(); // on an empty table the insert appends
    fill(QStringLiteral("BCD"));
    EXPECT_EQ(names(), "ABCD");

    t.First();
    t.Next();
    t.Next();
    t.Insert();
    f("NOME")->setValue(QStringLiteral("X"));
    t.Post();
    EXPECT_EQ(current(), "X");
    EXPECT_EQ(t.RecNo(), 3);
    EXPECT_EQ(names(), "ABXCD");

    t.First();
    t.InsertRecord({QVariant(), 9, QStringLiteral("Y")});
    EXPECT_EQ(current(), "Y");
    EXPECT_EQ(t.RecNo(), 1);
    t.AppendRecord({QVariant(), 10, QStringLiteral("Z")});
    EXPECT_EQ(t.RecNo(), 7);
    EXPECT_EQ(names(), "YABXCDZ");
}

TEST_F(MemTableTest, RecNoReadAndWrite)
{
    t.Open();
    EXPECT_EQ(t.RecNo(), 0);
    t.setRecNo(1); // ignored on an empty table
    EXPECT_EQ(t.RecNo(), 0);

    fill(QStringLiteral("ABCD"));
    EXPECT_EQ(t.RecNo(), 1);
    t.setRecNo(3);
    EXPECT_EQ(current(), "C");
    t.setRecNo(0);
    t.setRecNo(5);
    EXPECT_EQ(current(), "C");
}

TEST_F(MemTableTest, FilterHidesRecordsButNotFromRecordCount)
{
    fill(QStringLiteral("ABCDE"));
    keepOddCodes();
    EXPECT_EQ(names(), "ACE");
    EXPECT_EQ(t.RecordCount(), 5);

    // Deleting the last visible record lands on the previous visible one.
    t.Last();
    t.Delete();
    EXPECT_EQ(current(), "C");
    EXPECT_EQ(t.RecordCount(), 4);

    // Deleting the only visible record leaves nothing current.
    t.setOnFilterRecord([](TDataSet *ds, bool &accept) {
        accept = ds->FieldByName(QStringLiteral("NOME"))->AsString() == QLatin1String("B");
    });
    EXPECT_EQ(current(), "B");
    t.Delete();
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(t.RecNo(), 0);
    EXPECT_EQ(t.RecordCount(), 3);
    t.setFiltered(false);
    EXPECT_EQ(names(), "ACD");
}

TEST_F(MemTableTest, AutoIncrementRunsOnAcrossEmptyTableAndRestartsOnClose)
{
    // RIGA is declared required; the table fills it, so posting succeeds.
    fill(QStringLiteral("AB"));
    EXPECT_EQ(f("RIGA")->AsInteger(), 1);
    t.Last();
    EXPECT_EQ(f("RIGA")->AsInteger(), 2);

    t.EmptyTable();
    EXPECT_TRUE(t.IsEmpty());
    add(1, QStringLiteral("C"));
    EXPECT_EQ(f("RIGA")->AsInteger(), 3);

    // A value written by the caller is overwritten on insert.
    t.AppendRecord({77, 2, QStringLiteral("D")});
    EXPECT_EQ(f("RIGA")->AsInteger(), 4);

    t.Close();
    t.Open();
    EXPECT_EQ(t.RecordCount(), 0);
    add(1, QStringLiteral("E"));
    EXPECT_EQ(f("RIGA")->AsInteger(), 1);
}

TEST_F(MemTableTest, BookmarksOrderValidityAndFilteredGoto)
{
    fill(QStringLiteral("ABC"));
    const TBookmark a = t.GetBookmark();
    t.Last();
    const TBookmark c = t.GetBookmark();
    t.First();
    t.Insert();
    f("NOME")->setValue(QStringLiteral("N"));
    EXPECT_TRUE(t.GetBookmark().isNull()); // a new record has no ID yet
    t.Post();
    const TBookmark n = t.GetBookmark();

    // Creation order, not table order.
    EXPECT_EQ(t.CompareBookmarks(a, c), -1);
    EXPECT_EQ(t.CompareBookmarks(n, a), 1);
    EXPECT_EQ(t.CompareBookmarks(c, c), 0);
    EXPECT_EQ(t.CompareBookmarks(TBookmark(), a), -1);
    EXPECT_EQ(t.CompareBookmarks(TBookmark(), TBookmark()), 0);

    EXPECT_TRUE(t.GotoBookmark(c));
    EXPECT_EQ(current(), "C");

    keepOddCodes(); // "B" (code 2) and "N" (no code) are refused
    t.First();
    EXPECT_EQ(current(), "A");
    EXPECT_FALSE(t.GotoBookmark(n));
    EXPECT_EQ(current(), "A");

    // A deleted record's bookmark stays valid but leads nowhere.
    t.Last();
    t.Delete();
    EXPECT_TRUE(t.BookmarkValid(c));
    EXPECT_FALSE(t.GotoBookmark(c));
    EXPECT_EQ(current(), "A");
}

// Record IDs are never issued twice, so a kept bookmark cannot come to name a
// record added after the table was emptied, closed or cleared by deletes.
TEST_F(MemTableTest, BookmarksDoNotOutliveEmptyingOrClosing)
{
    fill(QStringLiteral("ABC"));
    t.Last();
    const TBookmark third = t.GetBookmark();
    t.EmptyTable();
    EXPECT_FALSE(t.BookmarkValid(third));
    fill(QStringLiteral("XYZ"));
    EXPECT_FALSE(t.BookmarkValid(third));
    EXPECT_FALSE(t.GotoBookmark(third));

    t.Last();
    const TBookmark z = t.GetBookmark();
    EXPECT_TRUE(t.BookmarkValid(z));
    t.Close();
    EXPECT_FALSE(t.BookmarkValid(z));
    t.Open();
    fill(QStringLiteral("PQRSTUVW"));
    EXPECT_FALSE(t.BookmarkValid(z));

    const TBookmark p = t.GetBookmark();
    while (!t.IsEmpty())
        t.Delete();
    fill(QStringLiteral("K"));
    EXPECT_FALSE(t.BookmarkValid(p));
    EXPECT_FALSE(t.GotoBookmark(p));
}

TEST_F(MemTableTest, EmptyTableOnAClosedTableDoesNothingAndPostsAPendingEdit)
{
    t.EmptyTable();
    EXPECT_FALSE(t.Active());

    fill(QStringLiteral("AB"));
    int changes = 0;
    t.AfterPost = [&](TDataSet *) { ++changes; };
    t.Edit();
    f("NOME")->setValue(QStringLiteral("Q"));
    t.EmptyTable();
    EXPECT_EQ(changes, 1);
    EXPECT_EQ(t.State(), dsBrowse);
    EXPECT_TRUE(t.IsEmpty());
    EXPECT_EQ(t.RecordCount(), 0);
}

TEST(MemTableCompact, EveryTypeComesBackAsAnOrdinaryTableGivesItAndLocateFindsIt)
{
    const struct
    {
        TFieldType type;
        QVariant value;
    } cases[] = {
        {ftString, QStringLiteral("città")},
        {ftString, QStringLiteral("€ 5 ´")},
        {ftString, QString()},
        {ftInteger, -7},
        {ftSmallint, 32767},
        {ftLargeint, qint64(1) << 40},
        {ftFloat, 2.5},
        {ftBoolean, true},
        {ftDate, QDate(2012, 2, 29)},
        {ftDateTime, QDateTime(QDate(2012, 2, 29), QTime(23, 59, 58))},
        {ftBlob, QByteArray("a\0b\xFF", 4)},
        {ftMemo, QStringLiteral("riga\r\nriga")},
        {ftBytes, QByteArray("xy")},
        {ftInteger, QVariant()},
    };
    TRxMemoryData ordinary, compact;
    compact.setCompact(true);
    for (TRxMemoryData *t : {&ordinary, &compact}) {
        int n = 0;
        for (const auto &c : cases)
            t->FieldDefs.Add(QStringLiteral("F%1").arg(n++), c.type, c.type == ftBytes ? 2 : 0);
        t->Open();
        for (int row = 0; row < 3; ++row) {
            QVariantList values;
            for (const auto &c : cases)
                values.append(c.value);
            values[0] = QStringLiteral("città %1").arg(row);
            t->AppendRecord(values);
        }
    }
    EXPECT_THROW(compact.setCompact(false), EDatabaseError);
    for (ordinary.First(), compact.First(); !ordinary.Eof(); ordinary.Next(), compact.Next()) {
        for (int i = 0; i < ordinary.FieldCount(); ++i) {
            const QVariant a = ordinary.Fields(i)->Value();
            const QVariant b = compact.Fields(i)->Value();
            EXPECT_EQ(a, b) << i;
            EXPECT_EQ(a.typeId(), b.typeId()) << i;
            EXPECT_EQ(a.isNull(), b.isNull()) << i;
        }
    }
    // Read whole without the cursor: the values as the fields give them
    // (the empty text NULL), the cursor left where it was.
    QVector<TRecordBuffer> seen;
    for (ordinary.First(); !ordinary.Eof(); ordinary.Next()) {
        seen.append(TRecordBuffer());
        for (int i = 0; i < ordinary.FieldCount(); ++i)
            seen.last().append(ordinary.Fields(i)->Value());
    }
    for (TRxMemoryData *t : {&ordinary, &compact}) {
        t->setRecNo(2);
        ASSERT_EQ(t->StoredCount(), seen.size());
        for (int row = 0; row < seen.size(); ++row) {
            const TRecordBuffer whole = t->StoredValues(row);
            for (int i = 0; i < t->FieldCount(); ++i) {
                EXPECT_EQ(whole[i], seen[row][i]) << row << "," << i;
                EXPECT_EQ(whole[i].isNull(), seen[row][i].isNull()) << row << "," << i;
                EXPECT_EQ(t->StoredValue(row, i), seen[row][i]) << row << "," << i;
            }
        }
        EXPECT_EQ(t->RecNo(), 2);
        EXPECT_THROW(t->StoredValues(seen.size()), EDatabaseError);
    }
    EXPECT_TRUE(compact.Locate(QStringLiteral("F0"), QStringLiteral("CITTÀ 1"), loCaseInsensitive));
    EXPECT_EQ(compact.RecNo(), 2);
    compact.Edit();
    compact.Fields(3)->setValue(99);
    compact.Post();
    EXPECT_EQ(compact.Fields(3)->AsInteger(), 99);
    EXPECT_EQ(compact.Fields(0)->AsString(), QStringLiteral("città 1"));
}
