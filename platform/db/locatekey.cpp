#include "locatekey.h"

#include "valueconv.h"

namespace {

bool isNullValue(const QVariant &v)
{
    return !v.isValid() || v.isNull();
}

} // namespace

TLocateKey::TLocateKey(const TField &field, const QVariant &key, TLocateOptions options)
    : m_fieldNo(field.Index())
    , m_type(field.DataType())
    , m_size(field.Size())
{
    m_text = FieldTypes::isSizedText(m_type) || m_type == ftMemo || m_type == ftFmtMemo;
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
        m_key = FieldTypes::coerce(m_type, m_size, key);
        m_keyIsInt = m_key.typeId() == QMetaType::Int;
        m_keyInt = m_keyIsInt ? m_key.toInt() : 0;
    } catch (const std::exception &) { // EConvertError, a text the code page cannot hold
        m_keyBad = true;
    }
}

std::vector<TLocateKey> TLocateKey::prepare(const TDataSet &dataSet, const QString &keyFields,
                                            const QVariant &keyValues, TLocateOptions options)
{
    QVector<const TField *> fields;
    for (const QString &name : keyFields.split(QLatin1Char(';'), Qt::SkipEmptyParts))
        fields.append(dataSet.FieldByName(name.trimmed()));
    QVariantList keys;
    if (keyValues.typeId() == QMetaType::QVariantList ||
        keyValues.typeId() == QMetaType::QStringList)
        keys = keyValues.toList();
    else
        keys.append(keyValues);
    if (keys.size() != fields.size())
        throw EDatabaseError(QStringLiteral("Ricerca: %1 valori chiave per %2 campi chiave")
                                 .arg(keys.size())
                                 .arg(fields.size()));
    std::vector<TLocateKey> prepared;
    prepared.reserve(size_t(fields.size()));
    for (int k = 0; k < fields.size(); ++k)
        prepared.emplace_back(*fields[k], keys[k], options);
    return prepared;
}

bool TLocateKey::matches(const QVariant &value) const
{
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
    if (type == m_key.typeId())
        return value == m_key;
    // A value held in another type than the field's own (a query's NUMERIC
    // read as a whole number) is brought to it first.
    try {
        return FieldTypes::coerce(m_type, m_size, value) == m_key;
    } catch (const std::exception &) {
        return false;
    }
}

bool TLocateKey::compareText(QStringView text) const
{
    if (m_partial)
        text = text.left(m_keyText.size());
    return text.compare(m_keyText, m_cs) == 0;
}
