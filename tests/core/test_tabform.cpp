#include "messagerecorder.h"
#include "schema.h"
#include "tabform.h"
#include "testdb.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

namespace {

QStringList tablesInCreationOrder(TIBDatabase *db)
{
    return firstColumn(db, {"SELECT RDB$RELATION_NAME FROM RDB$RELATIONS",
                            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY RDB$RELATION_ID"});
}

QStringList generators(TIBDatabase *db)
{
    return firstColumn(db, {"SELECT RDB$GENERATOR_NAME FROM RDB$GENERATORS",
                            "WHERE COALESCE(RDB$SYSTEM_FLAG, 0) = 0 ORDER BY 1"});
}

// "NAME TYPE[ NOT NULL]" for each column of a table, in position order.
QStringList describe(TIBDatabase *db, const QString &table)
{
    return firstColumn(
        db, {"SELECT TRIM(RF.RDB$FIELD_NAME) || ' ' ||",
             "  CASE F.RDB$FIELD_TYPE WHEN 7 THEN 'SMALLINT' WHEN 8 THEN 'INTEGER'",
             "  WHEN 10 THEN 'FLOAT' WHEN 12 THEN 'DATE' WHEN 13 THEN 'TIME'",
             "  WHEN 37 THEN 'VARCHAR(' || F.RDB$FIELD_LENGTH || ')'",
             "  WHEN 261 THEN 'BLOB ' || F.RDB$FIELD_SUB_TYPE ELSE 'OTHER' END ||",
             "  CASE WHEN RF.RDB$NULL_FLAG = 1 THEN ' NOT NULL' ELSE '' END",
             "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = "
             "RF.RDB$FIELD_SOURCE",
             "WHERE RF.RDB$RELATION_NAME = '" + table + "' ORDER BY RF.RDB$FIELD_POSITION"});
}

QString primaryKey(TIBDatabase *db, const QString &table)
{
    const QStringList rows = firstColumn(
        db,
        {"SELECT TRIM(RC.RDB$CONSTRAINT_NAME) || ' (' || LIST(TRIM(S.RDB$FIELD_NAME), ',') || ')'",
         "FROM RDB$RELATION_CONSTRAINTS RC JOIN RDB$INDEX_SEGMENTS S ON S.RDB$INDEX_NAME = "
         "RC.RDB$INDEX_NAME",
         "WHERE RC.RDB$RELATION_NAME = '" + table + "' AND RC.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'",
         "GROUP BY RC.RDB$CONSTRAINT_NAME"});
    return rows.value(0);
}

class TabFormTest : public ::testing::Test
{
protected:
    void SetUp() override { tab.DirectoryProgramma = dir.path() + "/"; }
    void signIn()
    {
        rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
        ASSERT_TRUE(tab.ConnettiDatabaseArchivi());
    }
    QTemporaryDir dir;
    MessageRecorder rec;
    TTabForm tab;
};

} // namespace

TEST_F(TabFormTest, FirstSignInCreatesFolderFileAndWholeFirstSchemaInOrder)
{
    signIn();
    EXPECT_TRUE(QFile::exists(dir.path() + "/user/user.fdb"));
    EXPECT_EQ(tablesInCreationOrder(tab.IBDatabase1),
              (QStringList{"DETTPROF", "DETTPROGETTI", "DETTMENU", "VELMOLOG", "VELMOLOGFUNZ",
                           "PROFILI", "PROGETTI", "PROGRAMMI", "STOPOS1", "TABPRAVLIN", "UTENTI",
                           "IMPOSTAZIONIVELMOUSER"}));
    EXPECT_EQ(generators(tab.IBDatabase1), QStringList{"CODICESESSIONEVELMOLOG"});
    EXPECT_FALSE(tab.IBCSDProgetti->Connected());
    EXPECT_EQ(tab.Get_DBCSDProgetti(), QString());
    EXPECT_EQ(tab.FileVerde, dir.path() + "/Grafica/Verde.bmp");
    EXPECT_EQ(tab.FileRosso, dir.path() + "/Grafica/Rosso.bmp");
}

TEST_F(TabFormTest, CreatedSchemaMatchesTablesColumnsAndKeys)
{
    signIn();
    TIBDatabase *db = tab.IBDatabase1;
    EXPECT_EQ(
        describe(db, "DETTMENU"),
        (QStringList{"PROGRAMMA SMALLINT NOT NULL", "MENU SMALLINT NOT NULL", "MENUPREC SMALLINT",
                     "LIVELLOMENU SMALLINT", "DESCRIZIONE VARCHAR(64)", "DLL VARCHAR(20)",
                     "FUNZIONE VARCHAR(30)", "NOTE BLOB 0", "LIVELLO2VERSIONE SMALLINT",
                     "PARAMETRI VARCHAR(256)", "VISIBILE SMALLINT", "VOCERAPIDA SMALLINT"}));
    EXPECT_EQ(describe(db, "VELMOLOGFUNZ"),
              (QStringList{"CODICESESSIONE INTEGER NOT NULL", "DATACHIAMATAFUNZIONE DATE NOT NULL",
                           "ORACHIAMATAFUNZIONE TIME NOT NULL", "FUNZIONECHIAMATA VARCHAR(30)"}));
    EXPECT_EQ(describe(db, "STOPOS1").mid(7, 2), (QStringList{"INFO1 FLOAT", "INFO2 FLOAT"}));
    EXPECT_EQ(describe(db, "TABPRAVLIN"),
              (QStringList{"UTENTE SMALLINT NOT NULL", "INTESTAZIONE VARCHAR(64) NOT NULL",
                           "PARAMETRO VARCHAR(64) NOT NULL", "VALORE VARCHAR(256)",
                           "PROGRESSIVO INTEGER"}));
    EXPECT_EQ(
        describe(db, "UTENTI"),
        (QStringList{"CODICE SMALLINT NOT NULL", "NOMEUTENTE VARCHAR(20)", "PWDUTENTE VARCHAR(80)",
                     "PROFILOSICUREZZA SMALLINT", "PROGETTO SMALLINT", "DESCRIZIONE VARCHAR(128)",
                     "EMAIL VARCHAR(128)", "NOTE BLOB 1", "INFO1 VARCHAR(10)", "INFO2 VARCHAR(10)",
                     "PRAVLIN BLOB 1", "DITTA VARCHAR(64)", "MANTIENISTDMIN SMALLINT",
                     "ABILITASCELTADISCO SMALLINT", "ULTIMODISCOSCELTO VARCHAR(1)",
                     "ACCESSOPRAVLIN SMALLINT", "UTENTEINATTIVO SMALLINT"}));
    EXPECT_EQ(describe(db, "PROFILI"),
              (QStringList{"CODICE SMALLINT NOT NULL", "DESCRIZIONE VARCHAR(64)",
                           "LIVELLOPREDEFINITO SMALLINT", "NOTE BLOB 1", "TIPO VARCHAR(15)"}));
    EXPECT_EQ(describe(db, "IMPOSTAZIONIVELMOUSER"),
              (QStringList{"ID INTEGER NOT NULL", "DBCSDPROGETTI VARCHAR(256)"}));

    EXPECT_EQ(primaryKey(db, "DETTPROF"), "DETTPROF_CHIAVEPRIMARIA (PROFILO,PROGRAMMA,MENU)");
    EXPECT_EQ(primaryKey(db, "DETTPROGETTI"), "DETTPROGETTI_CHIAVEPRIMARIA (PROGETTO,PROGRAMMA)");
    EXPECT_EQ(primaryKey(db, "VELMOLOGFUNZ"),
              "VELMOLOGFUNZ_CHIAVEPRIMARIA "
              "(CODICESESSIONE,DATACHIAMATAFUNZIONE,ORACHIAMATAFUNZIONE)");
    EXPECT_EQ(primaryKey(db, "STOPOS1"),
              "STOPOS1_CHIAVEPRIMARIA (CODICEPROGETTO,CODICESITUAZIONE,CODICEUTENTE)");
    EXPECT_EQ(primaryKey(db, "TABPRAVLIN"),
              "TABPRAVLIN_CHIAVEPRIMARIA (UTENTE,INTESTAZIONE,PARAMETRO)");
    EXPECT_EQ(primaryKey(db, "UTENTI"), "UTENTI_CHIAVEPRIMARIA (CODICE)");
    EXPECT_EQ(primaryKey(db, "IMPOSTAZIONIVELMOUSER"), "IMPOSTAZIONIVELMOUSER_PK (ID)");
}

TEST_F(TabFormTest, SecondSignInCreatesNothing)
{
    signIn();
    TTabForm again;
    again.DirectoryProgramma = tab.DirectoryProgramma;
    tab.IBDatabase1->Close(); // the embedded engine holds the file for one process at a time
    EXPECT_TRUE(again.ConnettiDatabaseArchivi());
    EXPECT_EQ(tablesInCreationOrder(again.IBDatabase1).size(), 12);
}

TEST_F(TabFormTest, FailedFirstSchemaStatementCommitsNothing)
{
    signIn();
    // Drop everything but PROGETTI so statement 8 of a rerun fails.
    for (const QString &t : tablesInCreationOrder(tab.IBDatabase1)) {
        if (t != "PROGETTI" && t != "IMPOSTAZIONIVELMOUSER")
            tab.QueryAux->SQL = QStringList{"DROP TABLE " + t}, tab.QueryAux->ExecQuery();
    }
    tab.QueryAux->SQL = QStringList{"DROP GENERATOR CODICESESSIONEVELMOLOG"};
    tab.QueryAux->ExecQuery();
    tab.IBTransaction1->Commit();

    rec.expect(TMsgDlgType::Error, "Errore interno durante la creazione della tabella PROGETTI");
    EXPECT_FALSE(tab.CreazioneTabelle());
    // A later commit of the shared transaction must not make half a schema permanent.
    tab.IBTransaction1->StartTransaction();
    tab.IBTransaction1->Commit();
    EXPECT_EQ(tablesInCreationOrder(tab.IBDatabase1),
              (QStringList{"PROGETTI", "IMPOSTAZIONIVELMOUSER"}));
}

TEST_F(TabFormTest, CsdPathWithApostropheIsStoredWithAcuteAccent)
{
    signIn();
    QDir(dir.path()).mkdir("l'archivio");
    const QString path = dir.path() + "/l'archivio/csd.fdb";
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    tab.Set_DBCSDProgetti(path);
    EXPECT_EQ(tab.Get_DBCSDProgetti(), path);
    QString stored = path;
    stored.replace("'", "´");
    EXPECT_EQ(firstColumn(tab.IBDatabase1, {"SELECT DBCSDPROGETTI FROM IMPOSTAZIONIVELMOUSER"}),
              QStringList{stored});
    ASSERT_TRUE(tab.IBCSDProgetti->Connected());
    EXPECT_EQ(tablesInCreationOrder(tab.IBCSDProgetti), (QStringList{"PROGETTI", "SITUAZIONI"}));
    EXPECT_EQ(generators(tab.IBCSDProgetti),
              (QStringList{"CODICEPROGETTICOUNTER", "CODICESITUAZIONICOUNTER"}));
    EXPECT_EQ(primaryKey(tab.IBCSDProgetti, "SITUAZIONI"), "SITUAZIONI_PK (CODICE)");

    // Opening it again creates nothing and shows nothing.
    tab.ConnettiIBCSDProgetti(path);
    EXPECT_TRUE(tab.IBCSDProgetti->Connected());
    EXPECT_EQ(tablesInCreationOrder(tab.IBCSDProgetti).size(), 2);
}

TEST_F(TabFormTest, EmptyCsdPathStoresNullAndKeepsTheConnection)
{
    signIn();
    const QString path = dir.path() + "/csd.fdb";
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    tab.Set_DBCSDProgetti(path);
    ASSERT_TRUE(tab.IBCSDProgetti->Connected());
    tab.Set_DBCSDProgetti("");
    EXPECT_EQ(firstColumn(tab.IBDatabase1,
                          {"SELECT COALESCE(DBCSDPROGETTI, '<null>') FROM IMPOSTAZIONIVELMOUSER"}),
              QStringList{"<null>"});
    EXPECT_TRUE(tab.IBCSDProgetti->Connected());
}

TEST_F(TabFormTest, CsdDatabaseThatCannotBeOpenedIsReportedAndTheRestGoesOn)
{
    signIn();
    // A folder that does not exist: no creation, the prompt is cancelled.
    Modal::setRunner([](QDialog *d) {
        d->reject();
        return d->result();
    });
    rec.expect(TMsgDlgType::None, "Non trovato dati.ini")
        .expect(TMsgDlgType::None, "Apertura / creazione del database non riuscita!")
        .expect(TMsgDlgType::Warning,
                "Connessione database CSDProgetti non riuscita\rI/O error during \"open "
                "O_CREAT\" operation for file \"" +
                    dir.path() +
                    "/manca/csd.fdb\"\n-Error while trying to create file\n-No such file or "
                    "directory");
    tab.Set_DBCSDProgetti(dir.path() + "/manca/csd.fdb");
    Modal::setRunner({});
    EXPECT_FALSE(tab.IBCSDProgetti->Connected());
    EXPECT_EQ(tab.Get_DBCSDProgetti(), dir.path() + "/manca/csd.fdb");
}

TEST_F(TabFormTest, StoredCsdDatabaseIsOpenedAtSignIn)
{
    signIn();
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    tab.Set_DBCSDProgetti(dir.path() + "/csd.fdb");
    tab.IBCSDProgetti->Close();
    tab.IBDatabase1->Close();

    TTabForm again;
    again.DirectoryProgramma = tab.DirectoryProgramma;
    EXPECT_TRUE(again.ConnettiDatabaseArchivi());
    EXPECT_TRUE(again.IBCSDProgetti->Connected());
}

TEST_F(TabFormTest, UnreachableConfiguredServerGivesTheInitialisationError)
{
    QDir(dir.path()).mkpath("user");
    QFile ini(dir.path() + "/user/dati.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[CONFIG]\r\nNome Server=127.0.0.1/1\r\nAlias=utenti\r\n");
    ini.close();
    rec.expect(TMsgDlgType::Error, "Errore inizializzazione database utenti\r"
                                   "Unable to complete network request to host \"127.0.0.1\".\n"
                                   "-Failed to establish a connection.");
    EXPECT_FALSE(tab.ConnettiDatabaseArchivi());
    EXPECT_FALSE(QFile::exists(dir.path() + "/user/user.fdb"));
    // Safe to run again once the configuration is fixed.
    ASSERT_TRUE(QFile::remove(dir.path() + "/user/dati.ini"));
    signIn();
}
