#pragma once

#include "ibbinding.h"
#include "ibdatabase.h"
#include "valueconv.h"

#include <QObject>
#include <QStringList>
#include <QVector>
#include <memory>

class IBRows;

class TSQLField : public TIBValue
{
public:
    using TIBValue::TIBValue;
    int SQLType = 0; // Firebird's SQL_* code, nullable bit removed
    int SubType = 0; // for blobs: 1 text, 0 binary
    int Size = 0;    // bytes in the message
    int Scale = 0;
    QString RelationName;
    bool isBlob() const;
};

// The parameters of a statement, found by name (case-insensitive).
class TSQLParams
{
public:
    int Count() const { return m_params.size(); }
    TIBValue &operator[](int i) { return m_params[i]; }
    TIBValue &ByName(const QString &name);
    TIBValue *FindParam(const QString &name);
    void setNames(const QStringList &names);
    void ClearValues();

private:
    QVector<TIBValue> m_params;
};

// One SQL statement on a database and transaction. A SELECT opens a cursor on
// ExecQuery and stands on its first row; Next moves on until Eof.
class TIBSQL : public QObject, public TIBClient
{
    Q_OBJECT
public:
    explicit TIBSQL(QObject *owner = nullptr);
    ~TIBSQL() override;

    QStringList SQL;
    bool ParamCheck = true; // off: the text goes to the server unscanned
    // On: blob columns come back as their TIBBlobId, for a reader that reads
    // the contents only when they are asked for, in the same transaction.
    bool BlobIds = false;
    // On: a fetched row stays in the row message until TakeRows keeps it, and
    // Fields keep no values; for a reader that stores every row itself.
    bool RowsTaken = false;

    TIBDatabase *Database() const { return m_binding.database(); }
    // Also takes the database's default transaction when none is set.
    void setDatabase(TIBDatabase *db) { m_binding.setDatabase(db); }
    TIBTransaction *Transaction() const { return m_binding.transaction(); }
    void setTransaction(TIBTransaction *tr) { m_binding.setTransaction(tr); }

    void Prepare();
    void ExecQuery();
    void Next();
    void Close();
    bool Eof() const { return m_eof; }
    bool Open() const;
    bool Prepared() const;
    // Rows changed by the last run; -1 after a SELECT.
    qint64 RowsAffected() const;

    // The parameters are known from the text alone, before any prepare.
    TSQLParams &Params();
    TIBValue &ParamByName(const QString &name) { return Params().ByName(name); }

    int FieldCount() const { return m_fields.size(); }
    TSQLField &Fields(int i) { return m_fields[i]; }
    TSQLField &FieldByName(const QString &name);
    TSQLField *FindField(const QString &name);
    const QVector<TSQLField> &Current() const { return m_fields; }
    // With RowsTaken: the current row and every one after it, kept by `rows`
    // as the engine sent them (what was there before is forgotten).
    void TakeRows(IBRows &rows);

    void transactionEnding(TIBTransaction *) override;
    void databaseClosing(TIBDatabase *) override;

private:
    struct Impl;
    void freeStatement();
    void fetch();
    void readRow();
    void columnValue(int i, Firebird::IAttachment *att, Firebird::ITransaction *tra, QVariant &out);
    void syncParams();

    TIBBinding m_binding;
    TSQLParams m_params;
    QString m_scannedText;
    QVector<TSQLField> m_fields;
    bool m_eof = true;
    std::unique_ptr<Impl> d;
};
