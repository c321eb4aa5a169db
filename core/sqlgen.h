#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

class TIBQuery;
class TIBUpdateSQL;

// Fills the update object's modify (Tipo "UPDATE") or insert (Tipo "INSERT")
// statement from the columns Query's statement returns. The key condition and
// the delete statement are each editor's own.
void GeneraSQLAggiornamento(TIBQuery *query, const QString &nomeTabella, const QString &tipo,
                            TIBUpdateSQL *updateSQL);

// The same statements from a list of column names (no database needed).
QStringList modifyStatement(const QString &nomeTabella, const QStringList &columns);
QStringList insertStatement(const QString &nomeTabella, const QStringList &columns);

// A date as an SQL literal: 'mm/dd/yyyy', whatever the locale.
QString DataSQL(const QDateTime &data);
QString DataSQL(const QDate &data);
