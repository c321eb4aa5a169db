#include "dbgrid.h"
#include "ibquery.h"
#include "messages.h"
#include "pravlinsezioni.h"
#include "replicaditteform.h"
#include "replicazione.h"
#include "utentiform.h"
#include "utentitest.h"

#include <QComboBox>
#include <QPushButton>

namespace {

const QChar kAcuto(0x00B4);
const QString kSezione = "[ALFA]\nA=l'uno\nV=\n";

// ---- The section rules, on texts alone -------------------------------------------

TEST(SezioneDitta, ReplacesOrAppendsExactlyTheCompanysSection)
{
    struct Caso
    {
        const char *nome;
        QString testo, sezione, atteso;
    };
    const QList<Caso> casi = {
        {"replaced, the next company untouched", "[ALFA]\nX=1\n[BETA]\nY=2\n", kSezione,
         kSezione + "[BETA]\nY=2\n"},
        {"appended when missing", "[BETA]\nY=2\n", kSezione, "[BETA]\nY=2\n" + kSezione},
        {"appended to an empty text", "", kSezione, kSezione},
        {"a longer name is another company", "[ALFAB]\nZ=9\n", kSezione,
         "[ALFAB]\nZ=9\n" + kSezione},
        {"the exact header after a longer one", "[ALFAB]\nZ=9\n[ALFA]\nX=1\n", kSezione,
         "[ALFAB]\nZ=9\n" + kSezione},
        {"a bracket inside a value stays in the section", "[ALFA]\nX=a[b]\nW=2\n[BETA]\nY=2\n",
         kSezione, kSezione + "[BETA]\nY=2\n"},
        {"a CR before the line end", "[ALFA]\r\nX=1\r\n[BETA]\r\nY=2\r\n", "[ALFA]\r\nA=1\r\n",
         "[ALFA]\r\nA=1\r\n[BETA]\r\nY=2\r\n"},
        {"the inactive company is another section", "[ALFA <INATTIVA>]\nX=1\n", kSezione,
         "[ALFA <INATTIVA>]\nX=1\n" + kSezione},
        {"a last line without its end gets one first", "[BETA]\nK=2", kSezione,
         "[BETA]\nK=2\n" + kSezione},
        {"CR LF text: the section ends with CR LF", "[ALFA]\r\nX=1\r\n[BETA]\r\nK=2", "[ALFA]\nA=1",
         "[ALFA]\nA=1\r\n[BETA]\r\nK=2"},
        {"CR LF text, appended", "[BETA]\r\nK=2", "[ALFA]\nA=1",
         "[BETA]\r\nK=2\r\n[ALFA]\nA=1\r\n"},
    };
    for (const Caso &c : casi)
        EXPECT_EQ(Pravlin::SostituisciSezioneDitta(c.testo, "ALFA", c.sezione), c.atteso) << c.nome;

    const Pravlin::TSezioneDitta s = Pravlin::TrovaSezioneDitta("[B]\nx=1\n[ALFA]\r\nA=1", "ALFA");
    EXPECT_EQ(s.Inizio, 8);
    EXPECT_EQ(s.Lunghezza, 11);
    EXPECT_FALSE(Pravlin::TrovaSezioneDitta("x=[ALFA]\n", "ALFA").Trovata());
}

// ---- The component on a database ------------------------------------------------

class ReplicazioneTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        profilo(1);
        progetto(1);
        // The source; a destination with the company before another; one with
        // only the inactive company and a last line without its end.
        utente(1, "anna", "ALFA", "[ALFA]\nA=l'uno\nV=\n\nperso=1\n[BETA]\nB=1\n");
        riga(1, "ALFA", "A", QString("l") + kAcuto + "uno", 1);
        utente(2, "bruno", "ALFA", "[ALFA]\nX=1\n[BETA]\nY=2\n");
        riga(2, "ALFA", "X", "1", 1);
        riga(2, "BETA", "Y", "2", 2);
        utente(3, "carla", "ALFA", "[ALFA <INATTIVA>]\nX=1\n[GAMMA]\nK=2");
        riga(3, "ALFA <INATTIVA>", "X", "1", 1);
        riga(3, "GAMMA", "K", "2", 2);
        utente(4, "dario", "ALFA", "[ALFA]\nSola=1\n");
        nuovoSnapshot();
    }

    void prepara(TReplicazioneComponent &r, int origine, const QString &ditta,
                 const QStringList &destinazioni)
    {
        r.SetDatabase(tab->IBDatabase1);
        r.UtenteOrigine = origine;
        r.Ditta = ditta;
        r.UtentiDestinazione = destinazioni;
    }

    QString testo(int utente)
    {
        return valore(QString("SELECT PRAVLIN FROM UTENTI WHERE CODICE=%1").arg(utente)).toString();
    }
};

TEST_F(ReplicazioneTest, EachRefusalInItsOrder)
{
    utente(5, "elio", "ALFA", "[ALFA]\nsenza uguale\n");
    struct Caso
    {
        int origine;
        QString ditta;
        QStringList destinazioni;
        QString messaggio;
    };
    const QList<Caso> casi = {
        {-1, "", {}, "Nessun utente origine selezionato"},
        {0, "ALFA", {"2"}, "Nessun utente origine selezionato"},
        {1, "", {}, "Nessuna ditta origine selezionata"},
        {1, "ALFA", {}, "Nessun utente destinazione selezionato"},
        {1,
         "ALFA",
         {"2", "1"},
         "L'utente origine non può essere incluso nella lista degli utenti di destinazione"},
        {1,
         "AL%1",
         {"2"},
         "L'utente 1 non ha la ditta \"AL%1\" configurata (sezione non trovata nel Pravlin)"},
        {1,
         "ALF",
         {"2"},
         "L'utente 1 non ha la ditta \"ALF\" configurata (sezione non trovata nel Pravlin)"},
        {5,
         "ALFA",
         {"2"},
         "L'utente 5 non ha la ditta \"ALFA\" configurata (parametri non trovati nel Pravlin)"},
    };
    for (const Caso &c : casi) {
        TReplicazioneComponent r;
        prepara(r, c.origine, c.ditta, c.destinazioni);
        try {
            r.Verifica();
            ADD_FAILURE() << "accepted: " << c.messaggio.toStdString();
        } catch (const EReplicazione &e) {
            EXPECT_EQ(e.message(), c.messaggio);
        }
    }
}

TEST_F(ReplicazioneTest, EveryDestinationGetsTheSectionAndItsRowsInOneCommit)
{
    TReplicazioneComponent r;
    prepara(r, 1, "ALFA", {"2", "3"});
    r.Verifica();
    EXPECT_EQ(r.SezioneOrigine, "[ALFA]\nA=l'uno\nV=\n\nperso=1\n");
    QStringList committedInMezzo;
    r.DopoDestinazione = [&](int) { committedInMezzo << testo(2); };
    r.Esegui();
    // Nothing reached the database before the one commit.
    EXPECT_EQ(committedInMezzo,
              (QStringList{"[ALFA]\nX=1\n[BETA]\nY=2\n", "[ALFA]\nX=1\n[BETA]\nY=2\n"}));
    EXPECT_EQ(testo(2), "[ALFA]\nA=l'uno\nV=\n\nperso=1\n[BETA]\nY=2\n");
    EXPECT_EQ(testo(3), "[ALFA <INATTIVA>]\nX=1\n[GAMMA]\nK=2\n[ALFA]\nA=l'uno\nV=\n\nperso=1\n");
    // The rows as the row copy reads the section: nothing after the empty
    // line; an empty value as an empty text; other companies untouched.
    const QString uno = QString("l") + kAcuto + "uno";
    auto ordinate = [this](int utente) {
        QStringList r = righe(utente);
        r.sort();
        return r;
    };
    EXPECT_EQ(ordinate(2), (QStringList{"ALFA|A|" + uno + "|1", "ALFA|V||2", "BETA|Y|2|2"}));
    EXPECT_EQ(ordinate(3), (QStringList{"ALFA <INATTIVA>|X|1|1", "ALFA|A|" + uno + "|1",
                                        "ALFA|V||2", "GAMMA|K|2|2"}));
    EXPECT_EQ(valore("SELECT COUNT(*) FROM TABPRAVLIN WHERE VALORE IS NULL").toString(), "0");
}

TEST_F(ReplicazioneTest, AFailingDestinationUndoesTheOthers)
{
    other("ALTER TABLE TABPRAVLIN ADD CONSTRAINT RIFIUTATO CHECK (UTENTE <> 4)");
    struct Caso
    {
        QStringList destinazioni;
        QString inizio;
    };
    const QList<Caso> casi = {
        // A user deleted since: its update changes no row.
        {{"2", "99"}, "Fallito aggiornamento Pravlin utente 99"},
        {{"2", "3", "4"}, "Fallito popolamento TabPravlin utente 4\r"},
    };
    const QStringList prima = istantanea();
    for (const Caso &c : casi) {
        TReplicazioneComponent r;
        prepara(r, 1, "ALFA", c.destinazioni);
        r.Verifica();
        try {
            r.Esegui();
            ADD_FAILURE() << "no failure";
        } catch (const EReplicazione &e) {
            EXPECT_TRUE(e.message().startsWith(c.inizio)) << e.message().toStdString();
        }
        EXPECT_EQ(istantanea(), prima);
    }
}

// ---- The dialog from the users editor ---------------------------------------------

TEST_F(ReplicazioneTest, TheDialogReplicatesAndTheEditorShowsTheCommittedTexts)
{
    // The editor's opening rebuilds every text from these rows.
    riga(1, "ALFA", "V", QVariant(), 2);
    riga(1, "ALFA <INATTIVA>", "Z", "1", 3);
    riga(1, "BETA", "B", "1", 4);
    riga(4, "ALFA", "Sola", "1", 1);
    auto f = apri();
    ASSERT_TRUE(f->QueryUtenti->Locate("CODICE", 1));
    int chiamate = 0;
    rispondi([&](QDialog *d) {
        auto *dlg = qobject_cast<TReplicaDitteForm *>(d);
        EXPECT_NE(dlg, nullptr);
        if (!dlg)
            return int(mrCancel);
        ++chiamate;
        EXPECT_EQ(dlg->windowTitle(), "Replica ditte");
        EXPECT_EQ(dlg->ComboUtente->count(), 4);
        EXPECT_EQ(dlg->ComboUtente->currentText(), "1 - anna");
        // The inactive company is not offered; the user's own is chosen.
        EXPECT_EQ(dlg->ComboDitta->count(), 2);
        EXPECT_EQ(dlg->ComboDitta->currentText(), "ALFA");
        EXPECT_EQ(dlg->QueryUtentiDest->RecordCount(), 3);
        // The source among the destinations is refused; the dialog stays.
        dlg->ListaUtentiDest = QStringList{"1"};
        rec.expect(TMsgDlgType::Warning,
                   "Operazione non consentita\r\nL'utente origine non può essere incluso nella "
                   "lista degli utenti di destinazione");
        dlg->ButtonOk->click();
        // A failed run: its error, and the dialog still stays.
        dlg->ListaUtentiDest = QStringList{"99"};
        rec.expect(TMsgDlgType::Error,
                   "Operazione fallita\r\nFallito aggiornamento Pravlin utente 99");
        dlg->ButtonOk->click();
        EXPECT_EQ(dlg->result(), 0);
        dlg->ButtonSelTutto->click();
        EXPECT_EQ(dlg->ListaUtentiDest, (QStringList{"2", "3", "4"}));
        dlg->GridUtentiDest->setCurrentIndex(dlg->GridUtentiDest->model()->index(2, 0));
        emit dlg->GridUtentiDest->KeyUp(Qt::Key_F3, Qt::NoModifier);
        EXPECT_EQ(dlg->ListaUtentiDest, (QStringList{"2", "3"}));
        dlg->ButtonOk->click();
        return dlg->result();
    });
    f->ButtonReplicaDitte->click();
    EXPECT_EQ(chiamate, 1);
    const QString sezione = QString("[ALFA]\nA=l") + kAcuto + "uno\nV=\n";
    EXPECT_EQ(testo(2), sezione + "[BETA]\nY=2\n");
    EXPECT_EQ(testo(3), "[ALFA <INATTIVA>]\nX=1\n[GAMMA]\nK=2\n" + sezione);
    EXPECT_EQ(testo(4), "[ALFA]\nSola=1\n");
    // The editor reopened on a new snapshot, back on the source user.
    EXPECT_EQ(f->QueryUtenti->FieldByName("CODICE")->AsInteger(), 1);
    ASSERT_TRUE(f->QueryUtenti->Locate("CODICE", 2));
    EXPECT_EQ(f->QueryUtenti->FieldByName("PRAVLIN")->AsString(), sezione + "[BETA]\nY=2\n");
}

} // namespace
