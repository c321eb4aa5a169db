#include "../support/testlib/testlibrecorder.h"
#include "builtinscripts.h"
#include "builtinwindows.h"
#include "library.h"
#include "messagerecorder.h"
#include "testdb.h"

#include <gtest/gtest.h>

namespace {

const char *const PulsantoniScript =
    "<CSDForm><NomeTabella>PULSANTONI</NomeTabella>"
    "<CodiceProgettoForm>514</CodiceProgettoForm><SituazioneForm>1</SituazioneForm>"
    "<CodiceProgetto>514</CodiceProgetto><SituazioneCSDGrid>2</SituazioneCSDGrid><CampiVis>"
    "<CampoVis><Nome>ID</Nome><Etichetta>ID</Etichetta></CampoVis>"
    "<CampoVis><Nome>NOME</Nome><Etichetta>Nome</Etichetta></CampoVis>"
    "<CampoVis><Nome>PROGETTO</Nome><Etichetta>Progetto</Etichetta></CampoVis>"
    "<CampoVis><Nome>POS_X</Nome><Etichetta>Pos X</Etichetta></CampoVis>"
    "<CampoVis><Nome>POS_Y</Nome><Etichetta>Pos Y</Etichetta></CampoVis>"
    "<CampoVis><Nome>LARGHEZZA</Nome><Etichetta>Larghezza</Etichetta></CampoVis>"
    "<CampoVis><Nome>ALTEZZA</Nome><Etichetta>Altezza</Etichetta></CampoVis>"
    "<CampoVis><Nome>NOMEIMMAGINE</Nome><Etichetta>Immagine</Etichetta></CampoVis>"
    "<CampoVis><Nome>VISIBILE</Nome><Etichetta>Visibile</Etichetta></CampoVis>"
    "<CampoVis><Nome>DLL</Nome><Etichetta>Dll</Etichetta></CampoVis>"
    "<CampoVis><Nome>FUNZIONE</Nome><Etichetta>Funzione</Etichetta></CampoVis>"
    "<CampoVis><Nome>LIVELLO2VERSIONE</Nome><Etichetta>Livello 2 versione</Etichetta></CampoVis>"
    "<CampoVis><Nome>PARAMETRIBLOB</Nome><Etichetta>Parametri</Etichetta></CampoVis>"
    "</CampiVis><GeneratoreCampo>ID</GeneratoreCampo>"
    "<GeneratoreNome>IDPULSANTONICOUNTER</GeneratoreNome></CSDForm>";

const char *const LingueComponentScript =
    "<CSDForm><NomeTabella>LINGUECOMPONENT</NomeTabella>"
    "<CodiceProgettoForm>514</CodiceProgettoForm><SituazioneForm>3</SituazioneForm>"
    "<CodiceProgetto>514</CodiceProgetto><SituazioneCSDGrid>4</SituazioneCSDGrid><CampiVis>"
    "<CampoVis><Nome>CODICEPROGETTO</Nome><Etichetta>Codice Progetto</Etichetta></CampoVis>"
    "<CampoVis><Nome>CODICESITUAZIONE</Nome><Etichetta>Codice Situazione</Etichetta></CampoVis>"
    "<CampoVis><Nome>COMPONENTNAME</Nome><Etichetta>Component Name</Etichetta></CampoVis>"
    "<CampoVis><Nome>CODICELINGUA</Nome><Etichetta>Codice Lingua</Etichetta></CampoVis>"
    "<CampoVis><Nome>TESTO</Nome><Etichetta>Testo</Etichetta></CampoVis>"
    "<CampoVis><Nome>NOTE</Nome><Etichetta>Note</Etichetta></CampoVis>"
    "</CampiVis></CSDForm>";

const char *const LingueMenuScript =
    "<CSDForm><NomeTabella>LINGUEMENU</NomeTabella>"
    "<CodiceProgettoForm>514</CodiceProgettoForm><SituazioneForm>5</SituazioneForm>"
    "<CodiceProgetto>514</CodiceProgetto><SituazioneCSDGrid>6</SituazioneCSDGrid><CampiVis>"
    "<CampoVis><Nome>PROGRAMMA</Nome><Etichetta>Programma</Etichetta></CampoVis>"
    "<CampoVis><Nome>MENU</Nome><Etichetta>Menu</Etichetta></CampoVis>"
    "<CampoVis><Nome>MENUPREC</Nome><Etichetta>Menu Prec.</Etichetta></CampoVis>"
    "<CampoVis><Nome>LIVELLOMENU</Nome><Etichetta>Livello Menu</Etichetta></CampoVis>"
    "<CampoVis><Nome>LINGUA</Nome><Etichetta>Lingua</Etichetta></CampoVis>"
    "<CampoVis><Nome>DESCRIZIONE</Nome><Etichetta>Descrizione</Etichetta></CampoVis>"
    "</CampiVis></CSDForm>";

TEST(BuiltinScripts, EachScriptIsTheExactOneLineText)
{
    EXPECT_EQ(BuiltinScripts::pulsantoniScript(), QString(PulsantoniScript));
    EXPECT_EQ(BuiltinScripts::lingueComponentScript(), QString(LingueComponentScript));
    EXPECT_EQ(BuiltinScripts::lingueMenuScript(), QString(LingueMenuScript));
}

class GestionePulsantoniTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(norvak.valid());
        norvak.reset();
        TLibrary::setSearchFolder(testLibsDir());
    }
    void TearDown() override { TLibrary::setSearchFolder(QString()); }

    bool run() { return BuiltinWindows::GestionePulsantoni(query, db.db(), db.tr()); }
    int count(const QString &sql) { return db.scalar(sql).toInt(); }
    QString expectedCall(const char *script)
    {
        return "ShowCSDFormStatic|" + db.db().DatabaseName + "|0|" + script;
    }

    TestDatabase db;
    TIBSQL query;
    MessageRecorder messages;
    TestLibRecorder norvak{testLibsDir() + "/Norvak.dll"};
};

TEST_F(GestionePulsantoniTest, FirstUseCreatesTableAndGeneratorThenShowsTheWindow)
{
    messages.expect(TMsgDlgType::Warning, "Tabella PULSANTONI mancante: verrà creata ora");
    EXPECT_TRUE(run());
    EXPECT_EQ(messages.pending(), 0);
    EXPECT_EQ(norvak.lastCall(), expectedCall(PulsantoniScript));

    // Committed, and with the columns the window script names.
    EXPECT_EQ(count("SELECT COUNT(*) FROM RDB$RELATION_FIELDS "
                    "WHERE RDB$RELATION_NAME='PULSANTONI'"),
              13);
    EXPECT_EQ(count("SELECT COUNT(*) FROM RDB$GENERATORS "
                    "WHERE RDB$GENERATOR_NAME='IDPULSANTONICOUNTER'"),
              1);
    db.exec("INSERT INTO PULSANTONI(ID, NOME, DLL, FUNZIONE, LIVELLO2VERSIONE) "
            "VALUES (GEN_ID(IDPULSANTONICOUNTER, 1), 'Avvio', 'Norvak.dll', 'ShowCSDFormY', 1)");

    messages.clear();
    EXPECT_TRUE(run());
    EXPECT_TRUE(messages.seen().isEmpty());
    EXPECT_EQ(norvak.calls(), 2);
    EXPECT_EQ(count("SELECT COUNT(*) FROM PULSANTONI"), 1);
}

TEST_F(GestionePulsantoniTest, MissingGeneratorIsCreatedWithoutAWord)
{
    db.exec("CREATE TABLE PULSANTONI(ID INTEGER NOT NULL)");
    EXPECT_TRUE(run());
    EXPECT_TRUE(messages.seen().isEmpty());
    EXPECT_EQ(count("SELECT COUNT(*) FROM RDB$GENERATORS "
                    "WHERE RDB$GENERATOR_NAME='IDPULSANTONICOUNTER'"),
              1);
}

TEST_F(GestionePulsantoniTest, FailedCreationReportsAndDoesNotShowTheWindow)
{
    // A read-only transaction refuses every definition.
    db.tr().Params = QStringList{"read"};
    messages.expect(TMsgDlgType::Warning, "Tabella PULSANTONI mancante: verrà creata ora");
    messages.expect(TMsgDlgType::Error,
                    "Errore interno durante la creazione della tabella pulsantoni");
    EXPECT_FALSE(run());
    EXPECT_EQ(messages.pending(), 0);
    EXPECT_EQ(norvak.calls(), 0);
    EXPECT_TRUE(db.tr().InTransaction());
}

TEST_F(GestionePulsantoniTest, FailedGeneratorIsRolledBackAndReported)
{
    db.exec("CREATE TABLE PULSANTONI(ID INTEGER NOT NULL)");
    db.tr().Params = QStringList{"read"};
    messages.expect(TMsgDlgType::Error,
                    "Errore interno durante la creazione della tabella pulsantoni");
    EXPECT_FALSE(run());
    EXPECT_EQ(messages.pending(), 0);
    EXPECT_EQ(norvak.calls(), 0);

    // The shared transaction is still usable for the next attempt.
    db.tr().Commit();
    db.tr().Params.clear();
    EXPECT_TRUE(run());
    EXPECT_EQ(norvak.calls(), 1);
}

TEST_F(GestionePulsantoniTest, MissingFormsLibraryIsSilent)
{
    TLibrary::setSearchFolder(testLibsDir() + "/noexport");
    messages.expect(TMsgDlgType::Warning, "Tabella PULSANTONI mancante: verrà creata ora");
    EXPECT_FALSE(run());
    EXPECT_EQ(messages.seen().size(), 1);
    EXPECT_EQ(count("SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='PULSANTONI'"), 1);
}

TEST_F(GestionePulsantoniTest, LanguageItemsPassTheirScriptsWithoutCheckingTables)
{
    EXPECT_TRUE(BuiltinWindows::LingueComponent(db.db()));
    EXPECT_EQ(norvak.lastCall(), expectedCall(LingueComponentScript));
    EXPECT_TRUE(BuiltinWindows::LingueMenu(db.db()));
    EXPECT_EQ(norvak.lastCall(), expectedCall(LingueMenuScript));
    EXPECT_TRUE(messages.seen().isEmpty());
}

} // namespace
