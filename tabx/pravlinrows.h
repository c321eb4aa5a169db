#pragma once

// The per-user parameter text's row copy, TABPRAVLIN: the one row insert and
// the rewrite of a user's rows from the text (pravlintext.h).

#include "ibsql.h"
#include "pravlintext.h"

#include <QString>
#include <stdexcept>

class TIBDatabase;
class TIBTransaction;

// The one insert of a TABPRAVLIN row, shared by the row copy of a whole text
// and by the store of a single parameter. Every value is bound, so headings
// and names go in exactly as typed, apostrophes included; the value follows
// the rows' convention (apostrophes as "´", an empty value as NULL). The
// statement is prepared once and run for each row; nothing is committed here.
class TPravlinInsert
{
public:
    TPravlinInsert(TIBDatabase *db, TIBTransaction *tr);

    // Raises the database layer's error (a duplicate name in a heading, a
    // text longer than its column).
    void Esegui(const QString &utente, const TPravlin &voce, int progressivo);

private:
    TIBSQL m_sql;
};

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

} // namespace Pravlin
