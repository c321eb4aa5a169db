#pragma once

#include "memorydata.h"

enum TSeekOrigin { soBeginning, soCurrent, soEnd };

// A byte stream over one blob field of an in-memory table's current record.
// Reading sees the record as the dataset's state shows it (the edit buffer
// while editing); writing needs edit or insert and goes into the edit buffer
// at once, so Cancel drops it and Post keeps it. A memo's text is seen as
// its Windows-1252 bytes.
//
// The position may be set anywhere, but only the text is ever touched:
// reading outside it reads nothing, writing past its end first fills the gap
// with zero bytes, and writing before its start writes nothing.
class TMemBlobStream
{
public:
    // Raises "Field '%s' cannot be modified" for a read-only field and
    // "Dataset not in edit or insert mode" when a writing mode is asked
    // outside edit and insert. With no current record (a closed or empty
    // table) the stream stays unopened: it reads and writes nothing.
    TMemBlobStream(TField *field, TBlobStreamMode mode);
    TMemBlobStream(const TMemBlobStream &) = delete;
    TMemBlobStream &operator=(const TMemBlobStream &) = delete;

    qint64 Read(char *buffer, qint64 count);
    qint64 Write(const char *buffer, qint64 count);
    qint64 Seek(qint64 offset, TSeekOrigin origin);
    // Empties the whole text, wherever the position is.
    void Truncate();
    qint64 Size() const;
    qint64 Position() const { return m_position; }
    void setPosition(qint64 value) { m_position = value; }
    bool Opened() const { return m_opened; }
    bool Modified() const { return m_modified; }

private:
    QByteArray text() const;
    void store(const QByteArray &bytes);

    TField *m_field;
    TRxMemoryData *m_table;
    TBlobStreamMode m_mode;
    bool m_opened = false;
    bool m_modified = false;
    bool m_writable = false;
    qint64 m_position = 0;
};
