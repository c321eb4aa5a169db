#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVector>
#include <optional>

// The rules of the users editor's memo tools, on the memo's lines as plain
// strings, so they can be driven without a window.
namespace Strumenti {

// Upper case for the letters a to z only: accented letters keep their case,
// as the suite's search always did.
QString MaiuscoleAZ(const QString &testo);

struct TTrovato
{
    int riga;
    int colonna;
};
// The same word as `parolaRicerca` goes on after the line `ultimaRiga`;
// another word starts from the top. Both are the search's memory between
// two presses of "Cerca". Only the first occurrence in a line counts; an
// empty word is never found.
std::optional<TTrovato> Cerca(const QStringList &righe, const QString &parola,
                              QString &parolaRicerca, int &ultimaRiga);

struct TTagValore
{
    QString tag;
    QString valore;
};
// The parameter a line names: nothing for a header or a line without "=".
std::optional<TTagValore> TagEValore(const QString &riga);
// The parameter lines named exactly `tag`, in every section; none for an
// empty tag.
QVector<int> RigheDelTag(const QStringList &righe, const QString &tag);

// A folder as the suite's programs want it: ending with one backslash.
QString ConBarra(const QString &percorso);

// ---- The external editor's exchange file --------------------------------------

// The memo's lines, each ended by CR LF, in UTF-8 without byte-order mark.
QByteArray FileScambio(const QString &testoMemo);

struct TLettura
{
    enum Esito { Letto, VuotoOMancante, CarattereNonAmmesso } esito = VuotoOMancante;
    QString testo; // lines separated by LF
    int riga = 0;  // the first line with a character that cannot be stored
};
// The bytes an editor left: UTF-8 when valid, else Windows-1252; CR removed;
// one final line end dropped, never a line with text. A NUL or a character
// Windows-1252 cannot hold refuses the whole text.
TLettura LeggiFileScambio(const QByteArray &bytes);

// True, with every byte of the file, when it exists and is not empty.
bool CaricaFileInStringa(const QString &nomeFile, QByteArray &testo);

} // namespace Strumenti
