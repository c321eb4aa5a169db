#pragma once

#include "iberror.h"

#include <QString>
#include <exception>

// How a database failure reads in a message box or a log. A conflict with
// another administrator (a row changed or deleted since it was read, a
// deadlock, a lock wait that ran out) is no internal error: it is said first,
// in Italian, with what to do, and the database's own message follows. The
// other failures an administrator meets in normal use (a key already taken,
// a text too long for its column, the connection lost) get a sentence of
// their own before the database's message wherever that message is shown.
namespace DbErrorText {

extern const QString MsgConflitto;
extern const QString MsgChiaveDuplicata;
extern const QString MsgTestoTroppoLungo;
extern const QString MsgConnessionePersa;

bool isConflict(const std::exception &e);
// The Italian sentence that goes before the database's message; empty for
// a failure that has none.
QString sentence(const std::exception &e);

// The database's own message (any other error's text), alone.
QString message(const std::exception &e);
// The error's own message; for a conflict the sentence comes first.
QString of(const EIBError &e);
QString of(const std::exception &e);

// A failure kept to be shown later, once its statement's caller knows the
// text to put it under.
struct Failure
{
    QString message;
    bool conflict = false;
    QString sentence;
};
Failure failureOf(const std::exception &e);

// A failure under the caller's own text. A conflict reads: the sentence, the
// text, the database's message. Anything else: the text, followed by the
// error's message when `withMessage`, with the failure's sentence first.
QString under(const QString &text, const std::exception &e, bool withMessage = true);
QString under(const QString &text, const Failure &failure, bool withMessage);

} // namespace DbErrorText
