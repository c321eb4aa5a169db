#pragma once

#include "ibdatabase.h"
#include "ibsql.h"

#include <QString>
#include <QTemporaryDir>
#include <memory>

// A fresh embedded database in a temporary folder, connected, with a default
// transaction.
class TestDatabase
{
public:
    explicit TestDatabase(const QString &fileName = QStringLiteral("test.fdb"),
                          const QString &subFolder = QString());
    ~TestDatabase();

    QString path() const { return m_path; }
    QString folder() const { return m_dir.path(); }
    TIBDatabase &db() { return *m_db; }
    TIBTransaction &tr() { return *m_tr; }

    // Runs a statement in the default transaction and commits it.
    void exec(const QString &sql);
    // First column of the first row, as text.
    QString scalar(const QString &sql);

private:
    QTemporaryDir m_dir;
    QString m_path;
    std::unique_ptr<TIBDatabase> m_db;
    std::unique_ptr<TIBTransaction> m_tr;
};

QStringList connectionParams();

// Reads on a transaction of its own, committed after: the first column of
// every row (trimmed), and the first column of the first row ("<none>"
// without rows).
QStringList firstColumn(TIBDatabase *db, const QStringList &sql);
QString firstValue(TIBDatabase *db, const QString &sql);
// Every row as "a|b|c" (NULL empty), read on the given transaction, which
// is left as it is.
QStringList allColumns(TIBDatabase *db, TIBTransaction *tr, const QStringList &sql);

// Another program of the suite on the same file, with a connection and a
// transaction of its own.
struct OtherConnection
{
    TIBDatabase db;
    TIBTransaction tr;
    explicit OtherConnection(const QString &path, const QStringList &trParams = {});
    // Runs a statement and commits.
    void exec(const QString &sql);
    // First column of the first row ("<none>" without rows), then commits.
    QString scalar(const QString &sql);
};
