#pragma once

#include <QStringList>

class EIBError;
class TIBDatabase;
struct DbOpening;

// Why an attempt failed, as the user is told: the database's own message, or
// that another program holds the file.
QString causeOf(const EIBError &e);

// The creation of a new local database all or nothing (see DbOpening): the
// database's name is the final one, which does not open; the connection
// lines are kept in it afterwards. True when the finished file is open under
// its name.
bool createAllOrNothing(TIBDatabase *database, const QStringList &connectLines,
                        const QStringList &createLines, DbOpening &opening);
