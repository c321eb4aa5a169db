#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>

// A company options file: company headers "[name]", each followed by option
// lines "name=value", a value optionally carrying a note between "<NOTE>" and
// "</NOTE>". The file comes from outside the suite, so reading it is a pure
// function of its bytes that takes any content.
namespace FileIniDitte {

// The widths of the import's tables; longer texts are cut to them.
constexpr int LunghezzaDitta = 128;
constexpr int LunghezzaOpzione = 64;
// As TABPRAVLIN.VALORE, where the value goes.
constexpr int LunghezzaValore = 256;
constexpr int LunghezzaNote = 256;

struct TOpzione
{
    int Numero = 0; // 1, 2, 3 ... over the whole file
    QString Ditta;
    QString Opzione;
    QString Valore;
    QString Note;

    bool operator==(const TOpzione &o) const
    {
        return Numero == o.Numero && Ditta == o.Ditta && Opzione == o.Opzione &&
               Valore == o.Valore && Note == o.Note;
    }
};

struct TContenuto
{
    QStringList Ditte; // in file order, one per company header
    QVector<TOpzione> Opzioni;
};

// UTF-8 when the bytes are valid UTF-8 holding something beyond ASCII (a
// leading byte-order mark dropped), Windows-1252 otherwise.
QString Testo(const QByteArray &bytes);

// A value less its note: the value is what stands before the first "<NOTE>"
// (any case) less one blank right before it; the note runs from there to the
// next "</NOTE>" (any case) or the end. Without "<NOTE>" the note is empty.
void DividiNota(const QString &testo, QString &valore, QString &note);

// Companies and their options. Lines end at CR LF, LF or a lone CR. A line with a "]" after its
// first "[" opens the company named between them ("[]" closes the current one and opens none);
// while a company is open a line holding "=" is an option, named by what precedes the first "=" (an
// empty name is ignored). Every other line is ignored.
TContenuto Leggi(const QByteArray &bytes);

} // namespace FileIniDitte
