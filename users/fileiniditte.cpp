#include "fileiniditte.h"

#include "win1252.h"

#include <QStringDecoder>

namespace FileIniDitte {

namespace {

const QString kApreNota = QStringLiteral("<NOTE>");
const QString kChiudeNota = QStringLiteral("</NOTE>");

bool soloAscii(const QByteArray &bytes)
{
    for (const char c : bytes)
        if (static_cast<unsigned char>(c) > 127)
            return false;
    return true;
}

// A last line without an end counts too.
QStringList dividiRighe(const QString &testo)
{
    QStringList righe;
    int inizio = 0;
    const int n = testo.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = testo.at(i);
        if (c != QLatin1Char('\r') && c != QLatin1Char('\n'))
            continue;
        righe.append(testo.mid(inizio, i - inizio));
        if (c == QLatin1Char('\r') && i + 1 < n && testo.at(i + 1) == QLatin1Char('\n'))
            ++i;
        inizio = i + 1;
    }
    if (inizio < n)
        righe.append(testo.mid(inizio));
    return righe;
}

} // namespace

QString Testo(const QByteArray &bytes)
{
    if (!soloAscii(bytes)) {
        // The decoder drops a leading byte-order mark by itself.
        QStringDecoder utf8(QStringConverter::Utf8);
        const QString testo = utf8.decode(bytes);
        if (!utf8.hasError())
            return testo;
    }
    return Win1252::decode(bytes);
}

void DividiNota(const QString &testo, QString &valore, QString &note)
{
    const int apre = testo.indexOf(kApreNota, 0, Qt::CaseInsensitive);
    if (apre < 0) {
        valore = testo;
        note.clear();
        return;
    }
    valore = testo.left(apre);
    if (valore.endsWith(QLatin1Char(' ')))
        valore.chop(1);
    const int da = apre + kApreNota.size();
    const int chiude = testo.indexOf(kChiudeNota, da, Qt::CaseInsensitive);
    note = chiude < 0 ? testo.mid(da) : testo.mid(da, chiude - da);
}

TContenuto Leggi(const QByteArray &bytes)
{
    TContenuto contenuto;
    QString ditta;
    bool aperta = false;
    for (const QString &riga : dividiRighe(Testo(bytes))) {
        const int apre = riga.indexOf(QLatin1Char('['));
        const int chiude = apre < 0 ? -1 : riga.indexOf(QLatin1Char(']'), apre + 1);
        if (chiude >= 0) {
            // A company without a name could not be stored: its options
            // belong to no company.
            ditta = riga.mid(apre + 1, chiude - apre - 1).left(LunghezzaDitta);
            aperta = !ditta.isEmpty();
            if (aperta)
                contenuto.Ditte.append(ditta);
            continue;
        }
        const int uguale = riga.indexOf(QLatin1Char('='));
        if (!aperta || uguale <= 0)
            continue;
        TOpzione o;
        o.Numero = contenuto.Opzioni.size() + 1;
        o.Ditta = ditta;
        o.Opzione = riga.left(uguale).left(LunghezzaOpzione);
        DividiNota(riga.mid(uguale + 1), o.Valore, o.Note);
        o.Valore.truncate(LunghezzaValore);
        o.Note.truncate(LunghezzaNote);
        contenuto.Opzioni.append(o);
    }
    return contenuto;
}

} // namespace FileIniDitte
