// Locate of the in-memory table: a linear scan over the records themselves.
#include "memorydata.h"

#include "valueconv.h"

namespace {

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

// One key field with its key prepared once for the whole scan. The rules are
// the dataset base's: text columns compare as text (a NULL field as the
// empty text); for the others a NULL field matches a NULL or blank key, and
// a key that cannot become the column's type matches nothing.
class KeyMatcher
{
public:
    KeyMatcher(const TField &field, const QVariant &key, TLocateOptions options)
        : m_fieldNo(field.Index())
    {
        const TFieldType type = field.DataType();
        m_text = FieldTypes::isSizedText(type) || type == ftMemo || type == ftFmtMemo;
        if (m_text) {
            m_keyText = isNullValue(key) ? QString() : ValueConv::toText(key);
            m_partial = options.testFlag(loPartialKey);
            m_cs = options.testFlag(loCaseInsensitive) ? Qt::CaseInsensitive : Qt::CaseSensitive;
            return;
        }
        m_keyEmpty = isNullValue(key) ||
                     (key.typeId() == QMetaType::QString && key.toString().trimmed().isEmpty());
        if (m_keyEmpty)
            return;
        try {
            m_key = FieldTypes::coerce(type, field.Size(), key);
            m_keyIsInt = m_key.typeId() == QMetaType::Int;
            m_keyInt = m_keyIsInt ? m_key.toInt() : 0;
        } catch (const std::exception &) { // EConvertError, a text the code page cannot hold
            m_keyBad = true;
        }
    }

    bool matches(const TRecordBuffer &data) const
    {
        const QVariant &value = data[m_fieldNo];
        // The stored type is asked once and the usual cases, text and whole
        // numbers, are compared without QVariant's generic machinery.
        const int type = value.typeId();
        if (m_text) {
            if (type == QMetaType::QString)
                return compareText(*static_cast<const QString *>(value.constData()));
            if (isNullValue(value))
                return m_keyText.isEmpty();
            return compareText(ValueConv::toText(value));
        }
        if (type == QMetaType::Int && m_keyIsInt)
            return *static_cast<const int *>(value.constData()) == m_keyInt;
        if (isNullValue(value))
            return m_keyEmpty;
        if (m_keyEmpty || m_keyBad)
            return false;
        return value == m_key;
    }

private:
    bool compareText(QStringView text) const
    {
        if (m_partial)
            text = text.left(m_keyText.size());
        return text.compare(m_keyText, m_cs) == 0;
    }

    int m_fieldNo;
    bool m_text = false;
    QString m_keyText;
    bool m_partial = false;
    Qt::CaseSensitivity m_cs = Qt::CaseSensitive;
    bool m_keyEmpty = false;
    bool m_keyBad = false;
    QVariant m_key;
    bool m_keyIsInt = false;
    int m_keyInt = 0;
};

} // namespace

bool TRxMemoryData::locateMatch(const QString &keyFields, const QVariant &keyValues,
                                TLocateOptions options, int &found, bool &bof)
{
    const QVector<int> fieldNos = keyFieldNumbers(keyFields);
    const QVariantList keys = keyList(keyValues, fieldNos.size());
    std::vector<KeyMatcher> matchers;
    matchers.reserve(size_t(fieldNos.size()));
    for (int k = 0; k < fieldNos.size(); ++k)
        matchers.emplace_back(*Fields(fieldNos[k]), keys[k], options);
    const auto matches = [&](int index) {
        const TRecordBuffer &data = m_records[size_t(index)]->Data;
        for (const KeyMatcher &m : matchers) {
            if (!m.matches(data))
                return false;
        }
        return true;
    };

    const int current = currentIndex();
    if (current >= 0 && matches(current)) {
        found = current;
        bof = Bof();
        return true;
    }
    // The filter is asked only about records that match: it is the costly
    // test, and a refused record is skipped either way.
    const int count = int(m_records.size());
    for (int i = 0; i < count; ++i) {
        if (!matches(i) || !recordVisible(i))
            continue;
        found = i;
        bof = true; // the first visible record, as a walk from First leaves it
        for (int j = 0; j < i && bof; ++j)
            bof = !recordVisible(j);
        return true;
    }
    return false;
}

bool TRxMemoryData::Locate(const QString &keyFields, const QVariant &keyValues,
                           TLocateOptions options)
{
    if (BeforeScroll)
        BeforeScroll(this);
    CheckBrowseMode();
    if (IsEmpty())
        return false;
    int found = -1;
    bool bof = false;
    // The scan never moves the cursor, so when nothing matches the current
    // record, always a valid bookmark, simply stays current.
    if (!locateMatch(keyFields, keyValues, options, found, bof))
        return false;
    if (found != currentIndex())
        placeCursor(found, bof, false);
    notifyCursorMoved();
    if (AfterScroll)
        AfterScroll(this);
    return true;
}
