#include "../support/testlib/testlibrecorder.h"
#include "archivefixture.h"
#include "csdfinestre.h"
#include "guard.h"
#include "inputanswers.h"
#include "library.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "wizcsdfinestraform.h"
#include "wizcsdsceltauserform.h"

#include <QComboBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <functional>
#include <gtest/gtest.h>

// What the wizard checks before it hands a script back or tries it, how
// typed field names are refused, and the test run through the forms library.

namespace {

QString stampa(const QString &sql)
{
    TCSDStampaOld s;
    s.SQLStampa = sql;
    return s.GetXML();
}

QString erroreDi(const std::function<void()> &azione)
{
    try {
        azione();
    } catch (const std::exception &e) {
        return Guard::messageOf(e);
    }
    return QString();
}

// A wizard whose script passes every check.
void completo(TWizCSDFinestra &w)
{
    w.SetNomeTabella("ART");
    for (const char *n : {"COD", "DES"})
        w.AggiungiCampo(w.TabCampi->Count() + 1, n);
    w.SetTitolo("Articoli €");
}

} // namespace

TEST(WizVerifica, ChecksInOrderAndTheFailingRowBecomesCurrent)
{
    MessageRecorder messages;
    TTabForm tabForm;
    TWizCSDFinestra w(&tabForm);
    const QString attiva = " ha la decodifica attiva ma non è stat";
    using Passo = std::function<void()>;
    // Each step mends the failure before it; the message and the current row
    // that follow.
    const QList<std::tuple<Passo, QString, int>> passi = {
        {[&] { w.ScegliArchivio(TWizCSDFinestra::Archivio::Personalizzato); },
         "E' necessario indicare il parametro personalizzato Database", -1},
        {[&] { w.SetParametroPers("DB"); }, "Manca il nome tabella", -1},
        {[&] {
             w.SetNomeTabella("ART");
             w.SetCreaTabellaAttiva(true);
         },
         "E' stato scelto di creare la tabella se manca, ma non è stato configurato lo script "
         "SQL di appoggio",
         -1},
        {[&] {
             w.SetScriptCreaTabella("CREATE TABLE ART (A INTEGER)");
             for (const char *n : {"A", "B", "C"})
                 w.AggiungiCampo(w.TabCampi->Count() + 1, n);
             w.SetCampoGeneratore("A");
         },
         "Per l'autoincremento di un campo, è necessario specificare anche il generatore di "
         "appoggio",
         2},
        {[&] {
             w.SetGeneratore("GEN_A");
             w.SetStampaAttiva(true);
         },
         "E' stata abilitata la funzione di stampa, ma non è stato configurato lo script XML di "
         "appoggio",
         2},
        {[&] { w.SetXMLStampa(stampa("")); }, "Script stampa non valido:\rSQL Stampa mancante", 2},
        {[&] {
             w.SetXMLStampa(stampa("SELECT * FROM ART"));
             w.SetRicercaAttiva(true);
         },
         "E' stata abilitata la funzione di ricerca, ma non è stato configurato lo script XML di "
         "appoggio",
         2},
        {[&] {
             w.SetXMLRicerca(TCSDRicerche().GetXML());
             w.TabCampi->SetCorrente(1);
             w.SetDecodifica(true);
             w.TabCampi->SetCorrente(2);
             w.SetRicercaCampo(true);
         },
         "Il campo \"B\"" + attiva + "a specificata la tabella collegata", 1},
        {[&] { w.SetDecodificaTabella("T"); },
         "Il campo \"B\"" + attiva + "o specificato il campo collegato", 1},
        {[&] { w.SetDecodificaCampoColl("K"); },
         "Il campo \"B\"" + attiva + "o specificato il campo da decodificare", 1},
        {[&] { w.SetDecodificaCampoDec("D"); },
         "Il campo \"C\" ha la ricerca attiva ma non è stato configurato lo script XML di appoggio",
         2},
        {[&] {
             w.TabCampi->Modifica(2, [](TCampoRiga &r) { r.RicercaScript = "<x/>"; });
             w.TabCampi->SetCorrente(2);
         },
         "", 0},
    };
    for (const auto &[passo, atteso, corrente] : passi) {
        passo();
        QString messaggio = "prima";
        EXPECT_EQ(w.Verifica(messaggio), atteso.isEmpty());
        EXPECT_EQ(messaggio, atteso);
        if (corrente >= 0) {
            EXPECT_EQ(w.TabCampi->Corrente(), corrente) << qPrintable(atteso);
        }
    }

    // No rows, whatever else holds.
    messages.expect(TMsgDlgType::Confirmation, "Azzerare tutti i campi?", mrYes);
    w.AzzeraCampi();
    QString messaggio;
    EXPECT_FALSE(w.Verifica(messaggio));
    EXPECT_EQ(messaggio, "Nessun campo compilato");
}

TEST(WizVerifica, TypedNamesAreRefusedInOrderAndInsertedBeforeTheRowChosen)
{
    MessageRecorder messages;
    InputAnswers answers;
    TTabForm tabForm;
    TWizCSDFinestra w(&tabForm);
    for (const char *n : {"A", "B", "C"})
        w.AggiungiCampo(w.TabCampi->Count() + 1, n);
    const QList<QPair<QString, QString>> risposte = {
        {"", "Inserire un nome"},
        {"a b", "Il nome campo non può contenere caratteri blank"},
        {"12", "Il nome campo deve essere alfanumerico"},
        {QString(32, 'x'), "Il nome non può superare i 31 caratteri"},
        {"a", "Il nome inserito è già stato usato"}};
    for (const auto &r : risposte) {
        answers.expect("Nuovo campo", "Nome campo:", r.first);
        messages.expect(TMsgDlgType::Warning, r.second);
    }
    answers.expect("Nuovo campo", "Nome campo:", "nuovo");
    w.Inserisci(); // on C; the refused duplicate made A current
    EXPECT_EQ(answers.values().mid(1, 2), QStringList({"", "a b"}));
    QStringList nomi;
    for (int i = 0; i < w.TabCampi->Count(); ++i)
        nomi << QString::number(w.TabCampi->Riga(i).N) + w.TabCampi->Riga(i).Nome;
    EXPECT_EQ(nomi, QStringList({"1A", "2B", "3NUOVO", "4C"}));
}

TEST(WizVerifica, OkAndMemorizzaRefuseWhatCannotBeHandedBack)
{
    MessageRecorder messages;
    TTabForm tabForm;
    auto form = TWizCSDFinestraForm::CreaConTabForm(nullptr, &tabForm);
    TWizCSDFinestra &w = *form->Wizard;
    for (QPushButton *b : {form->ButtonOk, form->ButtonMemorizza, form->ButtonTestaFinestra})
        EXPECT_TRUE(b->isEnabled());
    messages.expect(TMsgDlgType::Warning, "Manca il nome tabella");
    form->ButtonOk->click();
    EXPECT_EQ(form->result(), 0);

    completo(w);
    w.SetNomeTabella("ART☃");
    messages.expect(TMsgDlgType::Error, "Carattere non ammesso: ☃ (Nome)");
    form->ButtonOk->click();
    EXPECT_EQ(form->result(), 0);

    w.SetNomeTabella("ART");
    w.TabCampi->SetCorrente(1);
    form->ButtonMemorizza->click();
    EXPECT_EQ(w.TabCampi->Corrente(), 1);
    form->ButtonOk->click();
    EXPECT_EQ(form->result(), mrOk);
}

namespace {

class TestaFinestraTest : public ArchiveTest
{
protected:
    void SetUp() override
    {
        ArchiveTest::SetUp();
        other("INSERT INTO UTENTI (CODICE, NOMEUTENTE, DITTA) VALUES (7, 'PROVA', 'ACME')");
        nuovoSnapshot();
        wiz = std::make_unique<TWizCSDFinestra>(tab.get());
        completo(*wiz);
    }
    void TearDown() override
    {
        Modal::setRunner({});
        TLibrary::setSearchFolder(QString());
        wiz.reset();
        ArchiveTest::TearDown();
    }
    // The user chooser answers with the user named, or Cancel when empty.
    void sceglie(const QString &nome)
    {
        Modal::setRunner([nome](QDialog *d) {
            auto *f = qobject_cast<TWizCSDSceltaUserForm *>(d);
            EXPECT_NE(f, nullptr);
            if (nome.isEmpty())
                return int(mrCancel);
            f->ComboUtenti->setCurrentIndex(f->ComboUtenti->findText(nome));
            return int(mrOk);
        });
    }
    std::unique_ptr<TWizCSDFinestra> wiz;
};

} // namespace

TEST_F(TestaFinestraTest, TriesTheScriptForTheChosenUserAndChangesNothing)
{
    TestLibRecorder norvak(testLibsDir() + "/Norvak.dll");
    ASSERT_TRUE(norvak.valid());
    norvak.reset();
    TLibrary::setSearchFolder(testLibsDir());
    const QString script = wiz->ComponiXML();
    sceglie("PROVA");
    wiz->TestaFinestra();
    EXPECT_EQ(norvak.lastCall(), "ShowCSDFormY|7|0|" + script);
    EXPECT_EQ(wiz->ComponiXML(), script);
    sceglie(""); // Cancel
    wiz->TestaFinestra();

    sceglie("PROVA");
    QTemporaryDir vuota;
    TLibrary::setSearchFolder(vuota.path());
    rec.expect(TMsgDlgType::Warning, "Attenzione: file \"Norvak.dll\" mancante");
    wiz->TestaFinestra();
    TLibrary::setSearchFolder(testLibsDir() + "/noexport");
    rec.expect(TMsgDlgType::Warning,
               "Attenzione: funzione \"ShowCSDFormY\" non trovata nel file \"Norvak.dll\"");
    wiz->TestaFinestra();

    // A script that does not compose: its own error, or the opening's.
    TLibrary::setSearchFolder(testLibsDir());
    wiz->SetNomeTabella("ART☃");
    rec.expect(TMsgDlgType::Error, "Carattere non ammesso: ☃ (Nome)");
    wiz->TestaFinestra();
    wiz->SetNomeTabella("ART");
    wiz->SetXMLRicerca("<Ricerche");
    rec.expect(TMsgDlgType::Error,
               "Apertura fallita\r" + erroreDi([] { TCSDRicerche().SetXML("<Ricerche"); }));
    wiz->TestaFinestra();
    EXPECT_EQ(norvak.calls(), 1);
}
