#include "programstest.h"

#include "pathutil.h"
#include "testdb.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>

void ProgramsTest::SetUp()
{
    QDir(m_dir.path()).mkdir("Grafica");
    for (const char *picture : {"/Grafica/Verde.bmp", "/Grafica/Rosso.bmp"})
        QFile::copy(QCoreApplication::applicationDirPath() + picture, m_dir.path() + picture);
    setProgramFolder(m_dir.path());
    tab = std::make_unique<TTabForm>();
    tabVar = tab.get();
    rec.allowAny();
    ASSERT_TRUE(tab->ConnettiDatabaseArchivi());
    rec.allowAny(false);
    rec.clear();
}

void ProgramsTest::TearDown()
{
    Modal::setRunner({});
    tab.reset();
    setProgramFolder(QString());
}

void ProgramsTest::other(const QString &sql)
{
    OtherConnection(tab->IBDatabase1->DatabaseName).exec(sql);
}

QString ProgramsTest::committed(const QString &sql)
{
    return OtherConnection(tab->IBDatabase1->DatabaseName).scalar(sql);
}

void ProgramsTest::nuovaIstantanea()
{
    if (tab->IBTransaction1->InTransaction())
        tab->IBTransaction1->Commit();
}

void ProgramsTest::conParametriBlob(const QString &tipo)
{
    nuovaIstantanea();
    other("ALTER TABLE DETTMENU ADD PARAMETRIBLOB " + tipo);
}

void ProgramsTest::programma(int codice, const QString &nome)
{
    OtherConnection o(tab->IBDatabase1->DatabaseName);
    TIBSQL q;
    q.setDatabase(&o.db);
    q.SQL = QStringList{"INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (:C, :N)"};
    q.ParamByName("C").setAsInteger(codice);
    q.ParamByName("N").setAsString(nome);
    q.ExecQuery();
    o.tr.Commit();
}

int ProgramsTest::caratteriPARAMETRIBLOB()
{
    return committed("SELECT B.RDB$CHARACTER_SET_ID FROM RDB$RELATION_FIELDS A JOIN RDB$FIELDS B "
                     "ON A.RDB$FIELD_SOURCE=B.RDB$FIELD_NAME WHERE A.RDB$RELATION_NAME='DETTMENU' "
                     "AND A.RDB$FIELD_NAME='PARAMETRIBLOB'")
        .toInt();
}
