#pragma once

#include "ibdatabase.h"

#include <QPointer>
#include <functional>

// The database and transaction a statement or a query runs on. Its client is
// registered with both, so a hard commit or a disconnect reaches it. Setting
// one side brings in the other's default while the other is unset. The owner
// is told before either side changes, while the old one is still in place,
// so it can let go of what it holds on it.
class TIBBinding
{
public:
    TIBBinding(TIBClient *client, std::function<void()> databaseChanging,
               std::function<void()> transactionChanging);
    ~TIBBinding();
    TIBBinding(const TIBBinding &) = delete;
    TIBBinding &operator=(const TIBBinding &) = delete;

    TIBDatabase *database() const { return m_database; }
    void setDatabase(TIBDatabase *db);
    TIBTransaction *transaction() const { return m_transaction; }
    void setTransaction(TIBTransaction *tr);

    // Throws unless both are assigned and the database is connected.
    void checkReady() const;

private:
    TIBClient *m_client;
    std::function<void()> m_databaseChanging;
    std::function<void()> m_transactionChanging;
    QPointer<TIBDatabase> m_database;
    QPointer<TIBTransaction> m_transaction;
};
