// Field access, bookmarks, Locate, filtering and the views of TDataSet.
#include "dataset.h"

#include "dataerrors.h"
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
        v = m_buffer.value(fieldNo);
        break;
    case dsFilter:
        v = storedValue(m_filterIndex, fieldNo);
        break;
    default:
        return {};
    }
    if (m_emptyTextIsNull && FieldTypes::isSizedText(m_fields[size_t(fieldNo)]->DataType()) &&
        v.typeId() == QMetaType::QString && v.toString().isEmpty())
        return {};
    return v;
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

QVector<int> TDataSet::keyFieldNumbers(const QString &keyFields) const
{
    QVector<int> numbers;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        numbers.append(FieldByName(name.trimmed())->Index());
    return numbers;
}

QVariantList TDataSet::keyList(const QVariant &keyValues, int count)
{
    QVariantList keys;
    if (keyValues.typeId() == QMetaType::QVariantList ||
        keyValues.typeId() == QMetaType::QStringList)
        keys = keyValues.toList();
    else
        keys.append(keyValues);
    if (keys.size() != count)
        throw EDatabaseError(QStringLiteral("Ricerca: %1 valori chiave per %2 campi chiave")
                                 .arg(keys.size())
                                 .arg(count));
    return keys;
}

namespace {

bool isNullKey(const QVariant &v)
{
    return v.isNull() || !v.isValid();
}

// A NULL field matches a NULL key and an empty key text; a key that cannot
// be converted to the field's type matches nothing.
bool fieldMatches(const TField &f, const QVariant &value, const QVariant &key,
                  TLocateOptions options)
{
    const TFieldType type = f.DataType();
    if (FieldTypes::isSizedText(type) || type == ftMemo || type == ftFmtMemo) {
        QString text = ValueConv::toText(value);
        const QString k = isNullKey(key) ? QString() : ValueConv::toText(key);
        if (options.testFlag(loPartialKey))
            text.truncate(k.size());
        const Qt::CaseSensitivity cs =
            options.testFlag(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
        return text.compare(k, cs) == 0;
    }
    const bool keyEmpty = isNullKey(key) || (key.typeId() == QMetaType::QString &&
                                             key.toString().trimmed().isEmpty());
    if (isNullKey(value))
        return keyEmpty;
    if (keyEmpty)
        return false;
    try {
        return FieldTypes::coerce(type, f.Size(), key) == FieldTypes::coerce(type, f.Size(), value);
    } catch (const EConvertError &) {
        return false;
    }
}

} // namespace

bool TDataSet::recordMatches(int index, const QVector<int> &fieldNos, const QVariantList &keys,
                             TLocateOptions options) const
{
    for (int k = 0; k < fieldNos.size(); ++k) {
        const TField &f = *m_fields[size_t(fieldNos[k])];
        if (!fieldMatches(f, storedValue(index, fieldNos[k]), keys[k], options))
            return false;
    }
    return true;
}

bool TDataSet::Locate(const QString &keyFields, const QVariant &keyValues, TLocateOptions options)
{
    CheckBrowseMode();
    const QVector<int> fieldNos = keyFieldNumbers(keyFields);
    const QVariantList keys = keyList(keyValues, fieldNos.size());
    if (IsEmpty())
        return false;
    // The scan starts from the first record, so the first match wins.
    const int first = nextVisible(-1);
    for (int i = first; i >= 0; i = nextVisible(i)) {
        if (recordMatches(i, fieldNos, keys, options)) {
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
    const TDataSetState saveState = m_state;
    const int saveIndex = m_filterIndex;
    m_state = dsFilter;
    m_filterIndex = index;
    bool accept = true;
    // A failing handler is reported, not propagated: the walk goes on. A plain
    // try keeps the per-record cost of a filtered walk low.
    try {
        m_onFilterRecord(this, accept);
    } catch (...) {
        DataErrors::reportCurrent();
    }
    m_state = saveState;
    m_filterIndex = saveIndex;
    return accept;
}

void TDataSet::setFiltered(bool value)
{
    if (Active())
        CheckBrowseMode();
    if (value == m_filtered)
        return;
    m_filtered = value;
    if (Active())
        First();
}

void TDataSet::setOnFilterRecord(const TFilterRecordEvent &handler)
{
    if (Active())
        CheckBrowseMode();
    m_onFilterRecord = handler;
    if (Active() && m_filtered)
        First();
}

// ---- Views ----------------------------------------------------------------

void TDataSet::addObserver(TDataSetObserver *observer)
{
    if (!m_observers.contains(observer))
        m_observers.append(observer);
}

void TDataSet::removeObserver(TDataSetObserver *observer)
{
    m_observers.removeAll(observer);
}

template <typename F> void TDataSet::forObservers(F f)
{
    if (m_disableCount > 0) {
        m_pendingChange = true;
        return;
    }
    const auto observers = m_observers;
    for (TDataSetObserver *o : observers) {
        if (m_observers.contains(o))
            f(o);
    }
}

void TDataSet::notifyDataSetChanged()
{
    forObservers([this](TDataSetObserver *o) { o->dataSetChanged(this); });
}

void TDataSet::notifyActive()
{
    forObservers([this](TDataSetObserver *o) { o->activeChanged(this); });
}

void TDataSet::notifyState()
{
    forObservers([this](TDataSetObserver *o) { o->stateChanged(this); });
}

void TDataSet::notifyRecord(TField *field)
{
    forObservers([this, field](TDataSetObserver *o) { o->recordChanged(this, field); });
}

void TDataSet::DisableControls()
{
    if (m_disableCount++ == 0) {
        m_disableState = m_state;
        m_disableActive = Active();
        m_pendingChange = false;
    }
}

void TDataSet::EnableControls()
{
    if (m_disableCount == 0 || --m_disableCount > 0)
        return;
    if (m_disableActive != Active())
        notifyActive();
    else if (m_disableState != m_state)
        notifyState();
    if (m_pendingChange && Active())
        notifyDataSetChanged();
    m_pendingChange = false;
}
