#pragma once

#include "iberror.h"

#include <QList>
#include <QObject>
#include <QPointer>
#include <QString>
#include <QStringList>

namespace Firebird {
class IAttachment;
class ITransaction;
} // namespace Firebird

class TIBDatabase;
class TIBTransaction;

// Something that holds client resources tied to a transaction or a connection
// (open cursors, prepared statements, datasets) and must let go of them first.
class TIBClient
{
public:
    virtual ~TIBClient() = default;
    // A hard commit or rollback is about to end the transaction.
    virtual void transactionEnding(TIBTransaction *) {}
    // The connection is about to close.
    virtual void databaseClosing(TIBDatabase *) {}
};

// A connection to one database. A plain path opens the file through the
// embedded engine; "server:path" goes through a Firebird server.
class TIBDatabase : public QObject
{
    Q_OBJECT
public:
    explicit TIBDatabase(QObject *owner = nullptr);
    ~TIBDatabase() override;

    QString DatabaseName;
    // "user_name=..." and "password=..." for connecting; "USER \"...\"",
    // "PASSWORD \"...\"" and "PAGE_SIZE n" for creating.
    QStringList Params;
    bool LoginPrompt = false; // kept for the callers; there is never a prompt
    int SQLDialect = 3;
    // Cleared when the transaction is destroyed or moves to another database.
    QPointer<TIBTransaction> DefaultTransaction;

    void Open();
    void Close();
    void setConnected(bool value) { value ? Open() : Close(); }
    bool Connected() const { return m_attachment != nullptr; }
    // Creates DatabaseName and leaves it connected.
    void CreateDatabase();

    Firebird::IAttachment *attachment() const;

    // Seconds a server may take to answer a new connection, for every
    // attach and creation of the process. Tests shorten it; zero or less
    // restores the default.
    static constexpr int DefaultConnectTimeout = 10;
    static int connectTimeout() { return s_connectTimeout; }
    static void setConnectTimeout(int seconds);

    void addClient(TIBClient *client);
    void removeClient(TIBClient *client);

private:
    friend class TIBTransaction;
    void attach(bool create);
    void attachOnce(bool create);
    QString paramValue(const QString &key) const;

    static int s_connectTimeout;

    Firebird::IAttachment *m_attachment = nullptr;
    QList<TIBTransaction *> m_transactions;
    QList<TIBClient *> m_clients;
};

// A transaction on one database. Params follow the class library's names
// ("isc_tpb_concurrency", "nowait", "isc_tpb_lock_timeout=10", ...); empty
// means concurrency, wait, write.
class TIBTransaction : public QObject
{
    Q_OBJECT
public:
    explicit TIBTransaction(QObject *owner = nullptr);
    ~TIBTransaction() override;

    QStringList Params;

    TIBDatabase *DefaultDatabase() const { return m_database; }
    void setDefaultDatabase(TIBDatabase *db);

    void StartTransaction();
    void Commit();
    void CommitRetaining();
    void Rollback();
    void RollbackRetaining();
    bool InTransaction() const { return m_transaction != nullptr; }
    bool Active() const { return InTransaction(); }
    void setActive(bool value);

    // Starts the transaction when it is not running yet.
    void ensureStarted();
    Firebird::ITransaction *handle() const { return m_transaction; }
    // Whether its statements may wait for another transaction's lock (set by
    // the start): they run inside a DbWait scope.
    bool Waits() const { return m_waits; }

    void addClient(TIBClient *client);
    void removeClient(TIBClient *client);

private:
    friend class TIBDatabase;
    void end(bool commit);
    void notifyEnding();
    QByteArray buildTpb(bool *waits = nullptr) const;

    TIBDatabase *m_database = nullptr;
    Firebird::ITransaction *m_transaction = nullptr;
    bool m_waits = false;
    QList<TIBClient *> m_clients;
};
