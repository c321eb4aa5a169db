// A query's fetched rows kept as the engine's bytes: every value reads back
// as the message itself would give it, over rows that span blocks, and
// written rows take the places of fetched ones.
#include "ibblobid.h"
#include "ibmessage.h"
#include "ibrows.h"

#include <QDateTime>

#include <cstring>
#include <random>

#include <gtest/gtest.h>
#include <ibase.h>

namespace {

using IBMessage::Column;

constexpr unsigned kOctets = 1;

// A message layout with one column of each kind the engine sends, two long
// VARCHARs among them so that a row can outgrow a block.
std::vector<Column> layout(unsigned &messageLength)
{
    struct Kind
    {
        unsigned type;
        unsigned length;
        int scale;
        unsigned charset;
        int subType;
    };
    const Kind kinds[] = {
        {SQL_VARYING, 40, 0, 0, 0},    {SQL_TEXT, 5, 0, 0, 0},
        {SQL_SHORT, 2, 0, 0, 0},       {SQL_LONG, 4, -2, 0, 0},
        {SQL_INT64, 8, 0, 0, 0},       {SQL_DOUBLE, 8, 0, 0, 0},
        {SQL_TYPE_DATE, 4, 0, 0, 0},   {SQL_TIMESTAMP, 8, 0, 0, 0},
        {SQL_BLOB, 8, 0, 0, 1},        {SQL_VARYING, 20, 0, kOctets, 0},
        {SQL_BOOLEAN, 1, 0, 0, 0},     {SQL_VARYING, 32765, 0, 0, 0},
        {SQL_VARYING, 32765, 0, 0, 0}, {SQL_LONG, 4, 0, 0, 0},
    };
    std::vector<Column> columns;
    unsigned at = 0;
    for (const Kind &k : kinds) {
        Column c;
        c.type = k.type;
        c.length = k.length;
        c.scale = k.scale;
        c.charset = k.charset;
        c.subType = k.subType;
        c.offset = at;
        at += k.length + (k.type == SQL_VARYING ? 2 : 0);
        c.nullOffset = at;
        at += 2;
        columns.push_back(c);
    }
    messageLength = at;
    return columns;
}

// A row as the engine could send it: random NULLs, texts of random length
// and bytes, the long texts mostly short and now and then full.
std::vector<unsigned char> randomMessage(const std::vector<Column> &columns, unsigned length,
                                         std::mt19937 &rng)
{
    std::vector<unsigned char> m(length);
    for (unsigned char &b : m)
        b = static_cast<unsigned char>(rng());
    for (const Column &c : columns) {
        const short null = rng() % 4 == 0 ? -1 : 0;
        std::memcpy(&m[c.nullOffset], &null, sizeof null);
        unsigned char *p = &m[c.offset];
        switch (c.type) {
        case SQL_VARYING: {
            unsigned short n = static_cast<unsigned short>(rng() % (c.length + 1));
            if (c.length > 1000 && rng() % 8 != 0)
                n = static_cast<unsigned short>(rng() % 30);
            std::memcpy(p, &n, sizeof n);
            break;
        }
        case SQL_TYPE_DATE: {
            const ISC_DATE d = ISC_DATE(rng() % 100000);
            std::memcpy(p, &d, sizeof d);
            break;
        }
        case SQL_TIMESTAMP: {
            const ISC_TIMESTAMP ts{ISC_DATE(rng() % 100000), ISC_TIME(rng() % 864000000u)};
            std::memcpy(p, &ts, sizeof ts);
            break;
        }
        case SQL_DOUBLE: {
            const double d = double(int(rng())) / 7.0;
            std::memcpy(p, &d, sizeof d);
            break;
        }
        default:
            break; // any bytes are a value
        }
    }
    return m;
}

TEST(IBRows, EveryValueReadsBackAsTheMessageGaveItAcrossBlocks)
{
    unsigned length = 0;
    const std::vector<Column> columns = layout(length);
    std::mt19937 rng(20261209);
    std::vector<std::vector<unsigned char>> messages;
    IBRows rows;
    rows.reset(columns);
    for (int r = 0; r < 1200; ++r) {
        messages.push_back(randomMessage(columns, length, rng));
        rows.append(messages.back().data());
    }
    ASSERT_EQ(rows.size(), 1200);
    ASSERT_EQ(rows.columnCount(), int(columns.size()));
    for (int r = 0; r < rows.size(); ++r) {
        const TRecordBuffer all = rows.values(r);
        for (int c = 0; c < rows.columnCount(); ++c) {
            const QVariant expected = IBMessage::readColumn(
                columns[size_t(c)], messages[size_t(r)].data(), nullptr, nullptr, true);
            ASSERT_EQ(rows.value(r, c), expected) << "row " << r << " column " << c;
            ASSERT_EQ(rows.value(r, c).typeId(), expected.typeId());
            ASSERT_EQ(all[c], expected);
        }
    }
    EXPECT_FALSE(rows.value(-1, 0).isValid());
    EXPECT_FALSE(rows.value(1200, 0).isValid());
    EXPECT_FALSE(rows.value(0, rows.columnCount()).isValid());

    rows.reset(columns);
    EXPECT_EQ(rows.size(), 0);
}

TEST(IBRows, WrittenRowsTakeThePlacesOfFetchedOnes)
{
    unsigned length = 0;
    const std::vector<Column> columns = layout(length);
    std::mt19937 rng(7);
    IBRows rows;
    rows.reset(columns);
    std::vector<TRecordBuffer> model;
    for (int r = 0; r < 50; ++r) {
        const std::vector<unsigned char> m = randomMessage(columns, length, rng);
        rows.append(m.data());
        model.push_back(rows.values(r));
    }
    // Edits, inserts and deletes in a seeded order, a row edited twice now
    // and then, against a plain list of the same rows.
    for (int step = 0; step < 400; ++step) {
        const int kind = int(rng() % 3);
        const TRecordBuffer written{QVariant(step), QStringLiteral("scritta %1").arg(step)};
        if (kind == 0 && !model.empty()) {
            const int at = int(rng() % model.size());
            rows.set(at, written);
            model[size_t(at)] = written;
        } else if (kind == 1) {
            const int at = int(rng() % (model.size() + 1));
            rows.insert(at, written);
            model.insert(model.begin() + at, written);
        } else if (!model.empty()) {
            const int at = int(rng() % model.size());
            rows.remove(at);
            model.erase(model.begin() + at);
        }
        ASSERT_EQ(rows.size(), int(model.size()));
    }
    for (int r = 0; r < rows.size(); ++r) {
        EXPECT_EQ(rows.values(r), model[size_t(r)]) << "row " << r;
        EXPECT_EQ(rows.value(r, 1), model[size_t(r)].value(1));
    }
}

} // namespace
