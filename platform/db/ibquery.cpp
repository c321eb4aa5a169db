#include "ibquery.h"

#include "ibblob.h"
#include "sqlparams.h"

#include <ibase.h>

TFieldType fieldTypeOfSQL(int sqlType, int subType, int scale)
{
    switch (sqlType) {
    case SQL_TEXT:
    case SQL_VARYING:
        return ftString;
    case SQL_SHORT:
        return scale < 0 ? ftFloat : ftSmallint;
    case SQL_LONG:
        return scale < 0 ? ftFloat : ftInteger;
    case SQL_INT64:
        return scale < 0 ? ftFloat : ftLargeint;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        return ftFloat;
    case SQL_TYPE_DATE:
        return ftDate;
    case SQL_TYPE_TIME:
        return ftTime;
    case SQL_TIMESTAMP:
        return ftDateTime;
    case SQL_BOOLEAN:
        return ftBoolean;
    case SQL_BLOB:
        return subType == 1 ? ftMemo : ftBlob;
    default:
        return ftUnknown;
    }
}

// Changing the database or the transaction closes the query; the primary
// keys found belong to the database.
TIBQuery::TIBQuery(QObject *owner)
    : TDataSet(owner)
    , m_binding(
          this,
          [this] {
              Close();
              m_primaryKeys.clear();
          },
          [this] { Close(); })
{
}

// One of the update object's statements, prepared once for as long as its
// text and connection stay, with the field each parameter takes its value
// from.
struct TIBQuery::UpdateStatement
{
    TIBSQL sql;
    QString mappedText;
    int mappedOpen = -1;
    QVector<int> fieldNos;
    QVector<bool> old; // ":OLD_COL"
};

TIBQuery::~TIBQuery()
{
    closeWithoutEvents();
}

TIBTransaction *TIBQuery::readyTransaction()
{
    // The database may have been given its default transaction after the
    // query was bound to it.
    if (Database() && !Transaction() && Database()->DefaultTransaction)
        setTransaction(Database()->DefaultTransaction);
    m_binding.checkReady();
    return Transaction();
}

void TIBQuery::syncParams()
{
    const QString text = SQL.join(QLatin1Char('\n'));
    if (m_paramsParsed && text == m_paramText)
        return;
    m_params.setNames(parseSqlParams(text).names);
    m_paramText = text;
    m_paramsParsed = true;
}

TSQLParams &TIBQuery::Params()
{
    syncParams();
    return m_params;
}

TIBValue &TIBQuery::ParamByName(const QString &name)
{
    return Params().ByName(name);
}

void TIBQuery::copyParams(TIBSQL &statement)
{
    syncParams();
    TSQLParams &target = statement.Params();
    for (int i = 0; i < target.Count(); ++i) {
        if (const TIBValue *p = m_params.FindParam(target[i].Name))
            target[i].setValue(p->Value());
    }
}

// ---- The record store ------------------------------------------------------

void TIBQuery::openCursor()
{
    TIBTransaction *tr = readyTransaction();
    TIBSQL q;
    q.setDatabase(Database());
    q.setTransaction(tr);
    q.BlobIds = true;
    q.RowsTaken = true;
    q.SQL = SQL;
    q.Prepare();
    copyParams(q);
    q.ExecQuery();

    FieldDefs.Clear();
    for (int i = 0; i < q.FieldCount(); ++i) {
        const TSQLField &c = q.Fields(i);
        // Repeated column names (a join) get a number, as the class library did.
        QString name = c.Name;
        for (int n = 1; FieldDefs.IndexOf(name) >= 0; ++n)
            name = c.Name + QLatin1Char('_') + QString::number(n);
        const TFieldType type = fieldTypeOfSQL(c.SQLType, c.SubType, c.Scale);
        FieldDefs.Add(name, type, type == ftString ? c.Size : 0);
    }
    ++m_openCount;

    m_blobContents.clear();
    q.TakeRows(m_rows);
    q.Close();
    findKeyColumns(q, tr);
}

void TIBQuery::closeCursor()
{
    m_rows.clear();
    m_blobContents.clear();
}

QVariant TIBQuery::storedValue(int index, int fieldNo) const
{
    const QVariant v = m_rows.value(index, fieldNo);
    if (holdsBlobId(v))
        return blobContents(v.value<TIBBlobId>());
    return v;
}

// An edit does not read the blobs: one it leaves alone goes back by its id.
QVariant TIBQuery::editValue(int index, int fieldNo) const
{
    return m_rows.value(index, fieldNo);
}

QVariant TIBQuery::bufferValue(const QVariant &held) const
{
    if (holdsBlobId(held))
        return blobContents(held.value<TIBBlobId>());
    return held;
}

QVariant TIBQuery::blobContents(const TIBBlobId &id) const
{
    const auto known = m_blobContents.constFind(id.quad);
    if (known != m_blobContents.constEnd())
        return *known;
    // The id means something only in the transaction that fetched it.
    TIBTransaction *tr = Transaction();
    if (!Active() || !tr || !tr->InTransaction() || !Database() || !Database()->Connected())
        throw EDatabaseError(QStringLiteral(
            "Impossibile leggere il blob: la transazione in cui è stato letto è terminata"));
    const QVariant value = IBBlob::contents(Database()->attachment(), tr->handle(), id);
    m_blobContents.insert(id.quad, value);
    return value;
}

// The class library's text fields stored an empty text as NULL, and the
// system's rule is the same: an empty value is NULL. Blobs keep what they
// are given.
void TIBQuery::emptyTextToNull(TRecordBuffer &buffer) const
{
    for (int f = 0; f < buffer.size() && f < FieldDefs.Count(); ++f) {
        if (!FieldTypes::isSizedText(FieldDefs[f].DataType))
            continue;
        const QVariant &v = buffer[f];
        const bool empty = (v.typeId() == QMetaType::QString && v.toString().isEmpty()) ||
                           (v.typeId() == QMetaType::QByteArray && v.toByteArray().isEmpty());
        if (empty)
            buffer[f] = QVariant();
    }
}

qint64 TIBQuery::runUpdate(UpdateKind kind, const QStringList &sql, const TRecordBuffer &newValues,
                           const TRecordBuffer &oldValues)
{
    const QString text = sql.join(QLatin1Char('\n'));
    if (text.trimmed().isEmpty())
        throw EDatabaseError(QStringLiteral("Impossibile modificare un dataset di sola lettura"));
    std::unique_ptr<UpdateStatement> &u = m_updates[kind];
    if (!u)
        u = std::make_unique<UpdateStatement>();
    TIBSQL &q = u->sql;
    q.setDatabase(Database());
    q.setTransaction(readyTransaction());
    if (q.SQL != sql)
        q.SQL = sql;
    q.Prepare();
    TSQLParams &params = q.Params();
    if (u->mappedText != text || u->mappedOpen != m_openCount) {
        u->mappedText.clear();
        u->fieldNos.clear();
        u->old.clear();
        for (int i = 0; i < params.Count(); ++i) {
            const QString name = params[i].Name;
            int f = -1;
            bool old = false;
            if (name.startsWith(QLatin1String("OLD_"), Qt::CaseInsensitive)) {
                f = FieldDefs.IndexOf(name.mid(4));
                old = f >= 0;
            }
            if (f < 0)
                f = FieldDefs.IndexOf(name);
            if (f < 0)
                throw EDatabaseError(QStringLiteral("Campo '%1' non trovato").arg(name));
            u->fieldNos.append(f);
            u->old.append(old);
        }
        u->mappedText = text;
        u->mappedOpen = m_openCount;
    }
    for (int i = 0; i < params.Count(); ++i) {
        const int f = u->fieldNos[i];
        params[i].setValue(u->old[i] ? oldValues.value(f) : newValues.value(f));
    }
    q.ExecQuery();
    q.Close();
    return q.RowsAffected();
}

void TIBQuery::storeEdit(int index, TRecordBuffer &buffer)
{
    emptyTextToNull(buffer);
    // A blob the edit left alone is still its id in the buffer and goes back
    // as it is: the engine keeps the stored blob, and nothing is uploaded.
    // Another user deleted the row or changed its key: the edit reached no
    // row, and must not look saved.
    if (runUpdate(ModifyStatement, m_updateObject->ModifySQL, buffer, m_rows.values(index)) == 0)
        throw EDatabaseError(RecordNonTrovato());
    m_rows.set(index, buffer);
}

QString TIBQuery::RecordNonTrovato()
{
    return QStringLiteral("Record non trovato o modificato da un altro utente");
}

int TIBQuery::storeInsert(int index, TRecordBuffer &buffer)
{
    emptyTextToNull(buffer);
    runUpdate(InsertStatement, m_updateObject->InsertSQL, buffer, TRecordBuffer(buffer.size()));
    index = qBound(0, index, m_rows.size());
    m_rows.insert(index, buffer);
    return index;
}

void TIBQuery::storeDelete(int index)
{
    const TRecordBuffer stored = m_rows.values(index);
    runUpdate(DeleteStatement, m_updateObject->DeleteSQL, stored, stored);
    m_rows.remove(index);
}

void TIBQuery::ExecSQL()
{
    TIBSQL q;
    q.setDatabase(Database());
    q.setTransaction(readyTransaction());
    q.SQL = SQL;
    q.Prepare();
    copyParams(q);
    q.ExecQuery();
    m_rowsAffected = q.RowsAffected();
    q.Close();
}

// ---- Bookmarks by key values ---------------------------------------------

QStringList TIBQuery::primaryKeyOf(const QString &relation, TIBTransaction *tr)
{
    auto cached = m_primaryKeys.constFind(relation);
    if (cached != m_primaryKeys.constEnd())
        return *cached;
    TIBSQL q;
    q.setDatabase(Database());
    q.setTransaction(tr);
    q.SQL = QStringList{
        QStringLiteral("SELECT TRIM(S.RDB$FIELD_NAME) FROM RDB$RELATION_CONSTRAINTS C"),
        QStringLiteral("JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = C.RDB$INDEX_NAME"),
        QStringLiteral("WHERE C.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY' AND C.RDB$RELATION_NAME = :R"),
        QStringLiteral("ORDER BY S.RDB$FIELD_POSITION")};
    q.Prepare();
    q.ParamByName(QStringLiteral("R")).setAsString(relation);
    QStringList keys;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        keys.append(q.Fields(0).AsString());
    q.Close();
    m_primaryKeys.insert(relation, keys);
    return keys;
}

void TIBQuery::findKeyColumns(const TIBSQL &select, TIBTransaction *tr)
{
    m_keyColumns.clear();
    QStringList relations;
    for (const TSQLField &c : select.Current()) {
        if (!c.RelationName.isEmpty() && !relations.contains(c.RelationName))
            relations.append(c.RelationName);
    }
    if (relations.size() == 1) {
        for (const QString &k : primaryKeyOf(relations.first(), tr)) {
            const int i = FieldDefs.IndexOf(k);
            if (i < 0) {
                m_keyColumns.clear();
                break;
            }
            m_keyColumns.append(i);
        }
    }
    if (m_keyColumns.isEmpty()) {
        for (int i = 0; i < FieldDefs.Count(); ++i) {
            if (!FieldTypes::isBlob(FieldDefs[i].DataType))
                m_keyColumns.append(i);
        }
    }
}

QStringList TIBQuery::KeyFields() const
{
    QStringList names;
    for (int i : m_keyColumns)
        names.append(FieldDefs[i].Name);
    return names;
}

TBookmark TIBQuery::bookmarkAt(int index) const
{
    QVariantList key;
    for (int i : m_keyColumns)
        key.append(m_rows.value(index, i));
    return TBookmark(key);
}

int TIBQuery::recordOfBookmark(const TBookmark &bookmark) const
{
    const QVariantList key = bookmark.Data.toList();
    if (key.size() != m_keyColumns.size())
        return -1;
    for (int r = 0; r < m_rows.size(); ++r) {
        bool same = true;
        for (int k = 0; k < key.size() && same; ++k) {
            const QVariant v = m_rows.value(r, m_keyColumns[k]);
            same = (v.isNull() && key[k].isNull()) || v == key[k];
        }
        if (same)
            return r;
    }
    return -1;
}

// ---- The transaction -------------------------------------------------------

void TIBQuery::transactionEnding(TIBTransaction *)
{
    // The rows were read in this transaction; a pending edit is dropped. The
    // transaction ends whatever the close handlers do.
    try {
        Close();
    } catch (...) {
        closeWithoutEvents();
    }
}

void TIBQuery::databaseClosing(TIBDatabase *db)
{
    transactionEnding(nullptr);
    if (db == Database())
        m_primaryKeys.clear();
}
