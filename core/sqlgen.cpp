#include "sqlgen.h"

#include "ibquery.h"

namespace {

// "," after every element but the last.
QStringList withCommas(const QStringList &items)
{
    QStringList out;
    for (int i = 0; i < items.size(); ++i)
        out << (i + 1 < items.size() ? items[i] + QLatin1Char(',') : items[i]);
    return out;
}

} // namespace

QStringList modifyStatement(const QString &nomeTabella, const QStringList &columns)
{
    QStringList assignments;
    for (const QString &c : columns)
        assignments << c + QStringLiteral("=:") + c;
    return QStringList{QStringLiteral("UPDATE \"") + nomeTabella + QLatin1Char('"'),
                       QStringLiteral("SET")} +
           withCommas(assignments);
}

QStringList insertStatement(const QString &nomeTabella, const QStringList &columns)
{
    QStringList values;
    for (const QString &c : columns)
        values << QLatin1Char(':') + c;
    return QStringList{QStringLiteral("INSERT INTO \"") + nomeTabella + QLatin1Char('"'),
                       QStringLiteral("(")} +
           withCommas(columns) +
           QStringList{QStringLiteral(")"), QStringLiteral("VALUES"), QStringLiteral("(")} +
           withCommas(values) + QStringList{QStringLiteral(")")};
}

void GeneraSQLAggiornamento(TIBQuery *query, const QString &nomeTabella, const QString &tipo,
                            TIBUpdateSQL *updateSQL)
{
    // Preparing the statement tells its columns; no row needs to be read.
    TIBSQL scratch;
    scratch.setDatabase(query->Database());
    scratch.setTransaction(query->Transaction());
    scratch.SQL = query->SQL;
    if (scratch.Transaction())
        scratch.Transaction()->ensureStarted();
    scratch.Prepare();
    QStringList columns;
    for (int i = 0; i < scratch.FieldCount(); ++i)
        columns << scratch.Fields(i).Name;

    const QString kind = tipo.toUpper();
    if (kind == QLatin1String("UPDATE"))
        updateSQL->ModifySQL = modifyStatement(nomeTabella, columns);
    else if (kind == QLatin1String("INSERT"))
        updateSQL->InsertSQL = insertStatement(nomeTabella, columns);
}

QString DataSQL(const QDate &data)
{
    // Built by hand: a locale's date separator must never reach the statement.
    return QStringLiteral("'%1/%2/%3'")
        .arg(data.month(), 2, 10, QLatin1Char('0'))
        .arg(data.day(), 2, 10, QLatin1Char('0'))
        .arg(data.year(), 4, 10, QLatin1Char('0'));
}

QString DataSQL(const QDateTime &data)
{
    return DataSQL(data.date());
}
