#pragma once

#include "ibsql.h"
#include "pravlin.h"

#include <QString>

class TIBDatabase;
class TIBTransaction;

// The one insert of a TABPRAVLIN row, shared by the row copy of a whole text
// and by the store of a single parameter. Every value is bound, so headings
// and names go in exactly as typed, apostrophes included; the value follows
// the rows' convention (apostrophes as "´", an empty value as NULL). The
// statement is prepared once and run for each row; nothing is committed here.
class TPravlinInsert
{
public:
    TPravlinInsert(TIBDatabase *db, TIBTransaction *tr);

    // Raises the database layer's error (a duplicate name in a heading, a
    // text longer than its column).
    void Esegui(const QString &utente, const TPravlin &voce, int progressivo);

private:
    TIBSQL m_sql;
};
