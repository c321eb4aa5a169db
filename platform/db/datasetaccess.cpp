// Field access, bookmarks, Locate and filtering of TDataSet.
#include "dataset.h"

#include "dataerrors.h"
#include "locatekey.h"
#include "valueconv.h"

// ---- Fields ---------------------------------------------------------------

TField *TDataSet::FindField(const QString &name) const
{
    for (const auto &f : m_fields) {
        if (f->FieldName().compare(name, Qt::CaseInsensitive) == 0)
            return f.get();
    }
    return nullptr;
}

TField *TDataSet::FieldByName(const QString &name) const
{
    if (TField *f = FindField(name))
        return f;
    throw EDatabaseError(QStringLiteral("Campo '%1' non trovato").arg(name));
}

QVariant TDataSet::fieldValue(int fieldNo) const
{
    QVariant v;
    switch (m_state) {
    case dsBrowse:
        if (m_cur >= 0)
            v = storedValue(m_cur, fieldNo);
        break;
    case dsEdit:
    case dsInsert:
        v = bufferValue(m_buffer.value(fieldNo));
        break;
    case dsFilter:
        v = storedValue(m_filterIndex, fieldNo);
        break;
    case dsInactive:
        // A blob's contents may be read only when asked for, which a closed
        // dataset can no longer do: say so rather than answer NULL.
        if (FieldTypes::isBlob(m_fields[size_t(fieldNo)]->DataType()))
            throw EDatabaseError(
                QStringLiteral("Impossibile leggere il campo '%1': il dataset è chiuso")
                    .arg(m_fields[size_t(fieldNo)]->DisplayName()));
        return {};
    default:
        return {};
    }
    return presented(fieldNo, v);
}

bool TDataSet::readsAsNull(int fieldNo, const QVariant &v) const
{
    return m_emptyTextIsNull && v.typeId() == QMetaType::QString &&
           static_cast<const QString *>(v.constData())->isEmpty() &&
           FieldTypes::isSizedText(m_fields[size_t(fieldNo)]->DataType());
}

QVariant TDataSet::presented(int fieldNo, const QVariant &v) const
{
    return readsAsNull(fieldNo, v) ? QVariant() : v;
}

void TDataSet::setFieldValue(int fieldNo, const QVariant &value)
{
    if (m_state != dsEdit && m_state != dsInsert)
        throw EDatabaseError(QStringLiteral("Dataset not in edit or insert mode"));
    TField *f = m_fields[size_t(fieldNo)].get();
    if (f->ReadOnly)
        throw EDatabaseError(QStringLiteral("Field '%1' cannot be modified").arg(f->DisplayName()));
    m_buffer[fieldNo] = FieldTypes::coerce(f->DataType(), f->Size(), value);
    m_modified = true;
    notifyRecord(f);
}

// ---- Bookmarks ------------------------------------------------------------

TBookmark TDataSet::GetBookmark() const
{
    if (!Active() || m_cur < 0 || m_state == dsInsert)
        return {};
    return bookmarkAt(m_cur);
}

bool TDataSet::GotoBookmark(const TBookmark &bookmark)
{
    CheckBrowseMode();
    if (bookmark.isNull())
        return false;
    const int index = recordOfBookmark(bookmark);
    if (index < 0 || !recordVisible(index))
        return false;
    moveToRecord(index);
    return true;
}

bool TDataSet::BookmarkValid(const TBookmark &bookmark) const
{
    return Active() && !bookmark.isNull() && bookmarkStillValid(bookmark);
}

bool TDataSet::bookmarkStillValid(const TBookmark &bookmark) const
{
    return recordOfBookmark(bookmark) >= 0;
}

int TDataSet::CompareBookmarks(const TBookmark &a, const TBookmark &b) const
{
    if (a.isNull() || b.isNull())
        return a.isNull() == b.isNull() ? 0 : (a.isNull() ? -1 : 1);
    return compareBookmarks(a, b);
}

int TDataSet::compareBookmarks(const TBookmark &a, const TBookmark &b) const
{
    const int ia = recordOfBookmark(a);
    const int ib = recordOfBookmark(b);
    return ia < ib ? -1 : (ia > ib ? 1 : 0);
}

// ---- Locate ---------------------------------------------------------------

bool TDataSet::Locate(const QString &keyFields, const QVariant &keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    const std::vector<TLocateKey> keys = TLocateKey::prepare(*this, keyFields, keyValues, options);
    if (IsEmpty())
        return false;
    const auto matches = [&](int index) {
        for (const TLocateKey &k : keys) {
            if (!k.matches(storedValue(index, k.fieldNo())))
                return false;
        }
        return true;
    };
    // The scan starts from the first record, so the first match wins.
    const int first = nextVisible(-1);
    for (int i = first; i >= 0; i = nextVisible(i)) {
        if (matches(i)) {
            moveToRecord(i, i == first);
            return true;
        }
    }
    return false;
}

// ---- Filtering ------------------------------------------------------------

bool TDataSet::recordVisible(int index)
{
    if (!m_filtered || !m_onFilterRecord)
        return true;
    if (index < 0 || index >= storeCount())
        return false;
    return verdict(index);
}

void TDataSet::setFiltered(bool value)
{
    if (Active())
        CheckBrowseMode();
    if (value == m_filtered)
        return;
    m_filtered = value;
    dropVerdicts();
    if (Active())
        firstAfterReset();
}

void TDataSet::setOnFilterRecord(const TFilterRecordEvent &handler)
{
    if (Active())
        CheckBrowseMode();
    m_onFilterRecord = handler;
    dropVerdicts();
    if (Active() && m_filtered)
        firstAfterReset();
}
