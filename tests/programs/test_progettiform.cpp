#include "dbcontrols.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "progettiform.h"
#include "tag.h"
#include "transfertest.h"

#include <QPushButton>
#include <QTest>

namespace {

const QString kNessunDisponibile =
    "Non c'è nessun programma disponibile da collegare al progetto corrente";
const QString kNessunLegato = "Non c'è nessun programma legato al progetto corrente";
const QString kDuplicare = "Confermare la duplicazione del progetto corrente?";

// Programs 1 "Contabilità", 3 "Magazzino", 4 "Vendite"; project 1 "Base"
// (Light menu) links 3 and 9 (a program deleted since), project 2 "Altro"
// links nothing.
class ProgettiFormTest : public TransferTest
{
protected:
    void SetUp() override
    {
        TransferTest::SetUp();
        nuovoSnapshot();
        // Added at sign-in by the schema upgrade.
        other("ALTER TABLE PROGETTI ADD MODOMENUSISTEMA SMALLINT");
        programma(1, "Contabilità");
        programma(3, "Magazzino");
        programma(4, "Vendite");
        inserisci("PROGETTI", {{"CODICE", 1},
                               {"NOME", "Base"},
                               {"DESCRIZIONE", "Progetto base"},
                               {"MODOMENUSISTEMA", 1}});
        progetto(2, "Altro");
        collega(1, 3);
        collega(1, 9);
    }
    std::unique_ptr<TProgettiForm> apri()
    {
        nuovoSnapshot();
        return std::make_unique<TProgettiForm>(nullptr, tabVar);
    }
    static QStringList codici(TIBQuery *q)
    {
        QStringList out;
        for (int r = 0; r < q->ViewRowCount(); ++r)
            out << q->ViewValue(r, 0).toString();
        out.sort();
        return out;
    }
    // Typed over the box's text, as a user does.
    static void digita(QLineEdit *box, const QString &testo)
    {
        box->selectAll();
        QTest::keyClicks(box, testo);
    }
    static void segna(TDBGrid *grid, int codice)
    {
        ASSERT_TRUE(grid->DataSet()->Locate("CODICE", codice));
        emit grid->DblClick();
    }
    QStringList collegati()
    {
        return righe("SELECT PROGETTO, PROGRAMMA FROM DETTPROGETTI ORDER BY 1, 2");
    }
};

} // namespace

TEST_F(ProgettiFormTest, TheListsFollowTheCurrentProject)
{
    auto f = apri();
    EXPECT_EQ(f->windowTitle(), "Gestione progetti");
    EXPECT_EQ(codici(f->QueryProgr1), QStringList({"3", "9"}));
    EXPECT_EQ(codici(f->QueryProgr2), QStringList({"1", "4"}));
    // A link to a missing program shows its code and nothing else.
    ASSERT_TRUE(f->QueryProgr1->Locate("CODICE", 9));
    EXPECT_TRUE(f->QueryProgr1->FieldByName("NOME")->IsNull());
    EXPECT_EQ(f->RadioModoMenuSistema->ItemIndex(), 1);

    f->QueryProgetti->Next();
    EXPECT_EQ(codici(f->QueryProgr1), QStringList());
    EXPECT_EQ(codici(f->QueryProgr2), QStringList({"1", "3", "4"}));
    EXPECT_EQ(f->RadioModoMenuSistema->ItemIndex(), -1); // NULL: none of the three

    // A reopening rebuilds them too.
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (2, 4)");
    f->ButtonAggiorna->click();
    EXPECT_EQ(codici(f->QueryProgr1), QStringList({"4"}));
}

TEST_F(ProgettiFormTest, MarkedAvailableProgramsAreLinkedSavedAndUnmarked)
{
    auto f = apri();
    segna(f->GridProgr2, 4);
    segna(f->GridProgr2, 1);
    EXPECT_EQ(f->FProgrSelezionati2, QStringList({"4", "1"}));
    EXPECT_EQ(f->GridProgr2->Model()->index(0, 0).data(Qt::BackgroundRole).value<QColor>(),
              clBackground);
    f->ButtonAggiungi->click();
    EXPECT_TRUE(f->FProgrSelezionati2.isEmpty());
    EXPECT_EQ(collegati(), QStringList({"1|1", "1|3", "1|4", "1|9"}));
    EXPECT_EQ(codici(f->QueryProgr1), QStringList({"1", "3", "4", "9"}));
    EXPECT_EQ(codici(f->QueryProgr2), QStringList());
    EXPECT_EQ(Tag(f->ButtonAggiorna), 0);
    EXPECT_EQ(f->QueryProgetti->FieldByName("CODICE")->AsInteger(), 1);
}

TEST_F(ProgettiFormTest, MarksOutliveAChangeOfProject)
{
    auto f = apri();
    segna(f->GridProgr2, 1);
    f->QueryProgetti->Next();
    f->ButtonAggiungi->click();
    EXPECT_EQ(collegati(), QStringList({"1|3", "1|9", "2|1"}));

    // Marked where it is available, already linked where it is added.
    emit f->GridProgr2->KeyUp(Qt::Key_F3, Qt::NoModifier); // program 3, the first available
    ASSERT_EQ(f->FProgrSelezionati2, QStringList({"3"}));
    f->QueryProgetti->First();
    rec.expect(TMsgDlgType::Warning,
               "Il programma 3 risulta già presente nei dettagli del progetto");
    f->ButtonAggiungi->click();
    EXPECT_TRUE(f->FProgrSelezionati2.isEmpty());
    EXPECT_EQ(collegati(), QStringList({"1|3", "1|9", "2|1"}));
}

TEST_F(ProgettiFormTest, EmptyListsAreRefusedTheirOwnWay)
{
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 1)");
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 4)");
    auto f = apri();
    f->QueryProgetti->Next();
    segna(f->GridProgr2, 4); // marked on project 2, where it is free
    f->QueryProgetti->First();
    ASSERT_EQ(codici(f->QueryProgr2), QStringList());
    // "<" with nothing available: the marks go and the edit is saved anyway.
    f->ButtonEdit->click();
    digita(f->EditNome, "Base 2");
    rec.expect(TMsgDlgType::Warning, kNessunDisponibile);
    f->ButtonAggiungi->click();
    EXPECT_TRUE(f->FProgrSelezionati2.isEmpty());
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE = 1"), "Base 2");
    EXPECT_EQ(Tag(f->ButtonAggiorna), 0);

    // ">" with nothing linked: nothing else happens, the edit stays.
    f->QueryProgetti->Next();
    f->QueryProgetti->First();
    segna(f->GridProgr1, 3);
    f->QueryProgetti->Next();
    f->ButtonEdit->click();
    digita(f->EditNome, "Altro 2");
    rec.expect(TMsgDlgType::Warning, kNessunLegato);
    f->ButtonTogli->click();
    EXPECT_EQ(f->FProgrSelezionati1, QStringList({"3"}));
    EXPECT_EQ(Tag(f->ButtonAggiorna), 1);
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE = 2"), "Altro");
    rec.expect(TMsgDlgType::Confirmation, "Conferma l'annullamento delle modifiche apportate?",
               mrYes);
    f->ButtonAnnulla->click();
}

TEST_F(ProgettiFormTest, AddingWhileEditingSavesTheNameToo)
{
    auto f = apri();
    f->ButtonEdit->click();
    digita(f->EditNome, "Nuovo nome");
    segna(f->GridProgr2, 4);
    f->ButtonAggiungi->click();
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE = 1"), "Nuovo nome");
    EXPECT_EQ(collegati(), QStringList({"1|3", "1|4", "1|9"}));
    EXPECT_EQ(Tag(f->ButtonAggiorna), 0);
    EXPECT_TRUE(f->GridProgetti->isEnabled());
}

TEST_F(ProgettiFormTest, MarkedLinkedProgramsAreRemovedAndUnmarked)
{
    auto f = apri();
    segna(f->GridProgr1, 9);
    segna(f->GridProgr1, 3);
    segna(f->GridProgr1, 9); // unmarked again
    segna(f->GridProgr1, 9);
    f->ButtonTogli->click();
    EXPECT_EQ(collegati(), QStringList());
    EXPECT_TRUE(f->FProgrSelezionati1.isEmpty());
    EXPECT_EQ(codici(f->QueryProgr2), QStringList({"1", "3", "4"}));
}

TEST_F(ProgettiFormTest, ADuplicateHasTheAccentTheModeAndEveryLink)
{
    other("UPDATE PROGETTI SET NOME = 'Dell''Arte', DESCRIZIONE = 'l''arte' WHERE CODICE = 1");
    other("INSERT INTO PROGETTI (CODICE, NOME, MODOMENUSISTEMA) VALUES (5, 'Strano', 7)");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_EQ(f->QueryProgetti->FieldByName("CODICE")->AsInteger(), 6);
    EXPECT_EQ(righe("SELECT NOME, DESCRIZIONE, MODOMENUSISTEMA FROM PROGETTI WHERE CODICE = 6"),
              QStringList({"Dell´Arte|l´arte|1"}));
    EXPECT_EQ(collegati(), QStringList({"1|3", "1|9", "6|3", "6|9"}));
    EXPECT_EQ(codici(f->QueryProgr1), QStringList({"3", "9"}));

    // None of the three values: the copy takes the first.
    ASSERT_TRUE(f->QueryProgetti->Locate("CODICE", 5));
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_EQ(righe("SELECT NOME, DESCRIZIONE, MODOMENUSISTEMA FROM PROGETTI WHERE CODICE = 7"),
              QStringList({"Strano|<null>|0"}));

    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrNo);
    f->ButtonDuplica->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "5");
}

TEST_F(ProgettiFormTest, AFailedLinkCopyUndoesTheWholeDuplicate)
{
    other("CREATE EXCEPTION NO_COPIA 'copia rifiutata'");
    other("CREATE TRIGGER RIFIUTA FOR DETTPROGETTI BEFORE INSERT AS BEGIN "
          "IF (NEW.PROGETTO = 3 AND NEW.PROGRAMMA = 9) THEN EXCEPTION NO_COPIA; END");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    rec.expect(TMsgDlgType::Error,
               "Errore interno durante la duplicazione delle associazioni programmi al progetto");
    f->ButtonDuplica->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "2");
    EXPECT_EQ(collegati(), QStringList({"1|3", "1|9"}));
    EXPECT_EQ(Tag(f->ButtonAggiorna), 0);
    EXPECT_FALSE(f->QueryProgr1->ControlsDisabled());

    rec.expect(TMsgDlgType::Warning, "Per inserire un nuovo progetto premere il tasto Nuovo");
    other("DELETE FROM DETTPROGETTI");
    other("DELETE FROM PROGETTI");
    f->ButtonAggiorna->click();
    f->ButtonDuplica->click();
}

TEST_F(ProgettiFormTest, DeletionIsRefusedWhileProgramsAreLinkedNotForUsers)
{
    inserisci("UTENTI", {{"CODICE", 1}, {"NOMEUTENTE", "mario"}, {"PROGETTO", 2}});
    auto f = apri();
    rec.expect(TMsgDlgType::Warning,
               "Ci sono dei collegamenti a programmi legati a questo progetto, si prega di "
               "eliminarli prima di cancellare questo record");
    f->ButtonElimina->click();

    f->QueryProgetti->Next();
    rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "1");
}

TEST_F(ProgettiFormTest, ANewProjectTakesTheNextCodeAndTheFullMenu)
{
    auto f = apri();
    f->ButtonNuovo->click();
    EXPECT_EQ(f->EditCodice->text(), "3");
    EXPECT_EQ(f->RadioModoMenuSistema->ItemIndex(), 0);
    EXPECT_TRUE(f->RadioModoMenuSistema->isEnabled());
    EXPECT_TRUE(f->ButtonAggiungi->isEnabled());
    EXPECT_FALSE(f->ButtonDuplica->isEnabled());
    EXPECT_EQ(codici(f->QueryProgr1), QStringList());
    EXPECT_EQ(codici(f->QueryProgr2), QStringList({"1", "3", "4"}));
    digita(f->EditNome, "Terzo");
    f->ButtonMemorizza->click();
    EXPECT_EQ(righe("SELECT NOME, MODOMENUSISTEMA FROM PROGETTI WHERE CODICE = 3"),
              QStringList({"Terzo|0"}));
    EXPECT_TRUE(f->ButtonDuplica->isEnabled());
}
