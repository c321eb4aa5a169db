#include "archivefixture.h"
#include "dbcontrols.h"
#include "ibquery.h"
#include "ricprofform.h"
#include "ricprogrform.h"

#include <QPushButton>

// The profile and program pick lists: shown through Modal::exec, answered
// by their buttons; the caller reads CODICE of the current row.
namespace {

class RicercaUtentiTest : public ArchiveTest
{
};

} // namespace

TEST_F(RicercaUtentiTest, ProfileListAnswersTheCurrentProfile)
{
    other("INSERT INTO PROFILI (CODICE, DESCRIZIONE, LIVELLOPREDEFINITO) VALUES (4, 'Ospiti', 1)");
    other("INSERT INTO PROFILI (CODICE, DESCRIZIONE, LIVELLOPREDEFINITO) VALUES (1, 'Tutti', 9)");
    nuovoSnapshot();
    TRicProfForm list(nullptr, tabVar);
    EXPECT_EQ(list.windowTitle(), "Ricerca profili sicurezza");
    EXPECT_EQ(list.QueryProfili->SQL, (QStringList{"SELECT * FROM PROFILI", "ORDER BY CODICE"}));
    EXPECT_EQ(list.EditCodice->text(), "1");
    EXPECT_EQ(list.EditDescrizione->text(), "Tutti");
    EXPECT_EQ(list.EditLivello->text(), "9");
    EXPECT_NE(list.findChild<QPushButton *>("ButtonLivello"), nullptr);
    list.QueryProfili->Last();
    EXPECT_EQ(mostra(list, [&] { list.ButtonRitorna->click(); }), mrOk);
    EXPECT_EQ(list.QueryProfili->FieldByName("CODICE")->AsInteger(), 4);
}

TEST_F(RicercaUtentiTest, EmptyProfileListAnswersNothingUntilClosed)
{
    TRicProfForm list(nullptr, tabVar);
    rec.expect(TMsgDlgType::Warning, "La tabella è vuota");
    const int answer = mostra(list, [&] {
        list.ButtonRitorna->click();
        EXPECT_EQ(list.result(), 0);
        list.ButtonChiudi->click();
    });
    EXPECT_EQ(answer, mrCancel);
}

TEST_F(RicercaUtentiTest, ProgramListPicksProgramsNotProjects)
{
    other("INSERT INTO PROGRAMMI (CODICE, NOME, DESCRIZIONE) VALUES (8, 'Magazzino', 'Merci')");
    other("INSERT INTO PROGETTI (CODICE, NOME) VALUES (1, 'Progetto')");
    nuovoSnapshot();
    TRicProgrForm list(nullptr, tabVar);
    EXPECT_EQ(list.windowTitle(), "Ricerca programmi");
    EXPECT_EQ(list.QueryProgrammi->SQL, QStringList{"SELECT * FROM PROGRAMMI ORDER BY CODICE"});
    EXPECT_EQ(list.EditCodice->text(), "8");
    EXPECT_EQ(list.EditNome->text(), "Magazzino");
    EXPECT_EQ(list.EditDescrizione->text(), "Merci");
    EXPECT_EQ(mostra(list, [&] { list.ButtonRitorna->click(); }), mrOk);
    EXPECT_EQ(list.QueryProgrammi->FieldByName("CODICE")->AsInteger(), 8);
    TRicProgrForm again(nullptr, tabVar);
    EXPECT_EQ(mostra(again, [&] { again.ButtonChiudi->click(); }), mrCancel);
}
