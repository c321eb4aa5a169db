#include "memtesttable.h"

namespace {

class ChangeCounter : public TDataSetObserver
{
public:
    void cursorMoved(TDataSet *) override { ++changes; }
    int changes = 0;
};

} // namespace

TEST_F(MemTableTest, LocateOnTwoColumnsWithCaseAndPartialOptions)
{
    t.Open();
    add(1, QStringLiteral("Rossi"));
    add(2, QStringLiteral("ROSSINI"));
    add(2, QStringLiteral("Bianchi"));
    add(3, QStringLiteral("Ro"));
    t.First();
    const QString keys = QStringLiteral("CODICE;NOME");

    EXPECT_FALSE(t.Locate(keys, QVariantList{2, QStringLiteral("rossini")}));
    EXPECT_EQ(current(), "Rossi");
    EXPECT_TRUE(t.Locate(keys, QVariantList{2, QStringLiteral("rossini")}, loCaseInsensitive));
    EXPECT_EQ(current(), "ROSSINI");
    EXPECT_FALSE(t.Locate(keys, QVariantList{2, QStringLiteral("ROSS")}));
    EXPECT_TRUE(
        t.Locate(keys, QVariantList{QStringLiteral("2"), QStringLiteral("Bi")}, loPartialKey));
    EXPECT_EQ(current(), "Bianchi");
    EXPECT_TRUE(
        t.Locate(keys, QVariantList{1, QStringLiteral("ro")}, loPartialKey | loCaseInsensitive));
    EXPECT_EQ(current(), "Rossi");
    EXPECT_TRUE(t.Bof()); // found on the first record, as a walk from First leaves it

    // Two letters of key match "Rossi" but not a field holding only "R".
    t.Edit();
    f("NOME")->setValue(QStringLiteral("R"));
    t.Post();
    EXPECT_TRUE(
        t.Locate(QStringLiteral("NOME"), QStringLiteral("Ro"), loPartialKey | loCaseInsensitive));
    EXPECT_EQ(t.RecNo(), 2);
}

TEST_F(MemTableTest, LocateOnAnEmptyTableIsFalse)
{
    t.Open();
    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("A")));
    fill(QStringLiteral("AB"));
    keepOddCodes();
    t.setOnFilterRecord([](TDataSet *, bool &accept) { accept = false; });
    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("A")));
}

TEST_F(MemTableTest, LocateOfTheCurrentRecordStaysButStillNotifies)
{
    fill(QStringLiteral("ABAC"));
    t.setRecNo(3);
    ChangeCounter views;
    t.addObserver(&views);
    int before = 0, after = 0;
    t.BeforeScroll = [&](TDataSet *) { ++before; };
    t.AfterScroll = [&](TDataSet *) { ++after; };

    EXPECT_TRUE(t.Locate(QStringLiteral("NOME"), QStringLiteral("A")));
    EXPECT_EQ(t.RecNo(), 3);
    EXPECT_EQ(before, 1);
    EXPECT_EQ(after, 1);
    EXPECT_EQ(views.changes, 1);

    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("Z")));
    EXPECT_EQ(before, 2);
    EXPECT_EQ(after, 1);
    t.removeObserver(&views);
}

TEST_F(MemTableTest, FilteredLocateComesBackToTheRememberedRecord)
{
    fill(QStringLiteral("ABCDE"));
    keepOddCodes();
    t.Last();
    t.Prior();
    EXPECT_EQ(current(), "C");
    // "D" exists but is refused by the filter.
    EXPECT_FALSE(t.Locate(QStringLiteral("NOME"), QStringLiteral("D")));
    EXPECT_EQ(current(), "C");
    EXPECT_TRUE(t.Locate(QStringLiteral("NOME"), QStringLiteral("E")));
    EXPECT_EQ(current(), "E");
    t.Prior();
    EXPECT_EQ(current(), "C"); // the cursor really moved, not just the values
}

// A caller that looks its row up by an empty value must find the row it
// stored with that value, or it adds a duplicate each time.
TEST_F(MemTableTest, LocateMatchesNullFieldsWithEmptyKeysAndNeverRaises)
{
    fill(QStringLiteral("AB"));
    t.Append();
    f("NOME")->setValue(QStringLiteral(""));
    t.Post();
    t.First();

    EXPECT_TRUE(t.Locate(QStringLiteral("NOME"), QStringLiteral("")));
    EXPECT_EQ(t.RecNo(), 3);
    t.First();
    EXPECT_TRUE(t.Locate(QStringLiteral("NOME"), QVariant()));
    EXPECT_EQ(t.RecNo(), 3);
    t.First();
    EXPECT_TRUE(t.Locate(QStringLiteral("CODICE;NOME"), QVariantList{QString(), QString()}));
    EXPECT_EQ(t.RecNo(), 3);
    t.First();
    EXPECT_TRUE(t.Locate(QStringLiteral("GIORNO"), QStringLiteral(" ")));
    EXPECT_EQ(t.RecNo(), 1);

    EXPECT_FALSE(t.Locate(QStringLiteral("CODICE"), QStringLiteral("due")));
    EXPECT_FALSE(t.Locate(QStringLiteral("GIORNO"), QStringLiteral("31/02/2024")));
    EXPECT_TRUE(t.Locate(QStringLiteral("CODICE"), QStringLiteral(" 2 ")));
    EXPECT_EQ(current(), "B");
}
