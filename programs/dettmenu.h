#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>
#include <array>

class TIBSQL;

// DETTMENU, the menu entries of the programs, as the code that copies,
// exports and imports them knows it: one list of its columns, in the order
// of the transfer file's fields 6 to 18 (the order the table was built in).
namespace DettMenu {

enum class TTipo {
    Intero, // SMALLINT
    Testo,  // VARCHAR of Lunghezza characters
    Memo    // blob: NOTE binary, PARAMETRIBLOB text
};

struct TColonna
{
    const char *Nome;
    TTipo Tipo;
    int Lunghezza; // Testo only
};

constexpr int NumeroColonne = 13;

const std::array<TColonna, NumeroColonne> &Colonne();
// The columns' names, PROGRAMMA first.
const QStringList &Nomi();
// The names of the entry's own columns: all but PROGRAMMA.
const QStringList &NomiVoce();

// "INSERT INTO DETTMENU(...)" / "VALUES(:...)" of every column, each value
// bound by its column's name.
QStringList Inserimento();

// The description of the program's entry; empty when there is no such
// entry. The statement is the caller's, kept prepared from one call to
// the next on its database and transaction.
QString Descrizione(TIBSQL &sql, const QVariant &programma, const QVariant &menu);

} // namespace DettMenu
