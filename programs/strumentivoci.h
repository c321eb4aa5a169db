#pragma once

#include <QChar>
#include <QString>

// The rules of the menu grid editor's tools on an entry's library and
// function, apart from the window.
namespace StrumentiVoci {

// The width of DLL: a longer library name would be cut by its box.
constexpr int LunghezzaDLL = 20;

// The file name of a picked library, without its folder.
QString NomeLibreria(const QString &percorso);
// Whether a library name fits DLL whole.
bool LibreriaAmmessa(const QString &nome);

// The call modes a function name may end with: "X" or "D", upper case.
bool LetteraAmmessa(const QString &lettera);
// The function name with its last character replaced by the mode.
QString ConLetteraFinale(const QString &funzione, QChar lettera);
// Whether the function-letter walk rewrites an entry: it names a function
// and does not receive the parameter text (LIVELLO2VERSIONE other than "1").
bool RiceveLettera(const QString &funzione, const QString &livello2Versione);
// The warning that stops the conversion to mode X, empty when it applies.
QString AvvisoModoX(const QString &funzione);

} // namespace StrumentiVoci
