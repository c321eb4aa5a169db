#include "currentrecord.h"
#include "memorydata.h"
#include "messagerecorder.h"

#include <QObject>
#include <gtest/gtest.h>
#include <memory>
#include <stdexcept>

namespace {

class CurrentRecordTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        t.FieldDefs.Add("CODICE", ftSmallint);
        t.FieldDefs.Add("NOME", ftString, 10);
        t.Open();
        t.AppendRecord({1, "uno"});
        t.AppendRecord({2, "due"});
        t.First();
        onCurrentRecord(&t, "CODICE", context.get(), [this] {
            ++calls;
            // Every observer has heard by now, so the table may be read and
            // moved freely.
            seen << t.FieldByName("CODICE")->AsString();
            EXPECT_TRUE(late.heard) << "runs after every observer has heard";
            late.heard = false;
        });
        t.addObserver(&late);
    }
    void TearDown() override { t.removeObserver(&late); }

    // Added after the handler, so told after it.
    struct Late : TDataSetObserver
    {
        void dataSetReset(TDataSet *) override { heard = true; }
        void cursorMoved(TDataSet *) override { heard = true; }
        void rowChanged(TDataSet *, int) override { heard = true; }
        void recordChanged(TDataSet *, TField *) override { heard = true; }
        bool heard = false;
    } late;

    TRxMemoryData t;
    std::unique_ptr<QObject> context = std::make_unique<QObject>();
    int calls = 0;
    QStringList seen;
    MessageRecorder rec;
};

} // namespace

TEST_F(CurrentRecordTest, FiresOnWhatTheCurrentRecordShowsAndNotOnClosing)
{
    struct Step
    {
        const char *what;
        std::function<void(TRxMemoryData &)> act;
        int calls;
    };
    const Step steps[] = {
        {"move", [](TRxMemoryData &d) { d.Next(); }, 1},
        {"refresh", [](TRxMemoryData &d) { d.Refresh(); }, 1},
        {"edit begins", [](TRxMemoryData &d) { d.Edit(); }, 1},
        {"other field", [](TRxMemoryData &d) { d.FieldByName("NOME")->setAsString("x"); }, 0},
        {"watched field", [](TRxMemoryData &d) { d.FieldByName("CODICE")->setValue(7); }, 1},
        {"post", [](TRxMemoryData &d) { d.Post(); }, 1},
        {"disabled",
         [](TRxMemoryData &d) {
             d.DisableControls();
             d.First();
         },
         0},
        {"enabled", [](TRxMemoryData &d) { d.EnableControls(); }, 1},
        {"close", [](TRxMemoryData &d) { d.Close(); }, 0},
        {"open", [](TRxMemoryData &d) { d.Open(); }, 1},
    };
    for (const Step &s : steps) {
        calls = 0;
        s.act(t);
        EXPECT_EQ(calls, s.calls) << s.what;
    }
    EXPECT_EQ(seen.mid(0, 4), QStringList({"2", "2", "2", "7"}));
}

TEST_F(CurrentRecordTest, AFailingHandlerIsReportedAndAGoneContextHearsNothing)
{
    auto other = std::make_unique<QObject>();
    onCurrentRecord(&t, "CODICE", other.get(), [] { throw std::runtime_error("guasto"); });
    rec.expect(TMsgDlgType::Error, "guasto");
    t.Next();
    EXPECT_EQ(calls, 1) << "the next handler runs all the same";
    EXPECT_EQ(rec.pending(), 0);

    context.reset();
    other.reset();
    t.Prior();
    EXPECT_EQ(calls, 1);
}
