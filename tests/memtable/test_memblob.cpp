#include "memblobstream.h"
#include "memtesttable.h"

namespace {

QByteArray readAll(TMemBlobStream &s)
{
    QByteArray out(int(s.Size()) + 8, '?');
    const qint64 n = s.Read(out.data(), out.size());
    out.truncate(int(n));
    return out;
}

qint64 write(TMemBlobStream &s, const char *text)
{
    return s.Write(text, qint64(qstrlen(text)));
}

} // namespace

TEST_F(MemTableTest, BlobStreamStaysInsideTheText)
{
    fill(QStringLiteral("A"));
    t.Edit();
    auto s = t.CreateBlobStream(f("DATI"), bmReadWrite);
    EXPECT_EQ(write(*s, "abcdef"), 6);
    EXPECT_EQ(s->Position(), 6);

    char buf[8] = {};
    EXPECT_EQ(s->Read(buf, 4), 0); // at the end
    EXPECT_EQ(s->Seek(2, soEnd), 8);
    EXPECT_EQ(s->Read(buf, 4), 0); // past the end
    EXPECT_EQ(s->Seek(-10, soCurrent), -2);
    EXPECT_EQ(s->Read(buf, 4), 0); // before the start
    EXPECT_EQ(write(*s, "zz"), 0);

    EXPECT_EQ(s->Seek(-2, soEnd), 4);
    EXPECT_EQ(s->Read(buf, 8), 2);
    EXPECT_EQ(QByteArray(buf, 2), "ef");

    // Writing past the end fills the gap with zero bytes.
    s->Seek(8, soBeginning);
    EXPECT_EQ(write(*s, "XY"), 2);
    EXPECT_EQ(s->Size(), 10);
    EXPECT_EQ(f("DATI")->AsBytes(), QByteArray("abcdef\0\0XY", 10));

    s->Seek(1, soBeginning);
    EXPECT_EQ(write(*s, "B"), 1);
    s->Seek(0, soBeginning);
    EXPECT_EQ(readAll(*s), QByteArray("aBcdef\0\0XY", 10));
    t.Post();
    EXPECT_EQ(f("DATI")->AsBytes(), QByteArray("aBcdef\0\0XY", 10));
}

TEST_F(MemTableTest, BlobStreamTruncatesTheWholeText)
{
    fill(QStringLiteral("A"));
    t.Edit();
    f("NOTE")->setValue(QStringLiteral("perché sì"));
    t.Post();

    auto reader = t.CreateBlobStream(f("NOTE"), bmRead);
    EXPECT_EQ(reader->Size(), 9); // one Windows-1252 byte per character
    EXPECT_EQ(write(*reader, "x"), 0);
    reader.reset();

    t.Edit();
    auto s = t.CreateBlobStream(f("NOTE"), bmReadWrite);
    s->Seek(4, soBeginning);
    s->Truncate();
    EXPECT_EQ(s->Size(), 0);
    EXPECT_TRUE(f("NOTE")->IsNull());
    s.reset();

    f("NOTE")->setValue(QStringLiteral("vecchio"));
    auto w = t.CreateBlobStream(f("NOTE"), bmWrite); // write mode starts empty
    EXPECT_EQ(w->Size(), 0);
    write(*w, "nuovo \xe8");
    t.Post();
    EXPECT_EQ(f("NOTE")->AsString(), QStringLiteral("nuovo è"));
}

TEST_F(MemTableTest, BlobStreamRefusesWritesOutsideEditing)
{
    t.Open();
    auto none = t.CreateBlobStream(f("DATI"), bmWrite); // no record: unopened
    EXPECT_FALSE(none->Opened());
    EXPECT_EQ(none->Size(), 0);

    fill(QStringLiteral("A"));
    EXPECT_EQ(errorOf([&] { t.CreateBlobStream(f("DATI"), bmWrite); }),
              "Dataset not in edit or insert mode");
    f("DATI")->ReadOnly = true;
    t.Edit();
    EXPECT_EQ(errorOf([&] { t.CreateBlobStream(f("DATI"), bmReadWrite); }),
              "Field 'DATI' cannot be modified");
    EXPECT_TRUE(t.CreateBlobStream(f("DATI"), bmRead)->Opened());
}

TEST_F(MemTableTest, CancelledEditRestoresTheBlobText)
{
    fill(QStringLiteral("A"));
    t.Edit();
    f("NOTE")->setValue(QStringLiteral("prima"));
    f("DATI")->setValue(QByteArray("uno"));
    t.Post();

    t.Edit();
    auto s = t.CreateBlobStream(f("DATI"), bmWrite);
    write(*s, "due");
    f("NOTE")->setValue(QStringLiteral("dopo"));
    EXPECT_EQ(f("DATI")->AsBytes(), "due");
    t.Cancel();
    EXPECT_EQ(f("DATI")->AsBytes(), "uno");
    EXPECT_EQ(f("NOTE")->AsString(), "prima");
    EXPECT_EQ(readAll(*t.CreateBlobStream(f("DATI"), bmRead)), "uno");
}
