#include "filedialogs.h"
#include "importmenuform.h"
#include "pathutil.h"
#include "tabform.h"
#include "transfertest.h"

#include <QCoreApplication>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>

#include <cstdio>
#include <unistd.h>

namespace {

// Set in the child: the program folder whose user database it imports into.
const char *kCartella = "IMPORT_KILL_FOLDER";
const int kIstruzioni = 1000;

} // namespace

// The child: the test program started again with the folder in its
// environment. It imports the file there and, after its 1,000th statement,
// says so and waits to be killed.
TEST(ImportKill, DISABLED_Child)
{
    const QString cartella = qEnvironmentVariable(kCartella);
    ASSERT_FALSE(cartella.isEmpty());
    setProgramFolder(cartella);
    MessageRecorder rec;
    rec.allowAny();
    TTabForm tab;
    ASSERT_TRUE(tab.ConnettiDatabaseArchivi());
    TTabForm *tabVar = &tab;
    TImportMenuForm f(nullptr, tabVar);
    FileDialogs::setResponder(
        [&](const FileDialogRequest &) { return cartella + QStringLiteral("menu.csv"); });
    f.ButtonFile->click();
    f.ButtonSel1->click();
    f.Importazione.DopoIstruzione = [](int eseguite) {
        if (eseguite < kIstruzioni)
            return;
        std::fputs("pronto\n", stdout);
        std::fflush(stdout);
        for (;;)
            pause();
    };
    f.ButtonImport->click();
    ADD_FAILURE() << "the import ended on its own";
}

class ImportKillTest : public TransferTest
{
};

TEST_F(ImportKillTest, AnImportKilledMidwayLeavesTheTablesAsTheyWere)
{
    conParametriBlob();
    programma(4, "MAGAZZINO");
    for (int m = 1; m <= 3; ++m)
        voce(4, m, {{"DESCRIZIONE", "vecchia"}, {"PARAMETRIBLOB", "<v/>"}});
    programma(1, "Uno");
    voce(1, 1);

    // An existing program first (its menu deleted), then new ones: past
    // 1,000 statements.
    QByteArray righe;
    for (int p = 0; p < 20; ++p) {
        const QString nome =
            p == 0 ? QStringLiteral("magazzino") : QStringLiteral("Nuovo%1").arg(p);
        for (int m = 1; m <= 60; ++m)
            righe += linea({"Prog", "9", nome, "d", "", "9", QString::number(m), "", "0", "Voce",
                            "a.dll", "ApriX", "nota", "1", "A=1;", "1", "0", "<a>\\r\\n</a>"});
    }
    scrivi("menu.csv", kIntestazione + righe);
    const QStringList programmiPrima = programmi(), menuPrima = menu();
    // One process at a time holds the file through the embedded engine.
    tab.reset();
    tabVar = nullptr;

    QProcess figlio;
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert(kCartella, cartella());
    env.insert("QT_QPA_PLATFORM", "offscreen");
    // The engine's shared lock and memory files in a folder of the child's
    // own: a kill can leave a process-shared mutex held there, which every
    // other engine using the folder would wait for for ever.
    QTemporaryDir fileMotore;
    env.insert("FIREBIRD_LOCK", fileMotore.path());
    figlio.setProcessEnvironment(env);
    figlio.start(QCoreApplication::applicationFilePath(),
                 {"--gtest_filter=ImportKill.DISABLED_Child", "--gtest_also_run_disabled_tests"});
    ASSERT_TRUE(figlio.waitForStarted());
    QByteArray uscita;
    while (!uscita.contains("pronto\n") && figlio.state() == QProcess::Running) {
        figlio.waitForReadyRead(1000);
        uscita += figlio.readAllStandardOutput();
    }
    ASSERT_TRUE(uscita.contains("pronto\n"))
        << uscita.toStdString() << figlio.readAllStandardError().toStdString();
    figlio.kill(); // SIGKILL
    ASSERT_TRUE(figlio.waitForFinished(30000));
    EXPECT_EQ(figlio.exitStatus(), QProcess::CrashExit);

    EXPECT_EQ(programmi(), programmiPrima);
    EXPECT_EQ(menu(), menuPrima);
}
