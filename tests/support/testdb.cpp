#include "testdb.h"

#include <QDir>
#include <functional>

QStringList connectionParams()
{
    return {QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=plumtree7")};
}

namespace {

QString readFirstValue(TIBDatabase *db, TIBTransaction *tr, const QString &sql)
{
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(tr);
    q.SQL = QStringList{sql};
    q.ExecQuery();
    const QString v = q.Eof() ? QStringLiteral("<none>") : q.Fields(0).AsString();
    q.Close();
    tr->Commit();
    return v;
}

// Every row of the statement, each as `line` makes it.
QStringList readRows(TIBDatabase *db, TIBTransaction *tr, const QStringList &sql,
                     const std::function<QString(TIBSQL &)> &line)
{
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(tr);
    q.SQL = sql;
    QStringList out;
    for (q.ExecQuery(); !q.Eof(); q.Next())
        out << line(q);
    q.Close();
    return out;
}

} // namespace

QStringList firstColumn(TIBDatabase *db, const QStringList &sql)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    const QStringList out =
        readRows(db, &tr, sql, [](TIBSQL &q) { return q.Fields(0).AsString().trimmed(); });
    tr.Commit();
    return out;
}

QStringList allColumns(TIBDatabase *db, TIBTransaction *tr, const QStringList &sql)
{
    return readRows(db, tr, sql, [](TIBSQL &q) {
        QStringList values;
        for (int i = 0; i < q.FieldCount(); ++i)
            values << (q.Fields(i).IsNull() ? QString() : q.Fields(i).AsString());
        return values.join('|');
    });
}

QString firstValue(TIBDatabase *db, const QString &sql)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    return readFirstValue(db, &tr, sql);
}

TestDatabase::TestDatabase(const QString &fileName, const QString &subFolder)
{
    QString folder = m_dir.path();
    if (!subFolder.isEmpty()) {
        QDir(folder).mkpath(subFolder);
        folder += QLatin1Char('/') + subFolder;
    }
    m_path = folder + QLatin1Char('/') + fileName;
    m_db = std::make_unique<TIBDatabase>();
    m_tr = std::make_unique<TIBTransaction>();
    m_db->DatabaseName = m_path;
    m_db->Params = {QStringLiteral("USER \"SYSDBA\""), QStringLiteral("PASSWORD \"plumtree7\""),
                    QStringLiteral("PAGE_SIZE 4096")};
    m_db->CreateDatabase();
    m_db->Params = connectionParams();
    m_tr->setDefaultDatabase(m_db.get());
}

TestDatabase::~TestDatabase()
{
    m_tr.reset();
    m_db.reset();
}

void TestDatabase::exec(const QString &sql)
{
    TIBSQL q;
    q.setDatabase(m_db.get());
    q.setTransaction(m_tr.get());
    q.SQL = QStringList{sql};
    q.ExecQuery();
    m_tr->Commit();
}

QString TestDatabase::scalar(const QString &sql)
{
    TIBSQL q;
    q.setDatabase(m_db.get());
    q.setTransaction(m_tr.get());
    q.SQL = QStringList{sql};
    q.ExecQuery();
    const QString v = q.Eof() ? QString() : q.Fields(0).AsString();
    q.Close();
    return v;
}

OtherConnection::OtherConnection(const QString &path, const QStringList &trParams)
{
    db.DatabaseName = path;
    db.Params = connectionParams();
    db.Open();
    tr.Params = trParams;
    tr.setDefaultDatabase(&db);
}

void OtherConnection::exec(const QString &sql)
{
    TIBSQL q;
    q.setDatabase(&db);
    q.SQL = QStringList{sql};
    q.ExecQuery();
    tr.Commit();
}

QString OtherConnection::scalar(const QString &sql)
{
    return readFirstValue(&db, &tr, sql);
}
