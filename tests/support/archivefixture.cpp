#include "archivefixture.h"

#include "ibsql.h"
#include "inifile.h"
#include "messages.h"
#include "pathutil.h"
#include "schemaupgrade.h"
#include "serverdb.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QRegularExpression>

void ArchiveTest::SetUp()
{
    if (m_server) {
        SKIP_WITHOUT_TEST_SERVER();
        QDir(dir.path()).mkdir("user");
        TIniFile ini(dir.path() + "/user/dati.ini");
        ini.WriteString("CONFIG", "Nome Server", testServer());
        ini.WriteString("CONFIG", "Alias", dir.path() + "/user/user.fdb");
    }
    QDir(dir.path()).mkdir("Grafica");
    for (const char *picture : {"/Grafica/Verde.bmp", "/Grafica/Rosso.bmp"})
        QFile::copy(QCoreApplication::applicationDirPath() + picture, dir.path() + picture);
    setProgramFolder(dir.path());
    tab = std::make_unique<TTabForm>();
    tabVar = tab.get();
    rec.allowAny();
    ASSERT_TRUE(tab->ConnettiDatabaseArchivi());
    if (m_upgrade)
        SchemaUpgrade::AggiornaTracciati12072012(tab->QueryAux);
    rec.allowAny(false);
    rec.clear();
    if (m_server) {
        ASSERT_TRUE(tab->IBDatabase1->DatabaseName.startsWith(testServer()));
    }
}

void ArchiveTest::TearDown()
{
    Modal::setRunner({});
    tab.reset();
    setProgramFolder(QString());
}

QString ArchiveTest::committed(const QString &sql)
{
    return OtherConnection(tab->IBDatabase1->DatabaseName).scalar(sql);
}

void ArchiveTest::other(const QString &sql, bool paramCheck)
{
    OtherConnection o(tab->IBDatabase1->DatabaseName);
    TIBSQL q;
    q.setDatabase(&o.db);
    q.setTransaction(&o.tr);
    q.ParamCheck = paramCheck;
    q.SQL = QStringList{sql};
    q.ExecQuery();
    o.tr.Commit();
}

std::shared_ptr<OtherConnection> ArchiveTest::inSospeso(const QString &sql)
{
    // Closing would commit: the change is rolled back first.
    std::shared_ptr<OtherConnection> o(new OtherConnection(tab->IBDatabase1->DatabaseName),
                                       [](OtherConnection *c) {
                                           if (c->tr.InTransaction())
                                               c->tr.Rollback();
                                           delete c;
                                       });
    TIBSQL q;
    q.setDatabase(&o->db);
    q.setTransaction(&o->tr);
    q.SQL = QStringList{sql};
    q.ExecQuery();
    return o;
}

void ArchiveTest::attesaBreve()
{
    tab->IBTransaction1->Params.replaceInStrings(QRegularExpression("lock_timeout=\\d+"),
                                                 "lock_timeout=1");
}

namespace {

QStringList leggi(TIBDatabase *db, TIBTransaction *tr, const QString &sql)
{
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(tr);
    q.SQL = QStringList{sql};
    q.ExecQuery();
    QStringList out;
    for (; !q.Eof(); q.Next()) {
        QStringList values;
        for (int i = 0; i < q.FieldCount(); ++i)
            values << (q.Fields(i).IsNull() ? QString() : q.Fields(i).AsString());
        out << values.join('|');
    }
    q.Close();
    return out;
}

} // namespace

QStringList ArchiveTest::righe(const QString &sql)
{
    return leggi(tab->IBDatabase1, tab->IBTransaction1, sql);
}

QStringList ArchiveTest::righeCommitted(const QString &sql)
{
    OtherConnection o(tab->IBDatabase1->DatabaseName);
    const QStringList out = leggi(&o.db, &o.tr, sql);
    o.tr.Commit();
    return out;
}

void ArchiveTest::nuovoSnapshot()
{
    if (tab->IBTransaction1->InTransaction())
        tab->IBTransaction1->Commit();
}

int ArchiveTest::mostra(QDialog &dialog, const std::function<void()> &drive)
{
    Modal::setRunner([&](QDialog *d) {
        EXPECT_EQ(d, &dialog);
        drive();
        return d->result();
    });
    return Modal::exec(&dialog);
}
