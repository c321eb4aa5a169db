#pragma once

#include "pravlintext.h"

#include <QString>

class TIBDatabase;
class TIBTransaction;

namespace Pravlin {

inline const QString MsgErroreDelete =
    QStringLiteral("Errore interno di DELETE: impossibile aggiornare la tabella TABPRAVLIN. "
                   "Chiudere il programma e riaprirlo");
inline const QString MsgErroreInsert =
    QStringLiteral("Errore interno di INSERT: impossibile aggiornare la tabella TABPRAVLIN. "
                   "Chiudere il programma e riaprirlo");

// Rewrites every TABPRAVLIN row of one user from the user's parameter text, in
// the given (shared) transaction: the user's rows are deleted and one row per
// parameter is inserted, PROGRESSIVO counting 1..n across sections. All or
// nothing: commit retaining when every statement succeeded; otherwise an error
// box, rollback retaining (the deletion too) and false, so the rows stay as
// they were. Names are stored as typed, apostrophes included.
bool AggiornaTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo);

// The users editor's last two checks before a save: the current company's
// active header, then the path check. A failure shows its warning and answers
// false.
bool VerificaPravlin(const QString &testo, const QString &ditta);

} // namespace Pravlin
