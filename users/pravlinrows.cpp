#include "pravlinrows.h"

#include "ibdatabase.h"
#include "ibsql.h"
#include "messages.h"
#include "pravlinrow.h"

#include <exception>

namespace Pravlin {

namespace {

// Runs one step; a failure of any kind (database, a character the code page
// cannot hold) shows the step's message and answers false.
template <typename F> bool passo(const QString &messaggio, F &&f)
{
    try {
        f();
        return true;
    } catch (const std::exception &) {
        Messages::error(messaggio);
        return false;
    }
}

} // namespace

bool AggiornaTabPravlin(TIBDatabase &db, TIBTransaction &tr, const QString &utente,
                        const QString &testo)
{
    const QVector<TPravlin> voci = DividiPravlin(testo);

    TIBSQL q;
    q.setDatabase(&db);
    q.setTransaction(&tr);

    bool ok = passo(MsgErroreDelete, [&] {
        q.SQL = QStringList{QStringLiteral("DELETE FROM TABPRAVLIN WHERE UTENTE=:UTENTE")};
        q.Prepare();
        q.ParamByName(QStringLiteral("UTENTE")).setAsString(utente);
        q.ExecQuery();
    });

    if (ok) {
        // Every value goes in as a parameter: a name holding an apostrophe is
        // stored as typed instead of breaking the statement.
        ok = passo(MsgErroreInsert, [&] {
            if (voci.isEmpty())
                return;
            q.Close();
            TPravlinInsert inserimento(&db, &tr);
            int progressivo = 0;
            for (const TPravlin &voce : voci)
                inserimento.Esegui(utente, voce, ++progressivo);
        });
    }
    q.Close();

    if (ok) {
        tr.CommitRetaining();
    } else if (tr.InTransaction()) {
        // Undoes the deletion as well: the rows stay as they were.
        tr.RollbackRetaining();
    }
    return ok;
}

bool VerificaPravlin(const QString &testo, const QString &ditta)
{
    if (!DittaPresente(testo, ditta)) {
        Messages::warning(MsgDittaMancante);
        return false;
    }
    try {
        CheckParametri(testo);
    } catch (const ECheckParametri &e) {
        Messages::warning(e.message());
        return false;
    }
    return true;
}

} // namespace Pravlin
