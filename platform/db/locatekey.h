#pragma once

#include "dataset.h"

#include <vector>

// One key field of a Locate, with its key prepared once for the whole scan.
// The rules every dataset follows: text columns (memos included) compare as
// text, a NULL field as the empty text; for the others a NULL field matches
// a NULL or blank key, and a key that cannot become the column's type
// matches nothing.
class TLocateKey
{
public:
    TLocateKey(const TField &field, const QVariant &key, TLocateOptions options);

    // The keys of "A;B" on `dataSet`, with one value or a QVariantList of one
    // per field. Raises for an unknown field or a wrong number of values.
    static std::vector<TLocateKey> prepare(const TDataSet &dataSet, const QString &keyFields,
                                           const QVariant &keyValues, TLocateOptions options);

    int fieldNo() const { return m_fieldNo; }
    // `value` as the record holds it.
    bool matches(const QVariant &value) const;

private:
    bool compareText(QStringView text) const;

    int m_fieldNo;
    TFieldType m_type;
    int m_size;
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
