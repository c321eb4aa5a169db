#include "archivefixture.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "ricmenuform.h"
#include "ricprogform.h"

#include <QPushButton>

// The menu and project pick lists, driven as their callers drive them:
// shown through Modal::exec, answered by their buttons, read, then freed.
namespace {

class RicercaTest : public ArchiveTest
{
protected:
    void voci()
    {
        // Stored out of order, and entries of another program in between.
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, LIVELLOMENU) "
              "VALUES (3, 2, 'Stampe', 0)");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (4, 1, 'Altro')");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE, LIVELLOMENU) "
              "VALUES (3, 1, 'Archivi', 0)");
        other("INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, DESCRIZIONE, LIVELLOMENU) "
              "VALUES (3, 7, 1, 'Clienti', 1)");
        nuovoSnapshot();
    }

    static QList<int> menuCodes(TIBQuery *q)
    {
        QList<int> codes;
        for (q->First(); !q->Eof(); q->Next())
            codes << q->FieldByName("MENU")->AsInteger();
        return codes;
    }
};

} // namespace

TEST_F(RicercaTest, MenuListShowsOneProgramInCodeOrderAndAnswersWithTheChosenRow)
{
    voci();
    TRicMenuForm list(nullptr, tabVar, "3");
    EXPECT_EQ(list.windowTitle(), "Ricerca menu");
    EXPECT_EQ(list.ButtonRitorna->text(), "&Ritorna");
    EXPECT_EQ(list.ButtonChiudi->text(), "Ch&iudi");
    EXPECT_EQ(list.QueryMenu->SQL, (QStringList{"SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA",
                                                "ORDER BY PROGRAMMA,MENU"}));
    EXPECT_EQ(menuCodes(list.QueryMenu), (QList<int>{1, 2, 7}));
    EXPECT_EQ(list.GridMenu->model()->rowCount(), 3);
    for (const char *b : {"ButtonProgramma", "ButtonDescrizione", "ButtonMenu"})
        EXPECT_NE(list.findChild<QPushButton *>(b), nullptr) << b;

    list.QueryMenu->Locate("MENU", 7);
    EXPECT_EQ(list.EditProgramma->text(), "3");
    EXPECT_EQ(list.EditDescrizione->text(), "Clienti");
    EXPECT_EQ(list.EditMenu->text(), "7");
    EXPECT_TRUE(list.EditDescrizione->isReadOnly());

    // The grid chooses the row the caller reads.
    list.GridMenu->setCurrentIndex(list.GridMenu->model()->index(1, 0));
    EXPECT_EQ(mostra(list, [&] { list.ButtonRitorna->click(); }), mrOk);
    EXPECT_EQ(list.QueryMenu->FieldByName("MENU")->AsInteger(), 2);
    EXPECT_EQ(list.QueryMenu->FieldByName("LIVELLOMENU")->AsInteger(), 0);
    EXPECT_EQ(rec.seen().size(), 0);
}

TEST_F(RicercaTest, CloseAnswersCancelWithRows)
{
    voci();
    TRicMenuForm list(nullptr, tabVar, "3");
    EXPECT_EQ(mostra(list, [&] { list.ButtonChiudi->click(); }), mrCancel);
}

TEST_F(RicercaTest, EmptyListWarnsAndStaysOpenUntilClosed)
{
    voci();
    TRicMenuForm list(nullptr, tabVar, "9");
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    const int answer = mostra(list, [&] {
        list.ButtonRitorna->click();
        EXPECT_EQ(list.result(), 0) << "the list must stay open";
        list.ButtonRitorna->click();
        list.ButtonChiudi->click();
    });
    EXPECT_EQ(answer, mrCancel);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(RicercaTest, MenuListSeesWhatTheSharedTransactionHoldsUncommitted)
{
    // An editor's pending renumbering is what the parent choice must offer.
    voci();
    tab->QueryAux->SQL = QStringList{"UPDATE DETTMENU SET MENU=MENU+10 WHERE PROGRAMMA=3"};
    tab->QueryAux->ExecQuery();
    TRicMenuForm list(nullptr, tabVar, "3");
    EXPECT_EQ(menuCodes(list.QueryMenu), (QList<int>{11, 12, 17}));
    EXPECT_EQ(committed("SELECT MAX(MENU) FROM DETTMENU WHERE PROGRAMMA=3"), "7");
    EXPECT_TRUE(tab->IBTransaction1->InTransaction()) << "a pick list commits nothing";
}

TEST_F(RicercaTest, ProjectListInCodeOrder)
{
    other("INSERT INTO PROGETTI (CODICE, NOME, DESCRIZIONE) VALUES (5, 'Vendite', 'Ciclo')");
    other("INSERT INTO PROGETTI (CODICE, NOME) VALUES (2, 'Acquisti')");
    nuovoSnapshot();
    TRicProgForm list(nullptr, tabVar);
    EXPECT_EQ(list.windowTitle(), "Ricerca progetti");
    EXPECT_EQ(list.QueryProgetti->SQL, QStringList{"SELECT * FROM PROGETTI ORDER BY CODICE"});
    EXPECT_EQ(list.EditCodice->text(), "2");
    EXPECT_EQ(list.EditNome->text(), "Acquisti");
    list.QueryProgetti->Next();
    EXPECT_EQ(list.EditDescrizione->text(), "Ciclo");
    for (const char *b : {"ButtonCodice", "ButtonNome", "ButtonDescrizione"})
        EXPECT_NE(list.findChild<QPushButton *>(b), nullptr) << b;
    EXPECT_EQ(mostra(list, [&] { list.ButtonRitorna->click(); }), mrOk);
    EXPECT_EQ(list.QueryProgetti->FieldByName("CODICE")->AsInteger(), 5);
}

TEST_F(RicercaTest, EmptyProjectList)
{
    TRicProgForm list(nullptr, tabVar);
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    EXPECT_EQ(mostra(list,
                     [&] {
                         list.ButtonRitorna->click();
                         list.ButtonChiudi->click();
                     }),
              mrCancel);
}
