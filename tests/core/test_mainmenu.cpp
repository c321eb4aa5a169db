#include "../support/testlib/testlibrecorder.h"
#include "basemainform.h"
#include "builtinscripts.h"
#include "filedialogs.h"
#include "infoform.h"
#include "library.h"
#include "messagerecorder.h"
#include "modaldriver.h"
#include "pathutil.h"
#include "tabform.h"

#include <QAction>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>
#include <gtest/gtest.h>

namespace {

const QString kGate =
    QStringLiteral("Nessun database csd progetti collegato, vedi sotto menu sistema");

// A signed-in main window in a scratch program folder.
class MainMenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        QDir(dir.path()).mkdir("Grafica");
        setProgramFolder(dir.path());
        TLibrary::setSearchFolder(testLibsDir());
        rec.allowAny();
        window = std::make_unique<TBaseMainForm>();
        window->EditPassword->setText("corvex.5173");
        window->ButtonOk->click();
        ASSERT_TRUE(window->signedIn());
        rec.allowAny(false);
        rec.clear();
    }
    void TearDown() override
    {
        window.reset();
        FileDialogs::setResponder({});
        Modal::setRunner({});
        TLibrary::setSearchFolder(QString());
        setProgramFolder(QString());
    }

    QTemporaryDir dir;
    MessageRecorder rec;
    std::unique_ptr<TBaseMainForm> window;
};

} // namespace

TEST_F(MainMenuTest, CsdItemsNeedTheCsdDatabaseUntilOneIsChosen)
{
    // The CSD items open their editors past this gate (installed by the designer).
    rec.expect(TMsgDlgType::Warning, kGate);
    EXPECT_FALSE(window->CSDCollegato());

    FileDialogRequest asked;
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        asked = r;
        return QString();
    });
    window->ArchivioCDSProgetti1->trigger(); // cancelled: nothing stored
    EXPECT_EQ(asked.kind, FileDialogRequest::Open);
    EXPECT_EQ(asked.filter, "Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb");
    EXPECT_EQ(window->TabForm()->Get_DBCSDProgetti(), QString());

    const QString csd = dir.path() + "/csd.fdb";
    FileDialogs::setResponder([&](const FileDialogRequest &) { return csd; });
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    window->ArchivioCDSProgetti1->trigger();
    EXPECT_EQ(window->TabForm()->Get_DBCSDProgetti(), csd);
    EXPECT_TRUE(window->CSDCollegato());
}

TEST_F(MainMenuTest, CsdDatabaseNamedAnewInTheRealDialogIsCreated)
{
    const QString csd = dir.path() + "/nuovo.fdb";
    ModalDriver driver([&](QWidget *dialog) {
        auto *name = dialog->findChild<QLineEdit *>("fileNameEdit");
        ASSERT_NE(name, nullptr);
        QTest::keyClicks(name, csd);
        QTest::keyClick(name, Qt::Key_Return);
    });
    rec.expect(TMsgDlgType::None, "Effettuata creazione data base");
    window->ArchivioCDSProgetti1->trigger();
    EXPECT_TRUE(driver.acted());
    EXPECT_FALSE(driver.timedOut());
    EXPECT_EQ(window->TabForm()->Get_DBCSDProgetti(), csd);
    EXPECT_TRUE(QFile::exists(csd));
    EXPECT_TRUE(window->CSDCollegato());
}

TEST_F(MainMenuTest, PulsantoniIsCreatedOnceThenHandedToTheFormsLibrary)
{
    TestLibRecorder norvak(testLibsDir() + "/Norvak.dll");
    ASSERT_TRUE(norvak.valid());
    norvak.reset();
    rec.expect(TMsgDlgType::Warning, "Tabella PULSANTONI mancante: verrà creata ora");
    window->GestionePulsantoni1->trigger();
    const QString expected = "ShowCSDFormStatic|" + window->TabForm()->IBDatabase1->DatabaseName +
                             "|0|" + BuiltinScripts::pulsantoniScript();
    EXPECT_EQ(norvak.lastCall(), expected);

    window->GestionePulsantoni1->trigger(); // nothing shown the second time
    EXPECT_EQ(norvak.calls(), 2);

    window->LingueMenu1->trigger();
    EXPECT_TRUE(norvak.lastCall().endsWith(BuiltinScripts::lingueMenuScript()));
}

TEST_F(MainMenuTest, InformationBox)
{
    QString caption, version;
    Modal::setRunner([&](QDialog *d) {
        auto *info = qobject_cast<TInfoForm *>(d);
        EXPECT_NE(info, nullptr);
        caption = d->windowTitle();
        version = info->Version->text();
        info->OKButton->click();
        return d->result();
    });
    window->Informazioni1->trigger();
    EXPECT_EQ(caption, "Informazioni Programma");
    EXPECT_EQ(version, "Versione 1.0");
}
