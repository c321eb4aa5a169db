#include "dbcontrols.h"
#include "dbgrid.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "inputbox.h"
#include "menuprogrammatest.h"
#include "nodovoceform.h"
#include "strumentivoci.h"
#include "visalberoform.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <QTreeWidget>

// The menu grid editor's tools: the library pick, the function letter, the
// conversion to mode X, the tree view and the two transfer buttons.
namespace {

const QString kFunzioni = "SELECT MENU, DLL, FUNZIONE, LIVELLO2VERSIONE FROM DETTMENU WHERE "
                          "PROGRAMMA=1 ORDER BY MENU";
const QString kDescrizione = "Si prega di inserire una descrizione";

class Strumenti : public MenuProgrammaTest
{
protected:
    void TearDown() override
    {
        InputBox::setResponder({});
        FileDialogs::setResponder({});
        MenuProgrammaTest::TearDown();
    }
    // An entry of program 1 with library "A.dll"; "" is NULL.
    void funzione(int menu, const QString &descrizione, const QString &funz, const QString &liv2)
    {
        voce(1, menu, "", descrizione);
        other(QString("UPDATE DETTMENU SET DLL='A.dll', FUNZIONE=%1, LIVELLO2VERSIONE=%2 WHERE "
                      "MENU=%3")
                  .arg(funz.isEmpty() ? "NULL" : "'" + funz + "'", liv2.isEmpty() ? "NULL" : liv2)
                  .arg(menu));
    }
    void lettera(std::optional<QString> risposta)
    {
        InputBox::setResponder([risposta](const TInputRequest &r) {
            EXPECT_EQ(QStringList({r.caption, r.prompt, r.value}),
                      QStringList(
                          {"Agg. lettera finale delle chiamate a funz.", "Inserire lettera", ""}));
            return risposta;
        });
    }
};

} // namespace

TEST(StrumentiVoci, LibraryLetterAndModeXRules)
{
    EXPECT_EQ(StrumentiVoci::NomeLibreria("/opt/suite/Norvak.dll"), "Norvak.dll");
    EXPECT_EQ(StrumentiVoci::NomeLibreria("C:\\Suite\\Tolq.dll"), "Tolq.dll");
    EXPECT_TRUE(StrumentiVoci::LibreriaAmmessa(QString(20, 'a')));
    EXPECT_FALSE(StrumentiVoci::LibreriaAmmessa(QString(21, 'a')));
    for (const QString &l : {"X", "D"})
        EXPECT_TRUE(StrumentiVoci::LetteraAmmessa(l));
    for (const QString &l : {"x", "d", "", "XD", " X"})
        EXPECT_FALSE(StrumentiVoci::LetteraAmmessa(l)) << l.toStdString();
    // Function, letter, result; the walk skips what RiceveLettera refuses.
    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("ApriX", 'D'), "ApriD");
    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("D", 'X'), "X");
    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("Apri1", 'X'), "ApriX");
    EXPECT_TRUE(StrumentiVoci::RiceveLettera("ApriX", "")) << "NULL reads as 0";
    EXPECT_FALSE(StrumentiVoci::RiceveLettera("ApriX", "1"));
    EXPECT_FALSE(StrumentiVoci::RiceveLettera("", "0"));
    EXPECT_EQ(StrumentiVoci::AvvisoModoX(""), "Nessuna funzione specificata");
    EXPECT_EQ(StrumentiVoci::AvvisoModoX("ApriX"),
              "Nessuna conversione prevista per questa funzione");
    EXPECT_EQ(StrumentiVoci::AvvisoModoX("ApriD") + StrumentiVoci::AvvisoModoX("x"), "");
}

TEST_F(Strumenti, EmptyMenuTransferButtonsAndTheLibraryPick)
{
    auto f = apri();
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    f->ButtonAggFunz->click();
    rec.expect(TMsgDlgType::Warning, "Premere Nuovo per inserire un nuovo record");
    f->ButtonAutoRinomina->click();
    rec.expect(TMsgDlgType::Information, "Importazione rimandata alla sezione Elaborazioni");
    f->ButtonImporta->click();
    rec.expect(TMsgDlgType::Information, "Esportazione rimandata alla sezione Elaborazioni");
    f->ButtonEsporta->click();

    funzione(1, "Uno", "ApriX", "0");
    f = apri();
    f->ButtonEdit->click();
    QString scelto;
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        EXPECT_EQ(r.filter, "Libreria dll (*.dll)|*.dll");
        EXPECT_EQ(r.initialDir, tab->DirectoryProgramma);
        EXPECT_TRUE(r.kind == FileDialogRequest::Open && r.mustExist);
        return scelto;
    });
    // Picked path, DLL after it; the over-long name is refused.
    const QStringList casi[] = {{cartella() + "lib/Norvak.dll", "Norvak.dll"},
                                {"", "Norvak.dll"},
                                {cartella() + QString(17, 'n') + ".dll", "Norvak.dll"},
                                {cartella() + QString(16, 'v') + ".dll", "vvvvvvvvvvvvvvvv.dll"}};
    for (const QStringList &c : casi) {
        scelto = c[0];
        if (c[0].contains("nnn"))
            rec.expect(TMsgDlgType::Warning,
                       "Il nome della libreria non può superare i 20 caratteri");
        f->EditFunzione->setFocus();
        f->ButtonDLL->click();
        EXPECT_EQ(f->EditDLL->text(), c[1]);
        EXPECT_EQ(f->focusWidget(), f->EditDLL);
    }
    f->ButtonMemorizza->click();
    EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|vvvvvvvvvvvvvvvv.dll|ApriX|0"});
}

TEST_F(Strumenti, FunctionLetterRewritesEntriesWithoutTheParameterTextThenSaves)
{
    funzione(1, "Uno", "ApriX", "0");
    funzione(2, "Due", "StampaX", "1");
    funzione(3, "Tre", "", "0");
    funzione(4, "Quattro", "CalcX", "");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 4);
    lettera(std::nullopt);
    f->ButtonAggFunz->click(); // Cancel: silent
    lettera(QString("x"));
    rec.expect(TMsgDlgType::Warning, "Lettere accettate: \"X\" e \"D\"");
    f->ButtonAggFunz->click();
    lettera(QString("D"));
    rec.expect(TMsgDlgType::Information, "Sostituzione completata");
    f->ButtonAggFunz->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(menuCorrente(*f), 4);
    EXPECT_EQ(righeCommitted(kFunzioni), (QStringList{"1|A.dll|ApriD|0", "2|A.dll|StampaX|1",
                                                      "3|A.dll||0", "4|A.dll|CalcD|"}));
}

TEST_F(Strumenti, RefusedSavesOfFunctionLetterAndModeXLeaveTheEditorRed)
{
    funzione(1, "", "ApriD", "0"); // no caption: every save refuses
    auto f = apri();
    lettera(QString("X"));
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->ButtonAggFunz->click();
    EXPECT_TRUE(f->Editing()) << "no \"Sostituzione completata\"";
    EXPECT_EQ(righe(kFunzioni), QStringList{"1|A.dll|ApriX|0"});
    EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|A.dll|ApriD|0"});
    rec.expect(TMsgDlgType::Confirmation, "Conferma l'annullamento delle modifiche apportate?",
               mrYes);
    f->ButtonAnnulla->click();
    EXPECT_EQ(righe(kFunzioni), QStringList{"1|A.dll|ApriD|0"});

    rec.expect(TMsgDlgType::Confirmation, "Converto la funzione in modo X?", mrYes);
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->ButtonAutoRinomina->click();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->QueryDettMenu->State(), dsEdit);
    EXPECT_EQ(f->EditFunzione->text(), "ApriX");
    QTest::keyClicks(f->EditDescrizione, "Uno");
    f->ButtonMemorizza->click();
    EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|A.dll|ApriX|0"});
    rec.expect(TMsgDlgType::Warning, "Nessuna conversione prevista per questa funzione");
    f->ButtonAutoRinomina->click();
}

TEST_F(Strumenti, FunctionLetterFailingOnARowUndoesTheWalkAndKeepsThePendingEdit)
{
    other("ALTER TABLE DETTMENU ADD CONSTRAINT NO_ROMPID CHECK (FUNZIONE <> 'RompiD')");
    funzione(1, "Uno", "ApriX", "0");
    funzione(2, "Due", "RompiX", "0");
    auto f = apri();
    f->ButtonEdit->click();
    QTest::keyClicks(f->EditDescrizione, "!");
    lettera(QString("D"));
    rec.allowAny();
    f->ButtonAggFunz->click();
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.contains("NO_ROMPID")) << rec.seen()[0].text.toStdString();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(righe(kFunzioni), (QStringList{"1|A.dll|ApriX|0", "2|A.dll|RompiX|0"}));
    EXPECT_EQ(righe(kVoci).first(), "1||0|Uno!") << "the pending edit stays posted";
    EXPECT_EQ(vociCommitted().first(), "1||0|Uno");
}

TEST_F(Strumenti, TreeViewFromTheGrid)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "1", "Due", 1);
    voce(1, 3, "", "Tre");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 3);
    int cambi = 0;
    QObject::connect(f->EditMenuPrec, &TDBEdit::Change, [&] { ++cambi; });
    QString scelta;
    rispondi([&](QDialog *d) {
        if (auto *nodo = qobject_cast<TNodoVoceForm *>(d)) {
            nodo->EditDescrizione->setText("Quattro");
            nodo->ButtonOk->click();
            return;
        }
        auto *a = qobject_cast<TVisAlberoForm *>(d);
        ASSERT_NE(a, nullptr);
        a->TreeViewMenu->setCurrentItem(
            a->TreeViewMenu->findItems(scelta, Qt::MatchExactly | Qt::MatchRecursive).value(0));
        if (!scelta.isEmpty()) {
            a->ButtonRitorna->click();
            return;
        }
        // An entry added under "Uno": its commit closes the grid's query,
        // and the editor shows nothing, quietly, until the view is gone.
        a->TreeViewMenu->setCurrentItem(a->TreeViewMenu->topLevelItem(0));
        cambi = 0;
        a->Nuovo1Click();
        EXPECT_FALSE(f->QueryDettMenu->Active());
        EXPECT_EQ(f->GridDettMenu->model()->rowCount(), 0);
        EXPECT_EQ(f->EditDescrizione->text() + QString::number(cambi), "0");
        a->ButtonChiudi->click();
    });
    f->ButtonModAlbero->click();
    EXPECT_EQ(f->GridDettMenu->model()->rowCount(), 4) << "the new entry is in the grid";
    EXPECT_EQ(menuCorrente(*f), 3) << "Chiudi leaves the grid where it was";
    EXPECT_EQ(vociCommitted().last(), "4|1|1|Quattro");
    scelta = "Due";
    f->ButtonModAlbero->click();
    EXPECT_EQ(menuCorrente(*f), 2) << "Ritorna puts the grid on the chosen entry";
    EXPECT_EQ(f->EditDescrMenu->text(), "Uno");
    EXPECT_TRUE(rec.seen().isEmpty());
}
