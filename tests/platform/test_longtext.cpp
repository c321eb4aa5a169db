#include "dberrortext.h"
#include "iberror.h"
#include "testdb.h"

#include <gtest/gtest.h>

// Texts around the engine's VARCHAR limit and past the message's 16-bit
// length word; how conflicts with another transaction read.
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

// A key already taken, a text too long and a lost connection each have their
// sentence before the database's message, where that message is shown; a
// network error alone (a server never reached) has none.
TEST(DbErrorText, CommonFailuresPutTheirSentenceFirst)
{
    using namespace DbErrorText;
    const struct
    {
        QVector<long> codes;
        QString frase;
    } casi[] = {{{335544665}, MsgChiaveDuplicata},
                {{335544349}, MsgChiaveDuplicata},
                {{335544321, 335544914, 335545033}, MsgTestoTroppoLungo},
                {{IBErrorCodes::NetworkError, 335544727}, MsgConnessionePersa},
                {{335544856}, MsgConnessionePersa},
                {{IBErrorCodes::NetworkError, 335544722}, QString()}};
    for (const auto &c : casi) {
        const EIBError e(QStringLiteral("engine text"), c.codes);
        const QString prima = c.frase.isEmpty() ? QString() : c.frase + "\r";
        EXPECT_EQ(sentence(e), c.frase);
        EXPECT_EQ(of(e), prima + "engine text");
        EXPECT_EQ(under("Errore interno", e), prima + "Errore interno\rengine text");
        EXPECT_EQ(under("Errore interno", e, false), "Errore interno");
    }
}
