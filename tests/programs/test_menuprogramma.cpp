#include "dbcontrols.h"
#include "dbgrid.h"
#include "helpparform.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "menuprogrammatest.h"
#include "ricmenuform.h"
#include "tag.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRandomGenerator>
#include <QTest>

// The menu grid editor: opening, new entries, the parent, the validations,
// the code change, the delete, the reset, the marks and closing.
namespace {

const QString kSeStesso =
    "Si prega di non usare come valore di menu precedente il codice del menu corrente";
const QString kDescrizione = "Si prega di inserire una descrizione";
const QString kCancellare = "Confermare la cancellazione del record?";
const QString kNidificate = "La voce selezionata contiene altre voci nidificate: non è possibile "
                            "procedere alla cancellazione";
const QString kAzzerare = "Confermare l'azzeramento del menu del programma?";

using Menu = MenuProgrammaTest;

QString campo(TMenuProgrammaForm &f, const char *nome)
{
    return f.QueryDettMenu->FieldByName(nome)->AsString();
}

} // namespace

TEST_F(Menu, OpensOnOneProgramWithItsStatementsAndModes)
{
    voce(1, 2, "", "Due");
    voce(2, 1, "", "Altro programma");
    voce(1, 1, "", "Uno");
    auto f = apri();
    EXPECT_EQ(f->windowTitle(), "Menu programma");
    EXPECT_EQ(f->QueryDettMenu->SQL,
              (QStringList{"SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA",
                           "ORDER BY PROGRAMMA,MENU"}));
    EXPECT_EQ(f->UpdateDettMenu->ModifySQL.mid(f->UpdateDettMenu->ModifySQL.size() - 2),
              (QStringList{"WHERE (PROGRAMMA=:OLD_PROGRAMMA)AND", "(MENU=:OLD_MENU)"}));
    EXPECT_EQ(f->UpdateDettMenu->DeleteSQL,
              (QStringList{"DELETE FROM \"DETTMENU\"", "WHERE (PROGRAMMA=:PROGRAMMA)AND",
                           "(MENU=:MENU)"}));
    EXPECT_EQ(f->GridDettMenu->model()->rowCount(), 2);
    EXPECT_EQ(menuCorrente(*f), 1);

    const QList<QWidget *> soloConsultazione = {
        f->ButtonNuovo,   f->ButtonEdit,      f->ButtonElimina,      f->ButtonChiudi,
        f->ButtonAzzera,  f->ButtonSelTutto,  f->ButtonDeSelTutto,   f->ButtonImporta,
        f->ButtonEsporta, f->ButtonModAlbero, f->ButtonAutoRinomina, f->GridDettMenu};
    const QList<QWidget *> soloModifica = {
        f->EditMenuPrec,    f->EditLivello,       f->EditDescrizione,   f->EditDLL,
        f->EditFunzione,    f->MemoParametri,     f->MemoNote,          f->DBCheckBox1,
        f->CheckVoceRapida, f->RadioGrupVersione, f->ButtonProgramma,   f->ButtonMenu,
        f->ButtonMenuPrec,  f->ButtonLivello,     f->ButtonDescrizione, f->ButtonDLL,
        f->ButtonFunzione,  f->ButtonNote,        f->ButtonParametri,   f->ButtonWizardCSDForm};
    const QList<QWidget *> sempre = {f->ButtonMemorizza, f->ButtonAnnulla, f->ButtonAggiorna,
                                     f->ButtonInserisci, f->ButtonAggFunz, f->ButtonHelp,
                                     f->ButtonHelpDescr, f->EditProgramma, f->EditMenu};
    for (bool editing : {false, true}) {
        if (editing)
            f->ButtonEdit->click();
        ASSERT_EQ(f->Editing(), editing);
        for (QWidget *w : soloConsultazione)
            EXPECT_EQ(w->isEnabled(), !editing) << w->objectName().toStdString();
        for (QWidget *w : soloModifica)
            EXPECT_EQ(w->isEnabled(), editing) << w->objectName().toStdString();
        for (QWidget *w : sempre)
            EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    }
    EXPECT_TRUE(f->EditMenu->isReadOnly());
    EXPECT_TRUE(f->EditDescrMenu->isReadOnly());
    EXPECT_EQ(f->EditMenu->palette().color(QPalette::Base), clBackground);
    EXPECT_EQ(f->ButtonAzzera->text(), "A&zzera");
    EXPECT_EQ(f->ButtonSelTutto->text(), "&Seleziona Tutto");
    EXPECT_EQ(f->ButtonDeSelTutto->text(), "&Deselez. Tutto");
    EXPECT_EQ(f->ButtonMenuPrec->text(), "Menu &Precedente");
    EXPECT_EQ(
        f->RadioGrupVersione->Items(),
        (QStringList{"1 Parametro (Codice Utente)", "2 Parametri (Codice Utente + Parametri)"}));
    EXPECT_EQ(f->RadioGrupVersione->Values(), (QStringList{"0", "1"}));
}

TEST_F(Menu, NewEntriesTakeTheNextCodeOfTheirProgramAndTheDefaults)
{
    voce(2, 40, "", "Altro programma");
    auto f = apri();
    f->ButtonNuovo->click();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(campo(*f, "PROGRAMMA"), "1");
    EXPECT_EQ(campo(*f, "MENU"), "1");
    EXPECT_EQ(campo(*f, "VISIBILE"), "1");
    EXPECT_EQ(campo(*f, "VOCERAPIDA"), "0");
    EXPECT_EQ(campo(*f, "LIVELLO2VERSIONE"), "0");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "0");
    EXPECT_TRUE(f->QueryDettMenu->FieldByName("MENUPREC")->IsNull());
    EXPECT_TRUE(f->DBCheckBox1->isChecked());
    EXPECT_EQ(f->RadioGrupVersione->ItemIndex(), 0);
    QTest::keyClicks(f->EditDescrizione, "Archivi");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(vociCommitted(), QStringList{"1||0|Archivi"});

    voce(1, 7, "", "Sette");
    f->ButtonNuovo->click();
    EXPECT_EQ(campo(*f, "MENU"), "8") << "the highest code of the program + 1";
    QTest::keyClicks(f->EditDescrizione, "Otto");
    f->ButtonMemorizza->click();
    EXPECT_EQ(menuCorrente(*f), 8) << "back on the saved entry";
}

TEST_F(Menu, AnEntryIsNotItsOwnParentAndNeedsACaption)
{
    voce(1, 5, "", "Cinque");
    auto f = apri();
    f->ButtonEdit->click();
    QTest::keyClicks(f->EditMenuPrec, "05");
    rec.expect(TMsgDlgType::Warning, kSeStesso);
    f->ButtonMemorizza->click();
    EXPECT_TRUE(f->Editing());
    f->EditMenuPrec->selectAll();
    QTest::keyClick(f->EditMenuPrec, Qt::Key_Delete);
    f->EditDescrizione->selectAll();
    QTest::keyClick(f->EditDescrizione, Qt::Key_Delete);
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->ButtonMemorizza->click();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(vociCommitted(), QStringList{"5||0|Cinque"});
    QTest::keyClicks(f->EditDescrizione, "Nuova");
    QTest::keyClicks(f->EditMenuPrec, "9");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(vociCommitted(), QStringList{"5|9|0|Nuova"}) << "a parent no entry has is accepted";
}

TEST_F(Menu, ParentChosenFromTheMenuPickListSetsTheDepthBelowIt)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "1", "Due", 2);
    other("UPDATE DETTMENU SET LIVELLOMENU=NULL WHERE MENU=1");
    voce(1, 3, "", "Tre");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 3);
    f->ButtonEdit->click();
    int mostrate = 0;
    const auto scegli = [&](int menu, bool ok) {
        rispondi([&, menu, ok](QDialog *d) {
            auto *lista = qobject_cast<TRicMenuForm *>(d);
            ASSERT_NE(lista, nullptr);
            ++mostrate;
            EXPECT_EQ(lista->QueryMenu->RecordCount(), 3) << "the current entry included";
            lista->QueryMenu->Locate("MENU", menu);
            (ok ? lista->ButtonRitorna : lista->ButtonChiudi)->click();
        });
        f->ButtonMenuPrec->click();
    };
    scegli(2, true);
    EXPECT_EQ(campo(*f, "MENUPREC"), "2");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "3");
    EXPECT_EQ(f->EditDescrMenu->text(), "Due");
    scegli(1, true);
    EXPECT_EQ(campo(*f, "MENUPREC"), "1");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "1") << "under a parent of empty depth";
    scegli(2, false);
    EXPECT_EQ(campo(*f, "MENUPREC"), "1");
    EXPECT_EQ(campo(*f, "LIVELLOMENU"), "1");
    EXPECT_EQ(mostrate, 3);
}

TEST_F(Menu, ParentCaptionFollowsTheBoxAndTheGrid)
{
    voce(1, 1, "", "Archivi");
    voce(1, 2, "1", "Clienti", 1);
    voce(1, 12, "2", "Fidi", 2);
    voce(2, 5, "", "Altro programma");
    auto f = apri();
    EXPECT_EQ(f->EditDescrMenu->text(), "");
    f->QueryDettMenu->Locate("MENU", 12);
    EXPECT_EQ(f->EditDescrMenu->text(), "Clienti");
    f->ButtonEdit->click();
    f->EditMenuPrec->selectAll();
    QTest::keyClicks(f->EditMenuPrec, "1");
    EXPECT_EQ(f->EditDescrMenu->text(), "Archivi");
    QTest::keyClicks(f->EditMenuPrec, "2");
    EXPECT_EQ(f->EditDescrMenu->text(), "Fidi");
    QTest::keyClick(f->EditMenuPrec, Qt::Key_Backspace);
    QTest::keyClick(f->EditMenuPrec, Qt::Key_Backspace);
    QTest::keyClicks(f->EditMenuPrec, "-");
    EXPECT_EQ(f->EditDescrMenu->text(), "") << "a sign alone names nothing";
    f->EditMenuPrec->selectAll();
    QTest::keyClicks(f->EditMenuPrec, "5");
    EXPECT_EQ(f->EditDescrMenu->text(), "") << "another program's entry";
}

TEST_F(Menu, TypedParentKeysWithAFixedSeed)
{
    voce(1, 1, "", "Archivi");
    voce(1, 3, "1", "Clienti", 1);
    auto f = apri();
    f->ButtonEdit->click();
    QRandomGenerator rng(20140611);
    const QString tasti = "0123456789-+ 'x;*%\"\\";
    for (int round = 0; round < 300; ++round) {
        f->EditMenuPrec->selectAll();
        QTest::keyClick(f->EditMenuPrec, Qt::Key_Delete);
        QString typed;
        const int n = rng.bounded(1, 8);
        for (int i = 0; i < n; ++i)
            typed += tasti[rng.bounded(tasti.size())];
        QTest::keyClicks(f->EditMenuPrec, typed);
        const QString shown = f->EditMenuPrec->text();
        const QVariant stored = f->QueryDettMenu->FieldByName("MENUPREC")->Value();
        // The box holds a sign and digits only, and the field what it shows.
        for (QChar c : shown)
            ASSERT_TRUE(c.isDigit() || c == '-' || c == '+') << shown.toStdString();
        bool ok = false;
        const int n2 = shown.toInt(&ok);
        if (ok) {
            ASSERT_EQ(stored.toInt(), n2) << shown.toStdString();
        }
        const QString atteso = ok && n2 == 1 ? "Archivi" : ok && n2 == 3 ? "Clienti" : "";
        ASSERT_EQ(f->EditDescrMenu->text(), atteso) << typed.toStdString();
    }
    EXPECT_EQ(rec.seen().size(), 0);
}

TEST_F(Menu, CodeChangeWithinTheProgramOnlyLeavesChildrenOnTheOldCode)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "1", "Figlio", 1);
    voce(2, 9, "", "Altro programma");
    auto f = apri();
    f->ButtonEdit->click();
    QString prompt;
    const auto codice = [&](const QString &testo) {
        rispondi([&, testo](QDialog *d) {
            auto *k = qobject_cast<TKivIn1Form *>(d);
            ASSERT_NE(k, nullptr);
            prompt = k->Label1->text();
            k->Edit1->setText(testo);
            k->OKBtn->click();
        });
        f->ButtonMenu->click();
    };
    rec.expect(TMsgDlgType::Warning, "Il codice scelto è già in uso");
    codice("2");
    EXPECT_EQ(prompt, "Inserire il nuovo codice di menu");
    EXPECT_EQ(campo(*f, "MENU"), "1");
    codice("9");
    EXPECT_EQ(campo(*f, "MENU"), "9") << "the same code in another program is free";
    f->ButtonMemorizza->click();
    EXPECT_EQ(vociCommitted(), (QStringList{"2|1|1|Figlio", "9||0|Uno"}));
    EXPECT_EQ(menuCorrente(*f), 9);
}

TEST_F(Menu, DeleteKeepsTheOtherCodesAndRefusesEntriesWithChildrenHiddenOrNot)
{
    for (int m = 1; m <= 5; ++m)
        voce(1, m, "", QString("V%1").arg(m));
    voce(1, 6, "4", "Nascosta", 1, 0);
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 3);
    f->GridDettMenuKeyDown(Qt::Key_F3);
    ASSERT_TRUE(f->Marcata("3"));
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrNo);
    f->ButtonElimina->click();
    EXPECT_EQ(menuCorrente(*f), 3);
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(righeCommitted("SELECT MENU FROM DETTMENU WHERE PROGRAMMA=1 ORDER BY MENU"),
              (QStringList{"1", "2", "4", "5", "6"}));
    EXPECT_FALSE(f->Marcata("3")) << "a deleted entry's mark goes with it";
    EXPECT_FALSE(f->Editing());

    f->QueryDettMenu->Locate("MENU", 4);
    rec.expect(TMsgDlgType::Warning, kNidificate);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU WHERE MENU=4"), "1");
    EXPECT_EQ(menuCorrente(*f), 4);
}

TEST_F(Menu, DeletedBehindTheEditorsBack)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "", "Due");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 2);
    other("DELETE FROM DETTMENU WHERE MENU=2");
    rec.expect(TMsgDlgType::Warning, "Il record selezionato non è stato trovato");
    f->ButtonElimina->click();
    other("DELETE FROM DETTMENU");
    rec.expect(TMsgDlgType::Information, "La tabella è vuota");
    f->ButtonElimina->click();
}

TEST_F(Menu, ResetEmptiesOneProgramsMenuAndItsMarks)
{
    auto vuoto = apri("3");
    rec.expect(TMsgDlgType::Information, "La tebella è vuota");
    vuoto->ButtonAzzera->click();
    vuoto.reset();

    voce(1, 1, "", "Uno");
    voce(1, 2, "1", "Due", 1);
    voce(2, 1, "", "Altro programma");
    auto f = apri();
    f->ButtonSelTutto->click();
    rec.expect(TMsgDlgType::Confirmation, kAzzerare, mrNo);
    f->ButtonAzzera->click();
    EXPECT_EQ(vociCommitted().size(), 2);
    rec.expect(TMsgDlgType::Confirmation, kAzzerare, mrYes);
    f->ButtonAzzera->click();
    EXPECT_EQ(vociCommitted(), QStringList{});
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU WHERE PROGRAMMA=2"), "1");
    EXPECT_TRUE(f->FVociSelezionate.isEmpty());
    EXPECT_TRUE(f->QueryDettMenu->Active());
    EXPECT_TRUE(f->QueryDettMenu->IsEmpty());
    f->ButtonNuovo->click();
    EXPECT_EQ(campo(*f, "MENU"), "1") << "after a reset the codes start again";
}

TEST_F(Menu, MarksToggleByDoubleClickAndF3OnceAndSurviveARefresh)
{
    for (int m = 1; m <= 4; ++m)
        voce(1, m, "", QString("V%1").arg(m));
    auto f = apri();
    f->show();
    TDataSetModel *model = f->GridDettMenu->Model();
    const auto sfondo = [&](int row) {
        return model->data(model->index(row, 0), Qt::BackgroundRole).value<QBrush>().color();
    };
    const QColor finestra = sfondo(0);
    EXPECT_NE(finestra, clBackground);

    f->QueryDettMenu->Locate("MENU", 2);
    emit f->GridDettMenu->DblClick();
    EXPECT_TRUE(f->Marcata("2"));
    EXPECT_EQ(sfondo(1), clBackground);
    EXPECT_EQ(model->data(model->index(1, 0), Qt::ForegroundRole).value<QBrush>().color(),
              QColor(Qt::black));

    // F3 held down: the first press toggles, its repeats do not.
    f->QueryDettMenu->Locate("MENU", 3);
    f->GridDettMenu->setFocus();
    QKeyEvent giu(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(f->GridDettMenu, &giu);
    for (int i = 0; i < 5; ++i) {
        QKeyEvent ripetuto(QEvent::KeyPress, Qt::Key_F3, Qt::NoModifier, QString(), true);
        QApplication::sendEvent(f->GridDettMenu, &ripetuto);
    }
    QKeyEvent su(QEvent::KeyRelease, Qt::Key_F3, Qt::NoModifier);
    QApplication::sendEvent(f->GridDettMenu, &su);
    EXPECT_TRUE(f->Marcata("3"));
    emit f->GridDettMenu->DblClick();
    EXPECT_FALSE(f->Marcata("3"));

    f->ButtonAggiorna->click();
    EXPECT_TRUE(f->Marcata("2")) << "marks are key texts";
    EXPECT_EQ(sfondo(1), clBackground);
    EXPECT_EQ(sfondo(2), finestra);

    f->QueryDettMenu->Locate("MENU", 3);
    f->ButtonSelTutto->click();
    EXPECT_EQ(f->FVociSelezionate, (QSet<QString>{"1", "2", "3", "4"}));
    EXPECT_EQ(menuCorrente(*f), 3) << "the current entry stays";
    f->ButtonDeSelTutto->click();
    EXPECT_TRUE(f->FVociSelezionate.isEmpty());
    EXPECT_EQ(sfondo(1), finestra);
}

TEST_F(Menu, ClosingWhileEditingAsksAndARefusedSaveKeepsTheWindow)
{
    voce(1, 1, "", "Uno");
    auto f = apri();
    f->show();
    f->ButtonEdit->click();
    f->EditDescrizione->selectAll();
    QTest::keyClick(f->EditDescrizione, Qt::Key_Delete);
    rec.expect(TMsgDlgType::Confirmation, "Salvare le modifiche prima di chiudere la finestra?",
               mrYes);
    rec.expect(TMsgDlgType::Warning, kDescrizione);
    f->close();
    EXPECT_TRUE(f->isVisible()) << "the entry would be lost";
    QTest::keyClicks(f->EditDescrizione, "Primo");
    rec.expect(TMsgDlgType::Confirmation, "Salvare le modifiche prima di chiudere la finestra?",
               mrYes);
    f->close();
    EXPECT_FALSE(f->isVisible());
    EXPECT_EQ(vociCommitted(), QStringList{"1||0|Primo"});

    auto g = apri();
    g->show();
    g->ButtonEdit->click();
    QTest::keyClicks(g->EditDescrizione, "!");
    rec.expect(TMsgDlgType::Confirmation, "Salvare le modifiche prima di chiudere la finestra?",
               mrNo);
    g->close();
    EXPECT_FALSE(g->isVisible());
    EXPECT_EQ(vociCommitted(), QStringList{"1||0|Primo"});
}

TEST_F(Menu, HelpButtonsOpenTheirTextsInBothModes)
{
    voce(1, 1, "", "Uno");
    auto f = apri();
    QStringList aperte;
    rispondi([&](QDialog *d) {
        aperte << d->metaObject()->className();
        EXPECT_EQ(d->parent(), f.get());
    });
    f->ButtonHelp->click();
    f->ButtonEdit->click();
    f->ButtonHelpDescr->click();
    EXPECT_EQ(aperte, (QStringList{"THelpParForm", "THelpPar2Form"}));
    EXPECT_TRUE(f->Editing());
}
