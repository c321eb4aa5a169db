#pragma once

#include <QString>

// One company's section of a parameter text, found and replaced as a whole:
// what the company replication copies from one user to another. Pure
// functions over the text, beside the splitter of the same format.
namespace Pravlin {

// Where a company's section stands in the text: from its header, the first
// line that is exactly "[" + company + "]" (a CR before the LF allowed), up to
// the next line starting with "[" or the end of the text, line ends included.
// Positions count from 0.
struct TSezioneDitta
{
    int Inizio = -1;
    int Lunghezza = 0;
    bool Trovata() const { return Inizio >= 0; }
};

TSezioneDitta TrovaSezioneDitta(const QString &testo, const QString &ditta);

// The line end a text uses: CR LF when it has any, else LF.
QString FineRigaDi(const QString &testo);

// The text with the company's section in place of its own one, or appended
// when it has none. A section always ends with a line end (the text's), and
// an appended one starts on a line of its own.
QString SostituisciSezioneDitta(const QString &testo, const QString &ditta, const QString &sezione);

} // namespace Pravlin
