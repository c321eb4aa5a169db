#include "archivefixture.h"
#include "iberror.h"
#include "ibsql.h"
#include "vocimenu.h"

// The menu entries' rules and the shift that makes room for an inserted
// entry, on the user database in the shared transaction.
namespace {

const QString kSeStesso =
    "Si prega di non usare come valore di menu precedente il codice del menu corrente";
const QString kDescrizione = "Si prega di inserire una descrizione";

const QString kVoci = "SELECT MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE FROM DETTMENU "
                      "WHERE PROGRAMMA=1 ORDER BY MENU";
const QString kGrant = "SELECT PROFILO, PROGRAMMA, MENU, LIVELLO FROM DETTPROF "
                       "ORDER BY PROFILO, PROGRAMMA, MENU";
const QString kLingue = "SELECT PROGRAMMA, MENU, MENUPREC, LINGUA, DESCRIZIONE FROM LINGUEMENU "
                        "ORDER BY PROGRAMMA, MENU, LINGUA";

class SpostamentoTest : public ArchiveTest
{
protected:
    void voce(int programma, int menu, const QString &padre, int livello, const QString &descr)
    {
        other(QString("INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE) "
                      "VALUES (%1, %2, %3, %4, '%5')")
                  .arg(programma)
                  .arg(menu)
                  .arg(padre.isEmpty() ? "NULL" : padre)
                  .arg(livello)
                  .arg(descr));
    }
    // Entries 1, 2, 3 at the top, 4 under 2, 5 under 3; one entry of
    // program 2 with the same codes beside them.
    void menuDiCinque()
    {
        voce(1, 1, "", 0, "Uno");
        voce(1, 2, "", 0, "Due");
        voce(1, 3, "", 0, "Tre");
        voce(1, 4, "2", 1, "Quattro");
        voce(1, 5, "3", 1, "Cinque");
        voce(2, 2, "", 0, "Altro");
        voce(2, 3, "2", 1, "Altro figlio");
    }
    // Makes room at C as "Inserisci" does: parents first, then the entries.
    void spazio(int codice, int programma = 1)
    {
        TSpostamentoVoci s(tab->QueryAux);
        s.SpostaPadri(programma, codice);
        s.SpostaVoci(programma, codice);
    }
};

} // namespace

TEST(VociMenuRules, CodesAreSmallintNumbersOnly)
{
    EXPECT_EQ(VociMenu::Codice("5"), 5);
    EXPECT_EQ(VociMenu::Codice("05"), 5);
    EXPECT_EQ(VociMenu::Codice(" 12 "), 12);
    EXPECT_EQ(VociMenu::Codice("-3"), -3);
    EXPECT_EQ(VociMenu::Codice("32767"), 32767);
    for (const char *bad : {"", "-", "+", "1x", "x", "32768", "1 2", "5'", "5 OR 1=1", "1.0"})
        EXPECT_FALSE(VociMenu::Codice(bad)) << bad;
}

TEST(VociMenuRules, ValidationsInTheirOrder)
{
    using VociMenu::Validazione;
    EXPECT_EQ(Validazione("5", "5", "x"), kSeStesso);
    EXPECT_EQ(Validazione("5", "05", "x"), kSeStesso) << "the same entry, written otherwise";
    EXPECT_EQ(Validazione("5", "5", ""), kSeStesso) << "the parent is checked first";
    EXPECT_EQ(Validazione("5", "", ""), kDescrizione);
    EXPECT_EQ(Validazione("5", "", "x"), QString()) << "a top entry";
    EXPECT_EQ(Validazione("5", "50", "x"), QString());
    EXPECT_EQ(Validazione("5", "99", "x"), QString()) << "a parent no entry has is accepted";
    EXPECT_EQ(Validazione("", "", " "), QString()) << "blanks are a description";
}

TEST(VociMenuRules, ParentAfterTheShiftAndDepthUnderAParent)
{
    using VociMenu::PadreDopoSpostamento;
    EXPECT_EQ(PadreDopoSpostamento("", "2"), "");
    EXPECT_EQ(PadreDopoSpostamento("1", "2"), "1");
    EXPECT_EQ(PadreDopoSpostamento("2", "2"), "3");
    EXPECT_EQ(PadreDopoSpostamento("7", "2"), "8");
    EXPECT_EQ(PadreDopoSpostamento("10", "9"), "11") << "compared as numbers, not as text";
    EXPECT_EQ(VociMenu::LivelloSotto(QVariant()), 1);
    EXPECT_EQ(VociMenu::LivelloSotto(0), 1);
    EXPECT_EQ(VociMenu::LivelloSotto(2), 3);
}

TEST_F(SpostamentoTest, RoomBeforeAnEntryWithChildrenMovesCodesAndParentsOfOneProgram)
{
    menuDiCinque();
    nuovoSnapshot();
    spazio(2);
    EXPECT_EQ(righe(kVoci),
              (QStringList{"1||0|Uno", "3||0|Due", "4||0|Tre", "5|3|1|Quattro", "6|4|1|Cinque"}));
    EXPECT_EQ(righe("SELECT MENU, MENUPREC FROM DETTMENU WHERE PROGRAMMA=2 ORDER BY MENU"),
              (QStringList{"2|", "3|2"}));
    // Nothing is committed: others still see the old codes.
    EXPECT_EQ(righeCommitted(kVoci),
              (QStringList{"1||0|Uno", "2||0|Due", "3||0|Tre", "4|2|1|Quattro", "5|3|1|Cinque"}));
}

TEST_F(SpostamentoTest, ParentAfterTheInsertedCodeAndAOneEntryMenu)
{
    voce(1, 2, "7", 1, "Sotto sette");
    voce(1, 7, "", 0, "Sette");
    nuovoSnapshot();
    spazio(2);
    EXPECT_EQ(righe(kVoci), (QStringList{"3|8|1|Sotto sette", "8||0|Sette"}));

    voce(3, 1, "", 0, "Sola");
    nuovoSnapshot();
    spazio(1, 3);
    EXPECT_EQ(righe("SELECT MENU, MENUPREC FROM DETTMENU WHERE PROGRAMMA=3"), QStringList{"2|"});
}

TEST_F(SpostamentoTest, GrantsAndTranslationsFollowTheirEntries)
{
    menuDiCinque();
    for (const char *grant : {"1, 1, 1, 5", "1, 1, 2, 6", "1, 1, 5, 7", "2, 1, 3, 8", "2, 2, 2, 9"})
        other(QString("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (%1)")
                  .arg(grant));
    for (const char *t : {"1, 2, NULL, 1, 'Two'", "1, 2, NULL, 2, 'Zwei'", "1, 4, 2, 1, 'Four'",
                          "1, 1, NULL, 1, 'One'", "2, 2, NULL, 1, 'Other'"})
        other(QString("INSERT INTO LINGUEMENU (PROGRAMMA, MENU, MENUPREC, LINGUA, DESCRIZIONE) "
                      "VALUES (%1)")
                  .arg(t));
    nuovoSnapshot();
    spazio(2);
    EXPECT_EQ(righe(kGrant), (QStringList{"1|1|1|5", "1|1|3|6", "1|1|6|7", "2|1|4|8", "2|2|2|9"}));
    EXPECT_EQ(righe(kLingue), (QStringList{"1|1||1|One", "1|3||1|Two", "1|3||2|Zwei",
                                           "1|5|3|1|Four", "2|2||1|Other"}));
}

TEST_F(SpostamentoTest, WithoutTranslationsTableOnlyMenuAndGrantsMove)
{
    other("DROP TABLE LINGUEMENU");
    menuDiCinque();
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 1, 4)");
    nuovoSnapshot();
    spazio(4);
    EXPECT_EQ(righe("SELECT MENU FROM DETTPROF"), QStringList{"5"});
    EXPECT_EQ(righe("SELECT MENU FROM DETTMENU WHERE PROGRAMMA=1 ORDER BY MENU"),
              (QStringList{"1", "2", "3", "5", "6"}));
}

TEST_F(SpostamentoTest, NoRoomAboveTheHighestCodeRaisesAndMovesNothingOfThatStatement)
{
    voce(1, 1, "", 0, "Uno");
    voce(1, 32767, "1", 1, "Ultima");
    nuovoSnapshot();
    TSpostamentoVoci s(tab->QueryAux);
    s.SpostaPadri(1, 1);
    EXPECT_THROW(s.SpostaVoci(1, 1), EIBError);
    // The failed statement undid itself; the parents' move is the caller's
    // to roll back.
    EXPECT_EQ(righe(kVoci), (QStringList{"1||0|Uno", "32767|2|1|Ultima"}));
}

TEST_F(SpostamentoTest, ManyEntriesMoveInOneStatementEach)
{
    other("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 300) DO BEGIN "
          "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, DESCRIZIONE) "
          "VALUES (1, :I, NULLIF(:I - 1, 0), 'v'); I = I + 1; END END",
          false);
    nuovoSnapshot();
    spazio(1);
    EXPECT_EQ(righe("SELECT MIN(MENU), MAX(MENU), COUNT(*), MIN(MENUPREC), MAX(MENUPREC) "
                    "FROM DETTMENU WHERE PROGRAMMA=1"),
              QStringList{"2|301|300|2|300"});
    EXPECT_EQ(righe("SELECT COUNT(*) FROM DETTMENU WHERE PROGRAMMA=1 AND MENUPREC<>MENU-1"),
              QStringList{"0"});
}
