#include "ibrows.h"

#include "ibmessage.h"

#include <algorithm>
#include <cstring>

namespace {

// Rows are packed into blocks of this size; a bigger row gets its own.
constexpr size_t kBlockSize = 64 * 1024;

bool marked(const unsigned char *row, size_t column)
{
    return (row[column / 8] >> (column % 8)) & 1u;
}

} // namespace

IBRows::IBRows() = default;
IBRows::~IBRows() = default;

int IBRows::columnCount() const
{
    return int(m_columns.size());
}

void IBRows::reset(const std::vector<IBMessage::Column> &columns)
{
    clear();
    m_columns = columns;
    m_markBytes = (m_columns.size() + 7) / 8;
}

void IBRows::clear()
{
    m_rows.clear();
    m_blocks.clear();
    m_free = nullptr;
    m_freeSize = 0;
    m_written.clear();
}

unsigned char *IBRows::room(size_t size)
{
    size += size & 1u; // every row starts at an even address
    if (size > m_freeSize) {
        const size_t block = std::max(size, kBlockSize);
        // Left unset: every byte handed out is written before it is read.
        m_blocks.emplace_back(new unsigned char[block]);
        m_free = m_blocks.back().get();
        m_freeSize = block;
    }
    unsigned char *at = m_free;
    m_free += size;
    m_freeSize -= size;
    return at;
}

void IBRows::append(const unsigned char *message)
{
    size_t size = m_markBytes;
    for (const IBMessage::Column &c : m_columns) {
        if (!IBMessage::isNull(c, message))
            size += IBMessage::storedLength(c, message + c.offset);
    }
    unsigned char *row = room(size);
    std::memset(row, 0, m_markBytes);
    unsigned char *out = row + m_markBytes;
    for (size_t i = 0; i < m_columns.size(); ++i) {
        const IBMessage::Column &c = m_columns[i];
        if (IBMessage::isNull(c, message)) {
            row[i / 8] |= static_cast<unsigned char>(1u << (i % 8));
            continue;
        }
        const unsigned length = IBMessage::storedLength(c, message + c.offset);
        std::memcpy(out, message + c.offset, length);
        out += length;
    }
    m_rows.push_back(reinterpret_cast<Row>(row));
}

IBRows::Row IBRows::written(TRecordBuffer values)
{
    m_written.push_back(std::move(values));
    return (Row(m_written.size() - 1) << 1) | 1u;
}

QVariant IBRows::value(int row, int column) const
{
    if (row < 0 || row >= size() || column < 0 || column >= columnCount())
        return {};
    const Row r = m_rows[size_t(row)];
    if (isWritten(r))
        return m_written[r >> 1].value(column);
    const unsigned char *bytes = bytesOf(r);
    if (marked(bytes, size_t(column)))
        return QVariant();
    const unsigned char *p = bytes + m_markBytes;
    for (size_t i = 0; i < size_t(column); ++i) {
        if (!marked(bytes, i))
            p += IBMessage::storedLength(m_columns[i], p);
    }
    // Blob ids only: nothing is read from the database here.
    return IBMessage::readValue(m_columns[size_t(column)], p, nullptr, nullptr, true);
}

TRecordBuffer IBRows::values(int row) const
{
    if (row >= 0 && row < size() && isWritten(m_rows[size_t(row)]))
        return m_written[m_rows[size_t(row)] >> 1];
    TRecordBuffer out(columnCount());
    for (int c = 0; c < columnCount(); ++c)
        out[c] = value(row, c);
    return out;
}

void IBRows::set(int row, TRecordBuffer values)
{
    Row &r = m_rows.at(size_t(row));
    if (isWritten(r))
        m_written[r >> 1] = std::move(values);
    else
        r = written(std::move(values));
}

void IBRows::insert(int row, TRecordBuffer values)
{
    m_rows.insert(m_rows.begin() + row, written(std::move(values)));
}

void IBRows::remove(int row)
{
    // A written row's values stay behind until the rows are cleared: the
    // others keep their places in m_written.
    m_rows.erase(m_rows.begin() + row);
}
