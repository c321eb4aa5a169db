#include "tabxform.h"

#include "dberrortext.h"
#include "ibsql.h"
#include "inifile.h"
#include "messages.h"
#include "pravlinrows.h"

#include <QHash>

#include <exception>
#include <optional>

// The per-user parameter store: one value of the current user under the
// current heading, in the user's INI file (mode 1) or in TABPRAVLIN (mode 0),
// and the user's whole parameter text rebuilt from the rows. Each write
// commits at once on TransazioneUser; a failed write is rolled back, shown,
// and not told to the caller. Failures while reading reach the caller.

namespace {

const QString kErroreUpdateParametri =
    QStringLiteral("Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri");
const QString kErroreInsertParametri =
    QStringLiteral("Errore interno di INSERT: impossibile aggiornare la tabella dei parametri");
const QString kErroreUpdatePravlin = QStringLiteral(
    "Errore interno di UPDATE: impossibile aggiornare i parametri pravlin dell'utente");

// The condition on one parameter of one user. Heading and name are cast wide
// so that a text longer than its column finds no row instead of failing.
const QStringList &condizioneParametro()
{
    static const QStringList righe = {
        QStringLiteral("(UTENTE=:UTENTE)AND"),
        QStringLiteral("(INTESTAZIONE=CAST(:INTESTAZIONE AS VARCHAR(32765)))AND"),
        QStringLiteral("(PARAMETRO=CAST(:PARAMETRO AS VARCHAR(32765)))")};
    return righe;
}

template <typename Statement>
void legaParametro(Statement &q, qint32 utente, const QString &intestazione,
                   const QString &parametro)
{
    q.ParamByName(QStringLiteral("UTENTE")).setAsInteger(utente);
    q.ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(intestazione);
    q.ParamByName(QStringLiteral("PARAMETRO")).setAsString(parametro);
}

// Runs a write and commits it; on failure rolls back, shows the message and
// answers false.
template <typename F> bool scriviEConferma(TIBTransaction *tr, const QString &messaggio, F &&f)
{
    try {
        f();
        tr->Commit();
        return true;
    } catch (const std::exception &e) {
        if (tr->InTransaction()) {
            try {
                tr->Rollback();
            } catch (const std::exception &) {
            }
        }
        Messages::error(DbErrorText::under(messaggio, e, false));
        return false;
    }
}

} // namespace

void TTabXForm::SettaFileIni(const QString &Sezione, const QString &Chiave, const QString &Valore)
{
    TIniFile(fileIniUtente()).WriteString(Sezione, Chiave, Valore);
}

QString TTabXForm::CaricaParametro(const QString &Nome)
{
    if (Modo == 1)
        return TIniFile(fileIniUtente()).ReadString(Intestazione, Nome, QString());
    if (Modo != 0)
        return QString();
    return primoValore(QStringList{QStringLiteral("SELECT VALORE FROM TABPRAVLIN WHERE")} +
                           condizioneParametro(),
                       [&](TIBQuery *q) { legaParametro(*q, NumUser, Intestazione, Nome); });
}

void TTabXForm::SettaParametro(const QString &Nome, const QString &Valore)
{
    if (Modo == 1)
        TIniFile(fileIniUtente()).WriteString(Intestazione, Nome, Valore);
    else if (Modo == 0)
        ScriviParametroPravlin(Intestazione, Nome, Valore);
    ScriviPravlin(NumUser);
}

qint32 TTabXForm::CaricaPravlin(qint32 Utente)
{
    Q_UNUSED(Utente);
    return 0;
}

void TTabXForm::ScriviParametroPravlin(const QString &Intestazione, const QString &Parametro,
                                       const QString &Valore)
{
    CaricaPravlin(NumUser);
    TIBSQL q;
    q.setDatabase(IBDatabaseUser);
    q.setTransaction(TransazioneUser);
    if (TransazioneUser->InTransaction())
        TransazioneUser->Rollback();
    TransazioneUser->StartTransaction();

    q.SQL = QStringList{QStringLiteral("SELECT * FROM TABPRAVLIN WHERE")} + condizioneParametro();
    q.Prepare();
    legaParametro(q, NumUser, Intestazione, Parametro);
    q.ExecQuery();
    const bool esiste = !q.Eof();
    q.Close();

    if (esiste) {
        scriviEConferma(TransazioneUser, kErroreUpdateParametri, [&] {
            q.SQL = QStringList{QStringLiteral("UPDATE TABPRAVLIN SET"),
                                QStringLiteral("VALORE=:VALORE"),
                                QStringLiteral("WHERE (UTENTE=:UTENTE)AND"),
                                QStringLiteral("(INTESTAZIONE=:INTESTAZIONE)AND"),
                                QStringLiteral("(PARAMETRO=:PARAMETRO)")};
            q.Prepare();
            legaParametro(q, NumUser, Intestazione, Parametro);
            // The rows' convention, as the row copy of a whole text stores it.
            TIBValue &valore = q.ParamByName(QStringLiteral("VALORE"));
            if (Valore.isEmpty())
                valore.Clear();
            else
                valore.setAsString(Pravlin::ValoreTabella(Valore));
            q.ExecQuery();
            q.Close();
        });
        return;
    }

    q.SQL = QStringList{QStringLiteral("SELECT MAX(PROGRESSIVO) FROM TABPRAVLIN"),
                        QStringLiteral("WHERE (UTENTE=:UTENTE)")};
    q.Prepare();
    q.ParamByName(QStringLiteral("UTENTE")).setAsInteger(NumUser);
    q.ExecQuery();
    const int progressivo = q.Eof() || q.Fields(0).IsNull() ? 1 : q.Fields(0).AsInteger() + 1;
    q.Close();

    scriviEConferma(TransazioneUser, kErroreInsertParametri, [&] {
        TPravlinInsert(IBDatabaseUser, TransazioneUser)
            .Esegui(QString::number(NumUser), {Intestazione, Parametro, Valore}, progressivo);
    });
}

void TTabXForm::ScriviPravlin(qint32 Utente)
{
    // The database orders the rows (byte order of the stored text); the
    // text follows that order as it comes.
    QueryPravlin->Close();
    QueryPravlin->SQL = QStringList{QStringLiteral("SELECT * FROM TABPRAVLIN WHERE"),
                                    QStringLiteral("(UTENTE=:UTENTE)AND"),
                                    QStringLiteral("(INTESTAZIONE IS NOT NULL)"),
                                    QStringLiteral("ORDER BY INTESTAZIONE,PROGRESSIVO,UTENTE")};
    QueryPravlin->ParamByName(QStringLiteral("UTENTE")).setAsInteger(Utente);
    QueryPravlin->Open();

    QVector<TPravlin> righe;
    righe.reserve(QueryPravlin->RecordCount());
    TField *intestazione = QueryPravlin->FieldByName(QStringLiteral("INTESTAZIONE"));
    TField *parametro = QueryPravlin->FieldByName(QStringLiteral("PARAMETRO"));
    TField *valore = QueryPravlin->FieldByName(QStringLiteral("VALORE"));
    for (QueryPravlin->First(); !QueryPravlin->Eof(); QueryPravlin->Next())
        righe.append({intestazione->AsString(), parametro->AsString(), valore->AsString()});
    const QString testo = Pravlin::ComponiPravlin(righe);

    // The text goes in as a blob parameter: any heading or value, and any
    // length, is written as it stands. A user whose stored text is already
    // this one is not touched: another administrator editing that user is
    // neither made to wait nor to fail on a conflict.
    scriviEConferma(TransazioneUser, kErroreUpdatePravlin, [&] {
        QueryPravlin->Close();
        QueryPravlin->SQL = QStringList{QStringLiteral("UPDATE UTENTI SET PRAVLIN=:PRAVLIN WHERE"),
                                        QStringLiteral("CODICE=:CODICE AND"),
                                        QStringLiteral("PRAVLIN IS DISTINCT FROM :PRAVLIN")};
        TIBValue &pravlin = QueryPravlin->ParamByName(QStringLiteral("PRAVLIN"));
        if (testo.isEmpty())
            pravlin.Clear();
        else
            pravlin.setAsString(testo);
        QueryPravlin->ParamByName(QStringLiteral("CODICE")).setAsInteger(Utente);
        QueryPravlin->ExecSQL();
    });
}

QVector<qint32> TTabXForm::PravlinDaRiscrivere(const QVector<qint32> &Utenti)
{
    // Within a user the rows come in ScriviPravlin's order.
    QHash<qint32, QVector<TPravlin>> righe;
    QHash<qint32, std::optional<QString>> memorizzati;
    if (TransazioneUser->InTransaction())
        TransazioneUser->Commit();
    TransazioneUser->StartTransaction();
    try {
        TIBSQL q;
        q.setDatabase(IBDatabaseUser);
        q.setTransaction(TransazioneUser);
        q.SQL = QStringList{QStringLiteral("SELECT UTENTE,INTESTAZIONE,PARAMETRO,VALORE"),
                            QStringLiteral("FROM TABPRAVLIN WHERE INTESTAZIONE IS NOT NULL"),
                            QStringLiteral("ORDER BY UTENTE,INTESTAZIONE,PROGRESSIVO")};
        QVector<TPravlin> *dellUtente = nullptr;
        qint32 ultimo = 0;
        for (q.ExecQuery(); !q.Eof(); q.Next()) {
            const qint32 utente = q.Fields(0).AsInteger();
            if (!dellUtente || utente != ultimo) {
                dellUtente = &righe[utente];
                ultimo = utente;
            }
            dellUtente->append(
                {q.Fields(1).AsString(), q.Fields(2).AsString(), q.Fields(3).AsString()});
        }
        q.Close();
        q.SQL = QStringList{QStringLiteral("SELECT CODICE,PRAVLIN FROM UTENTI")};
        for (q.ExecQuery(); !q.Eof(); q.Next()) {
            const TSQLField &pravlin = q.Fields(1);
            memorizzati.insert(q.Fields(0).AsInteger(),
                               pravlin.IsNull() ? std::nullopt : std::optional(pravlin.AsString()));
        }
        q.Close();
        TransazioneUser->Commit();
    } catch (...) {
        if (TransazioneUser->InTransaction())
            TransazioneUser->Rollback();
        throw;
    }

    QVector<qint32> diversi;
    for (qint32 utente : Utenti) {
        const auto m = memorizzati.constFind(utente);
        if (m == memorizzati.cend()) {
            diversi.append(utente);
            continue;
        }
        // An empty text is stored as NULL.
        const QString testo = Pravlin::ComponiPravlin(righe.value(utente));
        if (testo.isEmpty() ? m->has_value() : (!m->has_value() || **m != testo))
            diversi.append(utente);
    }
    return diversi;
}
