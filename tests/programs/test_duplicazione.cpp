#include "dbcontrols.h"
#include "duplicazione.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "programmiform.h"
#include "programstest.h"
#include "testdb.h"

#include <QPushButton>
#include <QTest>

namespace {

const QString kDuplicare = "Duplicare il programma corrente?";
const QString kAggiornare =
    "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. Prima di "
    "aggiornare la griglia si desidera salvare gli aggiornamenti?";
const QString kVociFallite = "Errore interno durante la duplicazione delle voci di menu "
                             "associate al programma corrente";

class DuplicazioneTest : public ProgramsTest
{
protected:
    void SetUp() override
    {
        ProgramsTest::SetUp();
        conParametriBlob();
    }
    std::unique_ptr<TProgrammiForm> apri()
    {
        nuovoSnapshot();
        return std::make_unique<TProgrammiForm>(nullptr, tabVar);
    }
    // A menu entry of program 1, every value bound.
    void voce(int menu, const QVariantMap &valori)
    {
        OtherConnection o(tab->IBDatabase1->DatabaseName);
        QStringList cols{"PROGRAMMA", "MENU"}, params{":PROGRAMMA", ":MENU"};
        for (auto it = valori.cbegin(); it != valori.cend(); ++it) {
            cols << it.key();
            params << ":" + it.key();
        }
        TIBSQL q;
        q.setDatabase(&o.db);
        q.SQL = QStringList{"INSERT INTO DETTMENU (" + cols.join(",") + ") VALUES (" +
                            params.join(",") + ")"};
        q.ParamByName("PROGRAMMA").setAsInteger(1);
        q.ParamByName("MENU").setAsInteger(menu);
        for (auto it = valori.cbegin(); it != valori.cend(); ++it)
            q.ParamByName(it.key()).setValue(it.value());
        q.ExecQuery();
        o.tr.Commit();
    }
    // One column of every entry of a program, by MENU, "<NULL>" for NULL.
    QStringList colonna(int programma, const QString &col)
    {
        OtherConnection o(tab->IBDatabase1->DatabaseName);
        TIBSQL q;
        q.setDatabase(&o.db);
        q.SQL = QStringList{QString("SELECT %1 FROM DETTMENU WHERE PROGRAMMA=%2 ORDER BY MENU")
                                .arg(col)
                                .arg(programma)};
        QStringList out;
        for (q.ExecQuery(); !q.Eof(); q.Next())
            out << (q.Fields(0).IsNull() ? "<NULL>" : q.Fields(0).AsString());
        q.Close();
        o.tr.Commit();
        return out;
    }
    QByteArray nota(int programma, int menu)
    {
        OtherConnection o(tab->IBDatabase1->DatabaseName);
        TIBSQL q;
        q.setDatabase(&o.db);
        q.SQL = QStringList{QString("SELECT NOTE FROM DETTMENU WHERE PROGRAMMA=%1 AND MENU=%2")
                                .arg(programma)
                                .arg(menu)};
        q.ExecQuery();
        const QByteArray b = q.Fields(0).AsBytes();
        q.Close();
        o.tr.Commit();
        return b;
    }
    void rompiTerzaIstruzione()
    {
        other("CREATE EXCEPTION VOCE_RIFIUTATA 'voce rifiutata'");
        other("CREATE TRIGGER DETTMENU_BI FOR DETTMENU BEFORE INSERT AS BEGIN IF (NEW.PROGRAMMA "
              "<> 1 AND NEW.MENU = 2) THEN EXCEPTION VOCE_RIFIUTATA; END");
    }
    int codice(TProgrammiForm &f) { return f.QueryProgrammi->FieldByName("CODICE")->AsInteger(); }
};

} // namespace

TEST(DuplicazioneValori, TheSuitesRulesForEachColumn)
{
    using namespace Duplicazione;
    EXPECT_EQ(ConAccento(QString("l'anno")), QString("l´anno"));
    EXPECT_TRUE(ConAccento(QString()).isNull());
    EXPECT_TRUE(ConAccento(QString("")).isNull());
    EXPECT_TRUE(ConAccento(QByteArray()).isNull());
    EXPECT_EQ(ConAccento(QByteArray("a'b\0c", 5)), QByteArray("a\xB4"
                                                              "b\0c",
                                                              5));
    EXPECT_EQ(ConAccento(3), 3);
    const QVariantMap copy = CopiaVoce({{"MENU", 4},
                                        {"MENUPREC", QVariant()},
                                        {"DESCRIZIONE", "d'x"},
                                        {"PARAMETRI", "p'q"},
                                        {"PARAMETRIBLOB", "b'c"},
                                        {"VISIBILE", 1},
                                        {"DLL", ""}},
                                       9);
    EXPECT_EQ(copy.value("PROGRAMMA"), 9);
    EXPECT_EQ(copy.value("MENU"), 4);
    EXPECT_TRUE(copy.value("MENUPREC").isNull());
    EXPECT_EQ(copy.value("DESCRIZIONE"), QString("d´x"));
    EXPECT_EQ(copy.value("PARAMETRI"), QString("p´q"));
    EXPECT_EQ(copy.value("PARAMETRIBLOB"), QString("b'c"));
    EXPECT_TRUE(copy.value("DLL").isNull());
    EXPECT_EQ(copy.keys().size(), ColonneVoce().size());
}

TEST_F(DuplicazioneTest, CopiesTheProgramAndItsMenusWithTheStoredTexts)
{
    programma(1, "l'uno");
    other("UPDATE PROGRAMMI SET DESCRIZIONE='dell''azienda', ICONA='l''icona.bmp' WHERE CODICE=1");
    programma(4, "Quattro");
    const QString mega = QString(1 << 20, 'x') + "'fine'";
    voce(1, {{"DESCRIZIONE", "Voce dell'anno"},
             {"DLL", "l'a.dll"},
             {"FUNZIONE", "F'X"},
             {"NOTE", QByteArray("nota 'uno'\0\x01", 12)},
             {"LIVELLO2VERSIONE", 1},
             {"PARAMETRI", "Ditta=l'1"},
             {"VISIBILE", 1},
             {"VOCERAPIDA", 0},
             {"PARAMETRIBLOB", "<CSDForm a='1'/>"},
             {"LIVELLOMENU", 0}});
    voce(2, {{"MENUPREC", 1}, {"LIVELLOMENU", 1}, {"PARAMETRIBLOB", mega}});
    voce(3, {}); // NULL everywhere
    auto f = apri();
    ASSERT_TRUE(f->QueryProgrammi->Locate("CODICE", 1));
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_EQ(codice(*f), 5); // the grid shows the copy
    EXPECT_FALSE(f->Editing());

    EXPECT_EQ(committed("SELECT NOME || '|' || DESCRIZIONE || '|' || ICONA FROM PROGRAMMI WHERE "
                        "CODICE=5"),
              "l´uno|dell´azienda|l´icona.bmp");
    EXPECT_EQ(colonna(5, "MENU"), (QStringList{"1", "2", "3"}));
    EXPECT_EQ(colonna(5, "MENUPREC"), (QStringList{"<NULL>", "1", "<NULL>"}));
    EXPECT_EQ(colonna(5, "DESCRIZIONE"), (QStringList{"Voce dell´anno", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "DLL"), (QStringList{"l´a.dll", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "FUNZIONE"), (QStringList{"F´X", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "PARAMETRI"), (QStringList{"Ditta=l´1", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "LIVELLO2VERSIONE"), (QStringList{"1", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "VISIBILE"), (QStringList{"1", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "VOCERAPIDA"), (QStringList{"0", "<NULL>", "<NULL>"}));
    EXPECT_EQ(colonna(5, "LIVELLOMENU"), (QStringList{"0", "1", "<NULL>"}));
    EXPECT_EQ(colonna(5, "PARAMETRIBLOB").value(0), "<CSDForm a='1'/>");
    EXPECT_EQ(colonna(5, "PARAMETRIBLOB").value(1), mega);
    EXPECT_EQ(colonna(5, "PARAMETRIBLOB").value(2), "<NULL>");
    EXPECT_EQ(nota(5, 1), QByteArray("nota \xB4uno\xB4\0\x01", 12));
    // The source is untouched.
    EXPECT_EQ(colonna(1, "DESCRIZIONE").value(0), "Voce dell'anno");
}

TEST_F(DuplicazioneTest, AProgramWithoutMenusIsCopiedAloneAndSaved)
{
    programma(1, "Solo");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrNo);
    f->ButtonDuplica->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGRAMMI"), "1");
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_EQ(committed("SELECT NOME FROM PROGRAMMI WHERE CODICE=2"), "Solo");
    EXPECT_EQ(codice(*f), 2);
}

TEST_F(DuplicazioneTest, NothingToDuplicateOnAnEmptyTable)
{
    auto f = apri();
    rec.expect(TMsgDlgType::Warning, "Per inserire un nuovo programma premere Nuovo");
    f->ButtonDuplica->click();
}

TEST_F(DuplicazioneTest, AFailedEntryLeavesNoTraceInBrowseMode)
{
    programma(1, "Uno");
    for (int m = 1; m <= 3; ++m)
        voce(m, {{"DESCRIZIONE", "voce"}});
    rompiTerzaIstruzione();
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes)
        .expect(TMsgDlgType::Error, kVociFallite);
    f->ButtonDuplica->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(f->QueryProgrammi->RecordCount(), 1);
    tab->IBTransaction1->Commit(); // whatever the shared transaction still held
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGRAMMI"), "1");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "3");
}

TEST_F(DuplicazioneTest, AFailedEntryWhileEditingSavesTheEditWithoutHalfACopy)
{
    programma(1, "Uno");
    for (int m = 1; m <= 3; ++m)
        voce(m, {{"DESCRIZIONE", "voce"}});
    rompiTerzaIstruzione();
    auto f = apri();
    f->ButtonEdit->click();
    QTest::keyClicks(f->EditNome, " bis");
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes)
        .expect(TMsgDlgType::Error, kVociFallite)
        .expect(TMsgDlgType::Confirmation, kAggiornare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(committed("SELECT LIST(NOME) FROM PROGRAMMI"), "Uno bis");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "3");
}

TEST_F(DuplicazioneTest, ANewUnsavedRowIsPostedFirstSoTheCopyTakesTheNextCode)
{
    programma(1, "Uno");
    auto f = apri();
    f->ButtonNuovo->click();
    QTest::keyClicks(f->EditNome, "Nuovo");
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(codice(*f), 3);
    EXPECT_EQ(committed("SELECT LIST(CODICE || '=' || NOME) FROM (SELECT * FROM PROGRAMMI ORDER "
                        "BY CODICE)"),
              "1=Uno,2=Nuovo,3=Nuovo");
}

TEST_F(DuplicazioneTest, ACodeChangedButUnsavedIsNotTakenByTheCopy)
{
    programma(1, "Uno");
    programma(2, "Due");
    auto f = apri();
    f->ButtonEdit->click();
    Modal::setRunner([](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        dlg->Edit1->setText("3"); // the highest stored code + 1
        dlg->OKBtn->click();
        return int(mrOk);
    });
    f->ButtonCodice->click();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes);
    f->ButtonDuplica->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(codice(*f), 4);
    EXPECT_EQ(committed("SELECT LIST(CODICE || '=' || NOME) FROM (SELECT * FROM PROGRAMMI ORDER "
                        "BY CODICE)"),
              "2=Due,3=Uno,4=Uno");
}

TEST_F(DuplicazioneTest, AFailedProgramInsertStopsAtOnce)
{
    programma(1, "Uno");
    voce(1, {{"DESCRIZIONE", "voce"}});
    other("CREATE EXCEPTION PROGRAMMA_RIFIUTATO 'no'");
    other("CREATE TRIGGER PROGRAMMI_BI FOR PROGRAMMI BEFORE INSERT AS BEGIN EXCEPTION "
          "PROGRAMMA_RIFIUTATO; END");
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, kDuplicare, mrYes)
        .expect(TMsgDlgType::Error,
                "Errore interno durante la duplicazione del programma corrente");
    f->ButtonDuplica->click();
    tab->IBTransaction1->Commit();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "1");
}
