#pragma once

#include <QString>
#include <QStringList>

// Named parameters (":NAME") in a statement text, turned into the positional
// markers the client understands. Quoted literals, double-quoted identifiers
// and comments are copied untouched.
struct ParsedSql
{
    QString text;      // the statement with every ":NAME" replaced by "?"
    QStringList names; // upper-case name of each "?", in order (repeats allowed)
};

ParsedSql parseSqlParams(const QString &sql);
