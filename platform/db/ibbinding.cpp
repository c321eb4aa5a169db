#include "ibbinding.h"

#include <utility>

TIBBinding::TIBBinding(TIBClient *client, std::function<void()> databaseChanging,
                       std::function<void()> transactionChanging)
    : m_client(client)
    , m_databaseChanging(std::move(databaseChanging))
    , m_transactionChanging(std::move(transactionChanging))
{
}

TIBBinding::~TIBBinding()
{
    if (m_database)
        m_database->removeClient(m_client);
    if (m_transaction)
        m_transaction->removeClient(m_client);
}

void TIBBinding::setDatabase(TIBDatabase *db)
{
    if (db == m_database)
        return;
    m_databaseChanging();
    if (m_database)
        m_database->removeClient(m_client);
    m_database = db;
    if (m_database) {
        m_database->addClient(m_client);
        if (!m_transaction && m_database->DefaultTransaction)
            setTransaction(m_database->DefaultTransaction);
    }
}

void TIBBinding::setTransaction(TIBTransaction *tr)
{
    if (tr == m_transaction)
        return;
    m_transactionChanging();
    if (m_transaction)
        m_transaction->removeClient(m_client);
    m_transaction = tr;
    if (m_transaction) {
        m_transaction->addClient(m_client);
        if (!m_database && m_transaction->DefaultDatabase())
            setDatabase(m_transaction->DefaultDatabase());
    }
}

void TIBBinding::checkReady() const
{
    if (!m_database)
        throw EIBError(QStringLiteral("Database non assegnato"));
    if (!m_transaction)
        throw EIBError(QStringLiteral("Transazione non assegnata"));
    if (!m_database->Connected())
        throw EIBError(QStringLiteral("Database non aperto"));
}
