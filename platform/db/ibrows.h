#pragma once

// Internal to the database layer: the rows a query fetched, each kept as
// the bytes the engine sent for it and made a value only when one is asked
// for. A menu of 30,000 entries held as values takes some twenty megabytes
// of small blocks; as the engine's bytes, packed, a few, and a window reads
// values only for the rows it paints.

#include "dataset.h"

#include <cstdint>
#include <memory>
#include <vector>

// The message layout stays inside the database layer: a query's header
// names the store without pulling in the Firebird interfaces.
namespace IBMessage {
struct Column;
}

class IBRows
{
public:
    IBRows();
    ~IBRows();
    IBRows(const IBRows &) = delete;
    IBRows &operator=(const IBRows &) = delete;

    // Forgets every row; the rows appended next have these columns.
    void reset(const std::vector<IBMessage::Column> &columns);
    void clear();

    int size() const { return int(m_rows.size()); }
    int columnCount() const;

    // Keeps the row of a fetched message: the NULL columns leave only their
    // mark, a VARCHAR only the bytes it holds.
    void append(const unsigned char *message);

    // A stored value as the message would have given it, blobs as their id;
    // an invalid value out of range.
    QVariant value(int row, int column) const;
    TRecordBuffer values(int row) const;

    // An edit's or an insert's values replace or join the fetched ones.
    void set(int row, TRecordBuffer values);
    void insert(int row, TRecordBuffer values);
    void remove(int row);

private:
    // A fetched row is the address of its bytes, which start at an even
    // address; a written one is odd: its place in m_written, shifted left,
    // plus one. One word a row keeps the index of 30,000 rows small.
    using Row = std::uintptr_t;
    static bool isWritten(Row r) { return r & 1u; }
    static const unsigned char *bytesOf(Row r)
    {
        return reinterpret_cast<const unsigned char *>(r);
    }
    Row written(TRecordBuffer values);
    unsigned char *room(size_t size);

    std::vector<IBMessage::Column> m_columns;
    size_t m_markBytes = 0; // the NULL marks before each row's values
    std::vector<Row> m_rows;
    std::vector<std::unique_ptr<unsigned char[]>> m_blocks;
    unsigned char *m_free = nullptr;
    size_t m_freeSize = 0;
    std::vector<TRecordBuffer> m_written;
};
