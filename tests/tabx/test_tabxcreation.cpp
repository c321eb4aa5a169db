#include "tabxtest.h"

#include "iberror.h"

#include <QDir>
#include <QFile>
#include <QWidget>

namespace {

QStringList descrivi(TIBDatabase *db, const QString &tabella)
{
    return firstColumn(
        db, {"SELECT TRIM(RF.RDB$FIELD_NAME) || ' ' ||",
             "  CASE F.RDB$FIELD_TYPE WHEN 7 THEN 'SMALLINT' WHEN 12 THEN 'DATE'",
             "  WHEN 37 THEN 'VARCHAR(' || F.RDB$FIELD_LENGTH || ')'",
             "  WHEN 261 THEN 'BLOB ' || F.RDB$FIELD_SUB_TYPE ELSE 'OTHER' END ||",
             "  CASE WHEN RF.RDB$NULL_FLAG = 1 THEN ' NOT NULL' ELSE '' END",
             "FROM RDB$RELATION_FIELDS RF JOIN RDB$FIELDS F ON F.RDB$FIELD_NAME = "
             "RF.RDB$FIELD_SOURCE",
             "WHERE RF.RDB$RELATION_NAME = '" + tabella + "' ORDER BY RF.RDB$FIELD_POSITION"});
}

QString chiave(TIBDatabase *db, const QString &tabella)
{
    return firstColumn(db, {"SELECT TRIM(RC.RDB$CONSTRAINT_NAME) || ' (' || "
                            "LIST(TRIM(S.RDB$FIELD_NAME), ',') || ')'",
                            "FROM RDB$RELATION_CONSTRAINTS RC JOIN RDB$INDEX_SEGMENTS S ON "
                            "S.RDB$INDEX_NAME = RC.RDB$INDEX_NAME",
                            "WHERE RC.RDB$RELATION_NAME = '" + tabella +
                                "' AND RC.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'",
                            "GROUP BY RC.RDB$CONSTRAINT_NAME"})
        .value(0);
}

const QStringList kTabScript = {"PROGETTO VARCHAR(15) NOT NULL",
                                "SCRIPTFORM VARCHAR(15) NOT NULL",
                                "CONTESTO SMALLINT NOT NULL",
                                "UTENTE VARCHAR(15) NOT NULL",
                                "DESCRIZIONESITUAZIONE BLOB 0",
                                "SCRIPT BLOB 0",
                                "MODIFICATODAUTENTE SMALLINT",
                                "DATAULTIMAMODIFICA DATE",
                                "STATUS SMALLINT"};

void attivaEVuota(TTabXForm &x)
{
    ASSERT_TRUE(x.MemTabX->Active());
    EXPECT_TRUE(x.MemTabX->IsEmpty());
    QStringList campi;
    for (int i = 0; i < x.MemTabX->FieldCount(); ++i)
        campi << x.MemTabX->Fields(i)->FieldName();
    EXPECT_EQ(campi, (QStringList{"Codice", "Tipo", "Nome", "Numero", "Testo", "Data", "Memo",
                                  "Livello1", "Livello2", "Utente"}));
}

} // namespace

using TabXCreation = TabXTest;

TEST_F(TabXCreation, Mode0OnACleanFolderCreatesFolderDatabaseAndTabScript)
{
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    auto x = crea(0);
    EXPECT_TRUE(QFile::exists(fileUtenti()));
    ASSERT_TRUE(x->IBDatabaseUser->Connected());
    EXPECT_EQ(descrivi(x->IBDatabaseUser, "TABSCRIPT"), kTabScript);
    EXPECT_EQ(chiave(x->IBDatabaseUser, "TABSCRIPT"),
              "KIVTAB_CHIAVEPRIMARIA (PROGETTO,SCRIPTFORM,CONTESTO,UTENTE)");
    attivaEVuota(*x);
    EXPECT_EQ(x->IBTransaction1->Params, (QStringList{"isc_tpb_concurrency", "isc_tpb_nowait"}));
    EXPECT_EQ(x->QueryPravlin->Transaction(), x->TransazioneUser);
    EXPECT_EQ(x->IBDatabase4->DefaultTransaction, x->IBTransaction4);
    EXPECT_FALSE(x->IBDatabase1->Connected());
}

TEST_F(TabXCreation, BesideTheArchiveObjectOnTheSameFileAndSilentTheSecondTime)
{
    creaArchivio();
    auto x = crea(0);
    ASSERT_TRUE(x->IBDatabaseUser->Connected());
    EXPECT_EQ(descrivi(archivio->IBDatabase1, "TABSCRIPT"), kTabScript);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM UTENTI"), "0"); // the first schema is the archive's

    auto seconda = crea(0);
    EXPECT_TRUE(seconda->IBDatabaseUser->Connected());
    EXPECT_EQ(rec.seen().size(), 1); // only the archive's creation notice
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
              "1");
}

TEST_F(TabXCreation, Mode3OpensNothingAndCreatesNothing)
{
    auto x = crea(3);
    EXPECT_FALSE(QDir(cartella() + "user").exists());
    EXPECT_FALSE(x->IBDatabaseUser->Connected());
    attivaEVuota(*x);
    QStringList lista{"resta"};
    x->CaricaUser(lista);
    EXPECT_EQ(lista, QStringList{"resta"});
    EXPECT_TRUE(x->VerificaPasswordUser("chiunque", "x"));
    EXPECT_EQ(x->CaricaParametro("P"), QString());
    EXPECT_TRUE(rec.seen().isEmpty());
}

TEST_F(TabXCreation, UnopenedUserDatabaseEndsTheCreationWithTheDatabaseError)
{
    // A file in the way that is no database, and a configured server that
    // refuses at once: nothing can be opened or created.
    scriviFile("user/user.fdb", "not a database");
    scriviFile("user/dati.ini", "[CONFIG]\r\nNome Server=127.0.0.1/1\r\n");
    QWidget owner;
    rec.expect(TMsgDlgType::Error, "Errore inizializzazione database utenti");
    EXPECT_THROW(TTabXForm(&owner, 0), EIBError);
    EXPECT_TRUE(owner.children().isEmpty());
    EXPECT_EQ(leggiFile("user/user.fdb"), "not a database");
}

TEST_F(TabXCreation, FailedTabScriptIsReportedAndTheObjectStaysUsable)
{
    creaArchivio();
    // The key's name is taken: the definition fails.
    exec("CREATE TABLE ALTRA (A INTEGER NOT NULL, CONSTRAINT KIVTAB_CHIAVEPRIMARIA PRIMARY KEY "
         "(A))");
    utente(1, "ROSSI");
    rec.expect(TMsgDlgType::Error,
               "Errore interno di CREATE: impossibile creare la tabella TABSCRIPT");
    auto x = crea(0);
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
              "0");
    QStringList lista;
    x->CaricaUser(lista);
    EXPECT_EQ(lista, QStringList{"ROSSI"});
}

TEST_F(TabXCreation, OtherModesOpenTheUserDatabaseAndFindNoUsers)
{
    creaArchivio();
    utente(1, "ROSSI", "pw");
    auto x = crea(2);
    EXPECT_TRUE(x->IBDatabaseUser->Connected());
    QStringList lista;
    x->CaricaUser(lista);
    EXPECT_TRUE(lista.isEmpty());
    EXPECT_EQ(x->CodiceUser("ROSSI"), 0);
    EXPECT_FALSE(x->SetUserPerNum(1));
    EXPECT_EQ(x->DecodificaNomeUser(1), "ROSSI"); // needs only the database
}
