#include "lineetesto.h"

#include "win1252.h"

#include <QIODevice>

#include <cstring>

namespace {

constexpr qint64 kBlocco = 256 * 1024;
constexpr qsizetype kVerifica = 64 * 1024;
constexpr char kCtrlZ = '\x1A';

bool ascii8(const char *p)
{
    quint64 otto;
    std::memcpy(&otto, p, sizeof otto);
    return (otto & 0x8080808080808080ULL) == 0;
}

// Strict UTF-8 (no overlong forms, no surrogates, nothing past U+10FFFF),
// checked block by block: a sequence may straddle two blocks.
class TVerificaUtf8
{
public:
    void aggiungi(const char *dati, qint64 n)
    {
        for (qint64 i = 0; i < n && m_valido; ++i) {
            // Runs of ASCII, most of a file, eight bytes at a time.
            if (m_mancanti == 0) {
                while (i + 8 <= n && ascii8(dati + i))
                    i += 8;
                if (i == n)
                    break;
            }
            const unsigned char b = static_cast<unsigned char>(dati[i]);
            if (m_mancanti > 0) {
                if (b < m_min || b > m_max) {
                    m_valido = false;
                    return;
                }
                m_min = 0x80;
                m_max = 0xBF;
                --m_mancanti;
                continue;
            }
            if (b < 0x80)
                continue;
            m_nonAscii = true;
            m_min = 0x80;
            m_max = 0xBF;
            if (b >= 0xC2 && b <= 0xDF) {
                m_mancanti = 1;
            } else if (b >= 0xE0 && b <= 0xEF) {
                m_mancanti = 2;
                if (b == 0xE0)
                    m_min = 0xA0;
                else if (b == 0xED)
                    m_max = 0x9F;
            } else if (b >= 0xF0 && b <= 0xF4) {
                m_mancanti = 3;
                if (b == 0xF0)
                    m_min = 0x90;
                else if (b == 0xF4)
                    m_max = 0x8F;
            } else {
                m_valido = false;
            }
        }
    }
    bool utf8() const { return m_valido && m_mancanti == 0 && m_nonAscii; }

private:
    bool m_valido = true;
    bool m_nonAscii = false;
    int m_mancanti = 0;
    unsigned char m_min = 0x80;
    unsigned char m_max = 0xBF;
};

} // namespace

TLineeTesto::TLineeTesto(QIODevice &file)
    : m_file(file)
{
    // One block of room for the whole pass, small enough to stay in the
    // cache: a fresh megabyte at every read cost more than the check.
    TVerificaUtf8 verifica;
    QByteArray blocco(kVerifica, Qt::Uninitialized);
    qint64 totale = 0;
    char ultimo = 0;
    QByteArray inizio;
    for (;;) {
        const qint64 letti = m_file.read(blocco.data(), blocco.size());
        if (letti <= 0)
            break;
        if (inizio.size() < 3)
            inizio += QByteArray(blocco.constData(), qMin<qint64>(letti, 3 - inizio.size()));
        verifica.aggiungi(blocco.constData(), letti);
        totale += letti;
        ultimo = blocco[letti - 1];
    }
    if (!m_file.isSequential() && totale != m_file.size()) {
        m_errore = m_file.errorString();
        m_finito = true;
        return;
    }
    m_daLeggere = totale - (ultimo == kCtrlZ ? 1 : 0);
    m_utf8 = verifica.utf8();
    qint64 salto = 0;
    if (m_utf8 && inizio.startsWith("\xEF\xBB\xBF"))
        salto = 3;
    if (!m_file.seek(salto)) {
        m_errore = m_file.errorString();
        m_finito = true;
        return;
    }
    m_daLeggere -= salto;
}

// What is left of the block moves to its front and the new bytes follow it
// in the same room.
bool TLineeTesto::riempi()
{
    if (m_daLeggere <= 0)
        return false;
    const qsizetype resto = m_blocco.size() - m_inizio;
    if (m_inizio > 0 && resto > 0)
        std::memmove(m_blocco.data(), m_blocco.constData() + m_inizio, size_t(resto));
    m_inizio = 0;
    const qint64 quanti = qMin(kBlocco, m_daLeggere);
    m_blocco.resize(resto + quanti);
    const qint64 letti = m_file.read(m_blocco.data() + resto, quanti);
    m_blocco.resize(resto + qMax<qint64>(letti, 0));
    if (letti <= 0) {
        m_errore = m_file.errorString();
        if (m_errore.isEmpty())
            m_errore = QStringLiteral("il file è cambiato durante la lettura");
        return false;
    }
    m_daLeggere -= letti;
    return true;
}

bool TLineeTesto::Prossima(QString &linea)
{
    for (;;) {
        const char *d = m_blocco.constData();
        const qsizetype n = m_blocco.size();
        // The first CR or LF from where the last look stopped: memchr does
        // the long stretches far faster than a byte loop.
        qsizetype i = qMin(m_inizio + m_esaminati, n);
        const auto cerca = [d, i](char c, qsizetype fine) {
            return i < fine ? static_cast<const char *>(std::memchr(d + i, c, size_t(fine - i)))
                            : nullptr;
        };
        const char *lf = cerca('\n', n);
        const qsizetype fineLf = lf ? lf - d : n;
        const char *cr = cerca('\r', fineLf);
        i = cr ? cr - d : fineLf;
        // A CR at the end of what is read may be the first half of a CR LF.
        const bool crInSospeso = i == n - 1 && d[i] == '\r' && m_daLeggere > 0 && !m_finito;
        if (i < n && !crInSospeso) {
            const char *riga = d + m_inizio;
            const qsizetype lunghezza = i - m_inizio;
            linea =
                m_utf8 ? QString::fromUtf8(riga, lunghezza) : Win1252::decode(riga, int(lunghezza));
            m_inizio = i + (d[i] == '\r' && i + 1 < n && d[i + 1] == '\n' ? 2 : 1);
            m_esaminati = 0;
            return true;
        }
        m_esaminati = i - m_inizio;
        if (!m_finito && riempi())
            continue;
        m_finito = true;
        if (m_inizio >= m_blocco.size() || !m_errore.isEmpty())
            return false;
        linea = m_utf8 ? QString::fromUtf8(d + m_inizio, n - m_inizio)
                       : Win1252::decode(d + m_inizio, int(n - m_inizio));
        m_inizio = n;
        m_esaminati = 0;
        return true;
    }
}
