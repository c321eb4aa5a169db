#include "dbcontrols.h"
#include "ibquery.h"
#include "menuprogrammatest.h"
#include "testdb.h"
#include "wizardvoce.h"
#include "wizcsdfinestraform.h"
#include "wizcsdfinestrasceltaform.h"

#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

// The window wizard's hand-off from the menu grid editor: the calls in
// their order with recording stand-ins of the two windows, then the real
// windows on a real reference database.
namespace {

const QString kVoce = "SELECT DLL, FUNZIONE, LIVELLO2VERSIONE, PARAMETRIBLOB FROM DETTMENU "
                      "WHERE PROGRAMMA=1 AND MENU=1";
const QString kVecchia = "Vecchia.dll|ApriX|0|";
const QString kAnnullare = "Conferma l'annullamento delle modifiche apportate?";

// What a test answers for the windows and the boxes of one run.
struct Copione
{
    int domanda = mrYes;   // the script question
    bool leggibile = true; // CaricaXML
    int avviso = mrOk;     // the unreadable-script warning
    int scelta = mrOk;     // the start dialog
    bool preimpostata = false;
    int wizard = mrOk;
    QString composto = "<CSDForm/>";
};

class FintoWizard : public TWizCSDFinestraForm
{
public:
    FintoWizard(QWidget *owner, TTabForm *tab, QStringList &log, const Copione &c)
        : TWizCSDFinestraForm(owner, tab)
        , m_log(log)
        , m_c(c)
    {
    }
    ~FintoWizard() override { m_log << "~wizard"; }
    void Azzera() override { m_log << "Azzera"; }
    bool CaricaXML(const QString &testo) override
    {
        m_log << "CaricaXML(" + testo + ")";
        return m_c.leggibile;
    }
    void CaricaTabella(const QString &db, const QString &tabella) override
    {
        m_log << "CaricaTabella(" + db + "," + tabella + ")";
    }
    QString ComponiXML() override
    {
        m_log << "ComponiXML";
        return m_c.composto;
    }

private:
    QStringList &m_log;
    const Copione &m_c;
};

class FintaScelta : public TWizCSDFinestraSceltaForm
{
public:
    FintaScelta(QWidget *owner, QStringList &log, const Copione &c)
        : TWizCSDFinestraSceltaForm(owner)
        , m_log(log)
        , m_c(c)
    {
    }
    ~FintaScelta() override { m_log << "~scelta"; }
    bool GetTabellaPreimpostata() const override
    {
        m_log << "GetTabellaPreimpostata";
        return m_c.preimpostata;
    }
    QString GetDatabase() const override
    {
        m_log << "GetDatabase";
        return "/rif/ART.fdb";
    }
    QString GetTabella() const override
    {
        m_log << "GetTabella";
        return "ART";
    }

private:
    QStringList &m_log;
    const Copione &m_c;
};

class Wizard : public MenuProgrammaTest
{
protected:
    void SetUp() override
    {
        MenuProgrammaTest::SetUp();
        if (IsSkipped() || HasFatalFailure())
            return;
        voce(1, 1, "", "Uno");
        other("UPDATE DETTMENU SET DLL='Vecchia.dll', FUNZIONE='ApriX', LIVELLO2VERSIONE=0");
    }
    void TearDown() override
    {
        WizardVoce::setCreatore({});
        MenuProgrammaTest::TearDown();
    }
};

} // namespace

TEST_F(Wizard, EveryBranchCallsTheWindowsInOrderAndFreesThem)
{
    const QStringList senzaScript = {
        "CreaConTabForm", "new scelta", "exec scelta", "GetTabellaPreimpostata",
        "exec wizard",    "ComponiXML", "~scelta",     "~wizard"};
    const struct
    {
        const char *nome;
        QString script;
        Copione c;
        QStringList chiamate;
        bool composto;
    } casi[] = {
        {"empty script", "", {}, senzaScript, true},
        {"empty composition", "",
         [] {
             Copione c;
             c.composto = "";
             return c;
         }(),
         senzaScript, false},
        {"Yes, readable",
         "<vecchio/>",
         {},
         {"CreaConTabForm", "domanda", "CaricaXML(<vecchio/>)", "exec wizard", "ComponiXML",
          "~wizard"},
         true},
        {"Yes, unreadable, OK",
         "<vecchio/>",
         [] {
             Copione c;
             c.leggibile = false;
             return c;
         }(),
         {"CreaConTabForm", "domanda", "CaricaXML(<vecchio/>)", "avviso", "Azzera", "new scelta",
          "exec scelta", "GetTabellaPreimpostata", "exec wizard", "ComponiXML", "~scelta",
          "~wizard"},
         true},
        {"Yes, unreadable, Cancel",
         "<vecchio/>",
         [] {
             Copione c;
             c.leggibile = false;
             c.avviso = mrCancel;
             return c;
         }(),
         {"CreaConTabForm", "domanda", "CaricaXML(<vecchio/>)", "avviso", "~wizard"},
         false},
        {"No",
         "<vecchio/>",
         [] {
             Copione c;
             c.domanda = mrNo;
             return c;
         }(),
         {"CreaConTabForm", "domanda", "new scelta", "exec scelta", "GetTabellaPreimpostata",
          "exec wizard", "ComponiXML", "~scelta", "~wizard"},
         true},
        {"Cancel",
         "<vecchio/>",
         [] {
             Copione c;
             c.domanda = mrCancel;
             return c;
         }(),
         {"CreaConTabForm", "domanda", "~wizard"},
         false},
        {"start dialog cancelled",
         "",
         [] {
             Copione c;
             c.scelta = mrCancel;
             return c;
         }(),
         {"CreaConTabForm", "new scelta", "exec scelta", "~scelta", "~wizard"},
         false},
        {"preset table",
         "",
         [] {
             Copione c;
             c.preimpostata = true;
             return c;
         }(),
         {"CreaConTabForm", "new scelta", "exec scelta", "GetTabellaPreimpostata", "GetDatabase",
          "GetTabella", "CaricaTabella(/rif/ART.fdb,ART)", "exec wizard", "ComponiXML", "~scelta",
          "~wizard"},
         true},
        {"wizard cancelled",
         "",
         [] {
             Copione c;
             c.wizard = mrCancel;
             return c;
         }(),
         {"CreaConTabForm", "new scelta", "exec scelta", "GetTabellaPreimpostata", "exec wizard",
          "~scelta", "~wizard"},
         false},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.nome);
        other("UPDATE DETTMENU SET PARAMETRIBLOB=" +
              (caso.script.isEmpty() ? QString("NULL") : "'" + caso.script + "'"));
        const QString prima = kVecchia + caso.script;
        auto f = apri();
        QStringList log;
        WizardVoce::setCreatore(
            {[&](QWidget *owner, TTabForm *t) -> std::unique_ptr<TWizCSDFinestraForm> {
                 EXPECT_EQ(owner, f.get());
                 EXPECT_EQ(t, tabVar);
                 log << "CreaConTabForm";
                 return std::make_unique<FintoWizard>(owner, t, log, caso.c);
             },
             [&](QWidget *owner) -> std::unique_ptr<TWizCSDFinestraSceltaForm> {
                 EXPECT_EQ(owner, f.get());
                 log << "new scelta";
                 return std::make_unique<FintaScelta>(owner, log, caso.c);
             }});
        Modal::setRunner([&](QDialog *d) {
            const bool wizard = dynamic_cast<FintoWizard *>(d) != nullptr;
            log << (wizard ? "exec wizard" : "exec scelta");
            return wizard ? caso.c.wizard : caso.c.scelta;
        });
        Messages::setResponder([&](const TMessage &m) {
            if (m.text == WizardVoce::DomandaScript && m.kind == TMsgDlgType::Confirmation &&
                m.buttons == TMsgDlgButtons::YesNoCancel) {
                log << "domanda";
                return caso.c.domanda;
            }
            if (m.text == WizardVoce::ScriptNonRiconosciuto && m.kind == TMsgDlgType::Warning &&
                m.buttons == TMsgDlgButtons::OkCancel) {
                log << "avviso";
                return caso.c.avviso;
            }
            log << "box: " + m.text;
            return int(mrYes);
        });
        f->ButtonEdit->click();
        f->ButtonWizardCSDForm->click();
        EXPECT_EQ(log, caso.chiamate);
        EXPECT_TRUE(f->Editing());
        EXPECT_EQ(righeCommitted(kVoce), QStringList{prima});
        if (!caso.composto) {
            EXPECT_EQ(righe(kVoce), QStringList{prima}) << "the entry stays as it was";
            continue;
        }
        EXPECT_EQ(f->QueryDettMenu->State(), dsBrowse) << "posted";
        EXPECT_EQ(righe(kVoce), QStringList{"Norvak.dll|ShowCSDFormY|1|<CSDForm/>"});
        f->ButtonAnnulla->click(); // the responder answers Yes
        EXPECT_FALSE(f->Editing());
        EXPECT_EQ(righe(kVoce), QStringList{prima});
        EXPECT_EQ(f->MemoParametri->toPlainText(), caso.script);
    }
}

TEST_F(Wizard, RealWindowsOnAReferenceDatabaseStartToEnd)
{
    TestDatabase rif("rif.fdb");
    rif.exec("CREATE TABLE ART (COD INTEGER NOT NULL, DES VARCHAR(40))");
    rif.db().Close();
    auto f = apri();
    f->ButtonEdit->click();
    QStringList finestre;
    Modal::setRunner([&](QDialog *d) {
        if (auto *s = qobject_cast<TWizCSDFinestraSceltaForm *>(d)) {
            finestre << "scelta";
            s->RadioTabellaPreimpostata->setChecked(true);
            s->EditDatabase->setText(rif.path());
            s->CaricaTabelle(rif.path());
            s->ComboTabella->setCurrentText("ART");
            s->ButtonOk->click();
        } else if (auto *w = qobject_cast<TWizCSDFinestraForm *>(d)) {
            finestre << "wizard " + QString::number(w->Wizard->TabCampi->Count());
            (finestre.size() == 2 ? w->ButtonOk : w->ButtonCancel)->click();
        }
        return d->result();
    });
    f->ButtonWizardCSDForm->click();
    EXPECT_EQ(finestre, (QStringList{"scelta", "wizard 2"}));
    EXPECT_TRUE(f->Editing());
    f->ButtonMemorizza->click();
    const QStringList voce = righeCommitted(kVoce);
    ASSERT_EQ(voce.size(), 1);
    EXPECT_TRUE(voce[0].startsWith("Norvak.dll|ShowCSDFormY|1|<CSDForm")) << voce[0].toStdString();
    EXPECT_TRUE(voce[0].contains("ART"));

    // Again on the stored script: recognised, loaded, then cancelled.
    f->ButtonEdit->click();
    rec.expect(TMsgDlgType::Confirmation, WizardVoce::DomandaScript, mrYes);
    f->ButtonWizardCSDForm->click();
    EXPECT_EQ(finestre, (QStringList{"scelta", "wizard 2", "wizard 2"}));
    EXPECT_EQ(righe(kVoce), voce);
}
