#pragma once

#include <QString>
#include <QVariant>

// How the suite's programs store values in TABX. Each function gives the
// value to bind to its column; an empty argument gives NULL. A NUMERO or DATA
// text that does not convert raises EConvertError before anything is written.
namespace TabXText {

// TESTO and MEMO: every apostrophe becomes "´", and stays so when read back.
QString apostrofi(const QString &testo);
// TESTO or MEMO as the positional writes store it: NULL when empty.
QVariant testo(const QString &testo);
// NUMERO: a decimal comma becomes a point; the server converts the text to
// the column, as it did the literal the suite once wrote.
QVariant numero(const QString &numero);
// DATA: read as dd/mm/yyyy.
QVariant data(const QString &data);

} // namespace TabXText
