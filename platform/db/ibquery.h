#pragma once

#include "dataset.h"
#include "ibbinding.h"
#include "ibblobid.h"
#include "ibdatabase.h"
#include "ibrows.h"
#include "ibsql.h"

#include <QHash>
#include <QObject>
#include <QPointer>
#include <QStringList>
#include <memory>

// The statements that write a query's edits back. ":COL" is the column's
// value as edited, ":OLD_COL" its value as fetched, so a statement can find
// the stored row even after its key was changed.
class TIBUpdateSQL : public QObject
{
    Q_OBJECT
public:
    explicit TIBUpdateSQL(QObject *owner = nullptr)
        : QObject(owner)
    {
    }

    QStringList ModifySQL;
    QStringList InsertSQL;
    QStringList DeleteSQL;
};

// The field type a result column of this Firebird type becomes.
TFieldType fieldTypeOfSQL(int sqlType, int subType, int scale);

// A SELECT whose rows are all fetched into memory on Open, each kept as the
// bytes the engine sent and made a value when one is asked for (the rows a
// grid paints, a search's column). A blob is kept as its id and read when
// its value is first asked for, in the query's transaction; the id is good
// while the query is open, since a hard commit or rollback of that
// transaction closes the query (dropping a pending edit) and a retaining one
// leaves both open. Edits go back to the database through
// the update object's statements, kept prepared from one post to the next:
// an empty text is written as NULL to every text column, and a blob the edit
// left as it was goes back by its id instead of being uploaded again.
class TIBQuery : public TDataSet, public TIBClient
{
    Q_OBJECT
public:
    explicit TIBQuery(QObject *owner = nullptr);
    ~TIBQuery() override;

    QStringList SQL;

    TIBDatabase *Database() const { return m_binding.database(); }
    // Also takes the database's default transaction when none is set.
    void setDatabase(TIBDatabase *db) { m_binding.setDatabase(db); }
    TIBTransaction *Transaction() const { return m_binding.transaction(); }
    void setTransaction(TIBTransaction *tr) { m_binding.setTransaction(tr); }
    TIBUpdateSQL *UpdateObject() const { return m_updateObject; }
    void setUpdateObject(TIBUpdateSQL *update) { m_updateObject = update; }

    // The ":NAME" parameters of SQL, by name (case-insensitive).
    TSQLParams &Params();
    TIBValue &ParamByName(const QString &name);

    // Runs SQL as a statement without a result set.
    void ExecSQL();
    // The text of a write that reached no row: another user deleted it or
    // changed its key since it was read.
    static QString RecordNonTrovato();
    qint64 RowsAffected() const { return m_rowsAffected; }

    // The columns whose values identify a row in a bookmark: the table's
    // primary key when the query reads one table that has one, otherwise
    // every column that is not a blob.
    QStringList KeyFields() const;

    void transactionEnding(TIBTransaction *) override;
    void databaseClosing(TIBDatabase *) override;

protected:
    void openCursor() override;
    void closeCursor() override;
    int storeCount() const override { return m_rows.size(); }
    QVariant storedValue(int index, int fieldNo) const override;
    QVariant editValue(int index, int fieldNo) const override;
    QVariant bufferValue(const QVariant &held) const override;
    void storeEdit(int index, TRecordBuffer &buffer) override;
    int storeInsert(int index, TRecordBuffer &buffer) override;
    void storeDelete(int index) override;
    TBookmark bookmarkAt(int index) const override;
    int recordOfBookmark(const TBookmark &bookmark) const override;
    bool canModify() const override { return m_updateObject != nullptr; }

private:
    enum UpdateKind { ModifyStatement, InsertStatement, DeleteStatement };
    struct UpdateStatement;

    TIBTransaction *readyTransaction();
    void syncParams();
    void copyParams(TIBSQL &statement);
    // Runs one update statement; answers how many rows it changed.
    qint64 runUpdate(UpdateKind kind, const QStringList &sql, const TRecordBuffer &newValues,
                     const TRecordBuffer &oldValues);
    QVariant blobContents(const TIBBlobId &id) const;
    void emptyTextToNull(TRecordBuffer &buffer) const;
    void findKeyColumns(const TIBSQL &select, TIBTransaction *tr);
    QStringList primaryKeyOf(const QString &relation, TIBTransaction *tr);

    TIBBinding m_binding;
    QPointer<TIBUpdateSQL> m_updateObject;
    TSQLParams m_params;
    QString m_paramText;
    bool m_paramsParsed = false;
    IBRows m_rows;                                   // blobs as TIBBlobId until written
    mutable QHash<quint64, QVariant> m_blobContents; // by blob id, as read
    std::unique_ptr<UpdateStatement> m_updates[3];
    int m_openCount = 0; // the field numbers of a statement's parameters hold for one open
    QVector<int> m_keyColumns;
    QHash<QString, QStringList> m_primaryKeys; // by relation name
    qint64 m_rowsAffected = -1;
};
