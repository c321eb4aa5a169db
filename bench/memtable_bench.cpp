// Locate and filtered scans of the in-memory table over 100,000 records,
// each beside a plain loop over the same rows held in a vector. The table has
// no index, so both sides are linear; the table should stay within a small
// factor of the plain loop.
#include "memorydata.h"

#include "valueconv.h"

#include <benchmark/benchmark.h>
#include <functional>
#include <vector>

namespace {

constexpr int kRows = 100000;
constexpr int kGroups = 10;

struct Row
{
    int code;
    QString name;
    int group;
};

QString nameOf(int i)
{
    return QStringLiteral("Nominativo %1").arg(i, 6, 10, QLatin1Char('0'));
}

const std::vector<Row> &rows()
{
    static const std::vector<Row> all = [] {
        std::vector<Row> v;
        v.reserve(kRows);
        for (int i = 0; i < kRows; ++i)
            v.push_back(Row{i + 1, nameOf(i), i % kGroups});
        return v;
    }();
    return all;
}

// One table for the whole run, filled with the rows above.
TRxMemoryData &table()
{
    static TRxMemoryData *t = [] {
        auto *m = new TRxMemoryData;
        m->FieldDefs.Add(QStringLiteral("RIGA"), ftAutoInc);
        m->FieldDefs.Add(QStringLiteral("CODICE"), ftInteger);
        m->FieldDefs.Add(QStringLiteral("NOME"), ftString, 30);
        m->FieldDefs.Add(QStringLiteral("GRUPPO"), ftSmallint);
        m->setCapacity(kRows);
        m->Open();
        for (const Row &r : rows())
            m->AppendRecord({QVariant(), r.code, r.name, r.group});
        return m;
    }();
    t->setFiltered(false);
    return *t;
}

// ---- Locate of the last record --------------------------------------------

void BM_TableLocateText(benchmark::State &state)
{
    TRxMemoryData &t = table();
    const QString key = nameOf(kRows - 1);
    for (auto _ : state) {
        t.First();
        benchmark::DoNotOptimize(t.Locate(QStringLiteral("NOME"), key));
    }
}
BENCHMARK(BM_TableLocateText)->Unit(benchmark::kMillisecond);

void BM_PlainLocateText(benchmark::State &state)
{
    const auto &v = rows();
    const QString key = nameOf(kRows - 1);
    for (auto _ : state) {
        int found = -1;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i].name == key) {
                found = int(i);
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PlainLocateText)->Unit(benchmark::kMillisecond);

void BM_TableLocateTwoKeysPartialNoCase(benchmark::State &state)
{
    TRxMemoryData &t = table();
    const QVariantList keys{kRows, nameOf(kRows - 1).toUpper().left(15)};
    for (auto _ : state) {
        t.First();
        benchmark::DoNotOptimize(
            t.Locate(QStringLiteral("CODICE;NOME"), keys, loCaseInsensitive | loPartialKey));
    }
}
BENCHMARK(BM_TableLocateTwoKeysPartialNoCase)->Unit(benchmark::kMillisecond);

void BM_PlainLocateTwoKeysPartialNoCase(benchmark::State &state)
{
    const auto &v = rows();
    const QString key = nameOf(kRows - 1).toUpper().left(15);
    for (auto _ : state) {
        int found = -1;
        for (size_t i = 0; i < v.size(); ++i) {
            if (v[i].code == kRows &&
                QStringView(v[i].name).left(key.size()).compare(key, Qt::CaseInsensitive) == 0) {
                found = int(i);
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PlainLocateTwoKeysPartialNoCase)->Unit(benchmark::kMillisecond);

// The same two-key test over the rows held as the table holds them, one
// QVariant per field and one heap block per row: what is left between this
// and the table is the dataset's own cost.
void BM_PlainLocateTwoKeysOnVariants(benchmark::State &state)
{
    std::vector<QVector<QVariant>> data;
    data.reserve(kRows);
    for (const Row &r : rows())
        data.push_back({QVariant(), r.code, r.name, r.group});
    const QVariant code(kRows);
    const QString key = nameOf(kRows - 1).toUpper().left(15);
    for (auto _ : state) {
        int found = -1;
        for (size_t i = 0; i < data.size(); ++i) {
            const QVector<QVariant> &r = data[i];
            if (r.at(1) == code && QStringView(r.at(2).toString())
                                           .left(key.size())
                                           .compare(key, Qt::CaseInsensitive) == 0) {
                found = int(i);
                break;
            }
        }
        benchmark::DoNotOptimize(found);
    }
}
BENCHMARK(BM_PlainLocateTwoKeysOnVariants)->Unit(benchmark::kMillisecond);

// ---- Filtered walk: one group in ten, summing the codes -------------------

void BM_TableFilteredScan(benchmark::State &state)
{
    TRxMemoryData &t = table();
    TField *group = t.FieldByName(QStringLiteral("GRUPPO"));
    TField *code = t.FieldByName(QStringLiteral("CODICE"));
    t.setOnFilterRecord([group](TDataSet *, bool &accept) { accept = group->AsInteger() == 3; });
    t.setFiltered(true);
    for (auto _ : state) {
        qint64 sum = 0;
        for (t.First(); !t.Eof(); t.Next())
            sum += code->AsInteger();
        benchmark::DoNotOptimize(sum);
    }
    t.setFiltered(false);
}
BENCHMARK(BM_TableFilteredScan)->Unit(benchmark::kMillisecond);

void BM_TableFilteredLocate(benchmark::State &state)
{
    TRxMemoryData &t = table();
    TField *group = t.FieldByName(QStringLiteral("GRUPPO"));
    t.setOnFilterRecord([group](TDataSet *, bool &accept) { accept = group->AsInteger() == 9; });
    t.setFiltered(true);
    const QString key = nameOf(kRows - 1);
    for (auto _ : state) {
        t.First();
        benchmark::DoNotOptimize(t.Locate(QStringLiteral("NOME"), key));
    }
    t.setFiltered(false);
}
BENCHMARK(BM_TableFilteredLocate)->Unit(benchmark::kMillisecond);

void BM_PlainFilteredScan(benchmark::State &state)
{
    const auto &v = rows();
    for (auto _ : state) {
        qint64 sum = 0;
        for (const Row &r : v) {
            if (r.group == 3)
                sum += r.code;
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlainFilteredScan)->Unit(benchmark::kMillisecond);

// The same walk as a caller would write it without a dataset but with the
// same shape of work per record: values held as QVariant, the filter a
// handler called for each record.
void BM_PlainFilteredScanWithHandler(benchmark::State &state)
{
    std::vector<QVector<QVariant>> data;
    data.reserve(kRows);
    for (const Row &r : rows())
        data.push_back({QVariant(), r.code, r.name, r.group});
    const std::function<bool(const QVector<QVariant> &)> accept = [](const QVector<QVariant> &r) {
        return ValueConv::toInt(r.at(3)) == 3;
    };
    for (auto _ : state) {
        qint64 sum = 0;
        for (const auto &r : data) {
            if (accept(r))
                sum += ValueConv::toInt(r.at(1));
        }
        benchmark::DoNotOptimize(sum);
    }
}
BENCHMARK(BM_PlainFilteredScanWithHandler)->Unit(benchmark::kMillisecond);

} // namespace

BENCHMARK_MAIN();
