#pragma once

#include <QString>
#include <QVector>

// One parameter of a user's parameter store: the heading (company) it stands
// under, its name and its value, as three texts. The same record serves the
// parameter text (UTENTI.PRAVLIN) and its row copy (TABPRAVLIN).
struct TPravlin
{
    QString Intestazione;
    QString Parametro;
    QString Valore;

    bool operator==(const TPravlin &o) const
    {
        return Intestazione == o.Intestazione && Parametro == o.Parametro && Valore == o.Valore;
    }
};

namespace Pravlin {

// A value as the row copy stores it: apostrophes become acute accents.
QString ValoreTabella(const QString &valore);

// The parameter text of a user's rows, taken in the order given (the
// database's order: heading, then PROGRESSIVO). A header line "[heading]"
// opens each change of heading; a row whose heading is empty is written
// without one while no heading has been seen, and left out after one; every
// row gives a line "name=value" (an empty line for an empty name); every line
// ends with a single LF. No rows give the empty text. The rows are never
// reordered here.
QString ComponiPravlin(const QVector<TPravlin> &righe);

} // namespace Pravlin
