#include "valueconv.h"

#include "win1252.h"

#include <cmath>
#include <limits>

EConvertError::EConvertError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace ValueConv {
namespace {

bool isDateType(const QVariant &v)
{
    const int t = v.typeId();
    return t == QMetaType::QDate || t == QMetaType::QDateTime || t == QMetaType::QTime;
}

} // namespace

QString formatFloat(double d)
{
    if (std::floor(d) == d && std::fabs(d) < 1e15)
        return QString::number(qint64(d));
    QString s = QString::number(d, 'g', 15);
    s.replace(QLatin1Char('.'), QLatin1Char(','));
    return s;
}

QString formatDate(const QDate &d)
{
    return d.toString(QStringLiteral("dd/MM/yyyy"));
}

QString formatDateTime(const QDateTime &dt)
{
    // A midnight timestamp shows as a plain date, as the class library did.
    if (dt.time() == QTime(0, 0))
        return formatDate(dt.date());
    return dt.toString(QStringLiteral("dd/MM/yyyy HH:mm:ss"));
}

QString toText(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QString:
        return v.toString();
    case QMetaType::QByteArray:
        return Win1252::decode(v.toByteArray());
    case QMetaType::Double:
    case QMetaType::Float:
        return formatFloat(v.toDouble());
    case QMetaType::QDate:
        return formatDate(v.toDate());
    case QMetaType::QDateTime:
        return formatDateTime(v.toDateTime());
    case QMetaType::QTime:
        return v.toTime().toString(QStringLiteral("HH:mm:ss"));
    case QMetaType::Bool:
        return v.toBool() ? QStringLiteral("True") : QStringLiteral("False");
    default:
        return v.toString();
    }
}

qint64 toInt64(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return 0;
    switch (v.typeId()) {
    case QMetaType::Int:
        return *static_cast<const int *>(v.constData());
    case QMetaType::LongLong:
        return *static_cast<const qint64 *>(v.constData());
    case QMetaType::Double:
    case QMetaType::Float:
        return qint64(std::llround(v.toDouble()));
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = toText(v).trimmed();
        bool ok = false;
        const qint64 n = s.toLongLong(&ok);
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(s));
        return n;
    }
    default:
        if (isDateType(v))
            throw EConvertError(QStringLiteral("Conversione di tipo non valida"));
        return v.toLongLong();
    }
}

int toInt(const QVariant &v)
{
    const qint64 n = toInt64(v);
    // A value that does not fit must never wrap round into another number.
    if (n < std::numeric_limits<int>::min() || n > std::numeric_limits<int>::max())
        throw EConvertError(QStringLiteral("'%1' is not a valid integer value").arg(toText(v)));
    return int(n);
}

double toFloat(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return 0;
    if (v.typeId() == QMetaType::QString || v.typeId() == QMetaType::QByteArray) {
        QString s = toText(v).trimmed();
        // The decimal separator is the comma; a point is no separator here
        // ("1.234" is not one and a bit).
        bool ok = !s.contains(QLatin1Char('.'));
        s.replace(QLatin1Char(','), QLatin1Char('.'));
        const double d = ok ? s.toDouble(&ok) : 0;
        if (!ok)
            throw EConvertError(QStringLiteral("'%1' non è un numero valido").arg(toText(v)));
        return d;
    }
    if (isDateType(v))
        throw EConvertError(QStringLiteral("Conversione di tipo non valida"));
    return v.toDouble();
}

QDateTime toDateTime(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    switch (v.typeId()) {
    case QMetaType::QDateTime:
        return v.toDateTime();
    case QMetaType::QDate:
        return QDateTime(v.toDate(), QTime(0, 0));
    case QMetaType::QString:
    case QMetaType::QByteArray: {
        const QString s = toText(v).trimmed();
        for (const char *fmt : {"dd/MM/yyyy HH:mm:ss", "dd/MM/yyyy HH:mm", "d/M/yyyy"}) {
            const QDateTime dt = QDateTime::fromString(s, QLatin1String(fmt));
            if (dt.isValid())
                return dt;
        }
        throw EConvertError(QStringLiteral("'%1' non è una data valida").arg(s));
    }
    default:
        throw EConvertError(QStringLiteral("Conversione di tipo non valida"));
    }
}

QByteArray toBytes(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return {};
    if (v.typeId() == QMetaType::QByteArray)
        return v.toByteArray();
    return Win1252::encode(toText(v));
}

bool toBool(const QVariant &v)
{
    if (v.isNull() || !v.isValid())
        return false;
    if (v.typeId() == QMetaType::QString)
        return v.toString().compare(QLatin1String("true"), Qt::CaseInsensitive) == 0;
    return v.toBool();
}

} // namespace ValueConv
