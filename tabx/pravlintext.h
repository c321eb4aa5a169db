#pragma once

// The per-user parameter text as text: its split into parameters and its
// composition from them, its company sections, and the checks before a
// save. The rows it is copied into are written by pravlinrows.h.

#include <QString>
#include <QVector>
#include <stdexcept>

// The path check refuses the text with this; its message names the company and
// the offending line and is meant for a warning box.
class ECheckParametri : public std::runtime_error
{
public:
    explicit ECheckParametri(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// One parameter of a user's parameter store: the heading (company) it stands
// under, its name and its value, as three texts. The same record serves the
// parameter text (UTENTI.PRAVLIN) and its row copy (TABPRAVLIN).
struct TPravlin
{
    QString Intestazione;
    QString Parametro;
    QString Valore;

    bool operator==(const TPravlin &o) const
    {
        return Intestazione == o.Intestazione && Parametro == o.Parametro && Valore == o.Valore;
    }
};

// The per-user parameter text (UTENTI.PRAVLIN): company sections, each a header
// "[name]" followed by "name=value" lines. Nothing here touches the database,
// and only VerificaPravlin shows anything, so the users editor, its tools and
// the table services share one reading of the format.
namespace Pravlin {

// Carried inside the header of a company the user may not select.
inline const QString MarcaInattiva = QStringLiteral(" <INATTIVA>");
inline const QString MsgDittaMancante =
    QStringLiteral("Si prega di specificare una ditta nel Pravlin");

// "[" + company + "]", with the inactive marker before the bracket when asked.
QString IntestazioneDitta(const QString &ditta, bool inattiva = false);

// The parameters of the text, in text order. Lines end at LF with an optional
// CR; a header starts a section, an empty line ends it, and only parameter
// lines inside a section with a non-empty name count. Every parameter is kept,
// however many there are.
QVector<TPravlin> DividiPravlin(const QString &testo);

// The sizes of the TABPRAVLIN columns a parameter goes into.
constexpr int LunghezzaIntestazione = 64;
constexpr int LunghezzaParametro = 64;
constexpr int LunghezzaValore = 256;

// The text less its trailing blanks, as the database compares keys.
QString SenzaBlankFinali(const QString &testo);

// What keeps the row copy from holding the text exactly, as a warning naming
// the company and the parameter; empty when every section stores at least
// one row and every parameter fits its row once. The first case in text
// order is answered: a company name, parameter name or value longer than its
// column, a parameter repeated within one company (also in a second section
// of it, or differing only by trailing blanks), and a section of which no row
// would be stored (a header alone, or followed by parameters only after an
// empty line, "[" or "[]").
QString AnomaliaTabPravlin(const QString &testo);

// A value as the row copy stores it: apostrophes become acute accents.
QString ValoreTabella(const QString &valore);

// The parameter text of a user's rows, taken in the order given (the
// database's order: heading, then PROGRESSIVO). A header line "[heading]"
// opens each change of heading; a row whose heading is empty is written
// without one while no heading has been seen, and left out after one; every
// row gives a line "name=value" (an empty line for an empty name); every line
// ends with a single LF. No rows give the empty text. The rows are never
// reordered here.
QString ComponiPravlin(const QVector<TPravlin> &righe);

// The current company must stand in the text as an active header, exactly.
bool DittaPresente(const QString &testo, const QString &ditta);

// Every "Directory bin=" line must end with a backslash; raises
// ECheckParametri naming the company the line falls in and the line itself.
void CheckParametri(const QString &testo);

// The users editor's checks of the text before a save: the current company's
// active header, the path check, then what the rows cannot hold. A failure
// shows its warning and answers false.
bool VerificaPravlin(const QString &testo, const QString &ditta);

} // namespace Pravlin
