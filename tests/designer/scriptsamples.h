#pragma once

#include "csdfinestre.h"

#include <QString>
#include <ostream>

// Scripts the designer's tests share.
namespace ScriptSamples {

// A window holding every class and every field of the model, with texts that
// need escaping, carry line ends and blanks, and sit outside ASCII.
std::unique_ptr<TCSDForm> fullForm();

// The same text with every CR LF and lone CR as LF, as any XML reader
// returns it.
QString normalisedLineEnds(const QString &text);

} // namespace ScriptSamples

// Failures show texts as text. Every test file of the folder includes this
// header, so that one printer serves them all.
inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}
