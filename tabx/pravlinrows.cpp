#include "pravlinrows.h"

#include "dberrortext.h"
#include "ibdatabase.h"
#include "iberror.h"
#include "ibsql.h"
#include "messages.h"

#include <exception>

TPravlinInsert::TPravlinInsert(TIBDatabase *db, TIBTransaction *tr)
{
    m_sql.setDatabase(db);
    m_sql.setTransaction(tr);
    m_sql.SQL =
        QStringList{QStringLiteral("INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,"),
                    QStringLiteral("VALORE,PROGRESSIVO) VALUES("),
                    QStringLiteral(":UTENTE,"),
                    QStringLiteral(":INTESTAZIONE,"),
                    QStringLiteral(":PARAMETRO,"),
                    QStringLiteral(":VALORE,"),
                    QStringLiteral(":PROGRESSIVO)")};
}

void TPravlinInsert::Esegui(const QString &utente, const TPravlin &voce, int progressivo)
{
    m_sql.Prepare();
    m_sql.ParamByName(QStringLiteral("UTENTE")).setAsString(utente);
    m_sql.ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(voce.Intestazione);
    m_sql.ParamByName(QStringLiteral("PARAMETRO")).setAsString(voce.Parametro);
    TIBValue &valore = m_sql.ParamByName(QStringLiteral("VALORE"));
    if (voce.Valore.isEmpty())
        valore.Clear();
    else
        valore.setAsString(Pravlin::ValoreTabella(voce.Valore));
    m_sql.ParamByName(QStringLiteral("PROGRESSIVO")).setAsInteger(progressivo);
    m_sql.ExecQuery();
    m_sql.Close();
}

namespace Pravlin {

namespace {

// Runs one statement; a failure of any kind (database, a character the code
// page cannot hold) becomes the step's error with the cause's own message.
template <typename F> void passo(const QString &messaggio, F &&f)
{
    try {
        f();
    } catch (const EIBError &e) {
        throw ERigheTabPravlin(messaggio, e.message(), e.isLockConflict(),
                               DbErrorText::sentence(e));
    } catch (const std::exception &e) {
        throw ERigheTabPravlin(messaggio, QString::fromStdString(e.what()));
    }
}

} // namespace

ERigheTabPravlin::ERigheTabPravlin(const QString &messaggio, const QString &causa, bool conflitto,
                                   const QString &frase)
    : std::runtime_error((messaggio + QLatin1Char('\r') + causa).toStdString())
    , m_messaggio(messaggio)
    , m_causa(causa)
    , m_conflitto(conflitto)
    , m_frase(frase)
{
}

QString ERigheTabPravlin::testo(bool conCausa) const
{
    return DbErrorText::under(m_messaggio, {m_causa, m_conflitto, m_frase}, conCausa);
}

void RiscriviTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo)
{
    const QVector<TPravlin> voci = DividiPravlin(testo);

    passo(MsgErroreDelete, [&] {
        TIBSQL q;
        q.setDatabase(&db);
        q.setTransaction(&tr);
        q.SQL = QStringList{QStringLiteral("DELETE FROM TABPRAVLIN WHERE UTENTE=:UTENTE")};
        q.Prepare();
        q.ParamByName(QStringLiteral("UTENTE")).setAsString(utente);
        q.ExecQuery();
        q.Close();
    });

    // Every value goes in as a parameter: a name holding an apostrophe is
    // stored as typed instead of breaking the statement.
    passo(MsgErroreInsert, [&] {
        if (voci.isEmpty())
            return;
        TPravlinInsert inserimento(&db, &tr);
        int progressivo = 0;
        for (const TPravlin &voce : voci)
            inserimento.Esegui(utente, voce, ++progressivo);
    });
}

bool AggiornaTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo)
{
    try {
        RiscriviTabPravlin(db, tr, utente, testo);
    } catch (const ERigheTabPravlin &e) {
        Messages::error(e.testo(false));
        // Undoes the deletion as well: the rows stay as they were.
        if (tr.InTransaction())
            tr.RollbackRetaining();
        return false;
    }
    tr.CommitRetaining();
    return true;
}

} // namespace Pravlin
