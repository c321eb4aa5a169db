#pragma once

#include "ibdatabase.h"
#include "pravlin.h"

#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>
#include <QVector>
#include <functional>
#include <stdexcept>

class TIBDatabase;
class TIBSQL;
class TIBTransaction;

// A refused or failed replication; the message is meant for the dialog's box.
class EReplicazione : public std::runtime_error
{
public:
    explicit EReplicazione(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

// Copies one company's section of one user's parameter text into the texts
// and the rows of other users, replacing their section of that company or
// appending it. It works in a transaction of its own on the user database:
// every destination is written in it and one commit after the last makes the
// whole run permanent, so a failure, a crash or a lost connection before that
// leaves every destination as it was. No window: a test or a benchmark
// drives it on a database alone.
class TReplicazioneComponent : public QObject
{
    Q_OBJECT
public:
    explicit TReplicazioneComponent(QObject *owner = nullptr);
    // Rolls back whatever was not committed.
    ~TReplicazioneComponent() override;

    TIBDatabase *Database() const { return m_database; }
    TIBTransaction *Transaction() const { return m_transaction; }
    // Drops a previous transaction (rolled back) and starts one of its own
    // on the database.
    void SetDatabase(TIBDatabase *database);

    int UtenteOrigine = 0;
    QString Ditta;
    // Destination user codes, as decimal text.
    QStringList UtentiDestinazione;
    // Filled by Verifica: the source's section, header included, and its
    // parameters read as the row copy reads them.
    QString SezioneOrigine;
    QVector<TPravlin> ParametriOrigine;

    // The user's PRAVLIN; empty when the user has none or does not exist.
    QString LeggiPravlin(int utente);
    bool LeggiSezioneDitta(int utente, QString &sezione);
    // The section of Ditta in the text: its start (from 0), its length and
    // its text.
    bool TrovaPosizioneSezioneDitta(const QString &testo, int &inizio, int &lunghezza,
                                    QString &sezione) const;
    // The parameters of a section's text, as the row copy takes them, so the
    // replicated text and rows agree.
    static QVector<TPravlin> EstraiParametri(const QString &sezione);

    // Raises EReplicazione with the first check that fails.
    void Verifica();
    // Every destination in list order, then one commit; any failure rolls
    // the whole run back and raises again.
    void Esegui();
    // One destination: its text, its rows of the company; nothing committed.
    void ReplicaSuUtente(int utente);

    // Called after each destination is written, before the commit.
    std::function<void(int utente)> DopoDestinazione;

private:
    TIBSQL *istruzione(TIBSQL *&sql, const QStringList &testo);

    QPointer<TIBDatabase> m_database;
    TIBTransaction *m_transaction = nullptr;
    TIBSQL *m_leggi = nullptr;
    TIBSQL *m_scrivi = nullptr;
    TIBSQL *m_cancella = nullptr;
    TIBSQL *m_inserisci = nullptr;
};
