#include "builtinscripts.h"
#include "csdfinestre.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "wizcsdfinestra.h"

#include <gtest/gtest.h>

// Between script text, inputs and rows: what the wizard loads it composes
// back, and what it composes the suite can store.

using ScriptSamples::normalisedLineEnds;

namespace {

class WizScriptTest : public ::testing::Test
{
protected:
    // The canonical form of a script, as the model writes it.
    static QString canonical(const QString &script)
    {
        TCSDForm f;
        f.SetXML(script);
        return f.GetXML();
    }
    // A script whose special fields are visible fields, so that the wizard
    // keeps every part of it.
    static QString wizardScript()
    {
        auto f = ScriptSamples::fullForm();
        f->CampoFile = "TIPO";
        f->CampoFoto = "SPAZIO";
        f->GeneratoreCampo = "COD";
        f->Titolo.clear();
        return f->GetXML();
    }

    MessageRecorder messages;
    TTabForm tabForm;
    TWizCSDFinestra wiz{&tabForm};
};

} // namespace

TEST_F(WizScriptTest, LoadedScriptIsComposedBackUnchanged)
{
    const QString s = wizardScript();
    ASSERT_TRUE(wiz.CaricaXML(s));
    EXPECT_EQ(wiz.TabCampi->Count(), 4);
    EXPECT_EQ(wiz.CampoImmagine(), "SPAZIO");
    EXPECT_EQ(wiz.CodiceProgettoForm(), 7);
    EXPECT_EQ(wiz.TestoSituazioneGriglia(), "-2");
    EXPECT_TRUE(wiz.CreaTabellaAttiva());
    EXPECT_TRUE(wiz.StampaAttiva());
    EXPECT_TRUE(wiz.RicercaAttiva());
    EXPECT_TRUE(wiz.SoloConsultazione());
    const TCampoRiga &combo = wiz.TabCampi->Riga(2);
    EXPECT_EQ(combo.Tipo, 2);
    EXPECT_EQ(combo.ValoriCombo, QStringList({"A&B", "", " à ", "<x>"}));
    const TCampoRiga &dec = wiz.TabCampi->Riga(3);
    EXPECT_EQ(dec.Decodifica, 1);
    EXPECT_EQ(dec.DecodificaCampoEtich, "Fornitore´s");
    EXPECT_EQ(dec.Ricerca, 1);
    EXPECT_TRUE(dec.RicercaScript.startsWith("<RicercaSecLiv>"));

    wiz.TabCampi->SetCorrente(3);
    EXPECT_EQ(wiz.ComponiXML(), normalisedLineEnds(s));
    EXPECT_EQ(wiz.TabCampi->Corrente(), 0);
}

TEST_F(WizScriptTest, FixedScriptsOfTheMainWindowKeepEveryValue)
{
    for (const QString &s :
         {BuiltinScripts::pulsantoniScript(), BuiltinScripts::lingueComponentScript(),
          BuiltinScripts::lingueMenuScript()}) {
        wiz.Azzera();
        ASSERT_TRUE(wiz.CaricaXML(s));
        const QString composed = wiz.ComponiXML();
        EXPECT_EQ(composed, canonical(s));
        TCSDForm f;
        f.SetXML(composed);
        EXPECT_EQ(f.CodiceProgettoForm, 514);
        EXPECT_EQ(f.CodiceProgetto, 514);
    }
    wiz.Azzera();
    wiz.CaricaXML(BuiltinScripts::pulsantoniScript());
    EXPECT_TRUE(wiz.ComponiXML().contains("<GeneratoreNome>IDPULSANTONICOUNTER</"
                                          "GeneratoreNome><GeneratoreCampo>ID</GeneratoreCampo>"));
}

TEST_F(WizScriptTest, SpecialFieldsThatAreNotRowsSelectTheEmptyItem)
{
    auto f = ScriptSamples::fullForm();
    f->GeneratoreCampo = "ASSENTE";
    ASSERT_TRUE(wiz.CaricaXML(f->GetXML()));
    EXPECT_EQ(wiz.CampoFile(), "");
    EXPECT_EQ(wiz.CampoImmagine(), "");
    EXPECT_EQ(wiz.CampoGeneratore(), "");
    const QString composed = wiz.ComponiXML();
    EXPECT_FALSE(composed.contains("CampoFile"));
    EXPECT_FALSE(composed.contains("CampoFoto"));
    EXPECT_FALSE(composed.contains("Generatore"));
}

TEST_F(WizScriptTest, UnreadableTextChangesNothingAndLoadingTwiceDoublesTheRows)
{
    const QString s = BuiltinScripts::lingueMenuScript();
    ASSERT_TRUE(wiz.CaricaXML(s));
    const QString before = wiz.ComponiXML();
    EXPECT_FALSE(wiz.CaricaXML("<CSDForm><CampiVis>"));
    EXPECT_FALSE(wiz.CaricaXML("<Ricerche/>"));
    EXPECT_EQ(wiz.ComponiXML(), before);

    ASSERT_TRUE(wiz.CaricaXML(s));
    ASSERT_EQ(wiz.TabCampi->Count(), 12);
    for (int i = 0; i < 12; ++i)
        EXPECT_EQ(wiz.TabCampi->Riga(i).N, i + 1);
    EXPECT_EQ(wiz.TabCampi->Riga(6).Nome, "PROGRAMMA");
    EXPECT_EQ(wiz.VociCampoGeneratore().count("PROGRAMMA"), 2);
}

TEST_F(WizScriptTest, WindowSituationProjectAndPositionsAreKeptUntilAzzera)
{
    ASSERT_TRUE(wiz.CaricaXML(wizardScript()));
    EXPECT_TRUE(wiz.ComponiXML().contains("<CodiceProgettoForm>7</CodiceProgettoForm>"));
    EXPECT_TRUE(wiz.ComponiXML().contains("<PosizionaCampo><Campo><NomeCampo>DITTA"));
    // Another window situation has no project of its own yet.
    wiz.SetTestoSituazioneFinestra("12");
    wiz.SetTestoSituazioneFinestra("2147483647");
    EXPECT_EQ(wiz.CodiceProgettoForm(), 0);
    EXPECT_TRUE(wiz.ComponiXML().contains("<CodiceProgettoForm>0</CodiceProgettoForm>"));

    wiz.Azzera();
    EXPECT_TRUE(wiz.SoloConsultazione()); // Azzera leaves it as it was
    wiz.SetSoloConsultazione(false);
    wiz.AggiungiCampo(1, "A");
    wiz.SetNomeTabella("T");
    EXPECT_EQ(wiz.ComponiXML(), "<CSDForm><ParametroArchivio>Archivio</ParametroArchivio>"
                                "<NomeTabella>T</NomeTabella><CodiceProgetto>0</CodiceProgetto>"
                                "<SituazioneCSDGrid>0</SituazioneCSDGrid>"
                                "<CodiceProgettoForm>0</CodiceProgettoForm>"
                                "<SituazioneForm>0</SituazioneForm><CampiVis><CampoVis>"
                                "<Nome>A</Nome><Etichetta>A</Etichetta></CampoVis></CampiVis>"
                                "</CSDForm>");
}

TEST_F(WizScriptTest, DatabaseByPathIsKeptUntilAParameterIsChosen)
{
    const QString s = "<CSDForm><PercorsoArchivio>C:\\Dati\\a.fdb</PercorsoArchivio>"
                      "<NomeTabella>T</NomeTabella></CSDForm>";
    ASSERT_TRUE(wiz.CaricaXML(s));
    EXPECT_EQ(wiz.SceltaArchivio(), TWizCSDFinestra::Archivio::Personalizzato);
    EXPECT_EQ(wiz.PercorsoArchivio(), "C:\\Dati\\a.fdb");
    EXPECT_EQ(wiz.ParametroArchivio(), "");
    EXPECT_FALSE(wiz.ArchivioMancante());
    EXPECT_EQ(wiz.ComponiXML(), canonical(s));

    wiz.ScegliArchivio(TWizCSDFinestra::Archivio::Personalizzato);
    EXPECT_EQ(wiz.PercorsoArchivio(), "");
    EXPECT_EQ(wiz.ParametroPers(), "");
    EXPECT_TRUE(wiz.ArchivioMancante());

    wiz.CaricaXML(s);
    wiz.SetParametroPers("Listino");
    EXPECT_EQ(wiz.PercorsoArchivio(), "");
    EXPECT_TRUE(wiz.ComponiXML().startsWith(
        "<CSDForm><ParametroArchivio>Listino</ParametroArchivio><NomeTabella>"));
    wiz.CaricaXML(s);
    wiz.ScegliArchivio(TWizCSDFinestra::Archivio::DirectoryListino);
    EXPECT_EQ(wiz.ParametroArchivio(), "Directory listino");
    wiz.Azzera();
    EXPECT_EQ(wiz.PercorsoArchivio(), "");
    EXPECT_EQ(wiz.ParametroArchivio(), "Archivio");
}

TEST_F(WizScriptTest, LoadedTextIsKeptWhole)
{
    const QString label40(40, QChar('e'));
    const QString s = "<CSDForm><NomeTabella>T</NomeTabella><CampiVis><CampoVis><Nome>" +
                      QString(40, QChar('N')) + "</Nome><Etichetta>" + label40 +
                      "</Etichetta><Decodifica><Etichetta>" + label40 + "</Etichetta><TabellaCol>" +
                      label40 + "</TabellaCol><CampoCol/><CampoDec/></Decodifica></CampoVis>" +
                      "</CampiVis></CSDForm>";
    ASSERT_TRUE(wiz.CaricaXML(s));
    EXPECT_EQ(wiz.TabCampi->Riga(0).Etichetta, label40);
    EXPECT_EQ(wiz.ComponiXML(), canonical(s));
}

TEST_F(WizScriptTest, CharactersTheDatabaseCannotHoldAreRefused)
{
    wiz.SetNomeTabella("T");
    wiz.AggiungiCampo(1, "COD");
    wiz.TabCampi->Modifica(0, [](TCampoRiga &r) { r.Etichetta = "Łódź"; });
    messages.expect(TMsgDlgType::Error, "Carattere non ammesso: Ł (COD)");
    EXPECT_EQ(wiz.ComponiXML(), "");

    wiz.TabCampi->Modifica(0, [](TCampoRiga &r) { r.Etichetta = "€ à ´"; });
    wiz.SetTitolo("Ωmega"); // the title is not part of the script
    const QString emoji = QString::fromUtf8("\xF0\x9F\x98\x80");
    wiz.ScegliArchivio(TWizCSDFinestra::Archivio::Personalizzato);
    wiz.SetParametroPers("P" + emoji);
    messages.expect(TMsgDlgType::Error,
                    "Carattere non ammesso: " + emoji + " (Parametro personalizzato:)");
    EXPECT_EQ(wiz.ComponiXML(), "");
    wiz.SetParametroArchivio("Archivio");
    EXPECT_TRUE(wiz.ComponiXML().contains("<Etichetta>€ à ´</Etichetta>"));

    // A control character pasted into a value is left out, so the script
    // still reads.
    wiz.TabCampi->Modifica(0, [](TCampoRiga &r) { r.Etichetta = QString("a") + QChar(7) + "b"; });
    const QString composed = wiz.ComponiXML();
    EXPECT_TRUE(composed.contains("<Etichetta>ab</Etichetta>"));
    TCSDForm f;
    EXPECT_NO_THROW(f.SetXML(composed));
}

TEST_F(WizScriptTest, InputAccessors)
{
    wiz.SetParametroArchivio("Directory listino");
    EXPECT_EQ(wiz.SceltaArchivio(), TWizCSDFinestra::Archivio::DirectoryListino);
    wiz.SetParametroArchivio("Mio");
    EXPECT_EQ(wiz.SceltaArchivio(), TWizCSDFinestra::Archivio::Personalizzato);
    EXPECT_EQ(wiz.ParametroArchivio(), "Mio");
    wiz.ScegliArchivio(TWizCSDFinestra::Archivio::Archivio);
    EXPECT_EQ(wiz.ParametroArchivio(), "Archivio");
    wiz.ScegliArchivio(TWizCSDFinestra::Archivio::Personalizzato);
    EXPECT_EQ(wiz.ParametroArchivio(), "Mio"); // the edit kept its text

    // A stored text survives switching off and comes back on.
    wiz.SetScriptCreaTabella("CREATE TABLE T(A INTEGER)");
    EXPECT_TRUE(wiz.CreaTabellaAttiva());
    wiz.SetCreaTabellaAttiva(false);
    EXPECT_EQ(wiz.ScriptCreaTabella(), "");
    wiz.SetCreaTabellaAttiva(true);
    EXPECT_EQ(wiz.ScriptCreaTabella(), "CREATE TABLE T(A INTEGER)");
    wiz.SetScriptCreaTabella("");
    EXPECT_FALSE(wiz.CreaTabellaAttiva());
    wiz.SetXMLStampa("<Stampa/>");
    EXPECT_TRUE(wiz.StampaAttiva());
    wiz.SetStampaAttiva(false);
    EXPECT_EQ(wiz.XMLStampa(), "");
    EXPECT_EQ(wiz.TestoXMLStampa(), "<Stampa/>");

    wiz.SetCodiceProgetto(0);
    EXPECT_EQ(wiz.TestoCodiceProgetto(), "");
    wiz.SetSituazioneGriglia(-4);
    EXPECT_EQ(wiz.TestoSituazioneGriglia(), "-4");
    wiz.SetTestoCodiceProgetto("12x");
    EXPECT_EQ(wiz.CodiceProgetto(), 0);
    wiz.SetTestoCodiceProgetto(" 12 ");
    EXPECT_EQ(wiz.CodiceProgetto(), 12);

    // Free text until a reference database is open.
    wiz.SetGeneratore("QUALSIASI");
    EXPECT_EQ(wiz.Generatore(), "QUALSIASI");
    EXPECT_FALSE(wiz.GeneratoreSoloLista());

    // "Si" without a script composes no create-table element.
    wiz.SetNomeTabella("T");
    wiz.SetCreaTabellaAttiva(true);
    wiz.SetScriptCreaTabella("");
    wiz.SetCreaTabellaAttiva(true);
    EXPECT_FALSE(wiz.ComponiXML().contains("CreaTabella"));

    // A checked print or search text that does not read stops composing.
    wiz.SetXMLRicerca("<Ricerche><CampiRic>");
    EXPECT_THROW(wiz.ComponiXML(), EScriptXMLError);
}

TEST_F(WizScriptTest, ChecksBeforeTheOtherWindowsInTheirOrder)
{
    messages.expect(TMsgDlgType::Warning, "Specificare prima un Nome Tabella");
    EXPECT_FALSE(wiz.PuoConfigurareStampa());
    messages.expect(TMsgDlgType::Warning, "Specificare prima un Nome Tabella");
    EXPECT_FALSE(wiz.PuoConfigurareRicerca());
    wiz.SetNomeTabella("T");
    EXPECT_TRUE(wiz.PuoConfigurareStampa());
    wiz.SetParametroArchivio("");
    messages.expect(TMsgDlgType::Warning,
                    "E' necessario indicare il parametro personalizzato Database");
    EXPECT_FALSE(wiz.PuoConfigurareRicerca());
    wiz.SetParametroArchivio("Archivio");
    messages.expect(TMsgDlgType::Warning, "Nessun campo compilato");
    EXPECT_FALSE(wiz.PuoConfigurareRicerca());
    EXPECT_FALSE(wiz.PuoConfigurareRicercaCampo()); // no row: nothing to configure
    wiz.AggiungiCampo(1, "A");
    EXPECT_TRUE(wiz.PuoConfigurareRicerca());

    wiz.SetParametroArchivio("");
    messages.expect(TMsgDlgType::Warning,
                    "E' necessario indicare il parametro personalizzato Database");
    EXPECT_FALSE(wiz.PuoConfigurareRicercaCampo());
    wiz.SetParametroArchivio("Archivio");
    messages.expect(TMsgDlgType::Warning, "Specificare la tabella di decodifica");
    EXPECT_FALSE(wiz.PuoConfigurareRicercaCampo());
    wiz.SetDecodificaTabella("FORNITORI");
    messages.expect(TMsgDlgType::Warning, "Specificare il campo collegato");
    EXPECT_FALSE(wiz.PuoConfigurareRicercaCampo());
    wiz.SetDecodificaCampoColl("CODICE");
    EXPECT_TRUE(wiz.PuoConfigurareRicercaCampo());

    messages.expect(TMsgDlgType::Warning,
                    "Nessun database csd progetti collegato, vedi sotto menu sistema");
    EXPECT_FALSE(wiz.PuoScegliereCodice());
}
