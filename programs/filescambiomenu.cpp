#include "filescambiomenu.h"

#include "codalotti.h"
#include "dettmenu.h"
#include "lineetesto.h"
#include "valueconv.h"
#include "win1252.h"

#include <QBuffer>
#include <QFileDevice>
#include <QFileInfo>
#include <QSaveFile>
#include <cerrno>
#include <exception>
#include <thread>

namespace FileScambioMenu {
namespace {

const QChar kSep = QLatin1Char('#');
const QString kIntestazione = QStringLiteral("PROGETTO#");

enum class Genere { Libero, Testo, Numero };

// What a field holds and how a data line is checked on reading. Lengths are
// the columns' own, so a checked value always fits the import's tables.
struct Colonna
{
    QString intestazione; // as the header names it
    QString colonna;      // table and column, for the messages
    Genere genere;
    int lunghezza; // Testo: the column's size; 0 for blobs
    bool obbligatorio;
};

// The program's fields, then DETTMENU's columns as the table has them. The
// entry's PROGRAMMA is not read: the import puts the program's code there.
static_assert(Programma + DettMenu::NumeroColonne == NumeroCampi, "one field a column");

const std::array<Colonna, NumeroCampi> kColonne = [] {
    std::array<Colonna, NumeroCampi> c = {{
        {QStringLiteral("PROGETTO"), QStringLiteral("PROGETTI.NOME"), Genere::Libero, 0, false},
        {QStringLiteral("CODICE"), QStringLiteral("PROGRAMMI.CODICE"), Genere::Libero, 0, false},
        {QStringLiteral("NOME"), QStringLiteral("PROGRAMMI.NOME"), Genere::Testo, 15, true},
        {QStringLiteral("DESCRIZIONE"), QStringLiteral("PROGRAMMI.DESCRIZIONE"), Genere::Testo, 64,
         false},
        {QStringLiteral("ICONA"), QStringLiteral("PROGRAMMI.ICONA"), Genere::Testo, 64, false},
    }};
    for (int i = 0; i < DettMenu::NumeroColonne; ++i) {
        const DettMenu::TColonna &d = DettMenu::Colonne()[i];
        const int campo = Programma + i;
        const QString nome = QLatin1String(d.Nome);
        Genere genere = d.Tipo == DettMenu::TTipo::Intero ? Genere::Numero : Genere::Testo;
        if (campo == Programma)
            genere = Genere::Libero;
        c[campo] = {nome, QStringLiteral("DETTMENU.") + nome, genere, d.Lunghezza, campo == Menu};
    }
    return c;
}();

bool colonnaDiMenu(int campo)
{
    return campo >= Programma;
}

QString senzaACapo(QString s)
{
    s.remove(QLatin1Char('\r'));
    s.remove(QLatin1Char('\n'));
    return s;
}

QString conSequenze(QString s)
{
    s.replace(QLatin1Char('\r'), QLatin1String("\\r"));
    s.replace(QLatin1Char('\n'), QLatin1String("\\n"));
    return s;
}

// The inverse of conSequenze for every value the writer accepts: it refuses
// a PARAMETRIBLOB that already holds "\r" or "\n", so each one in the file
// stands for a line break.
// One walk does what replacing every "\r" and then every "\n" would: a
// backslash taken by an "r" can never start an "\n".
QString senzaSequenze(const QString &s)
{
    if (!s.contains(QLatin1Char('\\')))
        return s;
    QString out(s.size(), Qt::Uninitialized);
    const QChar *src = s.constData();
    QChar *dst = out.data();
    qsizetype n = 0;
    for (qsizetype i = 0; i < s.size(); ++i) {
        if (src[i] == QLatin1Char('\\') && i + 1 < s.size()) {
            if (src[i + 1] == QLatin1Char('r')) {
                dst[n++] = QLatin1Char('\r');
                ++i;
                continue;
            }
            if (src[i + 1] == QLatin1Char('n')) {
                dst[n++] = QLatin1Char('\n');
                ++i;
                continue;
            }
        }
        dst[n++] = src[i];
    }
    out.truncate(n);
    return out;
}

QString rifiutoRiga(const TRigaScambio &riga)
{
    for (int campo = 0; campo < NumeroCampi; ++campo) {
        const QString &valore = riga[campo];
        QString carattere;
        if (valore.contains(kSep))
            carattere = QStringLiteral("\"#\"");
        else if (campo == ParametriBlob && valore.contains(QLatin1String("\\r")))
            carattere = QStringLiteral("\"\\r\"");
        else if (campo == ParametriBlob && valore.contains(QLatin1String("\\n")))
            carattere = QStringLiteral("\"\\n\"");
        if (carattere.isEmpty())
            continue;
        QString testo = QStringLiteral("Impossibile esportare il programma ") + riga[Nome] +
                        QStringLiteral(": ") + kColonne[campo].colonna;
        if (colonnaDiMenu(campo))
            testo += QStringLiteral(" della voce di menu ") + riga[Menu];
        return testo + QStringLiteral(" contiene ") + carattere +
               QStringLiteral(", che il file di scambio non può riportare");
    }
    return QString();
}

// The first character of the text that the database's code page has not,
// empty when there is none. Only a UTF-8 file can bring one.
QString fuoriCodifica(const QString &testo)
{
    for (int i = 0; i < testo.size(); ++i) {
        const int n = testo[i].isHighSurrogate() && i + 1 < testo.size() ? 2 : 1;
        const QString carattere = testo.mid(i, n);
        if (!Win1252::canEncode(carattere))
            return carattere;
        i += n - 1;
    }
    return QString();
}

// Why a data line cannot be read, empty when it can.
QString erroreRiga(const TRigaScambio &riga, bool utf8)
{
    for (int campo = 0; campo < NumeroCampi; ++campo) {
        const Colonna &c = kColonne[campo];
        const QString &valore = riga[campo];
        switch (c.genere) {
        case Genere::Libero:
            break;
        case Genere::Testo:
            if (c.obbligatorio && valore.isEmpty())
                return QStringLiteral("%1 (campo %2) è vuoto").arg(c.colonna).arg(campo + 1);
            if (c.lunghezza > 0 && valore.size() > c.lunghezza)
                return QStringLiteral("%1 (campo %2) supera i %3 caratteri")
                    .arg(c.colonna)
                    .arg(campo + 1)
                    .arg(c.lunghezza);
            if (utf8) {
                const QString carattere = fuoriCodifica(valore);
                if (!carattere.isEmpty())
                    return QStringLiteral("%1 (campo %2) contiene il carattere \"%3\", che "
                                          "l'archivio non può registrare")
                        .arg(c.colonna)
                        .arg(campo + 1)
                        .arg(carattere);
            }
            break;
        case Genere::Numero: {
            int n;
            if ((c.obbligatorio || !valore.isEmpty()) && !LeggiIntero(valore, &n))
                return QStringLiteral("'%1' is not a valid integer value for field '%2'")
                    .arg(valore, c.intestazione);
            break;
        }
        }
    }
    return QString();
}

// Splits one line into its fields; false when it has fewer than 17 "#", or
// a "#" in the last field, which the export refuses to write (*separatori
// then counts them all). A field equal to the same field of `precedente`
// shares its text: a program's fields, and the library and function of its
// entries, repeat from line to line.
bool dividiRiga(const QString &linea, const TRigaScambio &precedente, TRigaScambio &riga,
                int *separatori)
{
    int inizio = 0;
    for (int campo = 0; campo < ParametriBlob; ++campo) {
        const int fine = linea.indexOf(kSep, inizio);
        if (fine < 0) {
            *separatori = campo;
            return false;
        }
        const QStringView valore = QStringView(linea).mid(inizio, fine - inizio);
        riga[campo] = !valore.isEmpty() && valore == precedente[campo] ? precedente[campo]
                                                                       : valore.toString();
        inizio = fine + 1;
    }
    QString resto = linea.mid(inizio);
    if (resto.endsWith(kSep))
        resto.chop(1);
    if (resto.contains(kSep)) {
        *separatori = ParametriBlob + 1 + int(resto.count(kSep));
        return false;
    }
    riga[ParametriBlob] = senzaSequenze(resto);
    return true;
}

QString errore(int numeroRiga, const QString &motivo)
{
    return QStringLiteral("File non valido alla riga ") + QString::number(numeroRiga) +
           QStringLiteral(":\r") + motivo;
}

} // namespace

bool LeggiIntero(const QString &testo, int *valore)
{
    const QString s = testo.trimmed();
    int i = 0;
    if (i < s.size() && (s[i] == QLatin1Char('-') || s[i] == QLatin1Char('+')))
        ++i;
    if (i == s.size())
        return false;
    qint64 n = 0;
    for (; i < s.size(); ++i) {
        const char16_t c = s[i].unicode();
        if (c < u'0' || c > u'9')
            return false;
        n = n * 10 + (c - u'0');
        if (n > 32768)
            return false;
    }
    if (s.startsWith(QLatin1Char('-')))
        n = -n;
    if (n < -32768 || n > 32767)
        return false;
    *valore = int(n);
    return true;
}

QString Intestazione()
{
    QString s;
    for (const Colonna &c : kColonne)
        s += c.intestazione + kSep;
    return s;
}

QString TestoValore(const QVariant &valore)
{
    return ValueConv::toText(valore);
}

QString Rifiuto(const QVector<TRigaScambio> &righe)
{
    for (const TRigaScambio &riga : righe) {
        const QString testo = rifiutoRiga(riga);
        if (!testo.isEmpty())
            return testo;
    }
    return QString();
}

QString RigaDati(const TRigaScambio &riga)
{
    QString s;
    for (int campo = 0; campo < NumeroCampi; ++campo)
        s += (campo == ParametriBlob ? conSequenze(riga[campo]) : senzaACapo(riga[campo])) + kSep;
    return s;
}

TFileComposto ComponiFile(const QVector<TRigaScambio> &righe)
{
    TFileComposto file;
    file.Rifiuto = Rifiuto(righe);
    if (!file.ok())
        return file;
    const QString fineRiga = QStringLiteral("\r\n");
    QString testo = Intestazione() + fineRiga;
    for (const TRigaScambio &riga : righe)
        testo += RigaDati(riga) + fineRiga;
    file.Contenuto = Win1252::encode(testo);
    return file;
}

bool ScriviFile(const QString &nomeFile, const QByteArray &contenuto, QString *errore)
{
    // No direct-write fallback: where the temporary cannot be made, writing
    // straight into the old file would leave it half replaced on a failure.
    QSaveFile file(nomeFile);
    // The file's own error text is empty after a failed write or commit (a
    // full disk says "Errore sconosciuto"): the system's reason is taken
    // at once, before anything else can change errno.
    int motivo = 0;
    bool scritto = file.open(QIODevice::WriteOnly);
    if (scritto) {
        errno = 0;
        scritto = file.write(contenuto) == contenuto.size();
        if (scritto) {
            errno = 0;
            scritto = file.commit();
        }
        if (!scritto)
            motivo = errno;
    }
    if (!scritto && errore)
        *errore = QStringLiteral("Impossibile scrivere il file ") +
                  QFileInfo(nomeFile).absoluteFilePath() + QStringLiteral(":\r") +
                  (motivo != 0 ? qt_error_string(motivo) : file.errorString());
    return scritto;
}

namespace {

// The reading proper: `avanti` takes each checked line and answers false to
// stop the reading early.
QString leggiRighe(QIODevice &file, const std::function<bool(TRigaScambio &&)> &avanti)
{
    TLineeTesto linee(file);
    const bool utf8 = linee.Utf8();
    QString linea;
    int numeroRiga = 0;
    // A line of blanks is an error only when a line with text follows it:
    // editors leave such lines at the end of a file.
    int rigaBianca = 0;
    QString motivoBianca;
    TRigaScambio precedente;
    while (linee.Prossima(linea)) {
        ++numeroRiga;
        QString motivo;
        if (numeroRiga == 1) {
            if (linea.startsWith(QStringLiteral("ï»¿")))
                motivo = QStringLiteral("il file inizia con il segno di UTF-8 ma non è un testo "
                                        "UTF-8 valido");
            else if (!linea.startsWith(kIntestazione))
                motivo = QStringLiteral("la riga di intestazione non inizia con \"PROGETTO#\"");
        } else if (!linea.isEmpty()) {
            TRigaScambio riga;
            int separatori = 0;
            if (!dividiRiga(linea, precedente, riga, &separatori))
                motivo = separatori < ParametriBlob
                             ? QStringLiteral("la riga ha %1 separatori \"#\" invece di almeno 17")
                                   .arg(separatori)
                             : QStringLiteral("DETTMENU.PARAMETRIBLOB (campo 18) contiene \"#\", "
                                              "che il file di scambio non può riportare");
            else
                motivo = erroreRiga(riga, utf8);
            const bool bianca = linea.trimmed().isEmpty();
            if (!bianca && rigaBianca > 0)
                return errore(rigaBianca, motivoBianca);
            if (bianca) {
                if (rigaBianca == 0) {
                    rigaBianca = numeroRiga;
                    motivoBianca = motivo;
                }
                continue;
            }
            if (!motivo.isEmpty())
                return errore(numeroRiga, motivo);
            precedente = riga;
            if (!avanti(std::move(riga)))
                return QString();
        }
        if (!motivo.isEmpty())
            return errore(numeroRiga, motivo);
    }
    if (!linee.ErroreLettura().isEmpty()) {
        const auto *suDisco = qobject_cast<const QFileDevice *>(&file);
        return QStringLiteral("Impossibile leggere il file") +
               (suDisco ? QLatin1Char(' ') + suDisco->fileName() : QString()) +
               QStringLiteral(":\r") + linee.ErroreLettura();
    }
    if (numeroRiga == 0)
        return errore(1, QStringLiteral("la riga di intestazione non inizia con \"PROGETTO#\""));
    return QString();
}

} // namespace

// The file is read and checked on a thread of its own while the caller's
// `destinazione` takes the lines already read, in their order: the two
// halves of the work overlap. A failure of `destinazione` stops the reading
// and goes on to the caller.
QString LeggiFile(QIODevice &file, const Destinazione &destinazione)
{
    TCodaLotti<TRigaScambio> coda;
    QString esito;
    std::exception_ptr guasto;
    std::thread lettore([&] {
        try {
            esito =
                leggiRighe(file, [&coda](TRigaScambio &&r) { return coda.metti(std::move(r)); });
        } catch (...) {
            guasto = std::current_exception();
        }
        coda.chiudi();
    });
    try {
        std::vector<TRigaScambio> lotto;
        while (coda.prendi(lotto)) {
            for (const TRigaScambio &r : lotto)
                destinazione(r);
        }
    } catch (...) {
        coda.ferma();
        lettore.join();
        throw;
    }
    lettore.join();
    if (guasto)
        std::rethrow_exception(guasto);
    return esito;
}

TLettura LeggiFile(const QByteArray &contenuto)
{
    TLettura lettura;
    QBuffer buffer;
    buffer.setData(contenuto);
    buffer.open(QIODevice::ReadOnly);
    lettura.Errore =
        LeggiFile(buffer, [&lettura](const TRigaScambio &riga) { lettura.Righe.append(riga); });
    if (!lettura.ok())
        lettura.Righe.clear();
    return lettura;
}

} // namespace FileScambioMenu
