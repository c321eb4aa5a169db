#include "memorydata.h"

#include "memblobstream.h"
#include "mempacked.h"

TMemoryRecord::TMemoryRecord(TRxMemoryData *owner, qint64 id, int fieldCount)
    : Data(fieldCount)
    , m_owner(owner)
    , m_id(id)
{
}

int TMemoryRecord::Index() const
{
    if (!m_owner)
        return -1;
    const auto &list = m_owner->m_records;
    for (size_t i = 0; i < list.size(); ++i) {
        if (list[i].get() == this)
            return int(i);
    }
    return -1;
}

// ---------------------------------------------------------------------------

TRxMemoryData::TRxMemoryData(QObject *owner)
    : TDataSet(owner)
{
    setEmptyTextIsNull(true);
}

TRxMemoryData::~TRxMemoryData()
{
    closeWithoutEvents();
}

bool TRxMemoryData::isSupportedType(TFieldType type)
{
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid:
    case ftSmallint:
    case ftWord:
    case ftBoolean:
    case ftInteger:
    case ftDate:
    case ftTime:
    case ftAutoInc:
    case ftFloat:
    case ftCurrency:
    case ftDateTime:
    case ftLargeint:
    case ftBCD:
    case ftBytes:
    case ftVarBytes:
    case ftVariant:
        return true;
    default:
        // ftADT is left out: our field definitions have no child fields, so
        // such a column could hold nothing.
        return FieldTypes::isBlob(type);
    }
}

void TRxMemoryData::setCapacity(int value)
{
    if (value > int(m_records.size()))
        m_records.reserve(size_t(value));
}

// ---- Open and close -------------------------------------------------------

void TRxMemoryData::openCursor()
{
    for (int i = 0; i < FieldDefs.Count(); ++i) {
        const TFieldDef &def = FieldDefs[i];
        if (isSupportedType(def.DataType))
            continue;
        const TField *field = FindField(def.Name);
        throw EDatabaseError(QStringLiteral("Field '%1' is of an unknown type")
                                 .arg(field ? field->DisplayName() : def.Name));
    }
    // The table fills auto-increment fields itself when it stores a new
    // record, after the base has checked required fields.
    for (int i = 0; i < FieldDefs.Count(); ++i) {
        if (FieldDefs[i].DataType == ftAutoInc)
            FieldDefs.Items(i).Required = false;
    }
    clearRecords();
    m_nextAutoInc = 1;
}

void TRxMemoryData::closeCursor()
{
    clearRecords();
    m_nextAutoInc = 1;
}

void TRxMemoryData::clearRecords()
{
    while (!m_records.empty())
        m_records.pop_back();
    m_firstValidAfter = m_lastID;
}

void TRxMemoryData::EmptyTable()
{
    if (!Active())
        return;
    CheckBrowseMode();
    clearRecords();
    resync(-1);
}

// ---- The record store -----------------------------------------------------

QVariant TRxMemoryData::storedValue(int index, int fieldNo) const
{
    if (index < 0 || index >= int(m_records.size()))
        throw EDatabaseError(QStringLiteral("No data found"));
    return valueOf(*m_records[size_t(index)], fieldNo);
}

QVariant TRxMemoryData::StoredValue(int index, int fieldNo) const
{
    return presented(fieldNo, storedValue(index, fieldNo));
}

TRecordBuffer TRxMemoryData::StoredValues(int index) const
{
    if (index < 0 || index >= int(m_records.size()))
        throw EDatabaseError(QStringLiteral("No data found"));
    const TMemoryRecord &record = *m_records[size_t(index)];
    TRecordBuffer values =
        m_compact ? MemPacked::unpackAll(record.Packed, FieldCount()) : record.Data;
    values.resize(FieldCount());
    for (int i = 0; i < values.size(); ++i) {
        if (readsAsNull(i, values[i]))
            values[i] = QVariant();
    }
    return values;
}

QVariant TRxMemoryData::valueOf(const TMemoryRecord &record, int fieldNo) const
{
    return m_compact ? MemPacked::unpack(record.Packed, fieldNo) : record.Data.at(fieldNo);
}

void TRxMemoryData::store(TMemoryRecord &record, const TRecordBuffer &buffer) const
{
    if (m_compact)
        record.Packed = MemPacked::pack(buffer);
    else
        record.Data = buffer;
}

void TRxMemoryData::setCompact(bool value)
{
    if (value == m_compact)
        return;
    if (Active())
        throw EDatabaseError(
            QStringLiteral("Impossibile eseguire questa operazione su un dataset aperto"));
    m_compact = value;
}

void TRxMemoryData::setAutoIncFields(TRecordBuffer &buffer)
{
    bool given = false;
    for (int i = 0; i < FieldCount() && i < buffer.size(); ++i) {
        if (Fields(i)->DataType() == ftAutoInc) {
            buffer[i] = m_nextAutoInc;
            given = true;
        }
    }
    if (given)
        ++m_nextAutoInc;
}

// Keeps each value to what its column can hold. Text was already cut to
// its size when written; bytes are cut here, and an empty blob is no blob.
void TRxMemoryData::normalise(TRecordBuffer &buffer) const
{
    buffer.resize(FieldCount());
    for (int i = 0; i < FieldCount(); ++i) {
        const TField *f = Fields(i);
        QVariant &v = buffer[i];
        if (!v.isValid() || v.isNull())
            continue;
        const TFieldType type = f->DataType();
        const bool isString = v.typeId() == QMetaType::QString;
        const bool isBytes = v.typeId() == QMetaType::QByteArray;
        if ((type == ftBytes || type == ftVarBytes) && f->Size() > 0 &&
            v.toByteArray().size() > f->Size())
            v = v.toByteArray().left(f->Size());
        else if (FieldTypes::isBlob(type) &&
                 (isString  ? static_cast<const QString *>(v.constData())->isEmpty()
                  : isBytes ? static_cast<const QByteArray *>(v.constData())->isEmpty()
                            : v.toByteArray().isEmpty()))
            v = QVariant();
    }
}

void TRxMemoryData::storeEdit(int index, TRecordBuffer &buffer)
{
    normalise(buffer);
    store(*m_records[size_t(index)], buffer);
}

int TRxMemoryData::storeInsert(int index, TRecordBuffer &buffer)
{
    setAutoIncFields(buffer);
    normalise(buffer);
    index = qBound(0, index, int(m_records.size()));
    auto record = std::make_unique<TMemoryRecord>(this, ++m_lastID, 0);
    store(*record, buffer);
    m_records.insert(m_records.begin() + index, std::move(record));
    return index;
}

void TRxMemoryData::storeDelete(int index)
{
    m_records.erase(m_records.begin() + index);
    if (m_records.empty())
        m_firstValidAfter = m_lastID;
}

void TRxMemoryData::addWholeRecord(const QVariantList &values, bool append)
{
    append ? Append() : Insert();
    try {
        for (int i = 0; i < values.size() && i < FieldCount(); ++i) {
            if (values[i].isValid())
                Fields(i)->setValue(values[i]);
        }
        Post();
    } catch (...) {
        Cancel();
        throw;
    }
}

void TRxMemoryData::InsertRecord(const QVariantList &values)
{
    addWholeRecord(values, false);
}

void TRxMemoryData::AppendRecord(const QVariantList &values)
{
    addWholeRecord(values, true);
}

// ---- Bookmarks ------------------------------------------------------------

bool TRxMemoryData::idOf(const TBookmark &bookmark, qint64 &id)
{
    if (bookmark.Data.typeId() != QMetaType::LongLong)
        return false;
    id = bookmark.Data.toLongLong();
    return id != EmptyID;
}

int TRxMemoryData::findRecordID(qint64 id) const
{
    for (size_t i = 0; i < m_records.size(); ++i) {
        if (m_records[i]->ID() == id)
            return int(i);
    }
    return -1;
}

TBookmark TRxMemoryData::bookmarkAt(int index) const
{
    return TBookmark(QVariant::fromValue<qint64>(m_records[size_t(index)]->ID()));
}

int TRxMemoryData::recordOfBookmark(const TBookmark &bookmark) const
{
    qint64 id;
    return idOf(bookmark, id) ? findRecordID(id) : -1;
}

// Like the original, validity does not look for the record: a deleted
// record's bookmark stays valid and going to it leaves the cursor alone.
bool TRxMemoryData::bookmarkStillValid(const TBookmark &bookmark) const
{
    qint64 id;
    return idOf(bookmark, id) && id > m_firstValidAfter && id <= m_lastID;
}

// IDs grow with creation, so this is creation order, not table order.
int TRxMemoryData::compareBookmarks(const TBookmark &a, const TBookmark &b) const
{
    qint64 ia = 0, ib = 0;
    const bool hasA = idOf(a, ia);
    const bool hasB = idOf(b, ib);
    if (!hasA || !hasB)
        return hasA == hasB ? 0 : (hasA ? 1 : -1);
    return ia < ib ? -1 : (ia > ib ? 1 : 0);
}

std::unique_ptr<TMemBlobStream> TRxMemoryData::CreateBlobStream(TField *field, TBlobStreamMode mode)
{
    return std::make_unique<TMemBlobStream>(field, mode);
}
