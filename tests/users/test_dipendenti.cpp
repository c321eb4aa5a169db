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

// One editor on its row of code 3. Rows are "TABLE v1|v2" over the table's
// columns as listed (empty is NULL), as a second connection reads them.
struct Caso
{
    const char *nome;
    std::function<std::unique_ptr<TRecordEditorForm>(TTabForm *&)> apri;
    QList<QPair<QString, QString>> tabelle;
    QStringList prima, dopo; // before and after 3 became 9
    QString fallisce;        // the table whose update a trigger refuses
    QString avanzo;          // a row left under 9 by an earlier delete
};

const Caso kCasi[] = {
    {"Programmi",
     [](TTabForm *&t) { return std::make_unique<TProgrammiForm>(nullptr, t); },
     {{"PROGRAMMI", "CODICE"},
      {"DETTMENU", "PROGRAMMA, MENU"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"DETTPROGETTI", "PROGETTO, PROGRAMMA"},
      {"LINGUEMENU", "PROGRAMMA, MENU, LINGUA"}},
     {"PROGRAMMI 3", "PROGRAMMI 4", "DETTMENU 3|1", "DETTMENU 4|1", "DETTPROF 1|3|1",
      "DETTPROF 1|4|1", "DETTPROGETTI 1|3", "DETTPROGETTI 1|4", "LINGUEMENU 3|1|1",
      "LINGUEMENU 4|1|1"},
     {"PROGRAMMI 4", "PROGRAMMI 9", "DETTMENU 4|1", "DETTMENU 9|1", "DETTPROF 1|4|1",
      "DETTPROF 1|9|1", "DETTPROGETTI 1|4", "DETTPROGETTI 1|9", "LINGUEMENU 4|1|1",
      "LINGUEMENU 9|1|1"},
     "LINGUEMENU",
     "DETTPROGETTI 2|9"},
    {"Progetti",
     [](TTabForm *&t) { return std::make_unique<TProgettiForm>(nullptr, t); },
     {{"PROGETTI", "CODICE"},
      {"DETTPROGETTI", "PROGETTO, PROGRAMMA"},
      {"UTENTI", "CODICE, PROGETTO"}},
     {"PROGETTI 3", "PROGETTI 4", "DETTPROGETTI 3|1", "DETTPROGETTI 4|1", "UTENTI 1|3",
      "UTENTI 2|4"},
     {"PROGETTI 4", "PROGETTI 9", "DETTPROGETTI 4|1", "DETTPROGETTI 9|1", "UTENTI 1|9",
      "UTENTI 2|4"},
     "UTENTI",
     "UTENTI 5|9"},
    {"Profili",
     [](TTabForm *&t) { return std::make_unique<TProfSicForm>(nullptr, t); },
     {{"PROFILI", "CODICE"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"UTENTI", "CODICE, PROFILOSICUREZZA"}},
     {"PROFILI 3", "PROFILI 4", "DETTPROF 3|1|1", "DETTPROF 4|1|1", "UTENTI 1|3", "UTENTI 2|4"},
     {"PROFILI 4", "PROFILI 9", "DETTPROF 4|1|1", "DETTPROF 9|1|1", "UTENTI 1|9", "UTENTI 2|4"},
     "UTENTI",
     "UTENTI 5|9"},
    // The entry's grants and translations follow it; the entry under it
    // and the same code of another program stay.
    {"VoceDiMenu",
     [](TTabForm *&t) { return std::make_unique<TMenuProgrammaForm>(nullptr, t, "1"); },
     {{"DETTMENU", "PROGRAMMA, MENU, MENUPREC, DESCRIZIONE"},
      {"DETTPROF", "PROFILO, PROGRAMMA, MENU"},
      {"LINGUEMENU", "PROGRAMMA, MENU, LINGUA"}},
     {"DETTMENU 1|3||a", "DETTMENU 1|4|3|b", "DETTMENU 2|3||c", "DETTPROF 1|1|3", "DETTPROF 1|2|3",
      "LINGUEMENU 1|3|1", "LINGUEMENU 2|3|1"},
     {"DETTMENU 1|4|3|b", "DETTMENU 1|9||a", "DETTMENU 2|3||c", "DETTPROF 1|1|9", "DETTPROF 1|2|3",
      "LINGUEMENU 1|9|1", "LINGUEMENU 2|3|1"},
     "LINGUEMENU",
     "DETTPROF 2|1|9"},
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
        for (const QString &riga : GetParam().prima)
            scrivi(riga);
    }
    void scrivi(const QString &riga)
    {
        const QString tabella = riga.section(' ', 0, 0);
        QStringList valori;
        for (const QString &v : riga.section(' ', 1).split('|'))
            valori << (v.isEmpty() ? "NULL" : "'" + v + "'");
        for (const auto &[t, colonne] : GetParam().tabelle)
            if (t == tabella)
                other("INSERT INTO " + t + " (" + colonne + ") VALUES (" + valori.join(',') + ")");
    }
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
    static QString campo(TRecordEditorForm &e)
    {
        return dynamic_cast<TMenuProgrammaForm *>(&e) ? "MENU" : "CODICE";
    }
    static int codice(TRecordEditorForm &e)
    {
        return e.MainQuery->FieldByName(campo(e))->AsInteger();
    }
    // The editor on code 3, editing, after the code change to 9.
    std::unique_ptr<TRecordEditorForm> cambiaIn9()
    {
        nuovoSnapshot();
        auto e = GetParam().apri(tabVar);
        EXPECT_TRUE(e->MainQuery->Locate(campo(*e), 3));
        e->ButtonEdit->click();
        Modal::setRunner([](QDialog *d) {
            auto *dlg = qobject_cast<TKivIn1Form *>(d);
            dlg->Edit1->setText("9");
            dlg->OKBtn->click();
            return dlg->result();
        });
        e->ButtonCodiceClick();
        return e;
    }
};

} // namespace

TEST_P(DipendentiTest, TheRowsNamingTheCodeMoveWithItAndNothingElseDoes)
{
    EXPECT_EQ(stato(), GetParam().prima);
    auto e = cambiaIn9();
    e->ButtonMemorizza->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(codice(*e), 9);
    EXPECT_EQ(stato(), GetParam().dopo);
}

TEST_P(DipendentiTest, AFailingMoveTakesEverythingBackAndKeepsTheEdit)
{
    other("CREATE EXCEPTION RIFIUTO 'spostamento rifiutato'");
    other("CREATE TRIGGER RIFIUTA FOR " + GetParam().fallisce +
              " BEFORE UPDATE AS BEGIN EXCEPTION RIFIUTO; END",
          false);
    auto e = cambiaIn9();
    rec.allowAny();
    e->ButtonMemorizza->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen().last().kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen().last().text.contains("spostamento rifiutato"));
    EXPECT_TRUE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsEdit);
    EXPECT_EQ(codice(*e), 9);
    // Nothing moved, for others nor in the editor's own transaction.
    EXPECT_EQ(stato(), GetParam().prima);
    EXPECT_EQ(stato(true), GetParam().prima);
}

TEST_P(DipendentiTest, ACodeWithLeftOverRowsIsRefusedBeforeAnythingIsWritten)
{
    scrivi(GetParam().avanzo);
    const QStringList prima = stato();
    rec.expect(TMsgDlgType::Warning, "Il codice scelto è già in uso");
    auto e = cambiaIn9();
    EXPECT_EQ(codice(*e), 3);
    e->ButtonMemorizza->click();
    EXPECT_EQ(stato(), prima);
}

INSTANTIATE_TEST_SUITE_P(Editori, DipendentiTest, ::testing::ValuesIn(kCasi),
                         [](const auto &info) { return std::string(info.param.nome); });

TEST_F(UtentiTest, ADeletedProgramsAndProjectsLinksGoWithIt)
{
    other("ALTER TABLE DETTMENU ADD PARAMETRIBLOB BLOB SUB_TYPE TEXT");
    for (const char *sql :
         {"INSERT INTO PROGRAMMI (CODICE) VALUES (5)", "INSERT INTO PROGETTI (CODICE) VALUES (5)",
          "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 5, 1)",
          "INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU) VALUES (1, 6, 1)",
          "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 5)",
          "INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 6)",
          "INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA) VALUES (5, 1, 1)"})
        other(sql);
    const auto elimina = [this](TRecordEditorForm &e) {
        ASSERT_TRUE(e.MainQuery->Locate("CODICE", 5));
        rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
        e.ButtonElimina->click();
    };
    nuovoSnapshot();
    elimina(*std::make_unique<TProgrammiForm>(nullptr, tabVar));
    EXPECT_EQ(righeCommitted("SELECT PROGRAMMA FROM DETTPROF"), QStringList({"6"}));
    EXPECT_EQ(righeCommitted("SELECT PROGETTO, PROGRAMMA FROM DETTPROGETTI"), QStringList({"1|6"}));
    EXPECT_EQ(righeCommitted("SELECT PROGRAMMA FROM LINGUEMENU"), QStringList());

    // A link another user wrote after the project's check goes as well.
    nuovoSnapshot();
    TProgettiForm progetti(nullptr, tabVar);
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (5, 2)");
    elimina(progetti);
    EXPECT_EQ(righeCommitted("SELECT PROGETTO, PROGRAMMA FROM DETTPROGETTI"), QStringList({"1|6"}));
}

TEST_F(UtentiTest, ANewProjectOrProfileNeverTakesACodeAUserStillNames)
{
    other("INSERT INTO PROGETTI (CODICE) VALUES (2)");
    other("INSERT INTO PROFILI (CODICE) VALUES (2)");
    // A user names project 7 and profile 4, both deleted since.
    other("INSERT INTO UTENTI (CODICE, PROGETTO, PROFILOSICUREZZA) VALUES (1, 7, 4)");
    nuovoSnapshot();
    const auto nuovo = [](TRecordEditorForm &e) {
        e.ButtonNuovo->click();
        return e.MainQuery->FieldByName("CODICE")->AsInteger();
    };
    EXPECT_EQ(nuovo(*std::make_unique<TProgettiForm>(nullptr, tabVar)), 8);
    nuovoSnapshot();
    TProfSicForm profili(nullptr, tabVar);
    EXPECT_EQ(nuovo(profili), 5);
    // Above the table's own highest when no user names a higher code.
    other("INSERT INTO PROFILI (CODICE) VALUES (12)");
    profili.Annullamento();
    EXPECT_EQ(nuovo(profili), 13);
}
