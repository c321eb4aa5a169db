#include "editorsql.h"

#include <limits>

namespace EditorSQL {

namespace {

QString equalsParam(const QString &field)
{
    return field + QStringLiteral("=:") + field;
}

} // namespace

QStringList selectAll(const QString &table, const QStringList &keyFields,
                      const QStringList &parentFields)
{
    const QString order = QStringLiteral("ORDER BY ") + keyFields.join(QLatin1Char(','));
    QString select = QStringLiteral("SELECT * FROM ") + table;
    if (parentFields.isEmpty())
        return {select + QLatin1Char(' ') + order};
    QStringList conditions;
    for (const QString &p : parentFields)
        conditions << equalsParam(p);
    return {select + QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND ")), order};
}

QStringList keyCondition(const QStringList &keyFields, const QString &prefix)
{
    QStringList lines;
    for (int i = 0; i < keyFields.size(); ++i) {
        const QString &k = keyFields[i];
        QString line = (i == 0 ? QStringLiteral("WHERE (") : QStringLiteral("(")) + k +
                       QStringLiteral("=:") + prefix + k;
        line += i + 1 < keyFields.size() ? QStringLiteral(")AND") : QStringLiteral(")");
        lines << line;
    }
    return lines;
}

QStringList deleteStatement(const QString &table, const QStringList &keyFields)
{
    return QStringList{QStringLiteral("DELETE FROM \"") + table + QLatin1Char('"')} +
           keyCondition(keyFields, QString());
}

QStringList maxCode(const QString &table, const QString &codeField, const QStringList &parentFields)
{
    QString line = QStringLiteral("SELECT MAX(") + codeField + QStringLiteral(") FROM ") + table;
    if (!parentFields.isEmpty()) {
        QStringList conditions;
        for (const QString &p : parentFields)
            conditions << equalsParam(p);
        line += QStringLiteral(" WHERE ") + conditions.join(QStringLiteral(" AND "));
    }
    return {line};
}

QStringList keyExists(const QString &table, const QStringList &keyFields)
{
    QStringList conditions;
    for (const QString &k : keyFields)
        conditions << QLatin1Char('(') + equalsParam(k) + QLatin1Char(')');
    return {QStringLiteral("SELECT * FROM ") + table + QStringLiteral(" WHERE"),
            conditions.join(QStringLiteral("AND"))};
}

qint64 minCode(TFieldType keyType)
{
    switch (keyType) {
    case ftInteger:
        return std::numeric_limits<qint32>::min();
    case ftLargeint:
        return std::numeric_limits<qint64>::min();
    default:
        return std::numeric_limits<qint16>::min();
    }
}

qint64 maxCodeValue(TFieldType keyType)
{
    switch (keyType) {
    case ftInteger:
        return std::numeric_limits<qint32>::max();
    case ftLargeint:
        return std::numeric_limits<qint64>::max();
    default:
        return std::numeric_limits<qint16>::max();
    }
}

std::optional<qint64> parseCode(const QString &text, TFieldType keyType)
{
    const QString t = text.trimmed();
    // Digits with an optional sign only: no blanks inside, no "1e3", no "0x10".
    for (int i = 0; i < t.size(); ++i) {
        const QChar c = t[i];
        const bool sign = i == 0 && (c == QLatin1Char('-') || c == QLatin1Char('+'));
        if (!sign && !(c >= QLatin1Char('0') && c <= QLatin1Char('9')))
            return std::nullopt;
    }
    bool ok = false;
    const qint64 value = t.toLongLong(&ok);
    if (!ok || value < minCode(keyType) || value > maxCodeValue(keyType))
        return std::nullopt;
    return value;
}

} // namespace EditorSQL
