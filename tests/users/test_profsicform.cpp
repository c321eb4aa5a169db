#include "dbcombobox.h"
#include "dbcontrols.h"
#include "dettprofform.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "profsicform.h"
#include "ricmenuform.h"
#include "ricprogrform.h"
#include "tag.h"
#include "utentitest.h"

#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kDettagliLegati = "Ci sono dei dettagli legati a questo profilo sicurezza, si "
                                "prega di eliminarli prima di cancellare questo record";
const QString kCancellare = "Confermare la cancellazione del record?";
const QString kAzzerare = "Confermare l'azzeramento dei dettagli del profilo sicurezza?";
const QString kGiaPresente =
    "Il menu scelto è già presente nei dettagli di questo profilo sicurezza";

class ProfSicTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        other("INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (1, 'Contabilita')");
        other("INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (2, 'Magazzino')");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (1, 1, 'Clienti')");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (2, 1, 'Articoli')");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (2, 2, 'Listini')");
    }
    std::unique_ptr<TProfSicForm> apriProfili()
    {
        nuovoSnapshot();
        return std::make_unique<TProfSicForm>(nullptr, tabVar);
    }
    std::unique_ptr<TDettProfForm> apriDettagli(const QString &profilo)
    {
        nuovoSnapshot();
        return std::make_unique<TDettProfForm>(nullptr, tabVar, profilo);
    }
    // The pick lists of Nuovo: the program (by its row) and the menu entry
    // (by its row), or Cancel at the step given.
    void scegli(int programma, int menu, int annullaA = 0)
    {
        Modal::setRunner([=](QDialog *d) {
            if (auto *p = qobject_cast<TRicProgrForm *>(d)) {
                if (annullaA == 1)
                    return int(mrCancel);
                p->QueryProgrammi->MoveBy(programma - 1);
                return int(mrOk);
            }
            if (auto *m = qobject_cast<TRicMenuForm *>(d)) {
                if (annullaA == 2)
                    return int(mrCancel);
                m->QueryMenu->MoveBy(menu - 1);
                return int(mrOk);
            }
            ADD_FAILURE() << "unexpected window";
            return int(mrCancel);
        });
    }
};

} // namespace

TEST_F(ProfSicTest, ProfilesEditorParticulars)
{
    profilo(1, "Tutti");
    other("UPDATE PROFILI SET TIPO='Operatore' WHERE CODICE=1");
    auto f = apriProfili();
    EXPECT_EQ(f->windowTitle(), "Profili sicurezza");
    EXPECT_EQ(f->QueryProfili->SQL, QStringList{"SELECT * FROM PROFILI ORDER BY CODICE"});
    // A stored type outside the list is shown as it is.
    EXPECT_EQ(f->ComboTipo->currentText(), "Operatore");
    EXPECT_EQ(f->ComboTipo->count(), 2);
    EXPECT_EQ(f->ComboTipo->itemText(0), "Administrator");
    EXPECT_EQ(f->ComboTipo->itemText(1), "Guest");
    EXPECT_FALSE(f->ComboTipo->isEnabled());
    EXPECT_TRUE(f->ButtonDettagli->isEnabled());

    f->ButtonNuovo->click();
    EXPECT_FALSE(f->ButtonDettagli->isEnabled());
    EXPECT_EQ(f->EditCodice->text(), "2");
    EXPECT_EQ(f->EditLivello->text(), "0");
    f->ComboTipo->setCurrentIndex(1);
    f->ComboTipo->textActivated("Guest");
    f->QueryProfili->FieldByName("DESCRIZIONE")->setAsString("Ospiti");
    f->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT TIPO FROM PROFILI WHERE CODICE=2"), "Guest");

    f->ButtonEdit->click();
    QString prompt;
    Modal::setRunner([&](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        prompt = dlg->Label1->text();
        dlg->Edit1->setText("1");
        dlg->OKBtn->click();
        return dlg->result();
    });
    rec.expect(TMsgDlgType::Warning, "Il codice scelto è già in uso");
    f->ButtonCodice->click();
    EXPECT_EQ(prompt, "Inserire il nuovo codice di menu");
}

TEST_F(ProfSicTest, AProfileWithDetailsIsDeletedOnlyAfterAzzera)
{
    profilo(1, "Tutti");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, 1, 3)");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 2, 1)");
    // A user carrying the profile does not stop the delete.
    utente(1, "anna", "ALFA", QString());
    auto f = apriProfili();
    rec.expect(TMsgDlgType::Warning, kDettagliLegati);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROFILI"), "1");

    Modal::setRunner([&](QDialog *d) {
        auto *dettagli = qobject_cast<TDettProfForm *>(d);
        EXPECT_NE(dettagli, nullptr);
        if (!dettagli)
            return int(mrCancel);
        EXPECT_EQ(dettagli->FProfilo, "1");
        EXPECT_EQ(dettagli->QueryDettProf->RecordCount(), 2);
        rec.expect(TMsgDlgType::Confirmation, kAzzerare, mrYes);
        dettagli->ButtonAzzera->click();
        EXPECT_EQ(dettagli->QueryDettProf->RecordCount(), 0);
        return int(mrCancel);
    });
    f->ButtonDettagli->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTPROF"), "0");
    EXPECT_EQ(f->EditCodice->text(), "1");

    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROFILI"), "0");
    EXPECT_EQ(committed("SELECT PROFILOSICUREZZA FROM UTENTI"), "1");

    // With no profile left, Dettagli has nothing to show.
    rec.expect(TMsgDlgType::Warning, "Non è stato selezionato nessun profilo");
    f->ButtonDettagli->click();
    rec.expect(TMsgDlgType::Information, "La tabella è vuota");
    f->ButtonElimina->click();
}

TEST_F(ProfSicTest, DettagliRefreshesAndReturnsToTheProfile)
{
    profilo(1, "Tutti");
    profilo(2, "Ospiti");
    profilo(3, "Altri");
    auto f = apriProfili();
    f->QueryProfili->Locate("CODICE", 2);
    Modal::setRunner([&](QDialog *d) {
        EXPECT_EQ(qobject_cast<TDettProfForm *>(d)->FProfilo, "2");
        // Committed meanwhile by another program: the refresh shows it.
        other("UPDATE PROFILI SET DESCRIZIONE='Visitatori' WHERE CODICE=2");
        return int(mrCancel);
    });
    f->ButtonDettagli->click();
    EXPECT_EQ(f->EditCodice->text(), "2");
    EXPECT_EQ(f->EditDescrizione->text(), "Visitatori");
}

TEST_F(ProfSicTest, NuovoChoosesProgramThenMenuAndRefusesAnEntryGrantedAlready)
{
    profilo(1, "Tutti");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 2, 1)");
    auto f = apriDettagli("1");
    EXPECT_EQ(f->windowTitle(), "Dettagli profilo sicurezza");
    EXPECT_EQ(f->QueryDettProf->SQL, (QStringList{"SELECT * FROM DETTPROF WHERE PROFILO=:PROFILO",
                                                  "ORDER BY PROFILO,PROGRAMMA,MENU"}));
    EXPECT_EQ(f->UpdateDettProf->ModifySQL.mid(f->UpdateDettProf->ModifySQL.size() - 3),
              (QStringList{"WHERE (PROFILO=:OLD_PROFILO)AND", "(PROGRAMMA=:OLD_PROGRAMMA)AND",
                           "(MENU=:OLD_MENU)"}));
    EXPECT_EQ(f->UpdateDettProf->DeleteSQL,
              (QStringList{"DELETE FROM \"DETTPROF\"", "WHERE (PROFILO=:PROFILO)AND",
                           "(PROGRAMMA=:PROGRAMMA)AND", "(MENU=:MENU)"}));
    EXPECT_EQ(f->EditDescrMenu->text(), "Listini");

    // Cancel at either list ends the step.
    for (int annulla : {1, 2}) {
        scegli(2, 1, annulla);
        f->ButtonNuovo->click();
        EXPECT_FALSE(f->Editing()) << annulla;
        EXPECT_EQ(f->QueryDettProf->State(), dsBrowse);
    }
    scegli(2, 2);
    rec.expect(TMsgDlgType::Warning, kGiaPresente);
    f->ButtonNuovo->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(f->QueryDettProf->RecordCount(), 1);

    scegli(2, 1);
    f->ButtonNuovo->click();
    ASSERT_TRUE(f->Editing());
    EXPECT_EQ(f->EditProgramma->text(), "2");
    EXPECT_EQ(f->EditMenu->text(), "1");
    EXPECT_EQ(f->EditLivello->text(), "0");
    EXPECT_EQ(f->EditDescrMenu->text(), "Articoli");
    // Only the level is edited.
    EXPECT_TRUE(f->EditLivello->isEnabled());
    for (TDBEdit *e : {f->EditProfilo, f->EditProgramma, f->EditMenu})
        EXPECT_TRUE(e->isReadOnly());
    f->QueryDettProf->FieldByName("LIVELLO")->setAsString("5");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(f->EditMenu->text(), "1");
    EXPECT_EQ(f->EditProgramma->text(), "2");
    EXPECT_EQ(committed("SELECT LIVELLO FROM DETTPROF WHERE PROGRAMMA=2 AND MENU=1"), "5");
}

TEST_F(ProfSicTest, MenuDescriptionFollowsTheRowAndIsEmptyForAVanishedEntry)
{
    profilo(1, "Tutti");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, 1, 3)");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 1, 3)");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 9, 3)");
    // Another profile's rows stay out.
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (4, 2, 2, 3)");
    auto f = apriDettagli("1");
    EXPECT_EQ(f->QueryDettProf->RecordCount(), 3);
    QStringList descrizioni;
    for (f->QueryDettProf->First(); !f->QueryDettProf->Eof(); f->QueryDettProf->Next())
        descrizioni << f->EditDescrMenu->text();
    EXPECT_EQ(descrizioni, (QStringList{"Clienti", "Articoli", ""}));
}

TEST_F(ProfSicTest, AzzeraOnAnEmptyProfileAndItsLabels)
{
    profilo(1, "Tutti");
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (2, 1, 1, 3)");
    auto f = apriDettagli("1");
    rec.expect(TMsgDlgType::Information, "La tebella è vuota");
    f->ButtonAzzera->click();
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, 1, 3)");
    f->ButtonAggiorna->click();
    rec.expect(TMsgDlgType::Confirmation, kAzzerare, mrNo);
    f->ButtonAzzera->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTPROF"), "2");
    rec.expect(TMsgDlgType::Confirmation, kAzzerare, mrYes);
    f->ButtonAzzera->click();
    // Only this profile's details go.
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTPROF"), "1");
    EXPECT_EQ(committed("SELECT PROFILO FROM DETTPROF"), "2");
    EXPECT_EQ(f->ButtonProfilo->text(), "Profilo");
    EXPECT_EQ(f->ButtonLivello->text(), "Livello");
    EXPECT_EQ(f->ButtonAzzera->text(), "Azzera");
    f->SettaggioInterfaccia(true);
    EXPECT_FALSE(f->ButtonAzzera->isEnabled());
    EXPECT_TRUE(f->EditLivello->isEnabled());
}
