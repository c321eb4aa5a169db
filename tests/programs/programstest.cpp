#include "programstest.h"

#include "ibsql.h"
#include "testdb.h"

void ProgramsTest::SetUp()
{
    firstSchemaOnly();
    ArchiveTest::SetUp();
}

void ProgramsTest::conParametriBlob(const QString &tipo)
{
    nuovoSnapshot();
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
