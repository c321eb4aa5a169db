#pragma once

#include <QByteArray>
#include <QString>

class QIODevice;

// A text file as users hand it over, read one line at a time so that a big
// file is never held whole, neither as bytes nor as text. The text is UTF-8
// when the bytes are valid UTF-8 and hold a character outside ASCII (a
// byte-order mark then skipped), Windows-1252 otherwise; lines end in CR LF,
// LF or a lone CR; a Ctrl-Z as the very last byte is the old end-of-file mark
// and is no text.
class TLineeTesto
{
public:
    // The device is open and seekable: it is read through once here to tell
    // the encoding, then from its start again by Prossima().
    explicit TLineeTesto(QIODevice &file);

    bool Utf8() const { return m_utf8; }

    // The next line without its end; false at the end of the text or when
    // the device failed (ErroreLettura() then tells why).
    bool Prossima(QString &linea);

    // The device's reason for a failed read, empty while none failed.
    QString ErroreLettura() const { return m_errore; }

private:
    bool riempi();

    QIODevice &m_file;
    bool m_utf8 = false;
    qint64 m_daLeggere = 0; // bytes of text still on the device
    QByteArray m_blocco;    // read, not yet handed out from m_inizio on
    qsizetype m_inizio = 0;
    qsizetype m_esaminati = 0; // bytes from m_inizio already known to hold no line end
    bool m_finito = false;
    QString m_errore;
};
