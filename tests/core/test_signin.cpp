#include "basemainform.h"
#include "ibsql.h"
#include "messagerecorder.h"
#include "pathutil.h"
#include "tabform.h"

#include <QAction>
#include <QDir>
#include <QFile>
#include <QFrame>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kCheckWarning = QStringLiteral(
    "Attenzione: i tracciati del database USER non sono aggiornati. Eseguire le manutenzioni DB");

// The main window in a scratch program folder that has its pictures folder.
class SignInTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkdir("Grafica");
        setProgramFolder(dir.path());
    }
    void TearDown() override { setProgramFolder(QString()); }

    bool menuEnabled(TBaseMainForm &w)
    {
        bool all = true;
        for (QMenu *m : {w.Sistema1, w.Utenti1, w.Elaborazioni1, w.Impostazioni1, w.Info1})
            all = all && m->menuAction()->isEnabled();
        return all;
    }
    bool menuDisabled(TBaseMainForm &w)
    {
        for (QMenu *m : {w.Sistema1, w.Utenti1, w.Elaborazioni1, w.Impostazioni1, w.Info1}) {
            if (m->menuAction()->isEnabled())
                return false;
        }
        return true;
    }
    void type(TBaseMainForm &w, const QString &user, const QString &password)
    {
        w.EditUtente->setText(user);
        w.EditPassword->setText(password);
        w.ButtonOk->click();
    }
    void expectFirstSignIn()
    {
        rec.expect(TMsgDlgType::None, "Effettuata creazione data base")
            .expect(TMsgDlgType::Warning, kCheckWarning)
            .expect(TMsgDlgType::Warning,
                    "Manca il generatore IDFINESTRAVELMOLOGFUNZCOUNTER. Verrà ora aggiunto")
            .expect(TMsgDlgType::Warning,
                    "Manca il campo HANDLEFINESTRA alla tabella VELMOLOGFUNZ. Verrà ora aggiunto")
            .expect(TMsgDlgType::Warning,
                    "Manca il campo IDFINESTRA alla tabella VELMOLOGFUNZ. Verrà ora aggiunto");
    }

    QTemporaryDir dir;
    MessageRecorder rec;
};

} // namespace

TEST_F(SignInTest, StartsSignedOutWithTheMasterUserName)
{
    TBaseMainForm w;
    EXPECT_EQ(w.windowTitle(), "Autenticazione");
    EXPECT_EQ(w.EditUtente->text(), "tormesa");
    EXPECT_EQ(w.EditPassword->text(), "");
    EXPECT_EQ(w.EditPassword->echoMode(), QLineEdit::Password);
    w.EditPassword->setText("abc");
    EXPECT_EQ(w.EditPassword->displayText(), "***");
    w.EditPassword->clear();
    EXPECT_TRUE(menuDisabled(w));
    EXPECT_EQ(w.MenuBase->actions().size(), 5);
    EXPECT_EQ(w.Sistema1->title(), "&Sistema");
    EXPECT_EQ(w.Info1->title(), "&Info");
}

TEST_F(SignInTest, WrongOrMissingPasswordKeepsThePanel)
{
    TBaseMainForm w;
    w.show();
    rec.expect(TMsgDlgType::Warning, "Password obbligatoria");
    QTest::keyClick(w.EditPassword, Qt::Key_Return); // Enter presses OK
    for (const auto &attempt : {qMakePair(QString("Tormesa"), QString("corvex.5173")),
                                qMakePair(QString("tormesa "), QString("corvex.5173")),
                                qMakePair(QString("tormesa"), QString("corvex.5173 ")),
                                qMakePair(QString(""), QString("corvex.5173"))}) {
        rec.expect(TMsgDlgType::Error, "Password errata");
        type(w, attempt.first, attempt.second);
    }
    EXPECT_TRUE(w.PanelAut->isVisible());
    EXPECT_TRUE(menuDisabled(w));
    EXPECT_EQ(w.EditUtente->text(), ""); // typed texts stay
    EXPECT_FALSE(QFile::exists(dir.path() + "/user/user.fdb"));
}

TEST_F(SignInTest, FirstSignInCreatesChecksAndUpgradesThenSecondIsQuiet)
{
    {
        TBaseMainForm w;
        w.show();
        expectFirstSignIn();
        type(w, "tormesa", "corvex.5173");
        EXPECT_TRUE(w.signedIn());
        EXPECT_FALSE(w.PanelAut->isVisible());
        EXPECT_TRUE(menuEnabled(w));
        EXPECT_EQ(rec.pending(), 0);
        // The silent steps added their columns and tables too.
        TIBSQL q;
        q.setDatabase(w.TabForm()->IBDatabase1);
        q.SQL = QStringList{
            "SELECT COUNT(*) FROM RDB$RELATION_FIELDS WHERE (RDB$RELATION_NAME = 'UTENTI' AND",
            "RDB$FIELD_NAME IN ('LINGUA1', 'LINGUA2')) OR (RDB$RELATION_NAME = 'PROGETTI' AND",
            "RDB$FIELD_NAME = 'MODOMENUSISTEMA') OR (RDB$RELATION_NAME = 'VELMOLOGFUNZ' AND",
            "RDB$FIELD_NAME IN ('HANDLEFINESTRA', 'IDFINESTRA')) OR RDB$RELATION_NAME IN",
            "('LINGUECOMPONENT', 'LINGUEMENU') AND RDB$FIELD_POSITION = 0"};
        q.ExecQuery();
        EXPECT_EQ(q.Fields(0).AsInteger(), 7);
    }
    // The check still warns (TABSCRIPT comes with the users editor), the upgrade is silent.
    TBaseMainForm again;
    rec.expect(TMsgDlgType::Warning, kCheckWarning);
    type(again, "tormesa", "corvex.5173");
    EXPECT_TRUE(again.signedIn());
}

TEST_F(SignInTest, MissingGraficaWarnsOnceAndSignInStillWorks)
{
    QDir(dir.path()).rmdir("Grafica");
    rec.expect(TMsgDlgType::Warning, "Directory Grafica mancante");
    TBaseMainForm w;
    EXPECT_EQ(rec.pending(), 0);
    expectFirstSignIn();
    type(w, "tormesa", "corvex.5173");
    EXPECT_TRUE(w.signedIn());
}

TEST_F(SignInTest, DatabaseThatCannotBeOpenedReturnsToSignedOut)
{
    QDir(dir.path()).mkpath("user");
    QFile ini(dir.path() + "/user/dati.ini");
    ASSERT_TRUE(ini.open(QIODevice::WriteOnly));
    ini.write("[CONFIG]\r\nNome Server=127.0.0.1/1\r\nAlias=utenti\r\n");
    ini.close();
    TBaseMainForm w;
    w.show();
    rec.expect(TMsgDlgType::Error, "Errore inizializzazione database utenti\r"
                                   "Unable to complete network request to host \"127.0.0.1\".\n"
                                   "-Failed to establish a connection.");
    type(w, "tormesa", "corvex.5173");
    EXPECT_FALSE(w.signedIn());
    EXPECT_TRUE(w.PanelAut->isVisible());
    EXPECT_TRUE(menuDisabled(w));

    // Fixed configuration: the next attempt signs in.
    ASSERT_TRUE(QFile::remove(dir.path() + "/user/dati.ini"));
    expectFirstSignIn();
    w.ButtonOk->click();
    EXPECT_TRUE(w.signedIn());
}

TEST_F(SignInTest, EnterInTheUserBoxPressesOk)
{
    TBaseMainForm w;
    w.show();
    rec.expect(TMsgDlgType::Warning, "Password obbligatoria");
    QTest::keyClick(w.EditUtente, Qt::Key_Return);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(SignInTest, EsciClosesTheWindow)
{
    TBaseMainForm w;
    w.show();
    w.Esci1->trigger();
    EXPECT_FALSE(w.isVisible());
}
