#pragma once

#include <QByteArray>
#include <QDateTime>
#include <QString>
#include <QVariant>
#include <stdexcept>
#include <utility>

// Conversions between field values and text with the fixed Italian settings
// the suite was written for: decimal comma, dates as dd/mm/yyyy.
class EConvertError : public std::runtime_error
{
public:
    explicit EConvertError(const QString &message);
    QString message() const { return QString::fromStdString(what()); }
};

namespace ValueConv {

QString toText(const QVariant &v);
qint64 toInt64(const QVariant &v);
int toInt(const QVariant &v);
double toFloat(const QVariant &v);
QDateTime toDateTime(const QVariant &v);
QByteArray toBytes(const QVariant &v);
bool toBool(const QVariant &v);

QString formatFloat(double d);
QString formatDate(const QDate &d);
QString formatDateTime(const QDateTime &dt);

} // namespace ValueConv

// A named value that can be NULL, with the class library's typed accessors.
// Statement parameters and result columns are both of this kind.
class TIBValue
{
public:
    TIBValue() = default;
    explicit TIBValue(const QString &name)
        : Name(name)
    {
    }

    QString Name;

    bool IsNull() const { return m_value.isNull() || !m_value.isValid(); }
    QVariant Value() const { return m_value; }
    // The value itself, uncopied: for the statement that binds it.
    const QVariant &ValueRef() const { return m_value; }
    QString AsString() const { return ValueConv::toText(m_value); }
    int AsInteger() const { return ValueConv::toInt(m_value); }
    qint64 AsInt64() const { return ValueConv::toInt64(m_value); }
    double AsFloat() const { return ValueConv::toFloat(m_value); }
    QDateTime AsDateTime() const { return ValueConv::toDateTime(m_value); }
    QDate AsDate() const { return AsDateTime().date(); }
    QByteArray AsBytes() const { return ValueConv::toBytes(m_value); }

    void Clear() { m_value = QVariant(); }
    void setValue(const QVariant &v) { m_value = v; }
    void setValue(QVariant &&v) { m_value = std::move(v); }
    // Hands the value over, leaving NULL: for a reader that keeps each row.
    QVariant takeValue() { return std::move(m_value); }
    void setAsString(const QString &s) { m_value = s; }
    void setAsInteger(int i) { m_value = i; }
    void setAsInt64(qint64 i) { m_value = i; }
    void setAsFloat(double d) { m_value = d; }
    void setAsDate(const QDate &d) { m_value = d; }
    void setAsDateTime(const QDateTime &dt) { m_value = dt; }
    void setAsBytes(const QByteArray &b) { m_value = b; }

private:
    QVariant m_value;
};
