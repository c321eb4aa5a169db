#include "memblobstream.h"

#include "valueconv.h"

#include <climits>
#include <cstring>

TMemBlobStream::TMemBlobStream(TField *field, TBlobStreamMode mode)
    : m_field(field)
    , m_table(qobject_cast<TRxMemoryData *>(field->DataSet()))
    , m_mode(mode)
{
    if (!m_table || !FieldTypes::isBlob(field->DataType()))
        throw EDatabaseError(
            QStringLiteral("Il campo '%1' non è un campo blob").arg(field->DisplayName()));
    const TDataSetState state = m_table->State();
    const bool editing = state == dsEdit || state == dsInsert;
    const bool hasRecord =
        editing || state == dsFilter || (state == dsBrowse && !m_table->IsEmpty());
    if (!hasRecord)
        return;
    if (mode != bmRead) {
        if (field->ReadOnly)
            throw EDatabaseError(
                QStringLiteral("Field '%1' cannot be modified").arg(field->DisplayName()));
        if (!editing)
            throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
        m_writable = true;
    }
    m_opened = true;
    if (mode == bmWrite)
        Truncate();
}

QByteArray TMemBlobStream::text() const
{
    return ValueConv::toBytes(m_field->Value());
}

void TMemBlobStream::store(const QByteArray &bytes)
{
    // An empty blob is no blob: it reads as NULL, as it will once posted.
    if (bytes.isEmpty())
        m_field->setValue(QVariant());
    else
        m_field->setValue(bytes);
    m_modified = true;
}

qint64 TMemBlobStream::Size() const
{
    return m_opened ? text().size() : 0;
}

qint64 TMemBlobStream::Read(char *buffer, qint64 count)
{
    if (!m_opened || count <= 0 || m_position < 0)
        return 0;
    const QByteArray data = text();
    if (m_position >= data.size())
        return 0;
    const qint64 n = qMin(count, qint64(data.size()) - m_position);
    std::memcpy(buffer, data.constData() + m_position, size_t(n));
    m_position += n;
    return n;
}

qint64 TMemBlobStream::Write(const char *buffer, qint64 count)
{
    if (!m_opened || !m_writable || m_mode == bmRead || count <= 0 || m_position < 0)
        return 0;
    // A blob text is at most what a 32-bit length can say.
    if (m_position > qint64(INT_MAX) - count)
        return 0;
    QByteArray data = text();
    const qint64 end = m_position + count;
    if (data.size() < end)
        data.append(QByteArray(end - data.size(), '\0'));
    std::memcpy(data.data() + m_position, buffer, size_t(count));
    store(data);
    m_position = end;
    return count;
}

qint64 TMemBlobStream::Seek(qint64 offset, TSeekOrigin origin)
{
    switch (origin) {
    case soBeginning:
        m_position = offset;
        break;
    case soCurrent:
        m_position += offset;
        break;
    case soEnd:
        m_position = Size() + offset;
        break;
    }
    return m_position;
}

void TMemBlobStream::Truncate()
{
    if (!m_opened || !m_writable || m_mode == bmRead)
        return;
    store(QByteArray());
}
