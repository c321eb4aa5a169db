#include "basemainform.h"
#include "dbcontrols.h"
#include "messagerecorder.h"
#include "pathutil.h"
#include "programmiform.h"
#include "programmimenu.h"
#include "serverdb.h"
#include "tabform.h"
#include "testdb.h"

#include <QAction>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

// "Gestione Programmi" of the main menu, signed in as the administrator.
namespace {

class GestioneProgrammi : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkpath("Grafica");
        QDir(dir.path()).mkpath("user");
        for (const char *picture : {"/Grafica/Verde.bmp", "/Grafica/Rosso.bmp"})
            QFile::copy(QCoreApplication::applicationDirPath() + picture, dir.path() + picture);
        setProgramFolder(dir.path());
    }
    void TearDown() override
    {
        window.reset();
        Modal::setRunner({});
        setProgramFolder(QString());
    }
    void accedi()
    {
        rec.allowAny();
        window = std::make_unique<TBaseMainForm>();
        ProgrammiMenu::Installa(*window);
        window->EditPassword->setText("corvex.5173");
        window->ButtonOk->click();
        ASSERT_TRUE(window->signedIn());
        rec.allowAny(false);
        rec.clear();
    }
    // Opens the editor from the menu; inside, adds a program and saves it.
    void aggiungiDalMenu(const QString &nome, bool primaApertura = true)
    {
        TProgrammiForm *shown = nullptr;
        Modal::setRunner([&](QDialog *d) {
            shown = qobject_cast<TProgrammiForm *>(d);
            EXPECT_NE(shown, nullptr);
            if (!shown)
                return int(mrCancel);
            EXPECT_EQ(shown->parent(), window.get());
            shown->ButtonNuovo->click();
            QTest::keyClicks(shown->EditNome, nome);
            shown->ButtonMemorizza->click();
            shown->ButtonChiudi->click();
            return int(mrCancel);
        });
        if (primaApertura)
            rec.expect(TMsgDlgType::Warning,
                       "Tabella DETTMENU da aggiornare: verrà aggiunto il campo PARAMETRIBLOB");
        window->GestioneProgrammi1->trigger();
        EXPECT_NE(shown, nullptr);
    }

    QTemporaryDir dir;
    MessageRecorder rec;
    std::unique_ptr<TBaseMainForm> window;
};

class ServerGestioneProgrammi : public GestioneProgrammi
{
};

} // namespace

TEST_F(GestioneProgrammi, OpensTheEditorOnTheUserDatabase)
{
    accedi();
    aggiungiDalMenu("Contabilita");
    EXPECT_EQ(OtherConnection(dir.path() + "/user/user.fdb")
                  .scalar("SELECT CODICE || NOME FROM PROGRAMMI"),
              "1Contabilita");
}

TEST_F(ServerGestioneProgrammi, OpensTheEditorThroughTheServer)
{
    SKIP_WITHOUT_TEST_SERVER();
    const QString file = dir.path() + "/user/utenti.fdb";
    QFile ini(dir.path() + "/user/dati.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write(
        QString("[CONFIG]\r\nNome Server=%1\r\nAlias=%2\r\n").arg(testServer(), file).toUtf8());
    ini.close();
    accedi();
    EXPECT_EQ(window->TabForm()->IBDatabase1->DatabaseName, testServer() + ":" + file);
    aggiungiDalMenu("Magazzino");
    aggiungiDalMenu("Paghe", false);
    EXPECT_EQ(OtherConnection(serverDatabaseName(file))
                  .scalar("SELECT LIST(NOME) FROM (SELECT NOME FROM PROGRAMMI ORDER BY CODICE)"),
              "Magazzino,Paghe");
}
