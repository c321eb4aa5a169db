#include "field.h"

#include "dataset.h"
#include "valueconv.h"

EDatabaseError::EDatabaseError(const QString &message)
    : std::runtime_error(message.toUtf8().toStdString())
{
}

namespace FieldTypes {

bool isSizedText(TFieldType t)
{
    return t == ftString || t == ftFixedChar || t == ftWideString || t == ftGuid;
}

bool isBlob(TFieldType t)
{
    switch (t) {
    case ftBlob:
    case ftMemo:
    case ftGraphic:
    case ftFmtMemo:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftOraClob:
        return true;
    default:
        return false;
    }
}

namespace {

bool isText(const QVariant &v)
{
    return v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray;
}

QTime toTime(const QVariant &v)
{
    switch (v.typeId()) {
    case QMetaType::QTime:
        return v.toTime();
    case QMetaType::QDateTime:
        return v.toDateTime().time();
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = ValueConv::toText(v).trimmed();
        for (const char *fmt : {"HH:mm:ss", "H:mm:ss", "HH:mm", "H:mm"}) {
            const QTime t = QTime::fromString(s, QLatin1String(fmt));
            if (t.isValid())
                return t;
        }
        throw EConvertError(QStringLiteral("'%1' non è un'ora valida").arg(s));
    }
    default:
        throw EConvertError(QStringLiteral("Conversione di tipo non valida"));
    }
}

bool toBoolean(const QVariant &v)
{
    if (!isText(v))
        return ValueConv::toBool(v);
    const QString s = ValueConv::toText(v).trimmed();
    if (s.compare(QLatin1String("true"), Qt::CaseInsensitive) == 0)
        return true;
    if (s.compare(QLatin1String("false"), Qt::CaseInsensitive) == 0)
        return false;
    throw EConvertError(QStringLiteral("'%1' non è un valore booleano valido").arg(s));
}

} // namespace

QVariant coerce(TFieldType type, int size, const QVariant &value)
{
    if (value.isNull() || !value.isValid())
        return {};
    switch (type) {
    case ftString:
    case ftFixedChar:
    case ftWideString:
    case ftGuid: {
        const QString s = ValueConv::toText(value);
        return size > 0 ? s.left(size) : s;
    }
    case ftMemo:
    case ftFmtMemo:
    case ftOraClob:
        return ValueConv::toText(value);
    case ftBlob:
    case ftGraphic:
    case ftParadoxOle:
    case ftDBaseOle:
    case ftTypedBinary:
    case ftOraBlob:
    case ftBytes:
    case ftVarBytes:
        return ValueConv::toBytes(value);
    case ftVariant:
        return value;
    default:
        break;
    }
    // Every other type reads an empty text as "no value", as the class
    // library's numeric and date fields did.
    if (isText(value) && ValueConv::toText(value).trimmed().isEmpty())
        return {};
    switch (type) {
    case ftSmallint:
    case ftWord: {
        const int n = ValueConv::toInt(value);
        const bool fits = type == ftSmallint ? (n >= -32768 && n <= 32767) : (n >= 0 && n <= 65535);
        if (!fits)
            throw EConvertError(
                QStringLiteral("'%1' is not a valid integer value").arg(ValueConv::toText(value)));
        return n;
    }
    case ftInteger:
    case ftAutoInc:
        return ValueConv::toInt(value);
    case ftLargeint:
        return ValueConv::toInt64(value);
    case ftFloat:
    case ftCurrency:
    case ftBCD:
    case ftFMTBcd:
        return ValueConv::toFloat(value);
    case ftBoolean:
        return toBoolean(value);
    case ftDate:
        return ValueConv::toDateTime(value).date();
    case ftTime:
        return toTime(value);
    case ftDateTime:
    case ftTimeStamp:
        if (value.typeId() == QMetaType::QTime)
            return QDateTime(QDate(1899, 12, 30), value.toTime());
        return ValueConv::toDateTime(value);
    default:
        return value;
    }
}

} // namespace FieldTypes

void TFieldDefs::checkChangeable() const
{
    if (m_owner && m_owner->Active())
        throw EDatabaseError(
            QStringLiteral("Impossibile modificare le definizioni dei campi di un dataset aperto"));
}

TFieldDefs &TFieldDefs::operator=(const TFieldDefs &o)
{
    if (this != &o) {
        checkChangeable();
        m_defs = o.m_defs;
    }
    return *this;
}

void TFieldDefs::Add(const QString &name, TFieldType type, int size, bool required)
{
    checkChangeable();
    m_defs.append(TFieldDef{name, type, size, required});
}

void TFieldDefs::Clear()
{
    checkChangeable();
    m_defs.clear();
}

TFieldDef &TFieldDefs::Items(int i)
{
    checkChangeable();
    return m_defs[i];
}

int TFieldDefs::IndexOf(const QString &name) const
{
    for (int i = 0; i < m_defs.size(); ++i) {
        if (m_defs[i].Name.compare(name, Qt::CaseInsensitive) == 0)
            return i;
    }
    return -1;
}

bool TFieldDefs::operator==(const TFieldDefs &o) const
{
    if (m_defs.size() != o.m_defs.size())
        return false;
    for (int i = 0; i < m_defs.size(); ++i) {
        const TFieldDef &a = m_defs[i];
        const TFieldDef &b = o.m_defs[i];
        if (a.Name != b.Name || a.DataType != b.DataType || a.Size != b.Size ||
            a.Required != b.Required)
            return false;
    }
    return true;
}

// ---------------------------------------------------------------------------

TField::TField(TDataSet *dataSet, int fieldNo, const TFieldDef &def)
    : Required(def.Required)
    , m_dataSet(dataSet)
    , m_fieldNo(fieldNo)
    , m_def(def)
{
}

QVariant TField::Value() const
{
    return m_dataSet->fieldValue(m_fieldNo);
}

bool TField::IsNull() const
{
    const QVariant v = Value();
    return v.isNull() || !v.isValid();
}

QString TField::AsString() const
{
    return ValueConv::toText(Value());
}

int TField::AsInteger() const
{
    return ValueConv::toInt(Value());
}

qint64 TField::AsLargeInt() const
{
    return ValueConv::toInt64(Value());
}

double TField::AsFloat() const
{
    return ValueConv::toFloat(Value());
}

bool TField::AsBoolean() const
{
    const QVariant v = Value();
    if (v.isNull() || !v.isValid())
        return false;
    return FieldTypes::coerce(ftBoolean, 0, v).toBool();
}

QDateTime TField::AsDateTime() const
{
    const QVariant v = Value();
    // A time alone sits on the class library's day zero.
    if (v.typeId() == QMetaType::QTime)
        return QDateTime(QDate(1899, 12, 30), v.toTime());
    return ValueConv::toDateTime(v);
}

QByteArray TField::AsBytes() const
{
    return ValueConv::toBytes(Value());
}

void TField::setValue(const QVariant &v)
{
    m_dataSet->setFieldValue(m_fieldNo, v);
}
