#include "pravlintext.h"

ECheckParametri::ECheckParametri(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

namespace Pravlin {

namespace {

// Lines split at CR, LF or CR LF; a final line end adds no empty line.
QStringList RigheTesto(const QString &testo)
{
    QStringList righe;
    int inizio = 0;
    const int n = testo.size();
    while (inizio < n) {
        int fine = inizio;
        while (fine < n && testo.at(fine) != QLatin1Char('\r') &&
               testo.at(fine) != QLatin1Char('\n'))
            ++fine;
        righe.append(testo.mid(inizio, fine - inizio));
        if (fine < n && testo.at(fine++) == QLatin1Char('\r') && fine < n &&
            testo.at(fine) == QLatin1Char('\n'))
            ++fine;
        inizio = fine;
    }
    return righe;
}

} // namespace

QString IntestazioneDitta(const QString &ditta, bool inattiva)
{
    return QLatin1Char('[') + ditta + (inattiva ? MarcaInattiva : QString()) + QLatin1Char(']');
}

QVector<TPravlin> DividiPravlin(const QString &testo)
{
    QVector<TPravlin> voci;
    QString intestazione;
    int inizio = 0;
    while (inizio < testo.size()) {
        int fine = testo.indexOf(QLatin1Char('\n'), inizio);
        fine = fine < 0 ? testo.size() : fine + 1;
        QString riga = testo.mid(inizio, fine - inizio);
        inizio = fine;
        // A stray CR inside a line goes too, not only the one before the LF.
        riga.remove(QLatin1Char('\n'));
        riga.remove(QLatin1Char('\r'));

        QString parametro;
        QString valore;
        if (riga.startsWith(QLatin1Char('['))) {
            // The last character goes whatever it is: "[X] " keeps its bracket.
            intestazione = riga.size() >= 2 ? riga.mid(1, riga.size() - 2) : QString();
        } else if (riga.isEmpty()) {
            intestazione.clear();
        } else {
            const int uguale = riga.indexOf(QLatin1Char('='));
            if (uguale >= 0) {
                parametro = riga.left(uguale);
                valore = riga.mid(uguale + 1);
            }
        }
        if (!intestazione.isEmpty() && !parametro.isEmpty())
            voci.append({intestazione, parametro, valore});
    }
    return voci;
}

bool DittaPresente(const QString &testo, const QString &ditta)
{
    return testo.contains(IntestazioneDitta(ditta), Qt::CaseSensitive);
}

void CheckParametri(const QString &testo)
{
    QString ditta;
    for (const QString &riga : RigheTesto(testo)) {
        if (riga.contains(QLatin1Char('['))) {
            ditta = riga;
            ditta.remove(QLatin1Char('['));
            ditta.remove(QLatin1Char(']'));
        }
        if (riga.contains(QLatin1String("Directory bin=")) && !riga.endsWith(QLatin1Char('\\')))
            throw ECheckParametri(
                QStringLiteral("Ditta \"%1\", parametrizzazione \"%2\": il percorso deve "
                               "terminare con \"\\\"")
                    .arg(ditta, riga));
    }
}

} // namespace Pravlin
