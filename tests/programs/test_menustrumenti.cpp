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

const QString kFunzioni =
    "SELECT MENU, DLL, FUNZIONE, LIVELLO2VERSIONE FROM DETTMENU WHERE PROGRAMMA=1 ORDER BY MENU";
const QString kLettere = "Lettere accettate: \"X\" e \"D\"";
const QString kCompletata = "Sostituzione completata";
const QString kDescrizione = "Si prega di inserire una descrizione";
const QString kAnnullare = "Conferma l'annullamento delle modifiche apportate?";
const QString kConverto = "Converto la funzione in modo X?";
const QString kPremereNuovo = "Premere Nuovo per inserire un nuovo record";

class Strumenti : public MenuProgrammaTest
{
protected:
    void TearDown() override
    {
        InputBox::setResponder({});
        FileDialogs::setResponder({});
        MenuProgrammaTest::TearDown();
    }
    // An entry of program 1 with its library and function; an empty
    // LIVELLO2VERSIONE is NULL.
    void funzione(int menu, const QString &descrizione, const QString &dll, const QString &funzione,
                  const QString &livello2)
    {
        voce(1, menu, "", descrizione);
        const auto testo = [](const QString &t) { return t.isEmpty() ? "NULL" : "'" + t + "'"; };
        other(QString("UPDATE DETTMENU SET DLL=%1, FUNZIONE=%2, LIVELLO2VERSIONE=%3 WHERE "
                      "PROGRAMMA=1 AND MENU=%4")
                  .arg(testo(dll), testo(funzione), livello2.isEmpty() ? "NULL" : livello2)
                  .arg(menu));
    }
    // The letter the input box is answered with (nothing: Cancel).
    void lettera(std::optional<QString> risposta)
    {
        InputBox::setResponder([this, risposta](const TInputRequest &r) {
            EXPECT_EQ(r.caption, "Agg. lettera finale delle chiamate a funz.");
            EXPECT_EQ(r.prompt, "Inserire lettera");
            EXPECT_EQ(r.value, "");
            ++chieste;
            return risposta;
        });
    }
    int chieste = 0;
};

} // namespace

TEST(StrumentiVoci, LibraryLetterAndModeXRules)
{
    EXPECT_EQ(StrumentiVoci::NomeLibreria("/opt/suite/Norvak.dll"), "Norvak.dll");
    EXPECT_EQ(StrumentiVoci::NomeLibreria("C:\\Suite\\Tolq.dll"), "Tolq.dll");
    EXPECT_EQ(StrumentiVoci::NomeLibreria("Solo.dll"), "Solo.dll");
    EXPECT_TRUE(StrumentiVoci::LibreriaAmmessa(QString(20, 'a')));
    EXPECT_FALSE(StrumentiVoci::LibreriaAmmessa(QString(21, 'a')));

    const struct
    {
        QString lettera;
        bool ammessa;
    } lettere[] = {{"X", true}, {"D", true},   {"x", false}, {"d", false},
                   {"", false}, {"XD", false}, {" X", false}};
    for (const auto &l : lettere)
        EXPECT_EQ(StrumentiVoci::LetteraAmmessa(l.lettera), l.ammessa) << l.lettera.toStdString();

    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("ApriX", 'D'), "ApriD");
    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("D", 'X'), "X");
    EXPECT_EQ(StrumentiVoci::ConLetteraFinale("Apri1", 'X'), "ApriX");
    EXPECT_TRUE(StrumentiVoci::RiceveLettera("ApriX", "0"));
    EXPECT_TRUE(StrumentiVoci::RiceveLettera("ApriX", "")) << "NULL reads as 0";
    EXPECT_FALSE(StrumentiVoci::RiceveLettera("ApriX", "1"));
    EXPECT_FALSE(StrumentiVoci::RiceveLettera("", "0"));
    EXPECT_EQ(StrumentiVoci::AvvisoModoX(""), "Nessuna funzione specificata");
    EXPECT_EQ(StrumentiVoci::AvvisoModoX("ApriX"),
              "Nessuna conversione prevista per questa funzione");
    EXPECT_EQ(StrumentiVoci::AvvisoModoX("ApriD"), "");
    EXPECT_EQ(StrumentiVoci::AvvisoModoX("x"), "") << "only an upper-case X is mode X";
}

TEST_F(Strumenti, EmptyMenuAndTheTransferButtons)
{
    auto f = apri();
    lettera(QString("D"));
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    f->ButtonAggFunz->click();
    EXPECT_EQ(chieste, 0);
    rec.expect(TMsgDlgType::Warning, kPremereNuovo);
    f->ButtonAutoRinomina->click();
    rec.expect(TMsgDlgType::Warning, kPremereNuovo);
    f->ButtonWizardCSDFormClick();
    rec.expect(TMsgDlgType::Information, "Importazione rimandata alla sezione Elaborazioni");
    f->ButtonImporta->click();
    rec.expect(TMsgDlgType::Information, "Esportazione rimandata alla sezione Elaborazioni");
    f->ButtonEsporta->click();
    EXPECT_FALSE(f->Editing());
}

TEST_F(Strumenti, LibraryPickTakesTheFileNameAndRefusesOneTooLongForTheColumn)
{
    funzione(1, "Uno", "Vecchia.dll", "ApriX", "0");
    auto f = apri();
    f->ButtonEdit->click();
    QString scelto;
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        EXPECT_EQ(r.kind, FileDialogRequest::Open);
        EXPECT_EQ(r.filter, "Libreria dll (*.dll)|*.dll");
        EXPECT_EQ(r.initialDir, tab->DirectoryProgramma);
        EXPECT_TRUE(r.mustExist);
        return scelto;
    });
    const struct
    {
        QString percorso, dll, avviso;
    } casi[] = {
        {cartella() + "lib/Norvak.dll", "Norvak.dll", ""},
        {"", "Norvak.dll", ""}, // cancelled
        {cartella() + QString(17, 'n') + ".dll", "Norvak.dll",
         "Il nome della libreria non può superare i 20 caratteri"},
        {cartella() + QString(16, 'v') + ".dll", QString(16, 'v') + ".dll", ""},
    };
    for (const auto &c : casi) {
        SCOPED_TRACE(c.percorso.toStdString());
        scelto = c.percorso;
        if (!c.avviso.isEmpty())
            rec.expect(TMsgDlgType::Warning, c.avviso);
        f->EditFunzione->setFocus();
        f->ButtonDLL->click();
        EXPECT_EQ(f->QueryDettMenu->FieldByName("DLL")->AsString(), c.dll);
        EXPECT_EQ(f->EditDLL->text(), c.dll);
        EXPECT_EQ(f->focusWidget(), f->EditDLL);
    }
    f->ButtonMemorizza->click();
    EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|vvvvvvvvvvvvvvvv.dll|ApriX|0"});
}

TEST_F(Strumenti, FunctionLetterRewritesOnlyEntriesWithoutTheParameterText)
{
    funzione(1, "Uno", "A.dll", "ApriX", "0");
    funzione(2, "Due", "A.dll", "StampaX", "1");
    funzione(3, "Tre", "", "", "0");
    funzione(4, "Quattro", "A.dll", "CalcX", "");
    funzione(5, "Cinque", "A.dll", "GiaD", "0");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 4);

    lettera(std::nullopt);
    f->ButtonAggFunz->click(); // Cancel: silent
    for (const QString &rifiutata : {"x", "", "XD"}) {
        lettera(rifiutata);
        rec.expect(TMsgDlgType::Warning, kLettere);
        f->ButtonAggFunz->click();
    }
    EXPECT_EQ(chieste, 4);

    lettera(QString("D"));
    rec.expect(TMsgDlgType::Information, kCompletata);
    f->ButtonAggFunz->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(menuCorrente(*f), 4) << "back on the row it started from";
    EXPECT_EQ(righeCommitted(kFunzioni),
              (QStringList{"1|A.dll|ApriD|0", "2|A.dll|StampaX|1", "3|||0", "4|A.dll|CalcD|",
                           "5|A.dll|GiaD|0"}));
}

TEST_F(Strumenti, FunctionLetterAfterARefusedSaveLeavesTheEditorRedUntilAnnulla)
{
    funzione(1, "Uno", "A.dll", "ApriD", "0");
    funzione(2, "", "A.dll", "VediD", "0"); // no caption: the save refuses
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 2);
    lettera(QString("X"));
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->ButtonAggFunz->click();
    EXPECT_TRUE(f->Editing()) << "the names wait uncommitted: the editor says so";
    EXPECT_EQ(righe(kFunzioni), (QStringList{"1|A.dll|ApriX|0", "2|A.dll|VediX|0"}));
    EXPECT_EQ(righeCommitted(kFunzioni), (QStringList{"1|A.dll|ApriD|0", "2|A.dll|VediD|0"}));

    rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrYes);
    f->ButtonAnnulla->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(kFunzioni), (QStringList{"1|A.dll|ApriD|0", "2|A.dll|VediD|0"}));
}

TEST_F(Strumenti, FunctionLetterFailingOnARowUndoesTheWalkAndKeepsThePendingEdit)
{
    other("ALTER TABLE DETTMENU ADD CONSTRAINT NO_ROMPID CHECK (FUNZIONE <> 'RompiD')");
    funzione(1, "Uno", "A.dll", "ApriX", "0");
    funzione(2, "Due", "A.dll", "RompiX", "0");
    funzione(3, "Tre", "A.dll", "ChiudiX", "0");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 3);
    f->ButtonEdit->click();
    f->EditDescrizione->selectAll();
    QTest::keyClicks(f->EditDescrizione, "Tre modificata");
    lettera(QString("D"));
    rec.allowAny();
    f->ButtonAggFunz->click();
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.contains("NO_ROMPID")) << rec.seen()[0].text.toStdString();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(menuCorrente(*f), 3);
    EXPECT_EQ(righe(kFunzioni),
              (QStringList{"1|A.dll|ApriX|0", "2|A.dll|RompiX|0", "3|A.dll|ChiudiX|0"}))
        << "the walk is undone";
    EXPECT_EQ(righe(kVoci).last(), "3||0|Tre modificata") << "the pending edit stays posted";
    EXPECT_EQ(vociCommitted().last(), "3||0|Tre");
    EXPECT_EQ(f->EditDescrizione->text(), "Tre modificata");
}

TEST_F(Strumenti, ConversionToModeX)
{
    const struct
    {
        QString funzione, avviso;
        int risposta;
        QString dopo;
    } casi[] = {
        {"ApriD", "", mrYes, "ApriX"},
        {"D", "", mrYes, "X"},
        {"Apri1", "", mrYes, "ApriX"},
        {"ApriD", "", mrNo, "ApriD"},
        {"ApriX", "Nessuna conversione prevista per questa funzione", 0, "ApriX"},
        {"", "Nessuna funzione specificata", 0, ""},
    };
    funzione(1, "Uno", "A.dll", "", "0");
    for (const auto &c : casi) {
        SCOPED_TRACE(c.funzione.toStdString());
        other("UPDATE DETTMENU SET FUNZIONE=" +
              (c.funzione.isEmpty() ? QString("NULL") : "'" + c.funzione + "'"));
        auto f = apri();
        if (c.avviso.isEmpty())
            rec.expect(TMsgDlgType::Confirmation, kConverto, c.risposta);
        else
            rec.expect(TMsgDlgType::Warning, c.avviso);
        f->ButtonAutoRinomina->click();
        EXPECT_FALSE(f->Editing());
        EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|A.dll|" + c.dopo + "|0"});
    }
}

TEST_F(Strumenti, ConversionRefusedBySaveLeavesACoherentEditMode)
{
    funzione(1, "", "A.dll", "ApriD", "0");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kConverto, mrYes);
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->ButtonAutoRinomina->click();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->QueryDettMenu->State(), dsEdit);
    EXPECT_TRUE(f->EditFunzione->isEnabled());
    EXPECT_EQ(f->EditFunzione->text(), "ApriX");
    QTest::keyClicks(f->EditDescrizione, "Uno");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righeCommitted(kFunzioni), QStringList{"1|A.dll|ApriX|0"});
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
    const auto scegli = [](TVisAlberoForm &a, const QString &testo) {
        a.TreeViewMenu->setCurrentItem(
            a.TreeViewMenu->findItems(testo, Qt::MatchExactly | Qt::MatchRecursive).value(0));
    };

    // An entry added in the view: its commit closes the grid's query, and
    // the editor shows nothing, quietly, until the view is gone.
    rispondi([&](QDialog *d) {
        if (auto *nodo = qobject_cast<TNodoVoceForm *>(d)) {
            nodo->EditDescrizione->setText("Quattro");
            nodo->ButtonOk->click();
            return;
        }
        auto *a = qobject_cast<TVisAlberoForm *>(d);
        ASSERT_NE(a, nullptr);
        EXPECT_EQ(a->FProgramma, "1");
        scegli(*a, "Uno");
        cambi = 0;
        a->Nuovo1Click();
        EXPECT_FALSE(f->QueryDettMenu->Active());
        EXPECT_EQ(f->GridDettMenu->model()->rowCount(), 0);
        EXPECT_EQ(f->EditDescrizione->text(), "");
        EXPECT_EQ(cambi, 0);
        a->ButtonChiudi->click();
    });
    f->ButtonModAlbero->click();
    EXPECT_TRUE(rec.seen().isEmpty());
    EXPECT_EQ(f->GridDettMenu->model()->rowCount(), 4) << "the new entry is in the grid";
    EXPECT_EQ(menuCorrente(*f), 3) << "Chiudi leaves the grid where it was";
    EXPECT_EQ(vociCommitted().last(), "4|1|1|Quattro");

    // Ritorna puts the grid on the chosen entry.
    rispondi([&](QDialog *d) {
        auto *a = qobject_cast<TVisAlberoForm *>(d);
        scegli(*a, "Due");
        a->ButtonRitorna->click();
    });
    f->ButtonModAlbero->click();
    EXPECT_EQ(menuCorrente(*f), 2);
    EXPECT_EQ(f->EditDescrizione->text(), "Due");
    EXPECT_EQ(f->EditDescrMenu->text(), "Uno");
    EXPECT_FALSE(f->Editing());
}
