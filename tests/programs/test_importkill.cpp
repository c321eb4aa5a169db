#include "childkill.h"
#include "filedialogs.h"
#include "importmenuform.h"
#include "tabform.h"
#include "transfertest.h"

#include <QPushButton>

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
    KillChild figlio;
    ASSERT_TRUE(figlio.start(kCartella));
    TTabForm *tabVar = figlio.tab.get();
    TImportMenuForm f(nullptr, tabVar);
    FileDialogs::setResponder(
        [&](const FileDialogRequest &) { return figlio.cartella + QStringLiteral("menu.csv"); });
    f.ButtonFile->click();
    f.ButtonSel1->click();
    f.Importazione.DopoIstruzione = [](int eseguite) {
        if (eseguite >= kIstruzioni)
            announceAndWaitForKill();
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

    QProcessEnvironment env;
    env.insert(kCartella, cartella());
    ASSERT_NO_FATAL_FAILURE(killChildWhenReady("ImportKill.DISABLED_Child", env));

    EXPECT_EQ(programmi(), programmiPrima);
    EXPECT_EQ(menu(), menuPrima);
}
