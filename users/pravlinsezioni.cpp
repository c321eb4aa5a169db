#include "pravlinsezioni.h"

namespace Pravlin {

namespace {

// The start of the line after the one starting at `pos`.
int rigaSeguente(const QString &testo, int pos)
{
    const int lf = testo.indexOf(QLatin1Char('\n'), pos);
    return lf < 0 ? testo.size() : lf + 1;
}

} // namespace

TSezioneDitta TrovaSezioneDitta(const QString &testo, const QString &ditta)
{
    const QString intestazione = QLatin1Char('[') + ditta + QLatin1Char(']');
    TSezioneDitta s;
    for (int pos = 0; pos < testo.size(); pos = rigaSeguente(testo, pos)) {
        QStringView riga = QStringView(testo).mid(pos, rigaSeguente(testo, pos) - pos);
        if (riga.endsWith(QLatin1Char('\n')))
            riga.chop(1);
        if (riga.endsWith(QLatin1Char('\r')))
            riga.chop(1);
        if (riga != intestazione)
            continue;
        // A bracket inside a value does not end the section: only a line that
        // starts with one does.
        int fine = rigaSeguente(testo, pos);
        while (fine < testo.size() && testo.at(fine) != QLatin1Char('['))
            fine = rigaSeguente(testo, fine);
        s.Inizio = pos;
        s.Lunghezza = fine - pos;
        return s;
    }
    return s;
}

QString FineRigaDi(const QString &testo)
{
    return testo.contains(QLatin1String("\r\n")) ? QStringLiteral("\r\n") : QStringLiteral("\n");
}

QString SostituisciSezioneDitta(const QString &testo, const QString &ditta, const QString &sezione)
{
    const QString fineRiga = FineRigaDi(testo);
    QString nuova = sezione;
    if (!nuova.isEmpty() && !nuova.endsWith(QLatin1Char('\n')))
        nuova += fineRiga;
    const TSezioneDitta s = TrovaSezioneDitta(testo, ditta);
    if (s.Trovata())
        return testo.left(s.Inizio) + nuova + testo.mid(s.Inizio + s.Lunghezza);
    QString risultato = testo;
    if (!risultato.isEmpty() && !risultato.endsWith(QLatin1Char('\n')))
        risultato += fineRiga;
    return risultato + nuova;
}

} // namespace Pravlin
