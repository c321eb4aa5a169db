#include "replicazione.h"

#include "ibsql.h"
#include "pravlinsezioni.h"
#include "pravlintext.h"

namespace {

// The database's message when there is one: it follows the operation's text.
QString causaDi(const std::exception &e)
{
    if (const auto *ib = dynamic_cast<const EIBError *>(&e))
        return ib->message();
    return QString::fromUtf8(e.what());
}

// One substitution pass: a "%1" inside the company or the cause stays as it is.
[[noreturn]] void fallito(const QString &formato, int utente, const std::exception &e)
{
    throw EReplicazione(formato.arg(QString::number(utente), causaDi(e)));
}

} // namespace

EReplicazione::EReplicazione(const QString &message)
    : std::runtime_error(message.toStdString())
    , m_message(message)
{
}

TReplicazioneComponent::TReplicazioneComponent(QObject *owner)
    : QObject(owner)
{
}

TReplicazioneComponent::~TReplicazioneComponent()
{
    // The statements first: they belong to the transaction.
    delete m_leggi;
    delete m_scrivi;
    delete m_cancella;
    delete m_inserisci;
    delete m_transaction;
}

void TReplicazioneComponent::SetDatabase(TIBDatabase *database)
{
    for (TIBSQL **sql : {&m_leggi, &m_scrivi, &m_cancella, &m_inserisci}) {
        delete *sql;
        *sql = nullptr;
    }
    delete m_transaction; // rolls back
    m_transaction = nullptr;
    m_database = database;
    if (!database)
        return;
    m_transaction = new TIBTransaction;
    m_transaction->setDefaultDatabase(database);
    m_transaction->StartTransaction();
}

TIBSQL *TReplicazioneComponent::istruzione(TIBSQL *&sql, const QStringList &testo)
{
    if (!sql) {
        sql = new TIBSQL;
        sql->setDatabase(m_database);
        sql->setTransaction(m_transaction);
        sql->SQL = testo;
    }
    sql->Close();
    return sql;
}

QString TReplicazioneComponent::LeggiPravlin(int utente)
{
    TIBSQL *q = istruzione(m_leggi, {QStringLiteral("SELECT PRAVLIN FROM UTENTI WHERE "
                                                    "CODICE=:CODICE")});
    q->ParamByName(QStringLiteral("CODICE")).setAsInteger(utente);
    q->ExecQuery();
    const QString testo = q->Eof() ? QString() : q->Fields(0).AsString();
    q->Close();
    return testo;
}

bool TReplicazioneComponent::TrovaPosizioneSezioneDitta(const QString &testo, int &inizio,
                                                        int &lunghezza, QString &sezione) const
{
    const Pravlin::TSezioneDitta s = Pravlin::TrovaSezioneDitta(testo, Ditta);
    if (!s.Trovata())
        return false;
    inizio = s.Inizio;
    lunghezza = s.Lunghezza;
    sezione = testo.mid(s.Inizio, s.Lunghezza);
    return true;
}

bool TReplicazioneComponent::LeggiSezioneDitta(int utente, QString &sezione)
{
    int inizio = 0, lunghezza = 0;
    return TrovaPosizioneSezioneDitta(LeggiPravlin(utente), inizio, lunghezza, sezione);
}

QVector<TPravlin> TReplicazioneComponent::EstraiParametri(const QString &sezione)
{
    return Pravlin::DividiPravlin(sezione);
}

void TReplicazioneComponent::Verifica()
{
    // A combo with nothing chosen gives -1.
    if (UtenteOrigine <= 0)
        throw EReplicazione(QStringLiteral("Nessun utente origine selezionato"));
    if (Ditta.isEmpty())
        throw EReplicazione(QStringLiteral("Nessuna ditta origine selezionata"));
    if (UtentiDestinazione.isEmpty())
        throw EReplicazione(QStringLiteral("Nessun utente destinazione selezionato"));
    if (UtentiDestinazione.contains(QString::number(UtenteOrigine)))
        throw EReplicazione(QStringLiteral("L'utente origine non può essere incluso nella lista "
                                           "degli utenti di destinazione"));
    const QString codice = QString::number(UtenteOrigine);
    if (!LeggiSezioneDitta(UtenteOrigine, SezioneOrigine))
        throw EReplicazione(QStringLiteral("L'utente %1 non ha la ditta \"%2\" configurata "
                                           "(sezione non trovata nel Pravlin)")
                                .arg(codice, Ditta));
    ParametriOrigine = EstraiParametri(SezioneOrigine);
    if (ParametriOrigine.isEmpty())
        throw EReplicazione(QStringLiteral("L'utente %1 non ha la ditta \"%2\" configurata "
                                           "(parametri non trovati nel Pravlin)")
                                .arg(codice, Ditta));
}

void TReplicazioneComponent::Esegui()
{
    if (m_transaction->InTransaction())
        m_transaction->Rollback();
    m_transaction->StartTransaction();
    try {
        for (const QString &codice : qAsConst(UtentiDestinazione)) {
            const int utente = codice.toInt();
            ReplicaSuUtente(utente);
            if (DopoDestinazione)
                DopoDestinazione(utente);
        }
        // The run's one commit: nothing before it reaches the database.
        m_transaction->Commit();
    } catch (...) {
        if (m_transaction->InTransaction()) {
            try {
                m_transaction->Rollback();
            } catch (const std::exception &) {
                // The failure being raised says more; the engine drops an
                // uncommitted transaction with its connection anyway.
            }
        }
        throw;
    }
}

void TReplicazioneComponent::ReplicaSuUtente(int utente)
{
    try {
        const QString testo =
            Pravlin::SostituisciSezioneDitta(LeggiPravlin(utente), Ditta, SezioneOrigine);
        TIBSQL *q = istruzione(m_scrivi, {QStringLiteral("UPDATE UTENTI SET PRAVLIN=:PRAVLIN "
                                                         "WHERE CODICE=:CODICE")});
        q->ParamByName(QStringLiteral("PRAVLIN")).setAsString(testo);
        q->ParamByName(QStringLiteral("CODICE")).setAsInteger(utente);
        q->ExecQuery();
        // A user deleted meanwhile (or never there) must not get rows.
        if (q->RowsAffected() == 0)
            throw EReplicazione(
                QStringLiteral("Fallito aggiornamento Pravlin utente %1").arg(utente));
    } catch (const EReplicazione &) {
        throw;
    } catch (const std::exception &e) {
        fallito(QStringLiteral("Fallito aggiornamento Pravlin utente %1\r%2"), utente, e);
    }

    try {
        TIBSQL *q = istruzione(m_cancella,
                               {QStringLiteral("DELETE FROM TABPRAVLIN"), QStringLiteral("WHERE"),
                                QStringLiteral("  UTENTE=:UTENTE"), QStringLiteral("  AND"),
                                QStringLiteral("  INTESTAZIONE=:INTESTAZIONE")});
        q->ParamByName(QStringLiteral("UTENTE")).setAsInteger(utente);
        q->ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(Ditta);
        q->ExecQuery();
    } catch (const std::exception &e) {
        fallito(QStringLiteral("Fallito azzeramento TabPravlin utente %1\r%2"), utente, e);
    }

    try {
        TIBSQL *q = istruzione(
            m_inserisci,
            {QStringLiteral("INSERT INTO TABPRAVLIN("), QStringLiteral("UTENTE,"),
             QStringLiteral("INTESTAZIONE,"), QStringLiteral("PARAMETRO,"),
             QStringLiteral("VALORE,"), QStringLiteral("PROGRESSIVO"), QStringLiteral(")"),
             QStringLiteral("VALUES("), QStringLiteral(":UTENTE,"),
             QStringLiteral(":INTESTAZIONE,"), QStringLiteral(":PARAMETRO,"),
             QStringLiteral(":VALORE,"), QStringLiteral(":PROGRESSIVO"), QStringLiteral(")")});
        int n = 0;
        for (const TPravlin &p : qAsConst(ParametriOrigine)) {
            q->ParamByName(QStringLiteral("UTENTE")).setAsInteger(utente);
            q->ParamByName(QStringLiteral("INTESTAZIONE")).setAsString(Ditta);
            q->ParamByName(QStringLiteral("PARAMETRO")).setAsString(p.Parametro);
            // An empty value is an empty text here, not NULL.
            q->ParamByName(QStringLiteral("VALORE"))
                .setAsString(p.Valore.isEmpty() ? QStringLiteral("")
                                                : Pravlin::ValoreTabella(p.Valore));
            q->ParamByName(QStringLiteral("PROGRESSIVO")).setAsInteger(++n);
            q->ExecQuery();
            q->Close();
        }
    } catch (const std::exception &e) {
        fallito(QStringLiteral("Fallito popolamento TabPravlin utente %1\r%2"), utente, e);
    }
}
