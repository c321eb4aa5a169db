#include "abilitaditteform.h"
#include "acqdafileform.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "dittetesto.h"
#include "filedialogs.h"
#include "ibquery.h"
#include "memorydata.h"
#include "utentiform.h"
#include "utentitest.h"

#include <QFile>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>

using namespace DitteTesto;

TEST(DitteTesto, ListsAndHeaders)
{
    const TListeDitte liste = DividiDitte({"ALFA", "BETA <INATTIVA>", "GAMMA"});
    EXPECT_EQ(liste.Attive, (QStringList{"ALFA", "GAMMA"}));
    EXPECT_EQ(liste.Disattive, QStringList{"BETA"});

    const struct
    {
        const char *testo;
        QStringList disattive;
        const char *atteso;
    } casi[] = {
        // Every company inactive: every header marked.
        {"[ALFA]\r\nA=1\r\n[BETA]\r\nB=2",
         {"ALFA", "BETA"},
         "[ALFA <INATTIVA>]\r\nA=1\r\n[BETA <INATTIVA>]\r\nB=2"},
        // Moved back to the active list: the marker goes.
        {"[BETA <INATTIVA>]\nB=2\n", {}, "[BETA]\nB=2\n"},
        // Values holding a header or the marker stay as they are.
        {"[ALFA]\nRif=[ALFA]\nNota=vecchia <INATTIVA>\n[ALFA]x=1\n",
         {"ALFA"},
         "[ALFA <INATTIVA>]\nRif=[ALFA]\nNota=vecchia <INATTIVA>\n[ALFA <INATTIVA>]x=1\n"},
    };
    for (const auto &caso : casi)
        EXPECT_EQ(SegnaInattive(caso.testo, caso.disattive), caso.atteso) << caso.testo;

    EXPECT_EQ(AccodaDitta("", "D", {"A=1"}), "\r\n[D]\r\nA=1");
    EXPECT_EQ(AccodaDitta("[X]\r\nY=2", "D", {"A=1", "B="}), "[X]\r\nY=2\r\n\r\n[D]\r\nA=1\r\nB=");
}

namespace {

const QString kConfermaAnnulla = "Conferma l'annullamento delle modifiche apportate?";

class UtentiDitteTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        profilo(1);
        progetto(1);
    }
    void TearDown() override
    {
        FileDialogs::setResponder({});
        UtentiTest::TearDown();
    }
    QString file(const char *nome, const QByteArray &contenuto)
    {
        const QString percorso = cartella() + QLatin1String(nome);
        QFile f(percorso);
        EXPECT_TRUE(f.open(QIODevice::WriteOnly));
        f.write(contenuto);
        return percorso;
    }
    void scegli(const QString &percorso)
    {
        FileDialogs::setResponder([percorso](const FileDialogRequest &r) {
            EXPECT_TRUE(r.mustExist);
            return percorso;
        });
    }
    static QStringList colonna(TRxMemoryData *t, const char *campo)
    {
        QStringList out;
        for (t->First(); !t->Eof(); t->Next())
            out << t->FieldByName(QLatin1String(campo))->AsString();
        t->First();
        return out;
    }
};

} // namespace

TEST_F(UtentiDitteTest, ActivationSavesFirstAndMarksHeadersInTheEditBufferOnly)
{
    utente(5, "anna", "ALFA", QString());
    riga(5, "ALFA", "A", "1", 1);
    riga(5, "BETA <INATTIVA>", "B", "2", 2);
    riga(5, "GAMMA", "Rif", "[GAMMA]", 3);
    auto f = apri();
    const QStringList prima = istantanea();
    int mostrati = 0;
    rispondi([&](QDialog *d) {
        auto *a = qobject_cast<TAbilitaDitteForm *>(d);
        ++mostrati;
        EXPECT_EQ(a->ListBoxAttive->item(1)->text(), "GAMMA");
        EXPECT_EQ(a->Disattive(), QStringList{"BETA"});
        a->ListBoxAttive->item(1)->setSelected(true);
        a->ButtonDisattiva->click();
        a->ListBoxDisattive->item(0)->setSelected(true);
        a->ButtonAttiva->click();
        EXPECT_EQ(a->ListBoxAttive->count(), 2);
        EXPECT_EQ(a->Disattive(), QStringList{"GAMMA"});
        a->ButtonOk->click();
        return a->result();
    });
    // A refused save ends it: no dialog, nothing written.
    f->ButtonEdit->click();
    f->QueryUtenti->FieldByName("DITTA")->setAsString("");
    rec.expect(TMsgDlgType::Warning, "Si prega di specificare una ditta");
    f->ButtonAbilitazDitte->click();
    EXPECT_EQ(mostrati, 0);
    EXPECT_EQ(istantanea(), prima);

    f->QueryUtenti->FieldByName("DITTA")->setAsString("ALFA");
    f->QueryUtenti->FieldByName("NOMEUTENTE")->setAsString("annamaria");
    f->ButtonAbilitazDitte->click();
    EXPECT_EQ(mostrati, 1);
    // Saved before the dialog; the new markers are in the edit buffer only.
    EXPECT_EQ(valore("SELECT NOMEUTENTE FROM UTENTI WHERE CODICE=5").toString(), "annamaria");
    const QStringList salvato = istantanea();
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(f->MemoPravlin->text(),
              "[ALFA]\r\nA=1\r\n[BETA]\r\nB=2\r\n[GAMMA <INATTIVA>]\r\nRif=[GAMMA]\r\n");
    rec.expect(TMsgDlgType::Confirmation, kConfermaAnnulla, mrYes);
    f->ButtonAnnulla->click();
    EXPECT_EQ(istantanea(), salvato);
    EXPECT_TRUE(f->MemoPravlin->text().contains("[BETA <INATTIVA>]"));

    // Memorizza stores them with the rows.
    f->ButtonEdit->click();
    f->ButtonAbilitazDitte->click();
    EXPECT_EQ(istantanea(), salvato);
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(righe(5),
              (QStringList{"ALFA|A|1|1", "BETA|B|2|2", "GAMMA <INATTIVA>|Rif|[GAMMA]|3"}));
}

TEST_F(UtentiDitteTest, ImportAppendsTheChosenOptionsUnsavedAndARepeatedCompanyIsRefused)
{
    utente(5, "anna", "ALFA", QString());
    riga(5, "ALFA", "A", "1", 1);
    const QString primo = file("ditte.ini", "[ALFA]\r\nA=2 <NOTE>doppio</NOTE>\r\n"
                                            "[DELTA]\r\nX=1\r\nY=citt\xE0\r\nZ=3\r\n");
    const QString secondo = file("altre.ini", "[OMEGA]\nW=9\n");
    auto f = apri();
    const QStringList prima = istantanea();
    EXPECT_FALSE(f->ButtonAcqDaFile->isEnabled());
    f->ButtonEdit->click();
    rispondi([&](QDialog *d) {
        auto *a = qobject_cast<TAcqDaFileForm *>(d);
        EXPECT_EQ(a->windowTitle(), "Acquisizione file ini");
        rec.expect(TMsgDlgType::Warning, "Si prega di selezionare almeno un'opzione da riportare");
        a->ButtonRiporta->click();
        EXPECT_EQ(a->result(), 0);

        scegli(primo);
        a->ButtonSelFile->click();
        EXPECT_EQ(a->EditSelFile->text(), primo);
        EXPECT_EQ(colonna(a->MemTabDitte, "NomeDitta"), (QStringList{"ALFA", "DELTA"}));
        EXPECT_EQ(colonna(a->MemTabImpo, "Note"), QStringList{"doppio"});
        // A second file replaces the first; an unreadable one keeps it and
        // is named whole, even with what looks like a placeholder.
        scegli(secondo);
        a->ButtonSelFile->click();
        EXPECT_EQ(colonna(a->MemTabImpoOri, "Opzione"), QStringList{"W"});
        scegli(cartella() + "manca%2.ini");
        rec.allowAny();
        a->ButtonSelFile->click();
        rec.allowAny(false);
        EXPECT_TRUE(rec.seen().last().text.contains("manca%2.ini:\r"));
        EXPECT_EQ(a->EditSelFile->text(), secondo);
        EXPECT_EQ(colonna(a->MemTabDitte, "NomeDitta"), QStringList{"OMEGA"});

        scegli(primo);
        a->ButtonSelFile->click();
        a->MemTabDitte->Next();
        EXPECT_EQ(colonna(a->MemTabImpo, "Numero"), (QStringList{"1", "2", "3"}));
        a->MemTabImpo->Next();
        a->GridImpoKeyUp(Qt::Key_F3, {});
        a->MemTabImpo->Last();
        emit a->GridImpo->DblClick();
        EXPECT_EQ(colonna(a->MemTabImpo, "S"), (QStringList{"1", "0", "0"}));
        a->ButtonRiporta->click();
        return a->result();
    });
    f->ButtonAcqDaFile->click();
    EXPECT_EQ(f->MemoPravlin->text(), "[ALFA]\r\nA=1\r\n\r\n[DELTA]\r\nX=1");
    EXPECT_EQ(istantanea(), prima);

    // A company the text already holds: the save refuses it.
    rispondi([&](QDialog *d) {
        auto *a = qobject_cast<TAcqDaFileForm *>(d);
        scegli(primo);
        a->ButtonSelFile->click();
        a->ButtonRiporta->click();
        return a->result();
    });
    f->ButtonAcqDaFile->click();
    EXPECT_TRUE(f->MemoPravlin->text().endsWith("[DELTA]\r\nX=1\r\n\r\n[ALFA]\r\nA=2"));
    rec.expect(TMsgDlgType::Warning, "Ditta \"ALFA\", parametrizzazione \"A\": parametro ripetuto");
    f->ButtonMemorizza->click();
    EXPECT_EQ(rec.pending(), 0);
    EXPECT_TRUE(f->Editing());
    EXPECT_EQ(istantanea(), prima);
}
