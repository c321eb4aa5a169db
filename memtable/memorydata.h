#pragma once

#include "dataset.h"

#include <QByteArray>
#include <memory>
#include <vector>

class TRxMemoryData;
class TMemBlobStream;

enum TBlobStreamMode { bmRead, bmWrite, bmReadWrite };

// One row of an in-memory table. Its place in the table is its index in the
// owner's list; its ID never changes and is never given to another row of
// the same table.
class TMemoryRecord
{
public:
    TMemoryRecord(TRxMemoryData *owner, qint64 id, int fieldCount);

    TRxMemoryData *Owner() const { return m_owner; }
    qint64 ID() const { return m_id; }
    // Linear search of the owner's list; -1 when the record is not in it.
    int Index() const;

    // One value per field in field order, blob texts included; empty in a
    // compact table, whose records hold their values packed instead.
    TRecordBuffer Data;
    QByteArray Packed;

private:
    TRxMemoryData *m_owner;
    qint64 m_id;
};

// A dataset whose rows live only in memory: a scratch table for grids and
// bound controls, defined by its FieldDefs. Bookmarks are record IDs; there
// is no index, so bookmark look-ups and Locate are linear scans.
class TRxMemoryData : public TDataSet
{
    Q_OBJECT
public:
    // What a record ID is before any has been issued, and what a new record
    // carries until it is posted.
    static constexpr qint64 EmptyID = -2147483648LL;

    explicit TRxMemoryData(QObject *owner = nullptr);
    ~TRxMemoryData() override;

    // Room reserved in the record list ahead of appending many rows.
    int Capacity() const { return int(m_records.capacity()); }
    void setCapacity(int value);

    // Removes every record; does nothing on a closed table. The
    // auto-increment counter goes on; bookmarks taken before are invalid.
    void EmptyTable();

    // A whole record at once: Insert or Append, the values in field order
    // (an invalid QVariant leaves that field as a new record has it), Post.
    void InsertRecord(const QVariantList &values);
    void AppendRecord(const QVariantList &values);

    // The current record is tried first, then every visible record from the
    // first. Nothing matching leaves the cursor where it was.
    bool Locate(const QString &keyFields, const QVariant &keyValues,
                TLocateOptions options = {}) override;

    // A stream over a blob field of the current record; see TMemBlobStream.
    std::unique_ptr<TMemBlobStream> CreateBlobStream(TField *field, TBlobStreamMode mode);

    static bool isSupportedType(TFieldType type);

    // The records in the table's own order, filter and cursor left aside,
    // values as Value() gives them: for a walk that reads every row without
    // moving the cursor and its views.
    int StoredCount() const { return int(m_records.size()); }
    QVariant StoredValue(int index, int fieldNo) const;
    TRecordBuffer StoredValues(int index) const;

    // A compact table keeps each record's values packed in one block of
    // bytes: a short row takes about a fifth of the memory, a value read
    // costs its unpacking. For tables that stage whole files. Set while
    // closed (changing it on an open table raises).
    bool Compact() const { return m_compact; }
    void setCompact(bool value);

protected:
    void openCursor() override;
    void closeCursor() override;
    int storeCount() const override { return int(m_records.size()); }
    QVariant storedValue(int index, int fieldNo) const override;
    void storeEdit(int index, TRecordBuffer &buffer) override;
    int storeInsert(int index, TRecordBuffer &buffer) override;
    void storeDelete(int index) override;
    TBookmark bookmarkAt(int index) const override;
    int recordOfBookmark(const TBookmark &bookmark) const override;
    bool bookmarkStillValid(const TBookmark &bookmark) const override;
    int compareBookmarks(const TBookmark &a, const TBookmark &b) const override;

private:
    friend class TMemoryRecord;
    friend class TMemBlobStream;

    void addWholeRecord(const QVariantList &values, bool append);
    void store(TMemoryRecord &record, const TRecordBuffer &buffer) const;
    QVariant valueOf(const TMemoryRecord &record, int fieldNo) const;
    void clearRecords();
    void setAutoIncFields(TRecordBuffer &buffer);
    void normalise(TRecordBuffer &buffer) const;
    static bool idOf(const TBookmark &bookmark, qint64 &id);
    int findRecordID(qint64 id) const;
    bool locateMatch(const QString &keyFields, const QVariant &keyValues, TLocateOptions options,
                     int &found, bool &bof);

    std::vector<std::unique_ptr<TMemoryRecord>> m_records;
    // IDs run on for the table's whole life, so a kept bookmark can never
    // come to name another record. Those up to m_firstValidAfter were issued
    // before the last open, emptying or deletion of every record: invalid.
    qint64 m_lastID = EmptyID;
    qint64 m_firstValidAfter = EmptyID;
    int m_nextAutoInc = 1;
    bool m_compact = false;
};
