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

// A failed rewrite of a user's rows: the message of the statement that
// failed (MsgErroreDelete or MsgErroreInsert) and the database's own.
class ERigheTabPravlin : public std::runtime_error
{
public:
    // frase: the database failure's Italian sentence (DbErrorText::sentence).
    ERigheTabPravlin(const QString &messaggio, const QString &causa, bool conflitto = false,
                     const QString &frase = QString());
    QString messaggio() const { return m_messaggio; }
    QString causa() const { return m_causa; }
    // Another administrator held or changed the rows.
    bool conflitto() const { return m_conflitto; }
    // What the error box says: a conflict is said first and brings the cause.
    QString testo(bool conCausa) const;

private:
    QString m_messaggio;
    QString m_causa;
    bool m_conflitto;
    QString m_frase;
};

// The statements of the row copy alone: the user's rows are deleted and one
// row per parameter of the text is inserted, PROGRESSIVO counting 1..n
// across sections, in the given transaction, which is neither committed nor
// rolled back here. The first failing statement raises ERigheTabPravlin and
// the rest are not tried; the caller decides what goes with them.
void RiscriviTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo);

// Rewrites every TABPRAVLIN row of one user from the user's parameter text, in
// the given (shared) transaction: the user's rows are deleted and one row per
// parameter is inserted, PROGRESSIVO counting 1..n across sections. All or
// nothing: commit retaining when every statement succeeded; otherwise an error
// box, rollback retaining (the deletion too) and false, so the rows stay as
// they were. Names are stored as typed, apostrophes included.
bool AggiornaTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo);

// The users editor's checks of the text before a save: the current company's
// active header, the path check, then what the rows cannot hold. A failure
// shows its warning and answers false.
bool VerificaPravlin(const QString &testo, const QString &ditta);

} // namespace Pravlin
