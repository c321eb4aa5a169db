#include "pravlin.h"

namespace Pravlin {

QString ValoreTabella(const QString &valore)
{
    QString v = valore;
    v.replace(QLatin1Char('\''), QChar(0x00B4));
    return v;
}

QString ComponiPravlin(const QVector<TPravlin> &righe)
{
    QString testo;
    QString corrente;
    for (const TPravlin &riga : righe) {
        QString pezzo;
        if (riga.Intestazione != corrente) {
            // Once a heading has been written, a row without one has nowhere
            // to go.
            if (riga.Intestazione.isEmpty())
                continue;
            pezzo = QLatin1Char('[') + riga.Intestazione + QStringLiteral("]\n");
            corrente = riga.Intestazione;
        }
        if (!riga.Parametro.isEmpty())
            pezzo += riga.Parametro + QLatin1Char('=') + riga.Valore;
        testo += pezzo;
        testo += QLatin1Char('\n');
    }
    return testo;
}

} // namespace Pravlin
