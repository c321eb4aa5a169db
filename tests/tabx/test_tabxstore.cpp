#include "tabxtest.h"

#include "iberror.h"
#include "inifile.h"
#include "pravlinrows.h"

#include <QDir>
#include <QFile>

namespace {

const QString kErroreUpdate =
    QStringLiteral("Errore interno di UPDATE: impossibile aggiornare la tabella dei parametri");
const QString kErroreInsert =
    QStringLiteral("Errore interno di INSERT: impossibile aggiornare la tabella dei parametri");
const QString kErrorePravlin = QStringLiteral(
    "Errore interno di UPDATE: impossibile aggiornare i parametri pravlin dell'utente");

class TabXStore : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        creaArchivio();
        utente(1, "ROSSI", "pw", "ACME");
        utente(2, "BIANCHI");
        x = crea(0);
    }
    std::unique_ptr<TTabXForm> x;
};

} // namespace

TEST_F(TabXStore, RowsBecomeTheCanonicalText)
{
    riga(1, "B", "Z", 1, "v");
    riga(1, "A", "Y", 2);
    riga(1, "A", "X", 1, "1");
    x->ScriviPravlin(1);
    EXPECT_EQ(pravlin(1), "[A]\nX=1\nY=\n[B]\nZ=v\n");
    EXPECT_EQ(scalar("SELECT OCTET_LENGTH(PRAVLIN) FROM UTENTI WHERE CODICE=1"), "19");

    // No rows: NULL, also over an old text.
    exec("UPDATE UTENTI SET PRAVLIN='vecchio' WHERE CODICE=2");
    x->ScriviPravlin(2);
    EXPECT_EQ(pravlin(2), "<NULL>");
    EXPECT_TRUE(rec.seen().size() == 1);
}

TEST_F(TabXStore, EmptyHeadingsAndEmptyNames)
{
    riga(1, "", "Sciolto", 5, "s");
    riga(1, "A", "", 1, "perso");
    riga(1, "A", "X", 2, "1");
    x->ScriviPravlin(1);
    EXPECT_EQ(pravlin(1), "Sciolto=s\n[A]\n\nX=1\n");
}

TEST_F(TabXStore, HeadingsInTheDatabasesByteOrder)
{
    // Windows-1252 bytes: "z" 0x7A, "€" 0x80, "É" 0xC9 (in Unicode "€"
    // would come last).
    riga(1, "Élite", "P", 1, "3");
    riga(1, "€uro", "P", 2, "2");
    riga(1, "zeta", "P", 3, "1");
    riga(1, "D'Amico", "Nome'1", 4, "l´ultima");
    x->ScriviPravlin(1);
    EXPECT_EQ(pravlin(1), "[D'Amico]\nNome'1=l´ultima\n[zeta]\nP=1\n[€uro]\nP=2\n[Élite]\nP=3\n");
}

TEST_F(TabXStore, TextOver64KiloBytesIsWrittenWhole)
{
    QString atteso = "[D]\n";
    const QString valore(250, QLatin1Char('v'));
    for (int i = 1; i <= 300; ++i) {
        const QString nome = QStringLiteral("P%1").arg(i, 3, 10, QLatin1Char('0'));
        riga(1, "D", nome, i, valore);
        atteso += nome + "=" + valore + "\n";
    }
    ASSERT_GT(atteso.size(), 65535);
    x->ScriviPravlin(1);
    EXPECT_EQ(pravlin(1), atteso);
}

TEST_F(TabXStore, SplitterReadsTheWrittenTextBackAsTheRows)
{
    const QString testo = "[ALFA]\r\nLingua=IT\r\nNota=l'ultima\r\nFormula=a=b\r\nVuoto=\r\n"
                          "[BETA <INATTIVA>]\r\nLingua=EN\r\n[D'Amico]\r\nX=1\r\n";
    ASSERT_TRUE(
        Pravlin::AggiornaTabPravlin(*archivio->IBDatabase1, *archivio->IBTransaction1, "1", testo));
    x->ScriviPravlin(1);
    const QVector<TPravlin> attese = {
        {"ALFA", "Lingua", "IT"}, {"ALFA", "Nota", "l´ultima"},        {"ALFA", "Formula", "a=b"},
        {"ALFA", "Vuoto", ""},    {"BETA <INATTIVA>", "Lingua", "EN"}, {"D'Amico", "X", "1"},
    };
    EXPECT_EQ(Pravlin::DividiPravlin(pravlin(1)), attese);
}

TEST_F(TabXStore, FailedUpdateOfTheTextLeavesTheUserAsItWas)
{
    exec("UPDATE UTENTI SET PRAVLIN='vecchio' WHERE CODICE=1");
    exec("CREATE EXCEPTION VIETATO 'vietato'");
    exec("CREATE TRIGGER BLOCCA FOR UTENTI BEFORE UPDATE AS BEGIN EXCEPTION VIETATO; END");
    riga(1, "A", "X", 1, "1");
    rec.expect(TMsgDlgType::Error, kErrorePravlin);
    x->ScriviPravlin(1);
    EXPECT_EQ(pravlin(1), "vecchio");
    EXPECT_FALSE(x->TransazioneUser->InTransaction());
}

TEST_F(TabXStore, OneParameterInsertedWithTheNextOrderOrUpdated)
{
    ASSERT_TRUE(x->SetUserPerNum(1));
    for (int i = 1; i <= 7; ++i)
        riga(1, "ACME", QStringLiteral("P%1").arg(i), i, "v");
    x->ScriviParametroPravlin("ACME", "Nuovo", "l'ultimo");
    EXPECT_EQ(righe(1).last(), "ACME|Nuovo|l´ultimo|8");

    x->ScriviParametroPravlin("ACME", "P3", "");
    EXPECT_EQ(righe(1).at(2), "ACME|P3|<NULL>|3");
    x->ScriviParametroPravlin("ACME", "P3", "a'b");
    EXPECT_EQ(righe(1).at(2), "ACME|P3|a´b|3");

    ASSERT_TRUE(x->SetUserPerNum(2));
    x->ScriviParametroPravlin("D'Ditta", "Nome'1", "");
    EXPECT_EQ(righe(2), QStringList{"D'Ditta|Nome'1|<NULL>|1"});
    EXPECT_TRUE(rec.seen().size() == 1);
}

TEST_F(TabXStore, FailedParameterWritesAreShownAndRolledBack)
{
    ASSERT_TRUE(x->SetUserPerNum(1));
    riga(1, "ACME", "P", 1, "v");
    rec.expect(TMsgDlgType::Error, kErroreUpdate);
    x->ScriviParametroPravlin("ACME", "P", QString(257, 'x')); // longer than VALORE
    rec.expect(TMsgDlgType::Error, kErroreInsert);
    x->ScriviParametroPravlin("ACME", QString(65, 'n'), "v"); // longer than PARAMETRO
    EXPECT_EQ(righe(1), QStringList{"ACME|P|v|1"});
    EXPECT_FALSE(x->TransazioneUser->InTransaction());
}

TEST_F(TabXStore, ParametersOfTheCurrentUserUnderTheCurrentHeading)
{
    riga(1, "ACME", "Lingua", 1, "IT");
    riga(1, "ALTRA", "Lingua", 2, "EN");
    riga(1, "ACME", "Vuoto", 3);
    ASSERT_TRUE(x->SetUserPerNum(1));
    EXPECT_EQ(x->CaricaParametro("Lingua"), "IT");
    EXPECT_EQ(x->CaricaParametro("Vuoto"), QString());
    EXPECT_EQ(x->CaricaParametro("Manca"), QString());
    EXPECT_EQ(x->CaricaParametro(QString(100, 'L')), QString());
    EXPECT_EQ(x->CaricaPravlin(1), 0);

    x->SettaParametro("Lingua", "DE");
    x->SettaParametro("Nuovo", "n");
    EXPECT_EQ(x->CaricaParametro("Lingua"), "DE");
    EXPECT_EQ(righe(1).last(), "ACME|Nuovo|n|4");
    EXPECT_EQ(pravlin(1), "[ACME]\nLingua=DE\nVuoto=\nNuovo=n\n[ALTRA]\nLingua=EN\n");
}

// ---- File mode and no store ------------------------------------------------

using TabXFileStore = TabXTest;

TEST_F(TabXFileStore, UserFilesFoundIgnoringCaseAndTextStillRebuilt)
{
    creaArchivio();
    utente(1, "mario");
    riga(1, "ACME", "Riga", 1, "r");
    scriviFile("nomidit/utenti.ini", "[1 mario]\r\nX=1\r\n");
    scriviFile("nomidit/usercfg/1 mario.ini",
               "[STATUS MACCHINA]\r\nUltimaDitta=ACME\r\n[ACME]\r\nLingua=IT\r\n");
    auto x = crea(1);
    ASSERT_TRUE(x->SetUserPerNum(1));
    EXPECT_EQ(x->CaricaParametro("Lingua"), "IT");

    x->SettaParametro("Lingua", "EN");
    EXPECT_EQ(leggiFile("nomidit/usercfg/1 mario.ini"),
              "[STATUS MACCHINA]\r\nUltimaDitta=ACME\r\n[ACME]\r\nLingua=EN\r\n");
    EXPECT_EQ(QDir(cartella() + "nomidit/usercfg").entryList(QDir::Files),
              QStringList{"1 mario.ini"});
    EXPECT_EQ(pravlin(1), "[ACME]\nRiga=r\n");
    EXPECT_EQ(righe(1), QStringList{"ACME|Riga|r|1"}); // no row written in this mode

    x->SettaFileIni("Altra", "K", "v");
    EXPECT_TRUE(leggiFile("nomidit/usercfg/1 mario.ini").endsWith("[Altra]\r\nK=v\r\n"));
}

TEST_F(TabXFileStore, NewUserFileInTheExistingFoldersNeverNewFolders)
{
    scriviFile("nomidit/utenti.ini", "[1 Mario]\r\nX=1\r\n[2 Luigi]\r\nX=1\r\n");
    QDir().mkpath(cartella() + "nomidit/usercfg");
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    auto x = crea(1);
    ASSERT_TRUE(x->SetUserPerNum(1));
    x->SettaFileIni("STATUS MACCHINA", "UltimaDitta", "ACME");
    EXPECT_EQ(leggiFile("nomidit/usercfg/1 Mario.INI"),
              "[STATUS MACCHINA]\r\nUltimaDitta=ACME\r\n");

    QDir(cartella() + "nomidit/usercfg").removeRecursively();
    EXPECT_THROW(x->SettaFileIni("S", "K", "v"), EIniFileException);
    EXPECT_FALSE(QDir(cartella() + "nomidit/usercfg").exists());
    EXPECT_FALSE(QDir(cartella() + "NOMIDIT").exists());
}

TEST_F(TabXFileStore, Mode3HasNoStore)
{
    auto x = crea(3);
    EXPECT_EQ(x->CaricaParametro("Lingua"), QString());
    EXPECT_THROW(x->ScriviPravlin(1), EIBError);
    EXPECT_THROW(x->SettaParametro("Lingua", "IT"), EIBError);
    EXPECT_THROW(x->ScriviParametroPravlin("A", "B", "C"), EIBError);
    EXPECT_TRUE(rec.seen().isEmpty());
}
