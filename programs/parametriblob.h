#pragma once

class TIBDatabase;
class TIBTransaction;

// The column DETTMENU.PARAMETRIBLOB: added when a database still lacks it,
// and rebuilt as a text blob without a character set.
namespace ParametriBlob {

// Makes sure DETTMENU has PARAMETRIBLOB, on the given (shared) transaction,
// committing each step: adds the column filled from PARAMETRI with its
// warnings. A rebuild that stopped between its commits (TMP_FIELD still
// there) is finished or undone instead, on a transaction of its own that
// never waits: when DETTMENU cannot be altered it stays as it is. Every
// opening of the programs editor and the menu import run it first.
void VerificaCampo(TIBDatabase *db, TIBTransaction *tr);

enum class Stato { CampoMancante, GiaConvertito, DaConvertire };
// The column's state as the rebuild sees it: a character set id of 0 (or
// none) is converted.
Stato StatoConversione(TIBDatabase *db, TIBTransaction *tr);

// A rebuild that stopped half-way left TMP_FIELD behind: finished (the old
// column already dropped: TMP_FIELD takes its name) or undone (TMP_FIELD
// dropped, once every row could be claimed without waiting), and committed.
// Answers whether there was anything to do.
bool RiprendiConversione(TIBDatabase *db, TIBTransaction *tr);

// The rebuild in its three committed stages, on a transaction of its own.
// A failure rolls back the stage in progress and raises.
void Converti(TIBDatabase *db, TIBTransaction *tr);

} // namespace ParametriBlob
