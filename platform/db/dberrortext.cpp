#include "dberrortext.h"

namespace DbErrorText {

const QString MsgConflitto =
    QStringLiteral("Un altro amministratore sta modificando o ha modificato gli stessi dati: "
                   "premere \"Annulla\" e ripetere la modifica.");

const QString MsgChiaveDuplicata =
    QStringLiteral("Esiste già una riga con lo stesso codice: scegliere un valore diverso.");
const QString MsgTestoTroppoLungo =
    QStringLiteral("Un testo è più lungo di quanto la sua colonna del database possa contenere: "
                   "accorciarlo e riprovare.");
const QString MsgConnessionePersa =
    QStringLiteral("La connessione al database si è interrotta: chiudere il programma e "
                   "riaprirlo.");

bool isConflict(const std::exception &e)
{
    const auto *ib = dynamic_cast<const EIBError *>(&e);
    return ib && ib->isLockConflict();
}

namespace {

// Firebird's codes of each failure. A network error alone is also a server
// that was never reached: only a broken read or write, or a connection the
// server dropped, is a lost one.
constexpr long kChiaveDuplicata[] = {IBErrorCodes::UniqueKeyViolation, 335544349 /* isc_no_dup */};
constexpr long kTestoTroppoLungo[] = {335544914 /* isc_string_truncation */};
constexpr long kConnessionePersa[] = {
    335544726 /* isc_net_read_err */,       335544727 /* isc_net_write_err */,
    335544741 /* isc_lost_db_connection */, 335544648 /* isc_conn_lost */,
    335544856 /* isc_att_shutdown */,       335544971 /* isc_net_server_shutdown */};

template <size_t N> bool anyOf(const EIBError &e, const long (&codes)[N])
{
    for (long c : codes) {
        if (e.hasCode(c))
            return true;
    }
    return false;
}

QString sentenceOf(const EIBError &e)
{
    if (e.isLockConflict())
        return MsgConflitto;
    if (anyOf(e, kConnessionePersa))
        return MsgConnessionePersa;
    if (anyOf(e, kChiaveDuplicata))
        return MsgChiaveDuplicata;
    if (anyOf(e, kTestoTroppoLungo))
        return MsgTestoTroppoLungo;
    return QString();
}

QString withSentence(const QString &sentence, const QString &text)
{
    return sentence.isEmpty() ? text : sentence + QLatin1Char('\r') + text;
}

} // namespace

QString sentence(const std::exception &e)
{
    const auto *ib = dynamic_cast<const EIBError *>(&e);
    return ib ? sentenceOf(*ib) : QString();
}

QString message(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return ib->message();
    return QString::fromUtf8(e.what());
}

QString of(const EIBError &e)
{
    return withSentence(sentenceOf(e), e.message());
}

QString of(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return of(*ib);
    return message(e);
}

Failure failureOf(const std::exception &e)
{
    return {message(e), isConflict(e), sentence(e)};
}

QString under(const QString &text, const Failure &failure, bool withMessage)
{
    if (failure.conflict)
        return MsgConflitto + QLatin1Char('\r') + text + QLatin1Char('\r') + failure.message;
    return withMessage ? withSentence(failure.sentence, text + QLatin1Char('\r') + failure.message)
                       : text;
}

QString under(const QString &text, const std::exception &e, bool withMessage)
{
    return under(text, failureOf(e), withMessage);
}

} // namespace DbErrorText
