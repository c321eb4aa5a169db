#pragma once

#include "dberrortext.h"

#include <QString>
#include <QVariant>
#include <QVariantMap>

class TIBQuery;
class TIBSQL;

// The copy of a program with its menu entries, as the programs editor's
// "Duplica" makes it. Every value is bound, so apostrophes, line breaks and
// blobs of any size travel as they are; the texts stored follow the
// suite's rules for a duplicated program.
namespace Duplicazione {

// A text whose apostrophes become "´" (byte 0xB4 in a binary blob); NULL
// for an empty value.
QVariant ConAccento(const QVariant &value);
// The value as it is; NULL for an empty one.
QVariant OVuoto(const QVariant &value);

// The columns of DETTMENU a copy writes, in the statement's order.
const QStringList &ColonneVoce();
// The values of the copy of one source entry (column name to value) under
// the new program's code; PARAMETRIBLOB keeps its apostrophes.
QVariantMap CopiaVoce(const QVariantMap &sorgente, const QVariant &nuovoProgramma);

enum class Esito { Riuscita, ProgrammaNonInserito, VociNonInserite };

struct TProgrammaCopia
{
    QVariant Codice; // the new code
    QString Nome, Descrizione, Icona;
};

// Inserts the program row, then a copy of each entry of the source program,
// on the statements' transaction and under a savepoint taken first: when a
// statement fails, everything the duplication wrote is undone and the
// transaction holds what it held before, so a later save cannot commit half
// a copy. Nothing is committed here. `errore`, when given, receives the
// failure that stopped it.
Esito Duplica(TIBSQL &queryAux, TIBQuery &queryAux2, const QVariant &sorgente,
              const TProgrammaCopia &copia, DbErrorText::Failure *errore = nullptr);

} // namespace Duplicazione
