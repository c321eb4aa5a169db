#include "dberrortext.h"

namespace DbErrorText {

const QString MsgConflitto =
    QStringLiteral("Un altro amministratore sta modificando o ha modificato gli stessi dati: "
                   "premere \"Annulla\" e ripetere la modifica.");

bool isConflict(const std::exception &e)
{
    const auto *ib = dynamic_cast<const EIBError *>(&e);
    return ib && ib->isLockConflict();
}

QString message(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return ib->message();
    return QString::fromUtf8(e.what());
}

QString of(const EIBError &e)
{
    return e.isLockConflict() ? MsgConflitto + QLatin1Char('\r') + e.message() : e.message();
}

QString of(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return of(*ib);
    return message(e);
}

Failure failureOf(const std::exception &e)
{
    return {message(e), isConflict(e)};
}

QString under(const QString &text, const Failure &failure, bool withMessage)
{
    if (failure.conflict)
        return MsgConflitto + QLatin1Char('\r') + text + QLatin1Char('\r') + failure.message;
    return withMessage ? text + QLatin1Char('\r') + failure.message : text;
}

QString under(const QString &text, const std::exception &e, bool withMessage)
{
    return under(text, failureOf(e), withMessage);
}

} // namespace DbErrorText
