#include "dbcontrols.h"
#include "dbgrid.h"
#include "ibquery.h"
#include "kivin1form.h"
#include "ricprofform.h"
#include "ricprogform.h"
#include "tag.h"
#include "utentiform.h"
#include "utentitest.h"
#include "utentiverifica.h"

#include <QCheckBox>
#include <QLabel>
#include <QPushButton>

namespace {

const QString kNessunaAnomalia = "Nessuna anomalia rilevata";

class UtentiVerificaTest : public UtentiTest
{
protected:
    void SetUp() override
    {
        UtentiTest::SetUp();
        profilo(1);
        progetto(1);
        utente(1, "anna", "ALFA", QString(), "s3gr'eta");
        riga(1, "ALFA", "Lingua", "IT", 1);
    }
};

} // namespace

TEST_F(UtentiVerificaTest, EachCheckInItsSituationAndNothingWritten)
{
    auto f = apri();
    rec.expect(TMsgDlgType::Information, kNessunaAnomalia);
    f->ButtonVerifica->click();
    f->ButtonEdit->click();
    const QStringList prima = istantanea();
    struct Caso
    {
        const char *campo;
        QVariant valore;
        QString messaggio;
    };
    const QList<Caso> casi = {
        {"PROFILOSICUREZZA", QVariant(), "Si prega di specificare un profilo sicurezza"},
        {"PROGETTO", QVariant(), "Si prega di specificare un progetto"},
        {"NOMEUTENTE", QVariant(), "Si prega di specificare un nome utente"},
        {"DITTA", QVariant(), "Si prega di specificare una ditta"},
        {"DITTA", "BETA", "Si prega di specificare una ditta nel Pravlin"},
        {"PRAVLIN", "[ALFA]\r\nDirectory bin=C:\\Suite",
         "Ditta \"ALFA\", parametrizzazione \"Directory bin=C:\\Suite\": il percorso deve "
         "terminare con \"\\\""},
        {"PRAVLIN", "[ALFA]\r\nLingua=IT\r\nLingua=EN",
         "Ditta \"ALFA\", parametrizzazione \"Lingua\": parametro ripetuto"},
        {"PRAVLIN", "[ALFA]\r\n\r\nLingua=IT",
         "Ditta \"ALFA\", parametrizzazione \"Lingua\": parametro fuori dalla ditta"},
    };
    for (const Caso &c : casi) {
        const QVariant vecchio = f->QueryUtenti->FieldByName(c.campo)->Value();
        f->QueryUtenti->FieldByName(c.campo)->setValue(c.valore);
        rec.expect(TMsgDlgType::Warning, c.messaggio);
        f->ButtonVerifica->click();
        rec.expect(TMsgDlgType::Warning, c.messaggio);
        f->ButtonMemorizza->click();
        EXPECT_TRUE(f->Editing()) << c.campo;
        EXPECT_EQ(rec.pending(), 0) << c.campo;
        f->QueryUtenti->FieldByName(c.campo)->setValue(vecchio);
    }
    EXPECT_EQ(istantanea(), prima);
    // Only the first failing step speaks.
    f->QueryUtenti->FieldByName("PROGETTO")->Clear();
    f->QueryUtenti->FieldByName("NOMEUTENTE")->Clear();
    rec.expect(TMsgDlgType::Warning, "Si prega di specificare un progetto");
    f->ButtonVerifica->click();
    EXPECT_EQ(rec.seen().size(), 1u + 16u + 1u);
}

TEST_F(UtentiVerificaTest, AnEmptyProfileIsAllowedToAUserKeptAtTheMinimum)
{
    auto f = apri();
    f->ButtonEdit->click();
    f->QueryUtenti->FieldByName("PROFILOSICUREZZA")->Clear();
    f->CheckMantieniStdMin->click();
    EXPECT_EQ(f->QueryUtenti->FieldByName("MANTIENISTDMIN")->AsString(), "1");
    rec.expect(TMsgDlgType::Information, kNessunaAnomalia);
    f->ButtonVerifica->click();
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
    EXPECT_EQ(committed("SELECT MANTIENISTDMIN FROM UTENTI WHERE CODICE=1"), "1");
}

TEST_F(UtentiVerificaTest, TheHelpBoxListsTheChecksLineByLine)
{
    auto f = apri();
    rec.allowAny();
    f->ButtonVerificaHelp->click();
    ASSERT_EQ(rec.seen().size(), 1);
    EXPECT_EQ(rec.seen()[0].kind, TMsgDlgType::Information);
    EXPECT_EQ(
        rec.seen()[0].text.split('\r'),
        (QStringList{"Controlli effettuati:", "- Deve essere specificato un \"Nome Utente\"",
                     "- Deve essere specificata una \"Ditta\"",
                     "- Deve essere specificato un \"Progetto\"",
                     "- Se non abilitato \"Mantieni Standard Minimo\", deve essere specificato un "
                     "\"Profilo Sicurezza\"",
                     "- Nel Pravlin deve essere presente almento la configurazione della \"Ditta\" "
                     "corrente specificata",
                     "- Nel Pravlin il parametro \"Directory bin\", quando specificato, deve "
                     "terminare con lo slash \"\\\""}));
}

TEST_F(UtentiVerificaTest, NuovoNeedsAProfileAndSetsTheDefaults)
{
    other("DELETE FROM PROFILI");
    {
        auto f = apri();
        rec.expect(TMsgDlgType::Warning,
                   "Si prega di configurare almeno un profilo prima di inserire un utente");
        f->ButtonNuovo->click();
        EXPECT_FALSE(f->Editing());
        EXPECT_EQ(f->QueryUtenti->State(), dsBrowse);
    }
    profilo(2);
    auto f = apri();
    f->ButtonNuovo->click();
    ASSERT_TRUE(f->Editing());
    EXPECT_EQ(f->EditCodice->text(), "2");
    for (const char *campo : {"MANTIENISTDMIN", "ABILITASCELTADISCO", "ACCESSOPRAVLIN"})
        EXPECT_EQ(f->QueryUtenti->FieldByName(campo)->AsString(), "0") << campo;
    EXPECT_FALSE(f->CheckMantieniStdMin->isChecked());
    EXPECT_TRUE(f->MemoPravlin->text().isEmpty());
}

TEST_F(UtentiVerificaTest, ModesEnableTheirButtons)
{
    auto f = apri();
    auto abilitati = [&](std::initializer_list<QWidget *> ws, bool atteso) {
        for (QWidget *w : ws)
            EXPECT_EQ(w->isEnabled(), atteso) << w->objectName().toStdString();
    };
    const auto soloModifica = {(QWidget *)f->ButtonAcqDaFile,   (QWidget *)f->ButtonSostituisci,
                               (QWidget *)f->ButtonCerca,       (QWidget *)f->ButtonFile,
                               (QWidget *)f->ButtonPercorso,    (QWidget *)f->ButtonApriEditor,
                               (QWidget *)f->ButtonResetEditor, (QWidget *)f->ButtonAbilitazDitte,
                               (QWidget *)f->EditNomeUtente,    (QWidget *)f->ButtonPassword,
                               (QWidget *)f->ButtonProfilo,     (QWidget *)f->CheckAccessoPravlin};
    const auto soloConsultazione = {(QWidget *)f->ButtonReplicaDitte, (QWidget *)f->GridUtenti,
                                    (QWidget *)f->ButtonNuovo, (QWidget *)f->ButtonChiudi};
    const auto sempre = {(QWidget *)f->ButtonVerifica, (QWidget *)f->ButtonVerificaHelp,
                         (QWidget *)f->ButtonInfo1Help, (QWidget *)f->MemoPravlin};
    abilitati(soloModifica, false);
    abilitati(soloConsultazione, true);
    abilitati(sempre, true);
    f->ButtonEdit->click();
    abilitati(soloModifica, true);
    abilitati(soloConsultazione, false);
    abilitati(sempre, true);
    EXPECT_EQ(f->ButtonCodice->text(), "&Codice");
    EXPECT_EQ(f->ButtonEmail->text(), "E-Mai&l");
    EXPECT_EQ(f->CheckUtenteInattivo->text(), "Utente inattivo");
}

TEST_F(UtentiVerificaTest, PasswordShownAsStarsAndStoredAsTyped)
{
    utente(2, "bruno", "ALFA", QString());
    auto f = apri();
    TDataSetModel *m = f->GridUtenti->Model();
    const int colonna = m->columnOfField("PWDUTENTE");
    const QModelIndex cella = m->index(0, colonna);
    EXPECT_EQ(m->data(cella).toString(), "********");
    for (int ruolo : {Qt::ToolTipRole, Qt::EditRole, Qt::StatusTipRole, Qt::WhatsThisRole,
                      Qt::AccessibleTextRole})
        EXPECT_FALSE(m->data(cella, ruolo).toString().contains("s3gr")) << ruolo;
    EXPECT_EQ(m->data(m->index(1, colonna)).toString(), "");
    EXPECT_EQ(f->EditPassword->echoMode(), QLineEdit::Password);
    EXPECT_EQ(f->EditPassword->displayText(), "********");
    EXPECT_TRUE(f->EditPassword->isReadOnly());

    f->ButtonEdit->click();
    QString vista;
    rispondi([&](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        EXPECT_NE(dlg, nullptr);
        EXPECT_EQ(dlg->font().family(), "Tahoma");
        EXPECT_EQ(dlg->Label1->text(), "Inserire la nuova password");
        EXPECT_EQ(dlg->Edit1->maxLength(), 80);
        vista = dlg->Edit1->text();
        dlg->Edit1->setText(" Nuova'Pwd ");
        dlg->OKBtn->click();
        return dlg->result();
    });
    f->ButtonPassword->click();
    EXPECT_EQ(vista, "s3gr'eta");
    EXPECT_EQ(m->data(m->index(0, colonna)).toString(), QString(11, '*'));
    f->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT PWDUTENTE FROM UTENTI WHERE CODICE=1"), " Nuova'Pwd ");

    // Cancel changes nothing; an empty password is none.
    f->ButtonEdit->click();
    rispondi([](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        dlg->Edit1->clear();
        dlg->CancelBtn->click();
        return dlg->result();
    });
    f->ButtonPassword->click();
    EXPECT_EQ(f->QueryUtenti->FieldByName("PWDUTENTE")->AsString(), " Nuova'Pwd ");
    rispondi([](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        dlg->Edit1->clear();
        dlg->OKBtn->click();
        return dlg->result();
    });
    f->ButtonPassword->click();
    f->ButtonMemorizza->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM UTENTI WHERE CODICE=1 AND PWDUTENTE IS NULL"), "1");
}

TEST_F(UtentiVerificaTest, ProfileAndProjectComeFromTheirPickLists)
{
    profilo(7, "Ospiti");
    progetto(4);
    auto f = apri();
    f->ButtonEdit->click();
    int risposta = mrOk;
    rispondi([&](QDialog *d) {
        if (auto *p = qobject_cast<TRicProfForm *>(d))
            p->QueryProfili->Last();
        else if (auto *g = qobject_cast<TRicProgForm *>(d))
            g->QueryProgetti->Last();
        else
            ADD_FAILURE() << "unexpected window";
        return risposta;
    });
    f->ButtonProfilo->click();
    f->ButtonProgetto->click();
    EXPECT_EQ(f->EditProfilo->text(), "7");
    EXPECT_EQ(f->EditProgetto->text(), "4");
    risposta = mrCancel;
    f->QueryUtenti->FieldByName("PROFILOSICUREZZA")->setAsString("1");
    f->ButtonProfilo->click();
    EXPECT_EQ(f->EditProfilo->text(), "1");
}

TEST_F(UtentiVerificaTest, EliminaRemovesTheUserButNotItsRows)
{
    auto f = apri();
    rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM UTENTI"), "0");
    EXPECT_EQ(righe(1), QStringList{"ALFA|Lingua|IT|1"});
}

TEST_F(UtentiVerificaTest, TheInactiveBoxOnlyWhenTheTableHasTheColumn)
{
    {
        auto f = apri();
        EXPECT_FALSE(f->CheckUtenteInattivo->isHidden());
        EXPECT_EQ(f->CheckUtenteInattivo->Field()->FieldName(), "UTENTEINATTIVO");
    }
    nuovoSnapshot();
    other("ALTER TABLE UTENTI DROP UTENTEINATTIVO");
    auto f = apri();
    EXPECT_TRUE(f->CheckUtenteInattivo->isHidden());
    EXPECT_EQ(f->CheckUtenteInattivo->Field(), nullptr);
    f->ButtonEdit->click();
    f->ButtonMemorizza->click();
    EXPECT_FALSE(f->Editing());
}
