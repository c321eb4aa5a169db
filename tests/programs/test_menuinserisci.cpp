#include "dbcontrols.h"
#include "ibquery.h"
#include "menuprogrammatest.h"
#include "ricmenuform.h"

#include <QPushButton>
#include <QTest>

// "Inserisci": a new entry before the current one, the codes and parent
// references behind it moved up in the shared transaction, committed by the
// next save and undone by a cancel, embedded and through a server.
namespace {

const QString kInserire = "Inserire una nuova voce?";
const QString kAnnullare = "Conferma l'annullamento delle modifiche apportate?";
const QStringList kCinque = {"1||0|Uno", "2||0|Due", "3||0|Tre", "4|2|1|Quattro", "5|3|1|Cinque"};

class Inserisci : public MenuProgrammaTest
{
protected:
    // Entries 1, 2, 3 at the top, 4 under 2, 5 under 3.
    void menuDiCinque()
    {
        voce(1, 1, "", "Uno");
        voce(1, 2, "", "Due");
        voce(1, 3, "", "Tre");
        voce(1, 4, "2", "Quattro", 1);
        voce(1, 5, "3", "Cinque", 1);
    }
    void inserisci(TMenuProgrammaForm &f, int davanti)
    {
        ASSERT_TRUE(f.QueryDettMenu->Locate("MENU", davanti));
        rec.expect(TMsgDlgType::Confirmation, kInserire, mrYes);
        f.ButtonInserisci->click();
    }
    void salva(TMenuProgrammaForm &f, const QString &descrizione)
    {
        QTest::keyClicks(f.EditDescrizione, descrizione);
        f.ButtonMemorizza->click();
    }
    void casoDellaParte();
};

class ServerInserisci : public Inserisci
{
protected:
    void SetUp() override
    {
        useServer();
        Inserisci::SetUp();
    }
};

QString campo(TMenuProgrammaForm &f, const char *nome)
{
    return f.QueryDettMenu->FieldByName(nome)->AsString();
}

} // namespace

void Inserisci::casoDellaParte()
{
    menuDiCinque();
    auto f = apri();
    inserisci(*f, 2);
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->QueryDettMenu->State(), dsInsert);
    EXPECT_EQ(campo(*f, "MENU"), "2");
    EXPECT_EQ(campo(*f, "MENUPREC"), "");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "0");
    EXPECT_EQ(campo(*f, "VISIBILE"), "1");
    EXPECT_EQ(campo(*f, "VOCERAPIDA"), "0");
    EXPECT_EQ(campo(*f, "LIVELLO2VERSIONE"), "0");
    // The new row stands just before the entry it was inserted before.
    EXPECT_EQ(f->QueryDettMenu->ViewCurrentRow(), 1);
    // Others see nothing until the save.
    EXPECT_EQ(vociCommitted(), kCinque);
    EXPECT_EQ(voci(),
              (QStringList{"1||0|Uno", "3||0|Due", "4||0|Tre", "5|3|1|Quattro", "6|4|1|Cinque"}));
    salva(*f, "Nuova");
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(vociCommitted(), (QStringList{"1||0|Uno", "2||0|Nuova", "3||0|Due", "4||0|Tre",
                                            "5|3|1|Quattro", "6|4|1|Cinque"}));
    EXPECT_EQ(campo(*f, "MENU"), "2");
}

TEST_F(Inserisci, BeforeAnEntryWithChildrenThenSaved)
{
    casoDellaParte();
}

// Browsing, nothing is pending: the rows are read once, by the save, and
// then show every code moved.
TEST_F(Inserisci, ReadsTheRowsOnceWhenSaved)
{
    menuDiCinque();
    auto f = apri();
    int aperture = 0;
    f->QueryDettMenu->AfterOpen = [&aperture](TDataSet *) { ++aperture; };
    inserisci(*f, 2);
    EXPECT_EQ(aperture, 0);
    salva(*f, "Nuova");
    EXPECT_EQ(aperture, 1);
    QStringList griglia;
    for (int r = 0; r < f->QueryDettMenu->ViewRowCount(); ++r)
        griglia << f->QueryDettMenu->ViewValue(r, 1).toString();
    EXPECT_EQ(griglia, (QStringList{"1", "2", "3", "4", "5", "6"}));
    EXPECT_EQ(campo(*f, "DESCRIZIONE"), "Nuova");
}

TEST_F(Inserisci, CancelPutsEveryCodeBack)
{
    menuDiCinque();
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, 4, 2)");
    auto f = apri();
    inserisci(*f, 2);
    rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrYes);
    f->ButtonAnnulla->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(voci(), kCinque);
    EXPECT_EQ(righe("SELECT MENU FROM DETTPROF"), QStringList{"4"});
    EXPECT_EQ(f->QueryDettMenu->RecordCount(), 5);

    // A refresh answered No is a cancel too.
    inserisci(*f, 5);
    rec.expect(TMsgDlgType::Confirmation,
               "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. "
               "Prima di aggiornare la griglia si desidera salvare gli aggiornamenti?",
               mrNo);
    f->ButtonAggiorna->click();
    EXPECT_EQ(voci(), kCinque);
}

TEST_F(Inserisci, GrantsAndTranslationsFollowTheirEntriesToTheSave)
{
    menuDiCinque();
    for (const char *g : {"1, 1, 1, 5", "1, 1, 2, 6", "1, 1, 5, 7", "2, 1, 3, 8"})
        other(
            QString("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (%1)").arg(g));
    other("INSERT INTO LINGUEMENU (PROGRAMMA, MENU, MENUPREC, LINGUA, DESCRIZIONE) "
          "VALUES (1, 4, 2, 1, 'Four')");
    auto f = apri();
    inserisci(*f, 2);
    EXPECT_EQ(righeCommitted("SELECT MENU FROM DETTPROF ORDER BY PROFILO, MENU"),
              (QStringList{"1", "2", "5", "3"}));
    salva(*f, "Nuova");
    EXPECT_EQ(righeCommitted("SELECT PROFILO, MENU, LIVELLO FROM DETTPROF ORDER BY PROFILO, MENU"),
              (QStringList{"1|1|5", "1|3|6", "1|6|7", "2|4|8"}));
    EXPECT_EQ(righeCommitted("SELECT MENU, MENUPREC, DESCRIZIONE FROM LINGUEMENU"),
              QStringList{"5|3|Four"});
}

TEST_F(Inserisci, ParentAfterTheInsertedCodeMovesForBoth)
{
    voce(1, 2, "7", "Sotto sette", 1);
    voce(1, 7, "", "Sette");
    auto f = apri();
    inserisci(*f, 2);
    EXPECT_EQ(campo(*f, "MENUPREC"), "8");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "1");
    EXPECT_EQ(f->EditDescrMenu->text(), "Sette");
    salva(*f, "Nuova");
    EXPECT_EQ(vociCommitted(), (QStringList{"2|8|1|Nuova", "3|8|1|Sotto sette", "8||0|Sette"}));
}

TEST_F(Inserisci, OnTheOnlyEntryAndOnAnEmptyMenu)
{
    auto vuoto = apri();
    rec.expect(TMsgDlgType::Warning,
               "Non è ancora stata inserita nessuna voce di menu: premere il tasto Nuova");
    vuoto->ButtonInserisci->click();
    vuoto.reset();

    voce(1, 1, "", "Sola");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kInserire, mrNo);
    f->ButtonInserisci->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(voci(), QStringList{"1||0|Sola"});
    inserisci(*f, 1);
    EXPECT_EQ(f->focusWidget(), f->EditMenuPrec);
    salva(*f, "Prima");
    EXPECT_EQ(vociCommitted(), (QStringList{"1||0|Prima", "2||0|Sola"}));
}

TEST_F(Inserisci, InEditModeSavesThePendingEntryWithItsValidationsFirst)
{
    menuDiCinque();
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 3);
    f->ButtonEdit->click();
    f->EditDescrizione->selectAll();
    QTest::keyClick(f->EditDescrizione, Qt::Key_Delete);
    rec.expect(TMsgDlgType::Confirmation, kInserire, mrYes);
    rec.expect(TMsgDlgType::Warning, "Si prega di inserire una descrizione");
    f->ButtonInserisci->click();
    EXPECT_EQ(vociCommitted(), kCinque) << "nothing saved, nothing moved";
    EXPECT_EQ(voci(), kCinque);
    EXPECT_EQ(f->QueryDettMenu->State(), dsEdit);

    QTest::keyClicks(f->EditDescrizione, "Terza");
    rec.expect(TMsgDlgType::Confirmation, kInserire, mrYes);
    f->ButtonInserisci->click();
    EXPECT_EQ(vociCommitted()[2], "3||0|Terza") << "the pending edit was saved first";
    EXPECT_EQ(f->QueryDettMenu->State(), dsInsert);
    EXPECT_EQ(campo(*f, "MENU"), "3");
    salva(*f, "Nuova");
    EXPECT_EQ(vociCommitted(), (QStringList{"1||0|Uno", "2||0|Due", "3||0|Nuova", "4||0|Terza",
                                            "5|2|1|Quattro", "6|4|1|Cinque"}));
}

TEST_F(Inserisci, AFailedRenumberingGoesBackToBeforeItAtOnce)
{
    voce(1, 1, "", "Uno");
    voce(1, 32767, "1", "Ultima", 1);
    auto f = apri();
    f->ButtonEdit->click();
    QTest::keyClicks(f->EditDescrizione, "!");
    rec.expect(TMsgDlgType::Confirmation, kInserire, mrYes);
    rec.expect(TMsgDlgType::Error, "Errore interno durante il riordino dei menu");
    f->ButtonInserisci->click();
    EXPECT_FALSE(f->Editing());
    // The pending edit was saved before; the moved parents are gone.
    EXPECT_EQ(vociCommitted(), (QStringList{"1||0|Uno!", "32767|1|1|Ultima"}));
    EXPECT_EQ(voci(), vociCommitted());
    EXPECT_EQ(campo(*f, "MENU"), "1");
    // A later save has nothing half-done to commit.
    f->ButtonEdit->click();
    f->ButtonMemorizza->click();
    EXPECT_EQ(vociCommitted(), (QStringList{"1||0|Uno!", "32767|1|1|Ultima"}));
}

TEST_F(Inserisci, AFailedParentShiftGoesBackToo)
{
    voce(1, 1, "32767", "Sotto l´ultima", 1);
    voce(1, 2, "", "Due");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kInserire, mrYes);
    rec.expect(TMsgDlgType::Error, "Errore interno durante il riordino delle voci di menu");
    f->ButtonInserisci->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(voci(), (QStringList{"1|32767|1|Sotto l´ultima", "2||0|Due"}));
    EXPECT_EQ(campo(*f, "MENU"), "1");
}

TEST_F(ServerInserisci, BeforeAnEntryWithChildrenThenSaved)
{
    casoDellaParte();
}

TEST_F(ServerInserisci, CancelResetAndDelete)
{
    menuDiCinque();
    auto f = apri();
    inserisci(*f, 1);
    rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrYes);
    f->ButtonAnnulla->click();
    EXPECT_EQ(voci(), kCinque);
    f->QueryDettMenu->Locate("MENU", 2);
    rec.expect(TMsgDlgType::Warning, "La voce selezionata contiene altre voci nidificate: non è "
                                     "possibile procedere alla cancellazione");
    f->ButtonElimina->click();
    rec.expect(TMsgDlgType::Confirmation, "Confermare l'azzeramento del menu del programma?",
               mrYes);
    f->ButtonAzzera->click();
    EXPECT_EQ(vociCommitted(), QStringList{});
    f->ButtonNuovo->click();
    EXPECT_EQ(campo(*f, "MENU"), "1");
}

TEST_F(ServerInserisci, ParentChoiceCaptionAndValidation)
{
    menuDiCinque();
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 5);
    EXPECT_EQ(f->EditDescrMenu->text(), "Tre");
    f->ButtonEdit->click();
    rispondi([](QDialog *d) {
        auto *lista = qobject_cast<TRicMenuForm *>(d);
        ASSERT_NE(lista, nullptr);
        lista->QueryMenu->Locate("MENU", 4);
        lista->ButtonRitorna->click();
    });
    f->ButtonMenuPrecClick();
    EXPECT_EQ(f->EditDescrMenu->text(), "Quattro");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "2");
    f->EditMenuPrec->selectAll();
    QTest::keyClicks(f->EditMenuPrec, "005");
    rec.expect(TMsgDlgType::Warning,
               "Si prega di non usare come valore di menu precedente il codice del menu corrente");
    f->ButtonMemorizza->click();
    EXPECT_TRUE(f->Editing());
    f->EditMenuPrec->selectAll();
    QTest::keyClicks(f->EditMenuPrec, "4");
    f->ButtonMemorizza->click();
    EXPECT_EQ(vociCommitted().last(), "5|4|2|Cinque");
}
