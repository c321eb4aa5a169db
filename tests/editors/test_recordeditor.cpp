#include "editorsql.h"
#include "ibquery.h"
#include "tag.h"
#include "testeditor.h"

#include <QApplication>
#include <QFile>
#include <QRegularExpression>
#include <random>

namespace {

const QString kSalvare = "Salvare le modifiche prima di chiudere la finestra?";
const QString kAggiornare =
    "Attenzione: sono state fatte delle modifiche che non sono state ancora salvate. Prima di "
    "aggiornare la griglia si desidera salvare gli aggiornamenti?";
const QString kAnnullare = "Conferma l'annullamento delle modifiche apportate?";
const QString kCancellare = "Confermare la cancellazione del record?";
const QString kInUso = "Il codice scelto è già in uso";
const QString kFuoriIntervallo = "Il codice deve essere un numero intero compreso tra -32768 e "
                                 "32767";

int codiceCorrente(TestEditor &e)
{
    return e.MainQuery->FieldByName("CODICE")->AsInteger();
}

} // namespace

TEST_F(EditorTest, OpensBrowsingWithTheStatementsOfItsTable)
{
    progetto(1, "uno");
    auto e = apri();
    EXPECT_EQ(e->MainQuery->SQL, QStringList{"SELECT * FROM PROGETTI ORDER BY CODICE"});
    EXPECT_EQ(e->MainUpdate->ModifySQL.last(), "WHERE (CODICE=:OLD_CODICE)");
    EXPECT_EQ(e->MainUpdate->DeleteSQL,
              (QStringList{"DELETE FROM \"PROGETTI\"", "WHERE (CODICE=:CODICE)"}));
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(Tag(e->ButtonAggiorna), 0);
    EXPECT_TRUE(e->ButtonAggiorna->text().isEmpty());
    EXPECT_FALSE(e->ButtonAggiorna->icon().isNull());
    for (QWidget *w :
         {(QWidget *)e->EditNome, (QWidget *)e->ButtonNome, (QWidget *)e->ButtonCodice})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget *w :
         {(QWidget *)e->ButtonNuovo, (QWidget *)e->ButtonEdit, (QWidget *)e->ButtonElimina,
          (QWidget *)e->ButtonChiudi, e->Grid, (QWidget *)e->ButtonExtra,
          (QWidget *)e->ButtonMemorizza, (QWidget *)e->ButtonAnnulla, (QWidget *)e->ButtonAggiorna})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    EXPECT_EQ(e->ButtonNuovo->text(), "&Nuovo");
    EXPECT_EQ(e->ButtonEdit->text(), "Edit &X");
    EXPECT_EQ(e->ButtonMemorizza->text(), "&Memorizza");
    EXPECT_EQ(e->ButtonAnnulla->text(), "&Annulla");
    EXPECT_EQ(e->ButtonElimina->text(), "&Elimina");
    EXPECT_EQ(e->ButtonChiudi->text(), "Ch&iudi");
}

TEST(EditorStatements, KeyLinesForOneAndSeveralColumns)
{
    using namespace EditorSQL;
    EXPECT_EQ(keyCondition({"PROGRAMMA", "MENU"}, "OLD_"),
              (QStringList{"WHERE (PROGRAMMA=:OLD_PROGRAMMA)AND", "(MENU=:OLD_MENU)"}));
    EXPECT_EQ(deleteStatement("DETTPROF", {"PROFILO", "PROGRAMMA", "MENU"}),
              (QStringList{"DELETE FROM \"DETTPROF\"", "WHERE (PROFILO=:PROFILO)AND",
                           "(PROGRAMMA=:PROGRAMMA)AND", "(MENU=:MENU)"}));
    EXPECT_EQ(selectAll("DETTMENU", {"PROGRAMMA", "MENU"}, {"PROGRAMMA"}),
              (QStringList{"SELECT * FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA",
                           "ORDER BY PROGRAMMA,MENU"}));
    EXPECT_EQ(maxCode("DETTMENU", "MENU", {"PROGRAMMA"}),
              QStringList{"SELECT MAX(MENU) FROM DETTMENU WHERE PROGRAMMA=:PROGRAMMA"});
}

TEST(EditorStatements, TypedCodesWithinTheColumnOnly)
{
    using EditorSQL::parseCode;
    EXPECT_EQ(parseCode("12", ftSmallint), 12);
    EXPECT_EQ(parseCode(" 7 ", ftSmallint), 7);
    EXPECT_EQ(parseCode("-32768", ftSmallint), -32768);
    EXPECT_EQ(parseCode("32767", ftSmallint), 32767);
    EXPECT_EQ(parseCode("99999", ftInteger), 99999);
    for (const char *bad : {"", "abc", "99999", "32768", "1 2", "1e3", "0x10", "1'", "'1' OR 1=1",
                            "12abc", "+", "-", "1.5", "١٢"})
        EXPECT_FALSE(parseCode(bad, ftSmallint)) << bad;
}

TEST_F(EditorTest, NuovoNumbersAfterTheHighestCodeWithoutReusingGaps)
{
    {
        auto e = apri();
        e->ButtonNuovo->click();
        EXPECT_TRUE(e->Editing());
        EXPECT_EQ(e->MainQuery->State(), dsInsert);
        EXPECT_EQ(codiceCorrente(*e), 1);
        rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrYes);
        e->ButtonAnnulla->click();
    }
    rec.clear();
    progetto(1, "uno");
    progetto(7, "sette");
    auto e = apri();
    e->ButtonNuovo->click();
    EXPECT_EQ(e->FCodice, "8");
    EXPECT_EQ(codiceCorrente(*e), 8);
    // In edit mode the browse controls are off and the edit-only ones on.
    for (QWidget *w :
         {(QWidget *)e->ButtonNuovo, (QWidget *)e->ButtonEdit, (QWidget *)e->ButtonElimina,
          (QWidget *)e->ButtonChiudi, e->Grid, (QWidget *)e->ButtonExtra})
        EXPECT_FALSE(w->isEnabled()) << w->objectName().toStdString();
    for (QWidget *w :
         {(QWidget *)e->EditNome, (QWidget *)e->ButtonNome, (QWidget *)e->ButtonCodice,
          (QWidget *)e->ButtonMemorizza, (QWidget *)e->ButtonAnnulla, (QWidget *)e->ButtonAggiorna})
        EXPECT_TRUE(w->isEnabled()) << w->objectName().toStdString();
    e->MainQuery->FieldByName("NOME")->setAsString("otto");
    e->ButtonMemorizza->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(codiceCorrente(*e), 8);
    EXPECT_EQ(e->salvataggi, 1);
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=8"), "otto");
}

TEST_F(EditorTest, NuovoAtTheColumnsLimitStaysBrowsing)
{
    progetto(32767, "ultimo");
    auto e = apri();
    rec.expect(TMsgDlgType::Error, "Nessun codice disponibile oltre 32767");
    e->ButtonNuovo->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsBrowse);
    EXPECT_EQ(e->MainQuery->RecordCount(), 1);
}

TEST_F(EditorTest, StandardMessagesWithNothingToDo)
{
    auto e = apri();
    rec.expect(TMsgDlgType::Information, "Non ci sono modifiche da salvare")
        .expect(TMsgDlgType::Confirmation, "Non ci sono modifiche da annullare")
        .expect(TMsgDlgType::Information,
                "Non ci sono record da editare. Premere \"Nuovo\" per inserire un nuovo record")
        .expect(TMsgDlgType::Information, "La tabella è vuota");
    e->ButtonMemorizza->click();
    e->ButtonAnnulla->click();
    e->ButtonEdit->click();
    e->ButtonElimina->click();
    EXPECT_FALSE(e->Editing());
    ASSERT_EQ(rec.seen().size(), 4);
    EXPECT_EQ(rec.seen()[1].buttons, TMsgDlgButtons::Ok);
}

TEST_F(EditorTest, AnnullaAfterNuovoLeavesNoTraceAndReturnsToTheRow)
{
    progetto(1, "uno");
    progetto(2, "due");
    progetto(3, "tre");
    auto e = apri();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));
    e->ButtonNuovo->click();
    e->MainQuery->FieldByName("NOME")->setAsString("nuovo");
    e->MainQuery->Post(); // even a posted row goes
    rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrNo);
    e->ButtonAnnulla->click();
    EXPECT_TRUE(e->Editing());
    rec.expect(TMsgDlgType::Confirmation, kAnnullare, mrYes);
    e->ButtonAnnulla->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(e->MainQuery->RecordCount(), 3);
    EXPECT_EQ(codiceCorrente(*e), 2);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "3");
}

TEST_F(EditorTest, AggiornaWhileEditingSavesOrDiscardsWithOneQuestion)
{
    progetto(1, "uno");
    auto e = apri();
    e->ButtonEdit->click();
    EXPECT_EQ(e->MainQuery->State(), dsEdit);
    e->MainQuery->FieldByName("NOME")->setAsString("perso");
    rec.expect(TMsgDlgType::Confirmation, kAggiornare, mrNo);
    e->ButtonAggiorna->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(e->MainQuery->FieldByName("NOME")->AsString(), "uno");
    EXPECT_EQ(rec.seen().size(), 1);

    e->ButtonEdit->click();
    e->MainQuery->FieldByName("NOME")->setAsString("tenuto");
    rec.expect(TMsgDlgType::Confirmation, kAggiornare, mrYes);
    e->ButtonAggiorna->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=1"), "tenuto");
}

TEST_F(EditorTest, AggiornaReturnsToTheRowOrToTheFirstWhenItIsGone)
{
    for (int i = 1; i <= 3; ++i)
        progetto(i, QString::number(i));
    auto e = apri();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 3));
    other("UPDATE PROGETTI SET NOME='cambiato' WHERE CODICE=3");
    e->ButtonAggiorna->click();
    EXPECT_EQ(codiceCorrente(*e), 3);
    EXPECT_EQ(e->MainQuery->FieldByName("NOME")->AsString(), "cambiato");
    other("DELETE FROM PROGETTI WHERE CODICE=3");
    e->ButtonAggiorna->click();
    EXPECT_EQ(codiceCorrente(*e), 1);
}

TEST_F(EditorTest, ClosingWhileEditingAsksAndSavesOrDiscards)
{
    progetto(1, "uno");
    for (int answer : {mrYes, mrNo}) {
        auto e = apri();
        e->show();
        e->ButtonEdit->click();
        e->MainQuery->FieldByName("NOME")->setAsString(answer == mrYes ? "salvato" : "scartato");
        rec.expect(TMsgDlgType::Confirmation, kSalvare, answer);
        EXPECT_TRUE(e->close());
        EXPECT_FALSE(e->isVisible());
        EXPECT_FALSE(e->Editing());
    }
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=1"), "salvato");

    // Browsing, the window closes without a question, also through Esc.
    auto e = apri();
    e->show();
    e->reject();
    EXPECT_FALSE(e->isVisible());
}

TEST_F(EditorTest, ClosingWithYesAndARefusedOrFailedSaveKeepsTheEdit)
{
    progetto(1, "uno");
    auto e = apri();
    e->show();
    e->ButtonEdit->click();
    e->MainQuery->FieldByName("NOME")->setAsString("modificato");
    e->rifiuta = true;
    rec.expect(TMsgDlgType::Confirmation, kSalvare, mrYes)
        .expect(TMsgDlgType::Warning, "Nome non valido");
    e->reject(); // Esc
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsEdit);
    EXPECT_EQ(e->MainQuery->FieldByName("NOME")->AsString(), "modificato");

    // A save the database refuses: its message, and the row stays to be fixed.
    e->rifiuta = false;
    e->MainQuery->Cancel();
    e->Annullamento();
    e->ButtonNuovo->click();
    e->MainQuery->FieldByName("NOME")->setAsString("nuovo");
    progetto(2, "altrui"); // another user takes the new code first
    rec.expect(TMsgDlgType::Confirmation, kSalvare, mrYes);
    rec.allowAny();
    EXPECT_FALSE(e->close());
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 4);
    EXPECT_EQ(rec.seen().last().kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen().last().text.contains("PROGETTI_CHIAVEPRIMARIA"))
        << rec.seen().last().text.toStdString();
    EXPECT_TRUE(e->isVisible());
    EXPECT_TRUE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsInsert);
    EXPECT_EQ(e->MainQuery->FieldByName("NOME")->AsString(), "nuovo");

    // Corrected, it saves.
    e->MainQuery->FieldByName("CODICE")->setAsInteger(3);
    e->ButtonMemorizza->click();
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=3"), "nuovo");
}

TEST_F(EditorTest, EliminaAsksChecksDependantsAndDeletes)
{
    progetto(1, "uno");
    progetto(2, "due");
    progetto(3, "tre");
    other("INSERT INTO DETTPROGETTI (PROGETTO, PROGRAMMA) VALUES (1, 5)");
    auto e = apri();
    rec.expect(TMsgDlgType::Warning, "Dipendenti presenti");
    e->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "3");

    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrNo);
    e->ButtonElimina->click();
    EXPECT_EQ(codiceCorrente(*e), 2);
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "3");

    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    e->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI WHERE CODICE=2"), "0");
    EXPECT_EQ(e->MainQuery->RecordCount(), 2);
    EXPECT_EQ(Tag(e->ButtonAggiorna), 0);
}

TEST_F(EditorTest, EliminaOfARowAnotherUserDeleted)
{
    progetto(1, "uno");
    progetto(2, "due");
    auto e = apri();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));
    tab->IBTransaction1->Commit();
    e->MainQuery->Open();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));
    other("DELETE FROM PROGETTI WHERE CODICE=2");
    rec.expect(TMsgDlgType::Warning, "Il record selezionato non è stato trovato");
    e->ButtonElimina->click();
    other("DELETE FROM PROGETTI");
    rec.expect(TMsgDlgType::Information, "La tabella è vuota");
    e->ButtonElimina->click();
}

TEST_F(EditorTest, AFailedDeleteShowsTheDatabasesMessageAndKeepsBrowsing)
{
    progetto(1, "uno");
    other("CREATE EXCEPTION NO_DELETE 'cancellazione vietata'");
    other("CREATE TRIGGER PROGETTI_BD FOR PROGETTI BEFORE DELETE AS BEGIN EXCEPTION NO_DELETE; "
          "END");
    auto e = apri();
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    rec.allowAny();
    e->ButtonElimina->click();
    ASSERT_EQ(rec.seen().size(), 2);
    const QString text = rec.seen()[1].text;
    EXPECT_EQ(rec.seen()[1].kind, TMsgDlgType::Error);
    EXPECT_TRUE(text.startsWith("Errore interno: impossibile cancellare il record\r"));
    EXPECT_TRUE(text.contains("cancellazione vietata")) << text.toStdString();
    EXPECT_FALSE(e->Editing());
    EXPECT_TRUE(e->ButtonNuovo->isEnabled());
    EXPECT_EQ(e->MainQuery->RecordCount(), 1);
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "1");
}

TEST_F(EditorTest, CodeChangeRefusesCodesInUseAndAnythingButANumberInRange)
{
    progetto(1, "uno");
    progetto(2, "due");
    auto e = apri();
    e->ButtonEdit->click();
    e->mostra();

    rispondiCodice("2"); // another row's
    rec.expect(TMsgDlgType::Warning, kInUso);
    e->ButtonCodice->click();
    EXPECT_EQ(promptVisto, "Inserire il nuovo codice");
    rispondiCodice("1"); // its own, already stored
    rec.expect(TMsgDlgType::Warning, kInUso);
    e->ButtonCodice->click();
    rispondiCodice("");
    rec.expect(TMsgDlgType::Warning, "Si prega di inserire un valore");
    e->ButtonCodice->click();
    for (const char *bad : {"abc", "99999", "1' OR '1'='1"}) {
        rispondiCodice(bad);
        rec.expect(TMsgDlgType::Error, kFuoriIntervallo);
        e->ButtonCodice->click();
    }
    rispondiCodice("5", false); // Cancel
    e->ButtonCodice->click();
    EXPECT_EQ(codiceCorrente(*e), 1);
    EXPECT_EQ(e->focusWidget(), e->EditCodice);

    // A free code is taken and the save rewrites the stored row's key.
    rispondiCodice(" 9 ");
    e->ButtonCodice->click();
    EXPECT_EQ(codiceCorrente(*e), 9);
    e->ButtonMemorizza->click();
    EXPECT_EQ(codiceCorrente(*e), 9);
    EXPECT_EQ(committed("SELECT LIST(CODICE) FROM (SELECT CODICE FROM PROGETTI ORDER BY CODICE)"),
              "2,9");
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=9"), "uno");
}

TEST_F(EditorTest, CodeChangeOfANewRowAcceptsItsOwnCode)
{
    progetto(1, "uno");
    auto e = apri();
    e->ButtonNuovo->click();
    rispondiCodice("2");
    e->ButtonCodice->click();
    EXPECT_EQ(codiceCorrente(*e), 2);
    e->MainQuery->FieldByName("NOME")->setAsString("due");
    e->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT NOME FROM PROGETTI WHERE CODICE=2"), "due");
}

namespace {

// The menu entries of one program: a key of two columns, one fixed by the parent.
class MenuEditor : public TRecordEditorForm
{
public:
    MenuEditor(TTabForm *&tabForm, int programma)
        : TRecordEditorForm(nullptr, tabForm,
                            {"DETTMENU", {"PROGRAMMA", "MENU"}, "MENU", {{"PROGRAMMA", programma}}})
    {
        Apri();
    }
};

} // namespace

TEST_F(EditorTest, AParentsRowsAreNumberedAndKeyedWithinIt)
{
    for (const char *row : {"1, 1", "1, 4", "2, 9"})
        other(QString("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (%1, 'x')")
                  .arg(row));
    tab->IBTransaction1->Commit();
    MenuEditor e(tabVar, 1);
    EXPECT_EQ(e.MainQuery->RecordCount(), 2);
    EXPECT_EQ(e.MainUpdate->ModifySQL.mid(e.MainUpdate->ModifySQL.size() - 2),
              (QStringList{"WHERE (PROGRAMMA=:OLD_PROGRAMMA)AND", "(MENU=:OLD_MENU)"}));
    e.ButtonNuovo->click();
    EXPECT_EQ(e.MainQuery->FieldByName("PROGRAMMA")->AsInteger(), 1);
    EXPECT_EQ(e.MainQuery->FieldByName("MENU")->AsInteger(), 5);

    rispondiCodice("4");
    rec.expect(TMsgDlgType::Warning, kInUso);
    e.ButtonCodiceClick();
    rispondiCodice("9"); // taken in another program only
    e.ButtonCodiceClick();
    e.ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU WHERE PROGRAMMA=1 AND MENU=9"), "1");
    EXPECT_EQ(e.MainQuery->FieldByName("MENU")->AsInteger(), 9);
}

TEST_F(EditorTest, LabelButtonsFocusTheirControl)
{
    progetto(1, "uno");
    auto e = apri();
    e->ButtonEdit->click();
    e->ButtonNome->click();
    EXPECT_EQ(e->focusWidget(), e->EditNome);
}

TEST_F(EditorTest, NuovoAndEditFocusTheFirstBoxToTypeIn)
{
    progetto(1, "uno");
    auto e = apri();
    e->show();
    QApplication::processEvents();
    for (QPushButton *comando : {e->ButtonNuovo, e->ButtonEdit}) {
        e->ButtonAnnulla->setFocus();
        comando->click();
        // The key box is read-only: the name is the first box to type in.
        EXPECT_EQ(e->focusWidget(), e->EditNome) << comando->objectName().toStdString();
        rec.allowAny();
        e->ButtonAnnulla->click();
    }
}

TEST_F(EditorTest, SignalHandlersGetTheArgumentsAndAFailureIsReportedNotThrown)
{
    progetto(1, "uno");
    auto e = apri();
    e->ButtonEdit->click();
    emit e->EditNome->textEdited("due");
    rec.allowAny();
    emit e->EditNome->textEdited("errore");
    EXPECT_EQ(e->digitati, QStringList({"due", "errore"}));
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_EQ(rec.seen()[0].text, "nome rifiutato");
    EXPECT_TRUE(e->Editing());
}

TEST_F(EditorTest, OpensAndShowsItsModeWithoutThePictures)
{
    QFile::remove(dir.path() + "/Grafica/Verde.bmp");
    QFile::remove(dir.path() + "/Grafica/Rosso.bmp");
    auto e = apri();
    EXPECT_FALSE(e->ButtonAggiorna->icon().isNull());
    e->ButtonNuovo->click();
    EXPECT_TRUE(e->Editing());
    EXPECT_FALSE(e->ButtonAggiorna->icon().isNull());
}

TEST(EditorStatements, FuzzedTypedCodesGiveANumberInRangeOrNothing)
{
    std::mt19937 rng(13);
    const QString alphabet = QStringLiteral("0123456789+- '\"abcxe.;,\t\r\n١٢") + QChar(0xFF10);
    const QRegularExpression plain("^[+-]?[0-9]+$");
    for (int i = 0; i < 20000; ++i) {
        QString text;
        const int len = int(rng() % 9);
        for (int k = 0; k < len; ++k)
            text += alphabet[int(rng() % alphabet.size())];
        for (TFieldType type : {ftSmallint, ftInteger}) {
            const auto code = EditorSQL::parseCode(text, type);
            const QString t = text.trimmed();
            bool ok = false;
            const qint64 v = t.toLongLong(&ok);
            const bool expected = plain.match(t).hasMatch() && ok &&
                                  v >= EditorSQL::minCode(type) &&
                                  v <= EditorSQL::maxCodeValue(type);
            ASSERT_EQ(bool(code), expected) << text.toStdString();
            if (code)
                ASSERT_EQ(*code, v);
        }
    }
}

TEST_F(EditorTest, FuzzedCodeChangesReachTheDatabaseOnlyAsFreeNumbers)
{
    progetto(1, "uno");
    progetto(3, "tre");
    auto e = apri();
    e->ButtonEdit->click();
    std::mt19937 rng(2024);
    const QString alphabet = QStringLiteral("0123456789-' abc;");
    for (int i = 0; i < 60; ++i) {
        QString text;
        const int len = int(rng() % 7);
        for (int k = 0; k < len; ++k)
            text += alphabet[int(rng() % alphabet.size())];
        const int before = codiceCorrente(*e);
        rispondiCodice(text);
        rec.allowAny();
        rec.clear();
        e->ButtonCodice->click();
        rec.allowAny(false);
        const auto code = EditorSQL::parseCode(text, ftSmallint);
        if (rec.seen().isEmpty()) {
            ASSERT_TRUE(code) << text.toStdString();
            ASSERT_EQ(codiceCorrente(*e), *code);
            ASSERT_NE(*code, 3);
        } else {
            ASSERT_EQ(rec.seen().size(), 1) << text.toStdString();
            const QString shown = rec.seen().first().text;
            ASSERT_TRUE(shown == kInUso || shown == kFuoriIntervallo ||
                        shown == "Si prega di inserire un valore")
                << shown.toStdString();
            ASSERT_EQ(codiceCorrente(*e), before);
        }
    }
    e->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "2");
}

// ---- The hooks the editors override ----------------------------------------------

TEST_F(EditorTest, EliminaRunsItsHooksInOrderAndTheLinkedRowsGoInTheSameCommit)
{
    progetto(1, "uno");
    progetto(2, "due");
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, DESCRIZIONE) VALUES (2, 1, 'x')");
    auto e = apri();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));

    // Refused on the row found again: nothing asked, nothing deleted.
    e->rigaRifiutata = true;
    e->ButtonElimina->click();
    EXPECT_EQ(e->passi, QStringList{"trovata 2"});

    e->rigaRifiutata = false;
    e->collegatiFalliscono = true;
    e->passi.clear();
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    rec.allowAny();
    e->ButtonElimina->click();
    ASSERT_EQ(rec.seen().size(), 2);
    EXPECT_EQ(rec.seen()[1].text,
              "Errore interno: impossibile cancellare il record\rcollegati non eliminati");
    // Rolled back: the editor and the shared transaction still hold both.
    EXPECT_EQ(e->MainQuery->RecordCount(), 2);
    EXPECT_EQ(codiceCorrente(*e), 2);
    tab->IBTransaction1->Commit();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "1");

    e->collegatiFalliscono = false;
    e->passi.clear();
    rec.clear();
    e->ButtonAggiorna->click();
    ASSERT_TRUE(e->MainQuery->Locate("CODICE", 2));
    rec.expect(TMsgDlgType::Confirmation, kCancellare, mrYes);
    e->ButtonElimina->click();
    EXPECT_EQ(e->passi, (QStringList{"trovata 2", "collegati", "dopo"}));
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "1");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU"), "0");
}

TEST_F(EditorTest, NuovoStopsWhenTheKeyIsNotChosen)
{
    progetto(4, "quattro");
    auto e = apri();
    e->nuovoRifiutato = true;
    e->ButtonNuovo->click();
    EXPECT_EQ(e->passi, QStringList{"chiave"});
    EXPECT_FALSE(e->Editing());
    EXPECT_EQ(e->MainQuery->State(), dsBrowse);
    EXPECT_EQ(e->MainQuery->RecordCount(), 1);
}

TEST_F(EditorTest, HelpersForTheParticulars)
{
    progetto(4, "quattro");
    progetto(9, "nove");
    auto e = apri();
    EXPECT_EQ(e->ProssimoCodice(), "10");

    // A browsed row is put in edit state; the mode is the editor's to set.
    e->ScriviCampo("NOME", "nuovo");
    EXPECT_EQ(e->MainQuery->State(), dsEdit);
    EXPECT_EQ(e->MainQuery->FieldByName("NOME")->AsString(), "nuovo");
    e->MainQuery->Cancel();

    // The mode is kept by the editor and shown by the status button; the
    // archive object's protocol marking a save is followed.
    e->ButtonEdit->click();
    EXPECT_EQ(Tag(e->ButtonAggiorna), 1);
    tab->MostraStato(e->ButtonAggiorna, 0);
    EXPECT_FALSE(e->Editing());
    rec.expect(TMsgDlgType::Confirmation, "Non ci sono modifiche da annullare");
    e->ButtonAnnulla->click();
    e->MainQuery->Cancel();

    // The reset asks, deletes, commits and shows the rows again.
    rec.expect(TMsgDlgType::Confirmation, "Azzerare?", mrNo);
    EXPECT_FALSE(e->AzzeraRighe("Azzerare?", {"DELETE FROM PROGETTI WHERE CODICE>:C"}, {{"C", 5}}));
    rec.expect(TMsgDlgType::Confirmation, "Azzerare?", mrYes);
    EXPECT_TRUE(e->AzzeraRighe("Azzerare?", {"DELETE FROM PROGETTI WHERE CODICE>:C"}, {{"C", 5}}));
    EXPECT_EQ(committed("SELECT COUNT(*) FROM PROGETTI"), "1");
    EXPECT_EQ(e->MainQuery->RecordCount(), 1);
    EXPECT_EQ(rec.pending(), 0);
}
