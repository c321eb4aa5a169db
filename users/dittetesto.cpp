#include "dittetesto.h"

#include "pravlintext.h"

namespace DitteTesto {

TListeDitte DividiDitte(const QStringList &intestazioni)
{
    TListeDitte liste;
    for (const QString &nome : intestazioni) {
        if (nome.contains(Pravlin::MarcaInattiva))
            liste.Disattive.append(QString(nome).remove(Pravlin::MarcaInattiva));
        else
            liste.Attive.append(nome);
    }
    return liste;
}

QString SegnaInattive(const QString &testo, const QStringList &disattive)
{
    QString risultato;
    risultato.reserve(testo.size() + disattive.size() * Pravlin::MarcaInattiva.size());
    int inizio = 0;
    while (inizio < testo.size()) {
        int fine = testo.indexOf(QLatin1Char('\n'), inizio);
        fine = fine < 0 ? testo.size() : fine + 1;
        QString riga = testo.mid(inizio, fine - inizio);
        inizio = fine;
        if (riga.startsWith(QLatin1Char('['))) {
            // Values may hold brackets or the marker: only headers change.
            riga.remove(Pravlin::MarcaInattiva);
            for (const QString &ditta : disattive)
                riga.replace(Pravlin::IntestazioneDitta(ditta),
                             Pravlin::IntestazioneDitta(ditta, true));
        }
        risultato += riga;
    }
    return risultato;
}

QString AccodaDitta(const QString &testo, const QString &ditta, const QStringList &righeOpzioni)
{
    const QString fineRiga = QStringLiteral("\r\n");
    QString risultato = testo;
    if (!risultato.isEmpty() && !risultato.endsWith(QLatin1Char('\n')) &&
        !risultato.endsWith(QLatin1Char('\r')))
        risultato += fineRiga;
    risultato += fineRiga + Pravlin::IntestazioneDitta(ditta);
    for (const QString &riga : righeOpzioni)
        risultato += fineRiga + riga;
    return risultato;
}

} // namespace DitteTesto
