// The rows that name an editor's code follow a code change, go with a
// deleted row, and are never inherited by a new one.

#include "ibquery.h"
#include "kivin1form.h"
#include "menuprogrammaform.h"
#include "profsicform.h"
#include "progettiform.h"
#include "programmiform.h"
#include "utentitest.h"

#include <QLineEdit>
#include <QPushButton>

namespace {

const QString kInUso = "Il codice scelto è già in uso";

// One editor: its rows under code 3 (and the same rows of another key that
// must stay), what a second connection reads, and how the code 3 becomes 9.
struct Caso
{
    const char *nome;
    std::function<std::unique_ptr<TRecordEditorForm>(TTabForm *&)> apri;
    QStringList righe;
    // Table and columns of each table read back, in this order.
    QList<QPair<QString, QString>> tabelle;
    QStringList dopo; // everything after 3 became 9
    QString fallisce; // the table whose update a trigger refuses
    QString avanzo;   // a row left under 9 by an earlier delete
};

const QString kUtente = "INSERT INTO UTENTI (CODICE, NOMEUTENTE, PROFILOSICUREZZA, PROGETTO) "
                        "VALUES (%1, 'U%1', %2, %3)";

const Caso kCasi[] = {
    {"Programmi",
     [](TTabForm *&t) { return std::make_unique<TProgrammiForm>(nullptr, t); },
     {"INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (3, 'Tre')",
      "INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (4, 'Quattro')",
      "INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (3, 1, 'a')",
      "INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (4, 1, 'b')",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 3, 1)",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 4, 1)",
      "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 3)",
      "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 4)",
      "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (3, 1, 1)",
      "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (4, 1, 1)"},
     {{"PROGRAMMI", "CODICE"},
      {"DETTMENU", "PROGRAMMA, MENU"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"DETTPROGETTI", "PROGETTO, PROGRAMMA"},
      {"LINGUEMENU", "PROGRAMMA, MENU"}},
     {"PROGRAMMI 4", "PROGRAMMI 9", "DETTMENU 4|1", "DETTMENU 9|1", "DETTPROF 1|4|1",
      "DETTPROF 1|9|1", "DETTPROGETTI 1|4", "DETTPROGETTI 1|9", "LINGUEMENU 4|1", "LINGUEMENU 9|1"},
     "LINGUEMENU",
     "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (2, 9)"},
    {"Progetti",
     [](TTabForm *&t) { return std::make_unique<TProgettiForm>(nullptr, t); },
     {"INSERT INTO PROGETTI (CODICE, NOME) VALUES (3, 'Tre')",
      "INSERT INTO PROGETTI (CODICE, NOME) VALUES (4, 'Quattro')",
      "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (3, 1)",
      "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (4, 1)", kUtente.arg(1).arg(1).arg(3),
      kUtente.arg(2).arg(1).arg(4)},
     {{"PROGETTI", "CODICE"},
      {"DETTPROGETTI", "PROGETTO, PROGRAMMA"},
      {"UTENTI", "CODICE, PROGETTO"}},
     {"PROGETTI 4", "PROGETTI 9", "DETTPROGETTI 4|1", "DETTPROGETTI 9|1", "UTENTI 1|9",
      "UTENTI 2|4"},
     "UTENTI",
     kUtente.arg(5).arg(1).arg(9)},
    {"Profili",
     [](TTabForm *&t) { return std::make_unique<TProfSicForm>(nullptr, t); },
     {"INSERT INTO PROFILI (CODICE, DESCRIZIONE) VALUES (3, 'Tre')",
      "INSERT INTO PROFILI (CODICE, DESCRIZIONE) VALUES (4, 'Quattro')",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (3, 1, 1)",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (4, 1, 1)",
      kUtente.arg(1).arg(3).arg(1), kUtente.arg(2).arg(4).arg(1)},
     {{"PROFILI", "CODICE"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"UTENTI", "CODICE, PROFILOSICUREZZA"}},
     {"PROFILI 4", "PROFILI 9", "DETTPROF 4|1|1", "DETTPROF 9|1|1", "UTENTI 1|9", "UTENTI 2|4"},
     "UTENTI",
     kUtente.arg(5).arg(9).arg(1)},
    // The entry's grants and translations follow it; the entry under it
    // and the same code of another program stay.
    {"VoceDiMenu",
     [](TTabForm *&t) { return std::make_unique<TMenuProgrammaForm>(nullptr, t, "1"); },
     {"INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (1, 3, 'a')",
      "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, DESCRIZIONE) VALUES (1, 4, 3, 'b')",
      "INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (2, 3, 'c')",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 1, 3)",
      "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 2, 3)",
      "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (1, 3, 1)",
      "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (2, 3, 1)"},
     {{"DETTMENU", "PROGRAMMA, MENU, MENUPREC"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"LINGUEMENU", "PROGRAMMA, MENU"}},
     {"DETTMENU 1|4|3", "DETTMENU 1|9|", "DETTMENU 2|3|", "DETTPROF 1|1|9", "DETTPROF 1|2|3",
      "LINGUEMENU 1|9", "LINGUEMENU 2|3"},
     "LINGUEMENU",
     "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (2, 1, 9)"},
};

void PrintTo(const Caso &caso, std::ostream *os)
{
    *os << caso.nome;
}

class DipendentiTest : public UtentiTest, public ::testing::WithParamInterface<Caso>
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        other("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT");
        for (const QString &riga : GetParam().righe)
            other(riga);
    }
    // Every table of the case as a second connection reads it.
    QStringList stato(bool condiviso = false)
    {
        QStringList out;
        for (const auto &[tabella, colonne] : GetParam().tabelle) {
            const QString sql = "SELECT " + colonne + " FROM " + tabella + " ORDER BY " + colonne;
            for (const QString &r : condiviso ? ArchiveTest::righe(sql) : righeCommitted(sql))
                out << tabella + " " + r;
        }
        return out;
    }
    std::unique_ptr<TRecordEditorForm> apriSu3()
    {
        nuovoSnapshot();
        auto e = GetParam().apri(tabVar);
        EXPECT_TRUE(e->MainQuery->Locate(campoCodice(*e), 3));
        e->ButtonEdit->click();
        return e;
    }
    void nuovoCodice(TRecordEditorForm &e, const QString &codice)
    {
        Modal::setRunner([codice](QDialog *d) {
            auto *dlg = qobject_cast<TKivIn1Form *>(d);
            dlg->Edit1->setText(codice);
            dlg->OKBtn->click();
            return dlg->result();
        });
        e.ButtonCodiceClick();
    }
    static QString campoCodice(TRecordEditorForm &e)
    {
        return dynamic_cast<TMenuProgrammaForm *>(&e) ? "MENU" : "CODICE";
    }
    static int codice(TRecordEditorForm &e)
    {
        return e.MainQuery->FieldByName(campoCodice(e))->AsInteger();
    }
};

} // namespace

TEST_P(DipendentiTest, TheRowsNamingTheCodeMoveWithItInTheSaveCommit)
{
    auto e = apriSu3();
    nuovoCodice(*e, "9");
    EXPECT_EQ(codice(*e), 9);
    e->ButtonMemorizza->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(stato(), GetParam().dopo);
}

TEST_P(DipendentiTest, AFailingMoveTakesEverythingBackAndKeepsTheEdit)
{
    other("CREATE EXCEPTION RIFIUTO 'spostamento rifiutato'");
    other("CREATE TRIGGER RIFIUTA FOR " + GetParam().fallisce +
              " BEFORE UPDATE AS BEGIN EXCEPTION RIFIUTO; END",
          false);
    const QStringList prima = stato();
    auto e = apriSu3();
    nuovoCodice(*e, "9");
    rec.allowAny();
    e->ButtonMemorizza->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen().last().kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen().last().text.contains("spostamento rifiutato"))
        << rec.seen().last().text.toStdString();
    EXPECT_TRUE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsEdit);
    EXPECT_EQ(codice(*e), 9);
    // Nothing moved, neither for others nor in the editor's own transaction.
    EXPECT_EQ(stato(), prima);
    EXPECT_EQ(stato(true), prima);
}

TEST_P(DipendentiTest, ACodeWithLeftOverRowsIsRefusedBeforeAnythingIsWritten)
{
    other(GetParam().avanzo);
    const QStringList prima = stato();
    auto e = apriSu3();
    rec.expect(TMsgDlgType::Warning, kInUso);
    nuovoCodice(*e, "9");
    EXPECT_EQ(codice(*e), 3);
    e->ButtonMemorizza->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(stato(), prima);
}

INSTANTIATE_TEST_SUITE_P(Editori, DipendentiTest, ::testing::ValuesIn(kCasi),
                         [](const auto &info) { return std::string(info.param.nome); });

namespace {

class CollegatiTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        other("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT");
    }
    void elimina(TRecordEditorForm &e, int codice)
    {
        ASSERT_TRUE(e.MainQuery->Locate("CODICE", codice));
        rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
        e.ButtonElimina->click();
    }
};

} // namespace

TEST_F(CollegatiTest, ADeletedProgramsAndProjectsLinksGoWithIt)
{
    other("INSERT INTO PROGRAMMI (CODICE, NOME) VALUES (5, 'Cinque')");
    other("INSERT INTO PROGETTI (CODICE, NOME) VALUES (5, 'Cinque')");
    for (const char *sql : {"INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 5, 1)",
                            "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 6, 1)",
                            "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 5)",
                            "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 6)",
                            "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (5, 1, 1)",
                            "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (6, 1, 1)"})
        other(sql);
    nuovoSnapshot();
    {
        TProgrammiForm programmi(nullptr, tabVar);
        elimina(programmi, 5);
    }
    EXPECT_EQ(righeCommitted("SELECT PROFILO, PROGRAMMA FROM DETTPROF"), QStringList({"1|6"}));
    EXPECT_EQ(righeCommitted("SELECT PROGETTO, PROGRAMMA FROM DETTPROGETTI"), QStringList({"1|6"}));

    // A link another user wrote after the project's check goes as well.
    nuovoSnapshot();
    TProgettiForm progetti(nullptr, tabVar);
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (5, 2)");
    elimina(progetti, 5);
    EXPECT_EQ(righeCommitted("SELECT CODICE FROM PROGETTI"), QStringList());
    EXPECT_EQ(righeCommitted("SELECT PROGETTO, PROGRAMMA FROM DETTPROGETTI"), QStringList({"1|6"}));
}

TEST_F(CollegatiTest, ANewProjectOrProfileNeverTakesACodeAUserStillNames)
{
    other("INSERT INTO PROGETTI (CODICE, NOME) VALUES (2, 'Due')");
    other("INSERT INTO PROFILI (CODICE, DESCRIZIONE) VALUES (2, 'Due')");
    // User 1 names project 7 and profile 4, both deleted since.
    other(kUtente.arg(1).arg(4).arg(7));
    nuovoSnapshot();
    const auto nuovo = [](TRecordEditorForm &e) {
        e.ButtonNuovo->click();
        return e.MainQuery->FieldByName("CODICE")->AsInteger();
    };
    const auto annulla = [this](TRecordEditorForm &e) {
        rec.expect(TMsgDlgType::Confirmation, "Conferma l'annullamento delle modifiche apportate?",
                   mrYes);
        e.ButtonAnnulla->click();
    };
    {
        TProgettiForm progetti(nullptr, tabVar);
        EXPECT_EQ(nuovo(progetti), 8);
        annulla(progetti);
    }
    TProfSicForm profili(nullptr, tabVar);
    EXPECT_EQ(nuovo(profili), 5);
    // Above the table's own highest when no user names a higher code.
    other("INSERT INTO PROFILI (CODICE, DESCRIZIONE) VALUES (12, 'Dodici')");
    annulla(profili);
    EXPECT_EQ(nuovo(profili), 13);
}
