#pragma once

#include "pravlin.h"

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

// The per-user parameter text (UTENTI.PRAVLIN): company sections, each a header
// "[name]" followed by "name=value" lines. Nothing here touches the database or
// the screen, so the users editor and its tools share one reading of the format.
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

// The current company must stand in the text as an active header, exactly.
bool DittaPresente(const QString &testo, const QString &ditta);

// Every "Directory bin=" line must end with a backslash; raises
// ECheckParametri naming the company the line falls in and the line itself.
void CheckParametri(const QString &testo);

} // namespace Pravlin
