#pragma once

#include <QByteArray>
#include <QString>
#include <QVariant>
#include <QVector>
#include <array>
#include <functional>

class QIODevice;

// The menu transfer file: programs and their menus moving between
// installations as lines of "#"-terminated fields, a header line first. This is
// the only code that knows the format; the export and import windows hand it
// values and take values back, and touch no bytes of the file themselves.
namespace FileScambioMenu {

// A line's fields by position, from 0 (the file's own count starts at 1).
enum Campo {
    Progetto,         // PROGETTI.NOME of the project chosen in the export
    Codice,           // PROGRAMMI.CODICE of the other installation, never used here
    Nome,             // PROGRAMMI.NOME, by which programs are matched
    Descrizione,      // PROGRAMMI.DESCRIZIONE
    Icona,            // PROGRAMMI.ICONA
    Programma,        // DETTMENU.PROGRAMMA of the other installation, never used here
    Menu,             // DETTMENU.MENU
    MenuPrec,         // DETTMENU.MENUPREC
    LivelloMenu,      // DETTMENU.LIVELLOMENU
    DescrizioneMenu,  // DETTMENU.DESCRIZIONE
    Dll,              // DETTMENU.DLL
    Funzione,         // DETTMENU.FUNZIONE
    Note,             // DETTMENU.NOTE
    Livello2Versione, // DETTMENU.LIVELLO2VERSIONE
    Parametri,        // DETTMENU.PARAMETRI
    Visibile,         // DETTMENU.VISIBILE
    VoceRapida,       // DETTMENU.VOCERAPIDA
    ParametriBlob,    // DETTMENU.PARAMETRIBLOB, the only field that keeps its line breaks
    NumeroCampi
};

// One data line: each field's value as text, NULL as the empty text. The
// writer takes the values as the database holds them; the reader gives back
// the same values, except the line breaks of fields 1 to 17, which the file
// cannot carry and the writer drops.
using TRigaScambio = std::array<QString, NumeroCampi>;

// "PROGETTO#CODICE#NOME#...#PARAMETRIBLOB#": always the 18 names in the order
// above, whatever order the database keeps the columns in.
QString Intestazione();

// The text a database value is written as: numbers in decimal, binary blobs
// as Windows-1252 text, NULL empty.
QString TestoValore(const QVariant &valore);

// The warning for the first value of the rows that the file cannot carry: a
// "#" in any field (it would split the line on reading), or the two
// characters "\r" or "\n" in PARAMETRIBLOB (they would come back as line
// breaks). Empty when every value can be written.
QString Rifiuto(const QVector<TRigaScambio> &righe);

// One data line without its line end: every field followed by "#", CR and
// LF removed from fields 1 to 17, CR and LF of field 18 written as "\r" and
// "\n".
QString RigaDati(const TRigaScambio &riga);

struct TFileComposto
{
    QByteArray Contenuto; // the whole file, Windows-1252, CR LF after every line
    QString Rifiuto;      // set when a value cannot be carried; then Contenuto is empty
    bool ok() const { return Rifiuto.isEmpty(); }
};

// The file for the rows, header first, or the refusal of Rifiuto(). Raises
// Win1252::EncodingError for a character outside the code page, which no value
// read from the database can hold.
TFileComposto ComponiFile(const QVector<TRigaScambio> &righe);

// Replaces the named file with the bytes only once they are all written; on
// failure the old file stays as it was and *errore (when given) names the file
// and the system's reason, ready for an error box.
bool ScriviFile(const QString &nomeFile, const QByteArray &contenuto, QString *errore = nullptr);

struct TLettura
{
    QVector<TRigaScambio> Righe; // every data line in file order, or none at all
    QString Errore;              // "File non valido alla riga N:" CR reason, for the first bad line
    bool ok() const { return Errore.isEmpty(); }
};

// Where a reading puts each data line as soon as it has been checked.
using Destinazione = std::function<void(const TRigaScambio &riga)>;

// Reads a file from the device (open, seekable) a line at a time, so that a
// big file is never held whole. The text is UTF-8 when the bytes are valid
// UTF-8 holding a character outside ASCII (a byte-order mark skipped),
// Windows-1252 otherwise; lines end in CR LF, LF or a lone CR; empty lines,
// blank lines at the end and a final Ctrl-Z are skipped. Line 1 must start
// with "PROGETTO#". Fields 1 to 17 are the first seventeen and field 18 is
// the rest of the line after the 17th "#" less one final "#", its "\r" and
// "\n" turned back into line breaks; a further "#" there is refused, as the
// export refuses to write one. Every data line must also have a program
// name, whole numbers in -32768..32767 where the columns are numbers (MENU
// required) and texts that fit their columns and the database's code page.
// The answer is "File non valido alla riga N:" CR reason for the first line
// that does not, or the device's failure; empty when all was read. The
// lines before the bad one have reached `destinazione` by then.
QString LeggiFile(QIODevice &file, const Destinazione &destinazione);

// The same for bytes in memory, the rows kept: all of them, or none with
// the error.
TLettura LeggiFile(const QByteArray &contenuto);

// A number field as the reader accepts it: an optional sign and decimal
// digits, blanks around allowed, within -32768..32767 (the columns are
// SMALLINT). False for anything else, the empty text included.
bool LeggiIntero(const QString &testo, int *valore);

} // namespace FileScambioMenu
