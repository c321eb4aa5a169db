#pragma once

#include <QString>
#include <QStringList>

// The users editor's company tools on the parameter text, as pure functions:
// which companies are active, their headers rewritten, and a company's
// options appended.
namespace DitteTesto {

struct TListeDitte
{
    QStringList Attive;
    QStringList Disattive; // named without the inactive marker
};

// The section names of a user's rows, as they come: a name carrying the
// inactive marker goes to the inactive list without it, any other to the
// active list.
TListeDitte DividiDitte(const QStringList &intestazioni);

// The text with its headers marked anew: on every header line (a line whose
// first character is "[") every inactive marker goes, then "[X]" becomes
// "[X <INATTIVA>]" for each company X of the list. Every other line, and
// every line end, stays as it was.
QString SegnaInattive(const QString &testo, const QStringList &disattive);

// The text with an empty line, the company's header and the option lines
// ("name=value") after its last line, separated by CR LF as the memo gives
// them.
QString AccodaDitta(const QString &testo, const QString &ditta, const QStringList &righeOpzioni);

} // namespace DitteTesto
