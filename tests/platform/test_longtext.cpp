#include "busycursor.h"
#include "dberrortext.h"
#include "iberror.h"
#include "ibsql.h"
#include "serverdb.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QTemporaryDir>
#include <gtest/gtest.h>

// Texts around the engine's VARCHAR limit and past the message's 16-bit
// length word; conflicts with another transaction and how they read.
namespace {

struct Esito
{
    bool raised = false;
    QString message;
    int stored = -1; // length read back, -1 when no row
};

Esito inserisci(TestDatabase &t, int id, const char *column, int bytes)
{
    Esito e;
    TIBSQL q;
    q.setDatabase(&t.db());
    q.SQL = QStringList{QStringLiteral("INSERT INTO T (ID, %1) VALUES (:ID, :VALORE)").arg(column)};
    q.ParamByName(QStringLiteral("ID")).setAsInteger(id);
    q.ParamByName(QStringLiteral("VALORE")).setAsString(QString(bytes, QLatin1Char('x')));
    try {
        q.ExecQuery();
        t.tr().Commit();
    } catch (const EIBError &err) {
        e.raised = true;
        e.message = err.message();
        t.tr().Rollback();
    }
    e.stored = t.scalar(QStringLiteral("SELECT COALESCE((SELECT CHAR_LENGTH(%1) FROM T WHERE "
                                       "ID=%2), -1) FROM RDB$DATABASE")
                            .arg(column)
                            .arg(id))
                   .toInt();
    return e;
}

} // namespace

TEST(LongText, ParameterLimitsAgainstVarcharAndBlob)
{
    TestDatabase t;
    t.exec("CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(32765), "
           "B BLOB SUB_TYPE 1)");
    int id = 0;
    for (int bytes : {32765, 32766, 65535, 65536, 65546, 131077}) {
        SCOPED_TRACE(bytes);
        const Esito v = inserisci(t, ++id, "V", bytes);
        if (bytes <= 32765) {
            EXPECT_FALSE(v.raised) << v.message.toStdString();
            EXPECT_EQ(v.stored, bytes);
        } else {
            // Refused before anything is sent, naming the parameter: no row.
            EXPECT_TRUE(v.raised);
            EXPECT_EQ(v.message,
                      QString("Il valore del parametro VALORE è troppo lungo: %1 byte, al massimo "
                              "32765")
                          .arg(bytes));
            EXPECT_EQ(v.stored, -1);
        }
        const Esito b = inserisci(t, ++id, "B", bytes);
        EXPECT_FALSE(b.raised) << b.message.toStdString();
        EXPECT_EQ(b.stored, bytes);
    }
}

TEST(DbErrorText, ConflictCodesPutTheSentenceFirst)
{
    using namespace IBErrorCodes;
    const QString s = DbErrorText::MsgConflitto;
    const struct
    {
        QVector<long> codes;
        bool conflict;
    } casi[] = {{{Deadlock, UpdateConflict}, true},
                {{LockConflict}, true},
                {{ConcurrentTransaction}, true},
                {{Deadlock, LockTimeout, ConcurrentTransaction}, true},
                {{LockTimeout}, true},
                {{IoError}, false},
                {{}, false}};
    for (const auto &c : casi) {
        const EIBError e(QStringLiteral("engine text"), c.codes);
        EXPECT_EQ(e.isLockConflict(), c.conflict);
        EXPECT_EQ(DbErrorText::of(e), c.conflict ? s + "\rengine text" : "engine text");
        EXPECT_EQ(DbErrorText::under("Errore interno", e),
                  c.conflict ? s + "\rErrore interno\rengine text" : "Errore interno\rengine text");
        EXPECT_EQ(DbErrorText::under("Errore interno", e, false),
                  c.conflict ? s + "\rErrore interno\rengine text" : "Errore interno");
    }
    const std::runtime_error altro("altro");
    EXPECT_EQ(DbErrorText::of(altro), "altro");
    EXPECT_EQ(DbErrorText::under("Testo", altro, false), "Testo");
}

// A statement of a transaction with a lock timeout, behind another
// connection's unsaved change, fails as a conflict after the timeout, with
// the busy cursor up meanwhile; the row is as the other left it.
TEST(ServerLockTimeout, AWaitEndsAsAConflict)
{
    SKIP_WITHOUT_TEST_SERVER();
    QTemporaryDir dir;
    const QString name = serverDatabaseName(dir.path() + "/attesa.fdb");
    {
        TIBDatabase db;
        db.DatabaseName = name;
        db.Params = {"USER \"SYSDBA\"", "PASSWORD \"plumtree7\"", "PAGE_SIZE 4096"};
        db.CreateDatabase();
        TIBTransaction tr;
        tr.setDefaultDatabase(&db);
        TIBSQL q;
        q.setDatabase(&db);
        q.SQL = QStringList{"CREATE TABLE T (ID INTEGER NOT NULL PRIMARY KEY, V VARCHAR(10))"};
        q.ExecQuery();
        tr.Commit();
        q.SQL = QStringList{"INSERT INTO T VALUES (1, 'prima')"};
        q.ExecQuery();
        tr.Commit();
    }
    OtherConnection a(name);
    TIBSQL qa;
    qa.setDatabase(&a.db);
    qa.SQL = QStringList{"UPDATE T SET V='di A' WHERE ID=1"};
    qa.ExecQuery(); // not committed: A holds the row

    OtherConnection b(name, {"isc_tpb_concurrency", "isc_tpb_wait", "isc_tpb_lock_timeout=1"});
    TIBSQL qb;
    qb.setDatabase(&b.db);
    qb.SQL = QStringList{"UPDATE T SET V='di B' WHERE ID=1"};
    try {
        qb.ExecQuery();
        ADD_FAILURE() << "the update should have timed out";
    } catch (const EIBError &e) {
        // A row's wait ends with the update-conflict codes, a table's with
        // the lock time-out code: both are conflicts.
        EXPECT_TRUE(e.isLockConflict()) << e.message().toStdString();
    }
    // The busy cursor stays until the event loop runs again.
    EXPECT_EQ(BusyCursor::depth(), 1);
    QCoreApplication::processEvents();
    EXPECT_EQ(BusyCursor::depth(), 0);
    b.tr.Rollback();
    a.tr.Commit();
    EXPECT_EQ(OtherConnection(name).scalar("SELECT V FROM T"), "di A");

    TIBTransaction cattivo;
    cattivo.Params = {"isc_tpb_lock_timeout=0"};
    cattivo.setDefaultDatabase(&a.db);
    EXPECT_THROW(cattivo.StartTransaction(), EIBError);
}
