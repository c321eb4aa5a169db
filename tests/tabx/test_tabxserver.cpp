#include "tabxtest.h"

#include "inifile.h"
#include "serverdb.h"

#include <QFile>

// The user database and a named database through the private test server.
namespace {

class ServerTabX : public TabXTest
{
protected:
    void SetUp() override
    {
        SKIP_WITHOUT_TEST_SERVER();
        TabXTest::SetUp();
    }
};

} // namespace

TEST_F(ServerTabX, UserDatabaseThroughTheServerBesideTheArchiveObject)
{
    const QString file = cartella() + "user/utenti.fdb";
    scriviFile(
        "user/dati.ini",
        QString("[CONFIG]\r\nNome Server=%1\r\nAlias=%2\r\n").arg(testServer(), file).toUtf8());
    creaArchivio();
    auto x = crea(0);
    ASSERT_TRUE(x->IBDatabaseUser->Connected());
    EXPECT_EQ(x->IBDatabaseUser->DatabaseName, testServer() + ":" + file);
    EXPECT_EQ(firstValue(archivio->IBDatabase1,
                         "SELECT COUNT(*) FROM RDB$RELATIONS WHERE RDB$RELATION_NAME='TABSCRIPT'"),
              "1");

    firstValue(archivio->IBDatabase1,
               "INSERT INTO UTENTI (CODICE,NOMEUTENTE,DITTA) VALUES (3,'NERI','A')");
    firstValue(archivio->IBDatabase1,
               "INSERT INTO TABPRAVLIN (UTENTE,INTESTAZIONE,PARAMETRO,VALORE,PROGRESSIVO) "
               "VALUES (3,'A','X','1',1)");
    ASSERT_TRUE(x->SetUserPerNome("NERI"));
    x->SettaParametro("Y", "2");
    EXPECT_EQ(firstValue(archivio->IBDatabase1, "SELECT PRAVLIN FROM UTENTI WHERE CODICE=3"),
              "[A]\nX=1\nY=2\n");
    EXPECT_FALSE(QFile::exists(cartella() + "user/user.fdb"));
}

TEST_F(ServerTabX, NamedPathWithItsServer)
{
    auto x = crea(3);
    const QString nome = serverDatabaseName(cartella() + "ditta.fdb");
    x->MemTabX->AppendRecord({QVariant(), "TBX", "Ditta", QVariant(), nome});
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    x->ConnettiDatabase2("Ditta");
    ASSERT_TRUE(x->IBDatabase2->Connected());
    EXPECT_EQ(x->IBDatabase2->DatabaseName, nome);
}
