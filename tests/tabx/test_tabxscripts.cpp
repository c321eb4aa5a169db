#include "../support/testlib/testlibrecorder.h"
#include "ibquery.h"
#include "library.h"
#include "tabxtest.h"

#include <QDate>

namespace {

class TabXScripts : public TabXTest
{
protected:
    void SetUp() override
    {
        TabXTest::SetUp();
        creaArchivio();
        x = crea(0);
        rec.clear();
        ASSERT_TRUE(tolq.valid());
        tolq.reset();
        TLibrary::setSearchFolder(testLibsDir());
    }
    void TearDown() override
    {
        TLibrary::setSearchFolder(QString());
        x.reset();
        TabXTest::TearDown();
    }
    // The stored script, "<none>" without the row.
    QString script(QString form, const QString &utente)
    {
        return scalar("SELECT CAST(SCRIPT AS BLOB SUB_TYPE TEXT CHARACTER SET WIN1252) FROM "
                      "TABSCRIPT WHERE PROGETTO='P' AND SCRIPTFORM='" +
                      form.replace("'", "''") + "' AND CONTESTO=1 AND UTENTE='" + utente + "'");
    }
    QString pointerText(const void *p) { return QString::number(quintptr(p)); }

    std::unique_ptr<TTabXForm> x;
    TestLibRecorder tolq{testLibsDir() + "/libTolq.so"};
};

} // namespace

TEST_F(TabXScripts, AScriptIsStoredOnceUnlessReplaced)
{
    const QString grande = QString(100 * 1024, 's') + "'è";
    struct Passo
    {
        QString form, utente, testo, flag, atteso;
    };
    const QVector<Passo> passi = {
        {"F", "U", "primo", "0", "primo"}, {"F", "U", "secondo", "0", "primo"},
        {"F", "V", "altro", "0", "primo"}, // another key: a row of its own
        {"F", "U", "terzo", "1", "terzo"}, {"F'1", "U", grande, "0", grande},
    };
    for (const Passo &p : passi) {
        x->IniScriptForm("P", p.form, "1", p.utente, p.testo, p.flag);
        EXPECT_EQ(script(p.form, "U") == p.atteso, true) << p.testo.left(20).toStdString();
    }
    EXPECT_EQ(script("F", "V"), "altro");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABSCRIPT WHERE DATAULTIMAMODIFICA=CURRENT_DATE "
                     "AND STATUS IS NULL AND DESCRIZIONESITUAZIONE IS NULL"),
              "3");

    // An empty stored script is filled whatever the flag.
    exec("UPDATE TABSCRIPT SET SCRIPT='', DATAULTIMAMODIFICA='01.01.2000' WHERE UTENTE='V'");
    x->IniScriptForm("P", "F", "1", "V", "riempito", "0");
    EXPECT_EQ(script("F", "V"), "riempito");
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM TABSCRIPT WHERE DATAULTIMAMODIFICA=CURRENT_DATE"), "3");
}

TEST_F(TabXScripts, PrintCallSetsTheValuesAndHandsOverTheObject)
{
    x->Inserisci("TBX", "TitoloStampa", "", "", "", "", "", "", "");
    x->Inserisci("TBX", "NomeReport", "", "", "", "", "", "", "");
    TIBQuery query;
    TRxMemoryData memoria;
    struct Caso
    {
        TDataSet *dataset;
        const char *esportata;
    };
    for (const Caso &c : {Caso{&query, "ShowTolq11FormD"}, Caso{&memoria, "ShowTolq11MemFormD"}}) {
        x->LanciaStampaConDll("Vendite", c.esportata, c.dataset);
        // Export, dataset, the variable's address, the object it holds.
        const QStringList chiamata = tolq.lastCall().split('|');
        EXPECT_EQ(chiamata.value(0) + chiamata.value(1) + "|" + chiamata.value(3),
                  c.esportata + pointerText(static_cast<QObject *>(c.dataset)) + "|" +
                      pointerText(x.get()));
        EXPECT_EQ(x->GetV("NomeReport"), c.esportata);
    }
    EXPECT_EQ(tolq.calls(), 2);

    // Without the library only the values change.
    QTemporaryDir vuota;
    TLibrary::setSearchFolder(vuota.path());
    x->LanciaStampaConDll("Senza", "report", &memoria);
    EXPECT_EQ(x->GetV("TitoloStampa"), "Senza");
    EXPECT_EQ(tolq.calls(), 2);

    // A library that fails inside the call.
    TestLibRecorder rotta(testLibsDir() + "/throwing/libTolq.so");
    ASSERT_TRUE(rotta.valid());
    TLibrary::setSearchFolder(testLibsDir() + "/throwing");
    rec.expect(TMsgDlgType::Error, "Errore nell'accesso alla DLL Tolq delle stampe");
    x->LanciaStampaConDll("Rotta", "report", &query);
    EXPECT_EQ(rotta.calls(), 1);
    EXPECT_EQ(rec.pending(), 0);
    EXPECT_EQ(rec.seen().size(), 1);
}

TEST_F(TabXScripts, MenuFunctionCallAndWindowHandleStaySilent)
{
    TestLibRecorder norvak(testLibsDir() + "/Norvak.dll");
    norvak.reset();
    EXPECT_EQ(x->AvviaFunzXDll("Norvak.dll", "TestMenuEntry", 42), 0);
    EXPECT_EQ(norvak.lastCall(), "TestMenuEntry|42");
    EXPECT_EQ(x->AvviaFunzXDll("Norvak.dll", "Manca", 1), 0);
    EXPECT_EQ(x->AvviaFunzXDll("Manca.dll", "TestMenuEntry", 1), 0);
    EXPECT_EQ(norvak.calls(), 1);

    // The window handle is recorded.
    EXPECT_FALSE(x->ScritturaHandleDiApertura(7, 1234)); // the columns are missing
    exec("ALTER TABLE VELMOLOGFUNZ ADD HANDLEFINESTRA INTEGER, ADD IDFINESTRA INTEGER");
    exec("INSERT INTO VELMOLOGFUNZ (CODICESESSIONE,DATACHIAMATAFUNZIONE,ORACHIAMATAFUNZIONE,"
         "IDFINESTRA) VALUES (1,'01.01.2024','10:00:00',7)");
    EXPECT_TRUE(x->ScritturaHandleDiApertura(8, 99)); // no row: nothing changes
    EXPECT_EQ(scalar("SELECT COUNT(*) FROM VELMOLOGFUNZ WHERE HANDLEFINESTRA IS NOT NULL"), "0");
    EXPECT_TRUE(x->ScritturaHandleDiApertura(7, 1234));
    EXPECT_EQ(scalar("SELECT HANDLEFINESTRA FROM VELMOLOGFUNZ WHERE IDFINESTRA=7"), "1234");
    EXPECT_TRUE(rec.seen().isEmpty());
}
