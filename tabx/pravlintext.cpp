#include "pravlintext.h"

#include "messages.h"

#include <QSet>

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

// One line of the text as the row copy reads it: a header opens its section,
// an empty line closes it, and a parameter line gives its name and value.
struct RigaCopia
{
    bool intestazione = false;
    QString parametro;
    QString valore;
};

// Reads the line starting at `inizio` and moves past it; false at the end.
bool ProssimaRiga(const QString &testo, int &inizio, QString &intestazione, RigaCopia &out)
{
    if (inizio >= testo.size())
        return false;
    int fine = testo.indexOf(QLatin1Char('\n'), inizio);
    fine = fine < 0 ? testo.size() : fine + 1;
    QString riga = testo.mid(inizio, fine - inizio);
    inizio = fine;
    // A stray CR inside a line goes too, not only the one before the LF.
    riga.remove(QLatin1Char('\n'));
    riga.remove(QLatin1Char('\r'));

    out = RigaCopia();
    if (riga.startsWith(QLatin1Char('['))) {
        // The last character goes whatever it is: "[X] " keeps its bracket.
        intestazione = riga.size() >= 2 ? riga.mid(1, riga.size() - 2) : QString();
        out.intestazione = true;
    } else if (riga.isEmpty()) {
        intestazione.clear();
    } else {
        const int uguale = riga.indexOf(QLatin1Char('='));
        if (uguale >= 0) {
            out.parametro = riga.left(uguale);
            out.valore = riga.mid(uguale + 1);
        }
    }
    return true;
}

} // namespace

QString SenzaBlankFinali(const QString &testo)
{
    int n = testo.size();
    while (n > 0 && testo.at(n - 1) == QLatin1Char(' '))
        --n;
    return testo.left(n);
}

QString IntestazioneDitta(const QString &ditta, bool inattiva)
{
    return QLatin1Char('[') + ditta + (inattiva ? MarcaInattiva : QString()) + QLatin1Char(']');
}

QVector<TPravlin> DividiPravlin(const QString &testo)
{
    QVector<TPravlin> voci;
    QString intestazione;
    RigaCopia riga;
    for (int inizio = 0; ProssimaRiga(testo, inizio, intestazione, riga);)
        if (!intestazione.isEmpty() && !riga.parametro.isEmpty())
            voci.append({intestazione, riga.parametro, riga.valore});
    return voci;
}

QString AnomaliaTabPravlin(const QString &testo)
{
    // The key ignores trailing blanks, as the database compares them.
    const auto chiave = [](const QString &ditta, const QString &parametro) {
        return Pravlin::SenzaBlankFinali(ditta) + QLatin1Char('\n') +
               Pravlin::SenzaBlankFinali(parametro);
    };
    const auto messaggio = [](const QString &ditta, const QString &parametro,
                              const QString &motivo) {
        return QStringLiteral("Ditta \"%1\", parametrizzazione \"%2\": %3")
            .arg(ditta, parametro, motivo);
    };

    QSet<QString> chiavi;
    bool aperta = false; // a header was read and no other since
    QString ditta;
    bool conRighe = false;
    QString persa; // the first parameter line of the open section the copy drops
    // A section is refused once it is over and nothing of it was stored.
    const auto chiudi = [&]() -> QString {
        if (!aperta || conRighe)
            return QString();
        if (persa.isNull())
            return QStringLiteral("Ditta \"%1\": ditta senza parametri").arg(ditta);
        return messaggio(ditta, persa, QStringLiteral("parametro fuori dalla ditta"));
    };

    QString intestazione;
    RigaCopia riga;
    for (int inizio = 0; ProssimaRiga(testo, inizio, intestazione, riga);) {
        if (riga.intestazione) {
            const QString anomalia = chiudi();
            if (!anomalia.isEmpty())
                return anomalia;
            aperta = true;
            ditta = intestazione;
            conRighe = false;
            persa = QString();
            continue;
        }
        if (riga.parametro.isEmpty())
            continue;
        if (intestazione.isEmpty()) {
            if (aperta && persa.isNull())
                persa = riga.parametro;
            continue;
        }
        conRighe = true;
        if (intestazione.size() > LunghezzaIntestazione)
            return messaggio(ditta, riga.parametro,
                             QStringLiteral("il nome della ditta supera i %1 caratteri")
                                 .arg(LunghezzaIntestazione));
        if (riga.parametro.size() > LunghezzaParametro)
            return messaggio(ditta, riga.parametro,
                             QStringLiteral("il nome del parametro supera i %1 caratteri")
                                 .arg(LunghezzaParametro));
        if (riga.valore.size() > LunghezzaValore)
            return messaggio(
                ditta, riga.parametro,
                QStringLiteral("il valore supera i %1 caratteri").arg(LunghezzaValore));
        const QString k = chiave(intestazione, riga.parametro);
        if (chiavi.contains(k))
            return messaggio(ditta, riga.parametro, QStringLiteral("parametro ripetuto"));
        chiavi.insert(k);
    }
    return chiudi();
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

bool VerificaPravlin(const QString &testo, const QString &ditta)
{
    if (!DittaPresente(testo, ditta)) {
        Messages::warning(MsgDittaMancante);
        return false;
    }
    try {
        CheckParametri(testo);
    } catch (const ECheckParametri &e) {
        Messages::warning(e.message());
        return false;
    }
    // What the rows cannot hold would fail the save after the user's record
    // was written, or be lost at the next opening.
    const QString anomalia = AnomaliaTabPravlin(testo);
    if (!anomalia.isEmpty()) {
        Messages::warning(anomalia);
        return false;
    }
    return true;
}

} // namespace Pravlin
