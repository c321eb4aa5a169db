#include "messagerecorder.h"
#include "schema.h"
#include "schemaupgrade.h"
#include "testdb.h"

#include <gtest/gtest.h>

namespace {

class UpgradeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        q.setDatabase(&t.db());
        q.setTransaction(&t.tr());
    }
    int count(const QString &sql) { return t.scalar(sql).toInt(); }
    int fields(const QString &table, const QString &field)
    {
        return count("SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE RDB$RELATION_NAME='" + table +
                     "' AND RDB$FIELD_NAME='" + field + "'");
    }
    int relations(const QString &table)
    {
        return count("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='" + table + "'");
    }
    TestDatabase t;
    TIBSQL q;
    MessageRecorder rec;
};

} // namespace

TEST_F(UpgradeTest, DatabaseWithoutUtentiIsRolledBackWhileEveryStepRuns)
{
    t.exec("CREATE TABLE VELMOLOGFUNZ (CODICESESSIONE INTEGER NOT NULL)");
    t.exec("CREATE TABLE PROGETTI (CODICE SMALLINT NOT NULL)");
    rec.expect(TMsgDlgType::Warning,
               "Manca il campo UTENTEINATTIVO alla tabella UTENTI. Verrà ora aggiunto")
        .expect(TMsgDlgType::Error,
                "Errore interno durante l'aggiunta del campo UTENTEINATTIVO alla tabella UTENTI")
        .expect(TMsgDlgType::Warning,
                "Manca il generatore IDFINESTRAVELMOLOGFUNZCOUNTER. Verrà ora aggiunto")
        .expect(TMsgDlgType::Warning,
                "Manca il campo HANDLEFINESTRA alla tabella VELMOLOGFUNZ. Verrà ora aggiunto")
        .expect(TMsgDlgType::Warning,
                "Manca il campo IDFINESTRA alla tabella VELMOLOGFUNZ. Verrà ora aggiunto")
        .expect(TMsgDlgType::Error,
                "Errore interno durante l'aggiunta del campo LINGUA1 alla tabella UTENTI")
        .expect(TMsgDlgType::Error,
                "Errore interno durante l'aggiunta del campo LINGUA2 alla tabella UTENTI");
    t.tr().StartTransaction();
    SchemaUpgrade::AggiornaTracciati12072012(&q);
    EXPECT_EQ(rec.pending(), 0);
    t.tr().Commit();
    // Nothing of the run was kept.
    EXPECT_EQ(fields("VELMOLOGFUNZ", "HANDLEFINESTRA"), 0);
    EXPECT_EQ(relations("LINGUECOMPONENT"), 0);
    EXPECT_EQ(relations("LINGUEMENU"), 0);
    EXPECT_EQ(fields("PROGETTI", "MODOMENUSISTEMA"), 0);
    EXPECT_EQ(count("SELECT COUNT(*) FROM RDB$GENERATORS WHERE "
                    "RDB$GENERATOR_NAME='IDFINESTRAVELMOLOGFUNZCOUNTER'"),
              0);
}

TEST_F(UpgradeTest, OlderParameterTableGainsItsOrderColumnSilently)
{
    for (const char *sql :
         {"CREATE TABLE UTENTI (CODICE SMALLINT NOT NULL, UTENTEINATTIVO SMALLINT, LINGUA1 "
          "INTEGER, LINGUA2 INTEGER)",
          "CREATE TABLE VELMOLOGFUNZ (CODICESESSIONE INTEGER, HANDLEFINESTRA INTEGER, IDFINESTRA "
          "INTEGER)",
          "CREATE GENERATOR IDFINESTRAVELMOLOGFUNZCOUNTER",
          "CREATE TABLE PROGETTI (CODICE SMALLINT NOT NULL, MODOMENUSISTEMA SMALLINT)",
          "CREATE TABLE LINGUECOMPONENT (A INTEGER)", "CREATE TABLE LINGUEMENU (A INTEGER)",
          "CREATE TABLE TABPRAVLIN (UTENTE SMALLINT NOT NULL, INTESTAZIONE VARCHAR(64) NOT NULL, "
          "PARAMETRO VARCHAR(64) NOT NULL, VALORE VARCHAR(256))"})
        t.exec(sql);
    t.tr().StartTransaction();
    SchemaUpgrade::AggiornaTracciati12072012(&q);
    t.tr().Commit();
    EXPECT_EQ(fields("TABPRAVLIN", "PROGRESSIVO"), 1);
    EXPECT_TRUE(rec.seen().isEmpty());
}

TEST_F(UpgradeTest, CheckNeedsEveryTableAndColumn)
{
    EXPECT_FALSE(SchemaUpgrade::CheckTabellePravlin(&q));
    for (const SchemaStatement &st : Schema::userDatabase())
        t.exec(st.lines.join("\n"));
    // The first schema alone lacks TABSCRIPT.
    EXPECT_FALSE(SchemaUpgrade::CheckTabellePravlin(&q));
    t.exec(
        "CREATE TABLE TABSCRIPT (PROGETTO VARCHAR(15) NOT NULL, SCRIPTFORM VARCHAR(15) NOT NULL, "
        "CONTESTO SMALLINT NOT NULL, UTENTE VARCHAR(15) NOT NULL, DESCRIZIONESITUAZIONE BLOB, "
        "SCRIPT BLOB, MODIFICATODAUTENTE SMALLINT, DATAULTIMAMODIFICA DATE, STATUS SMALLINT)");
    EXPECT_TRUE(SchemaUpgrade::CheckTabellePravlin(&q));
    t.exec("ALTER TABLE UTENTI DROP ACCESSOPRAVLIN");
    EXPECT_FALSE(SchemaUpgrade::CheckTabellePravlin(&q));
    EXPECT_TRUE(rec.seen().isEmpty());
}
