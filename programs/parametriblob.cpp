#include "parametriblob.h"

#include "ibdatabase.h"
#include "ibsql.h"
#include "messages.h"

namespace ParametriBlob {

namespace {

const QString kErroreAggiornamento =
    QStringLiteral("Errore interno durante l'aggiornamento della tabella DETTMENU");

struct Statement
{
    TIBSQL sql;
    TIBTransaction *tr;
    Statement(TIBDatabase *db, TIBTransaction *transaction)
        : tr(transaction)
    {
        sql.setDatabase(db);
        sql.setTransaction(tr);
        sql.ParamCheck = false;
    }
    bool yieldsRow(const QStringList &lines)
    {
        sql.Close();
        sql.SQL = lines;
        sql.ExecQuery();
        const bool row = !sql.Eof();
        sql.Close();
        return row;
    }
    void exec(const QStringList &lines)
    {
        sql.Close();
        sql.SQL = lines;
        sql.ExecQuery();
        sql.Close();
    }
    // Runs the step and commits; a failure rolls back what it left.
    bool step(const QStringList &lines)
    {
        try {
            exec(lines);
            tr->Commit();
            return true;
        } catch (const std::exception &) {
            if (tr->InTransaction())
                tr->Rollback();
            return false;
        }
    }
};

bool hasColumn(Statement &s, const QString &column)
{
    return s.yieldsRow(
        {QStringLiteral("SELECT * FROM RDB$RELATION_FIELDS"),
         QStringLiteral("WHERE (RDB$FIELD_NAME='") + column + QStringLiteral("')AND"),
         QStringLiteral("(RDB$RELATION_NAME='DETTMENU')")});
}

const QStringList kRinomina = {QStringLiteral("ALTER TABLE DETTMENU"),
                               QStringLiteral("ALTER TMP_FIELD TO PARAMETRIBLOB;")};

} // namespace

void VerificaCampo(TIBDatabase *db, TIBTransaction *tr)
{
    Statement s(db, tr);
    const bool campo = hasColumn(s, QStringLiteral("PARAMETRIBLOB"));
    const bool interrotta = hasColumn(s, QStringLiteral("TMP_FIELD"));
    if (interrotta) {
        // A rebuild stopped between its commits. Left as it is when DETTMENU
        // cannot be altered now (another administrator's rebuild may be at
        // work on it); never an empty column beside the texts in TMP_FIELD.
        TIBTransaction propria;
        propria.Params = QStringList{QStringLiteral("nowait")};
        propria.setDefaultDatabase(db);
        try {
            RiprendiConversione(db, &propria);
        } catch (const std::exception &) {
            if (propria.InTransaction())
                propria.Rollback();
        }
        return;
    }
    if (campo)
        return;
    Messages::warning(
        QStringLiteral("Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB"));
    if (!s.step({QStringLiteral("ALTER TABLE DETTMENU"),
                 QStringLiteral("ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT")})) {
        Messages::warning(kErroreAggiornamento);
        return;
    }
    if (!s.step({QStringLiteral("UPDATE DETTMENU SET PARAMETRIBLOB=PARAMETRI")}))
        Messages::warning(kErroreAggiornamento);
}

Stato StatoConversione(TIBDatabase *db, TIBTransaction *tr)
{
    Statement s(db, tr);
    s.sql.SQL = QStringList{QStringLiteral("SELECT"),
                            QStringLiteral("  B.RDB$CHARACTER_SET_ID AS VALORE"),
                            QStringLiteral("FROM"),
                            QStringLiteral("  RDB$RELATION_FIELDS A"),
                            QStringLiteral("  INNER JOIN RDB$FIELDS B ON"),
                            QStringLiteral("  A.RDB$FIELD_SOURCE=B.RDB$FIELD_NAME"),
                            QStringLiteral("WHERE"),
                            QStringLiteral("  A.RDB$RELATION_NAME='DETTMENU'"),
                            QStringLiteral("  AND"),
                            QStringLiteral("  A.RDB$FIELD_NAME='PARAMETRIBLOB'")};
    s.sql.ExecQuery();
    Stato stato = Stato::CampoMancante;
    if (!s.sql.Eof())
        stato = s.sql.Fields(0).AsInteger() == 0 ? Stato::GiaConvertito : Stato::DaConvertire;
    s.sql.Close();
    return stato;
}

bool RiprendiConversione(TIBDatabase *db, TIBTransaction *tr)
{
    Statement s(db, tr);
    if (!hasColumn(s, QStringLiteral("TMP_FIELD")))
        return false;
    if (hasColumn(s, QStringLiteral("PARAMETRIBLOB"))) {
        // Stopped before the old column went: the copy was rolled back with
        // it, so TMP_FIELD holds nothing worth keeping. Claiming every row
        // first fails at once where a rebuild at work elsewhere holds them,
        // and makes one that starts meanwhile fail instead of copying into a
        // column about to go.
        s.exec({QStringLiteral("UPDATE DETTMENU SET TMP_FIELD=NULL")});
        s.exec({QStringLiteral("ALTER TABLE DETTMENU"), QStringLiteral("DROP TMP_FIELD;")});
    } else {
        s.exec(kRinomina);
    }
    tr->Commit();
    return true;
}

void Converti(TIBDatabase *db, TIBTransaction *tr)
{
    Statement s(db, tr);
    try {
        s.exec({QStringLiteral("ALTER TABLE DETTMENU"),
                QStringLiteral("ADD TMP_FIELD BLOB SUB_TYPE TEXT;")});
        tr->CommitRetaining();
        s.exec({QStringLiteral("UPDATE DETTMENU SET"), QStringLiteral("TMP_FIELD=PARAMETRIBLOB;")});
        s.exec({QStringLiteral("ALTER TABLE DETTMENU"), QStringLiteral("DROP PARAMETRIBLOB;")});
        // The copy and the drop become permanent together.
        tr->CommitRetaining();
        s.exec(kRinomina);
        tr->Commit();
    } catch (...) {
        if (tr->InTransaction())
            tr->Rollback();
        throw;
    }
}

} // namespace ParametriBlob
