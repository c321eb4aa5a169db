#include "dataerrors.h"
#include "dbcontrols.h"
#include "dberrortext.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "pathutil.h"
#include "pravlinrows.h"
#include "ricprofform.h"
#include "ricprogform.h"
#include "tag.h"
#include "utentiform.h"
#include "utentitest.h"
#include "utentiverifica.h"
#include "win1252.h"

#include <QCheckBox>
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QPushButton>
#include <QSet>
#include <random>

namespace {

const QChar kAcuto(0x00B4);

class UtentiFormTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        profilo(1);
        progetto(1);
    }

    // Edit X on the current user, a new parameter text typed in the memo.
    void scrivi(TUtentiForm &f, const QString &testo)
    {
        if (!f.Editing())
            f.ButtonEdit->click();
        f.MemoPravlin->setPlainText(testo);
    }
    // The save's error box: the statement's text, a CR, the database's
    // message naming what refused the row.
    void attendiErroreInsert(TUtentiForm &f, const QString &chiave)
    {
        rec.allowAny();
        f.ButtonMemorizza->click();
        rec.allowAny(false);
        ASSERT_EQ(rec.seen().size(), 1);
        EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
        const QString testo = rec.seen()[0].text;
        EXPECT_TRUE(testo.startsWith(Pravlin::MsgErroreInsert + "\r")) << testo.toStdString();
        EXPECT_TRUE(testo.contains(chiave)) << testo.toStdString();
        rec.clear();
    }
    // A row the database refuses though the text passes every check.
    void rifiutaParametro()
    {
        other("ALTER TABLE TABPRAVLIN ADD CONSTRAINT RIFIUTATO CHECK (PARAMETRO <> 'Rifiutato')");
    }
};

const QString kTestoCompleto = "[ALFA]\r\n"
                               "Lingua=IT\r\n"
                               "Formula=a=b\r\n"
                               "Nota=l'ultima\r\n"
                               "Vuoto=\r\n"
                               "\r\n"
                               "Sperduto=1\r\n"
                               "senza uguale\r\n"
                               "[BETA <INATTIVA>]\r\n"
                               "Lingua=EN\r\n"
                               "[ALFA]\r\n"
                               "Directory bin=C:\\Suite\\\r\n"
                               "[GAMMA]\r\n"
                               "Ultimo=fine";

} // namespace

TEST_F(UtentiFormTest, OpeningRebuildsEveryTextFromItsRows)
{
    utente(1, "anna", "ALFA", "[ALFA]\r\nrighe perse\r\n\r\nLingua=IT");
    riga(1, "BETA", "Lingua", "EN", 1);
    riga(1, "ALFA", "Nota", QString("l") + kAcuto + "ultima", 3);
    riga(1, "ALFA", "Vuoto", QVariant(), 2);
    riga(1, "L'Aquila", "Sede", "1", 4);
    utente(2, "bruno", "ALFA", "[ALFA]\r\nx=1");
    auto f = apri();
    // Sections in the database's order, LF only, the apostrophe as stored,
    // a section name with an apostrophe as typed.
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
              QString("[ALFA]\nVuoto=\nNota=l") + kAcuto +
                  "ultima\n[BETA]\nLingua=EN\n[L'Aquila]\nSede=1\n");
    // A user without rows has no text at all.
    EXPECT_FALSE(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=2").isValid());
    EXPECT_EQ(f->QueryUtenti->SQL, QStringList{"SELECT * FROM UTENTI ORDER BY CODICE"});
    EXPECT_EQ(f->UpdateUtenti->ModifySQL.last(), "WHERE (CODICE=:OLD_CODICE)");
    EXPECT_EQ(f->UpdateUtenti->DeleteSQL,
              (QStringList{"DELETE FROM \"UTENTI\"", "WHERE (CODICE=:CODICE)"}));
    // The shared transaction sees the rebuilt texts; the memo shows lines
    // with CR LF.
    EXPECT_EQ(f->MemoPravlin->text(),
              QString("[ALFA]\r\nVuoto=\r\nNota=l") + kAcuto +
                  "ultima\r\n[BETA]\r\nLingua=EN\r\n[L'Aquila]\r\nSede=1\r\n");
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(f->windowTitle(), "Gestione utenti");
}

TEST_F(UtentiFormTest, AUserWhoseRebuildFailsIsReportedAndTheOthersFollow)
{
    utente(1, "anna", "ALFA", QString());
    utente(2, "bruno", "ALFA", QString());
    utente(3, "carla", "ALFA", QString());
    for (int u : {1, 2, 3})
        riga(u, "ALFA", "Lingua", "IT", 1);
    other("CREATE EXCEPTION UTENTE_BLOCCATO 'utente bloccato'");
    other("CREATE TRIGGER UTENTI_BLOCCO FOR UTENTI BEFORE UPDATE AS BEGIN "
          "IF (NEW.CODICE = 2) THEN EXCEPTION UTENTE_BLOCCATO; END");
    rec.allowAny();
    auto f = apri();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.startsWith("Errore interno di UPDATE"));
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
              "[ALFA]\nLingua=IT\n");
    EXPECT_FALSE(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=2").isValid());
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=3").toString(),
              "[ALFA]\nLingua=IT\n");
    EXPECT_EQ(f->QueryUtenti->RecordCount(), 3);
}

TEST_F(UtentiFormTest, AUserAddedByAnotherProgramAfterTheSharedSnapshotIsRebuiltToo)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Lingua", "IT", 1);
    nuovoSnapshot();
    ASSERT_EQ(ArchiveTest::righe("SELECT CODICE FROM UTENTI"), QStringList{"1"});
    utente(2, "bruno", "ALFA", "[ALFA]\r\nvecchio");
    riga(2, "ALFA", "Lingua", "EN", 1);
    TUtentiForm f(nullptr, tabVar);
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
              "[ALFA]\nLingua=IT\n");
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=2").toString(),
              "[ALFA]\nLingua=EN\n");
    EXPECT_EQ(f.QueryUtenti->RecordCount(), 2);
}

TEST_F(UtentiFormTest, WithoutTheTableServicesTheEditorDoesNotOpen)
{
    // The table-services object looks for user/user.fdb under the program
    // folder: a file named "user" there stops it.
    QTemporaryDir altrove;
    QFile bloccante(altrove.path() + "/user");
    ASSERT_TRUE(bloccante.open(QIODevice::WriteOnly));
    bloccante.close();
    nuovoSnapshot();
    setProgramFolder(altrove.path());
    // The location dialog is cancelled.
    rispondi([](QDialog *) { return int(mrCancel); });
    rec.allowAny();
    bool aperto = true;
    try {
        TUtentiForm f(nullptr, tabVar);
    } catch (const EAbort &) {
        aperto = false;
    }
    rec.allowAny(false);
    EXPECT_FALSE(aperto);
    EXPECT_EQ(rec.texts(), (QStringList{"Non trovato dati.ini",
                                        "Apertura / creazione del database non riuscita!",
                                        "Errore inizializzazione database utenti"}));
}

TEST_F(UtentiFormTest, SaveWritesTheUserAndItsRowsInOneCommit)
{
    utente(5, "anna", "ALFA", QString());
    riga(5, "VECCHIA", "X", "1", 1);
    auto f = apri();
    scrivi(*f, kTestoCompleto);
    // The rows must not reach another connection before the user does.
    EXPECT_EQ(righe(5), QStringList{"VECCHIA|X|1|1"});
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(5), (QStringList{"ALFA|Lingua|IT|1", "ALFA|Formula|a=b|2",
                                     QString("ALFA|Nota|l") + kAcuto + "ultima|3",
                                     "ALFA|Vuoto|<NULL>|4", "BETA <INATTIVA>|Lingua|EN|5",
                                     "ALFA|Directory bin|C:\\Suite\\|6", "GAMMA|Ultimo|fine|7"}));
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=5").toString(), kTestoCompleto);
    EXPECT_EQ(f->QueryUtenti->FieldByName("CODICE")->AsInteger(), 5);

    // The next opening shows the canonical text built from the rows.
    f.reset();
    f = apri();
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=5").toString(),
              QString("[ALFA]\nLingua=IT\nFormula=a=b\nNota=l") + kAcuto +
                  "ultima\nVuoto=\nDirectory bin=C:\\Suite\\\n[BETA <INATTIVA>]\nLingua=EN\n"
                  "[GAMMA]\nUltimo=fine\n");
}

TEST_F(UtentiFormTest, AFailedPostTakesTheRowsBackAndShowsOnlyTheDatabasesMessage)
{
    utente(1, "anna", "ALFA", QString());
    auto f = apri();
    f->ButtonNuovo->click();
    for (auto [campo, testo] : {std::pair{"NOMEUTENTE", "bruno"},
                                {"DITTA", "ALFA"},
                                {"PROFILOSICUREZZA", "1"},
                                {"PROGETTO", "1"},
                                {"PWDUTENTE", "Segretissima"}})
        f->QueryUtenti->FieldByName(campo)->setAsString(testo);
    f->MemoPravlin->setPlainText("[ALFA]\r\nLingua=IT");
    // Another program takes the new code meanwhile.
    utente(2, "carla", "ALFA", QString());
    const QStringList prima = istantanea();
    rec.allowAny();
    f->ButtonMemorizza->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Error);
    EXPECT_TRUE(rec.seen()[0].text.contains("UTENTI")) << rec.seen()[0].text.toStdString();
    EXPECT_FALSE(rec.seen()[0].text.contains("Segretissima"));
    EXPECT_EQ(istantanea(), prima);
    EXPECT_TRUE(righe(2).isEmpty());
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->EditNomeUtente->text(), "bruno");
    rec.clear();

    // Closing with a save that fails keeps the window and the edit.
    rec.expect(TMsgDlgType::Confirmation, "Salvare le modifiche prima di chiudere la finestra?",
               mrYes);
    rec.allowAny();
    f->reject();
    rec.allowAny(false);
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(istantanea(), prima);
}

TEST_F(UtentiFormTest, ADuplicateParameterLeavesUserAndRowsAsTheyWere)
{
    utente(5, "anna", "ALFA", QString());
    riga(5, "ALFA", "X", "1", 1);
    auto f = apri();
    const QString doppio = "[ALFA]\r\nLingua=IT\r\nLingua=EN";
    const QStringList prima = istantanea();
    scrivi(*f, doppio);
    f->QueryUtenti->FieldByName("NOMEUTENTE")->setAsString("annamaria");
    // Refused before anything is written.
    rec.expect(TMsgDlgType::Warning,
               "Ditta \"ALFA\", parametrizzazione \"Lingua\": parametro ripetuto");
    f->ButtonMemorizza->click();
    EXPECT_EQ(rec.pending(), 0);
    EXPECT_EQ(istantanea(), prima);
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(Tag(f->ButtonAggiorna), 1);
    EXPECT_EQ(f->MemoPravlin->text(), doppio);
    EXPECT_EQ(f->EditNomeUtente->text(), "annamaria");
    // Corrected, the same edit saves.
    f->MemoPravlin->setPlainText("[ALFA]\r\nLingua=IT");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(5), QStringList{"ALFA|Lingua|IT|1"});
    EXPECT_EQ(valore("SELECT NOMEUTENTE FROM UTENTI WHERE CODICE=5").toString(), "annamaria");
}

TEST_F(UtentiFormTest, AFailedSaveOfANewUserLeavesNoTrace)
{
    utente(1, "anna", "ALFA", QString());
    rifiutaParametro();
    auto f = apri();
    const QStringList prima = istantanea();
    f->ButtonNuovo->click();
    ASSERT_TRUE(f->Editing());
    for (auto [campo, testo] : {std::pair{"NOMEUTENTE", "bruno"},
                                {"DITTA", "ALFA"},
                                {"PROFILOSICUREZZA", "1"},
                                {"PROGETTO", "1"}})
        f->QueryUtenti->FieldByName(campo)->setAsString(testo);
    f->MemoPravlin->setPlainText("[ALFA]\r\nA=1\r\nRifiutato=2");
    attendiErroreInsert(*f, "RIFIUTATO");
    EXPECT_EQ(istantanea(), prima);
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->QueryUtenti->State(), dsInsert);
    // Annulla brings back the stored rows only.
    rec.expect(TMsgDlgType::Confirmation, "Conferma l'annullamento delle modifiche apportate?",
               mrYes);
    f->ButtonAnnulla->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(f->QueryUtenti->RecordCount(), 1);
    EXPECT_EQ(f->EditNomeUtente->text(), "anna");
}

TEST_F(UtentiFormTest, AChangedCodeTakesTheRowsAlongInTheSameCommit)
{
    utente(3, "anna", "ALFA", QString());
    riga(3, "ALFA", "Lingua", "IT", 1);
    rifiutaParametro();
    auto f = apri();
    f->ButtonEdit->click();
    rispondi([](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        EXPECT_EQ(dlg->Label1->text(), "Inserire il nuovo codice");
        dlg->Edit1->setText("9");
        dlg->OKBtn->click();
        return dlg->result();
    });
    f->ButtonCodice->click();
    EXPECT_EQ(f->EditCodice->text(), "9");
    // First a refused text: nothing moves.
    const QStringList prima = istantanea();
    f->MemoPravlin->setPlainText("[ALFA]\r\nLingua=IT\r\nRifiutato=EN");
    attendiErroreInsert(*f, "RIFIUTATO");
    EXPECT_EQ(istantanea(), prima);
    EXPECT_EQ(f->EditCodice->text(), "9");
    f->MemoPravlin->setPlainText("[ALFA]\r\nLingua=DE");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(9), QStringList{"ALFA|Lingua|DE|1"});
    // The old code's rows stay, as nothing names them any more.
    EXPECT_EQ(righe(3), QStringList{"ALFA|Lingua|IT|1"});
    EXPECT_EQ(committed("SELECT COUNT(*) FROM UTENTI WHERE CODICE=9"), "1");
    EXPECT_EQ(committed("SELECT COUNT(*) FROM UTENTI WHERE CODICE=3"), "0");
    EXPECT_EQ(f->QueryUtenti->FieldByName("CODICE")->AsInteger(), 9);
}

TEST_F(UtentiFormTest, ATextWithOnlyTheHeaderIsRefusedAndTheRowsStay)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Lingua", "IT", 1);
    auto f = apri();
    const QStringList prima = istantanea();
    scrivi(*f, "[ALFA]");
    // Stored without rows, the text would come back empty at the next
    // opening and refuse every later change of the user.
    rec.expect(TMsgDlgType::Warning, "Ditta \"ALFA\": ditta senza parametri");
    f->ButtonMemorizza->click();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(istantanea(), prima);
    EXPECT_EQ(righe(1), QStringList{"ALFA|Lingua|IT|1"});
}

TEST_F(UtentiFormTest, ACharacterTheCodePageCannotHoldIsRefusedBeforeWriting)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Lingua", "IT", 1);
    auto f = apri();
    const QStringList prima = istantanea();
    scrivi(*f, QString("[ALFA]\r\nLingua=") + QChar(0x03A9));
    rec.expect(TMsgDlgType::Error,
               QString("Il campo PRAVLIN contiene un carattere che non può essere memorizzato: "
                       "\"") +
                   QChar(0x03A9) + "\"");
    f->ButtonMemorizza->click();
    EXPECT_EQ(istantanea(), prima);
    EXPECT_TRUE(f->Editing());
    // In the notes too; the euro sign is in the code page.
    f->MemoPravlin->setPlainText(QString("[ALFA]\r\nLingua=") + QChar(0x20AC));
    f->MemoNote->setPlainText(QString("nota ") + QChar(0x4E2D));
    rec.expect(TMsgDlgType::Error,
               QString("Il campo NOTE contiene un carattere che non può essere memorizzato: \"") +
                   QChar(0x4E2D) + "\"");
    f->ButtonMemorizza->click();
    EXPECT_EQ(istantanea(), prima);
    // Not one character of a password is shown.
    f->MemoNote->setPlainText("nota");
    f->QueryUtenti->FieldByName("PWDUTENTE")->setAsString(QString("pw") + QChar(0x03A9));
    rec.expect(TMsgDlgType::Error,
               "Il campo PWDUTENTE contiene un carattere che non può essere memorizzato");
    f->ButtonMemorizza->click();
    EXPECT_EQ(istantanea(), prima);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(UtentiFormTest, MemosKeepCrLfBetweenLinesAndScrollWhileBrowsing)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Lingua", "IT", 1);
    auto f = apri();
    EXPECT_TRUE(f->MemoPravlin->isEnabled());
    EXPECT_TRUE(f->MemoPravlin->isReadOnly());
    EXPECT_TRUE(f->MemoNote->isReadOnly());
    f->ButtonEdit->click();
    EXPECT_FALSE(f->MemoPravlin->isReadOnly());
    EXPECT_FALSE(f->MemoNote->isReadOnly());
    f->MemoNote->setPlainText("uno\ndue");
    f->MemoPravlin->setPlainText("[ALFA]\nLingua=IT");
    f->ButtonMemorizza->click();
    EXPECT_EQ(valore("SELECT NOTE FROM UTENTI WHERE CODICE=1").toString(), "uno\r\ndue");
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
              "[ALFA]\r\nLingua=IT");
}

// Typed texts of every kind, from a fixed seed: a save either writes the
// user and exactly the text's rows, or is refused and writes nothing; it
// saves whenever the text is acceptable.
TEST_F(UtentiFormTest, TypedTextsSaveWholeOrNotAtAll)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Iniziale", "1", 1);
    auto f = apri();
    const QStringList pezzi = {"[ALFA]",
                               "[BETA <INATTIVA>]",
                               "[L'Aquila]",
                               "[",
                               "[]",
                               "",
                               "Lingua=IT",
                               "Lingua=EN",
                               "Nota=l'ultima",
                               "Formula=a=b",
                               "Vuoto=",
                               "=senza nome",
                               "senza uguale",
                               "Directory bin=C:\\Suite\\",
                               "Directory bin=C:\\Suite",
                               QString(65, 'N') + "=lungo",
                               "Lungo=" + QString(257, 'v'),
                               "Simbolo=" + QString(QChar(0x03A9)),
                               "Euro=" + QString(QChar(0x20AC)),
                               " Spazio = s "};
    std::mt19937 caso(20261209);
    int salvati = 0, rifiutati = 0;
    for (int giro = 0; giro < 100; ++giro) {
        QStringList righeTesto;
        const int n = 1 + int(caso() % 8);
        for (int i = 0; i < n; ++i)
            righeTesto << pezzi[int(caso() % pezzi.size())];
        if (caso() % 3 != 0)
            righeTesto.prepend("[ALFA]");
        const QString testo = righeTesto.join(caso() % 2 ? "\r\n" : "\n");

        // What must happen, from the text alone.
        const QVector<TPravlin> voci = Pravlin::DividiPravlin(testo);
        QString sezione;
        bool accettabile = Win1252::canEncode(testo) && Pravlin::DittaPresente(testo, "ALFA");
        try {
            Pravlin::CheckParametri(testo);
        } catch (const ECheckParametri &) {
            accettabile = false;
        }
        // Every header must give a row: a section of which nothing is
        // stored would be lost.
        bool sezioneVuota = false;
        for (const QString &r : testo.split('\n')) {
            const QString riga = QString(r).remove('\r');
            if (riga.startsWith('[')) {
                accettabile = accettabile && !sezioneVuota;
                sezioneVuota = true;
            } else if (riga.isEmpty()) {
                sezione.clear();
            } else if (riga.indexOf('=') > 0 && !sezione.isEmpty()) {
                sezioneVuota = false;
            }
            if (riga.startsWith('['))
                sezione = riga.mid(1, riga.size() - 2);
        }
        accettabile = accettabile && !sezioneVuota;
        QSet<QString> chiavi;
        QStringList attese;
        int progressivo = 0;
        for (const TPravlin &v : voci) {
            accettabile = accettabile && v.Intestazione.size() <= 64 && v.Parametro.size() <= 64 &&
                          v.Valore.size() <= 256 &&
                          !chiavi.contains(Pravlin::SenzaBlankFinali(v.Intestazione) + '\n' +
                                           Pravlin::SenzaBlankFinali(v.Parametro));
            chiavi.insert(Pravlin::SenzaBlankFinali(v.Intestazione) + '\n' +
                          Pravlin::SenzaBlankFinali(v.Parametro));
            attese << QStringList{v.Intestazione, v.Parametro,
                                  v.Valore.isEmpty() ? "<NULL>" : Pravlin::ValoreTabella(v.Valore),
                                  QString::number(++progressivo)}
                          .join('|');
        }

        const QStringList prima = istantanea();
        scrivi(*f, testo);
        rec.allowAny();
        f->ButtonMemorizza->click();
        rec.allowAny(false);
        if (f->Editing()) {
            ++rifiutati;
            EXPECT_FALSE(accettabile) << testo.toStdString();
            EXPECT_EQ(istantanea(), prima) << testo.toStdString();
            ASSERT_EQ(rec.seen().size(), 1) << testo.toStdString();
            EXPECT_NE(rec.seen()[0].kind, TMsgDlgType::Information);
            f->Annullamento();
        } else {
            ++salvati;
            EXPECT_TRUE(accettabile) << testo.toStdString();
            EXPECT_EQ(righe(1), attese) << testo.toStdString();
            EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
                      QString(testo).replace("\r\n", "\n").replace("\n", "\r\n"));
            EXPECT_TRUE(rec.seen().isEmpty());
        }
        rec.clear();
    }
    // Both ways were taken.
    EXPECT_GT(salvati, 5);
    EXPECT_GT(rifiutati, 5);
}

namespace {

// The same editor when the user database is reached through a server: the
// table-services object follows the same dati.ini.
class ServerUtentiFormTest : public UtentiFormTest
{
protected:
    void SetUp() override
    {
        useServer();
        UtentiFormTest::SetUp();
    }
};

} // namespace

TEST_F(ServerUtentiFormTest, OpeningAndSaveThroughTheServer)
{
    utente(1, "anna", "ALFA", "vecchio");
    riga(1, "ALFA", "Lingua", "IT", 1);
    auto f = apri();
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=1").toString(),
              "[ALFA]\nLingua=IT\n");
    scrivi(*f, "[ALFA]\r\nLingua=EN\r\nNota=l'ultima");
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(1),
              (QStringList{"ALFA|Lingua|EN|1", QString("ALFA|Nota|l") + kAcuto + "ultima|2"}));
}

// Another administrator's copy: editing a user while this editor opens, its
// save goes through (an unchanged text is not rewritten); this editor's save
// behind the other's unsaved change says that another administrator holds
// the data, and writes nothing.
TEST_F(ServerUtentiFormTest, TwoAdministratorsOnOneUser)
{
    utente(1, "anna", "ALFA", "[ALFA]\nLingua=IT\n");
    riga(1, "ALFA", "Lingua", "IT", 1);
    utente(2, "bruno", "ALFA", "vecchio");
    riga(2, "ALFA", "Lingua", "EN", 1);
    OtherConnection b(tab->IBDatabase1->DatabaseName);
    EXPECT_EQ(b.scalar("SELECT NOMEUTENTE FROM UTENTI WHERE CODICE=1"), "anna");
    TIBSQL q;
    q.setDatabase(&b.db);
    q.SQL = QStringList{"SELECT NOMEUTENTE FROM UTENTI WHERE CODICE=1"};
    q.ExecQuery(); // B's snapshot begins before the opening
    q.Close();
    attesaBreve();
    auto f = apri();
    EXPECT_EQ(valore("SELECT PRAVLIN FROM UTENTI WHERE CODICE=2").toString(),
              "[ALFA]\nLingua=EN\n");
    q.SQL = QStringList{"UPDATE UTENTI SET DESCRIZIONE='di B' WHERE CODICE=1"};
    EXPECT_NO_THROW(q.ExecQuery());
    b.tr.Commit();
    EXPECT_EQ(valore("SELECT DESCRIZIONE FROM UTENTI WHERE CODICE=1").toString(), "di B");

    f.reset();
    f = apri();
    const QStringList prima = istantanea();
    {
        auto a = inSospeso("UPDATE TABPRAVLIN SET VALORE='di A' WHERE UTENTE=1");
        ASSERT_TRUE(f->QueryUtenti->Locate("CODICE", 1));
        scrivi(*f, "[ALFA]\r\nLingua=DE");
        rec.allowAny();
        f->ButtonMemorizza->click();
        rec.allowAny(false);
        ASSERT_EQ(rec.seen().size(), 1);
        EXPECT_TRUE(rec.seen()[0].text.startsWith(DbErrorText::MsgConflitto + "\r" +
                                                  Pravlin::MsgErroreDelete + "\r"))
            << rec.seen()[0].text.toStdString();
        EXPECT_TRUE(f->Editing());
    }
    EXPECT_EQ(istantanea(), prima);
}

// A value past the engine's text limit is refused by the checks, naming its
// company and parameter, before anything is written: never cut to its first
// bytes. (The statement layer refuses it too: see the parameter limit tests.)
TEST_F(UtentiFormTest, AValueOfSixtyFourKibibytesIsRefusedWhole)
{
    utente(1, "anna", "ALFA", QString());
    riga(1, "ALFA", "Lingua", "IT", 1);
    auto f = apri();
    const QStringList prima = istantanea();
    scrivi(*f, "[ALFA]\r\nLungo=" + QString(65546, 'v'));
    rec.allowAny();
    f->ButtonMemorizza->click();
    rec.allowAny(false);
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].text,
              QStringLiteral("Ditta \"ALFA\", parametrizzazione \"Lungo\": il valore supera i "
                             "256 caratteri"));
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(istantanea(), prima);
}
