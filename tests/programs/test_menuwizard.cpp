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

// What a test answers for the windows and the boxes of one run.
struct Copione
{
    int domanda, avviso, scelta, wizard; // the script question, the warning, the two windows
    bool leggibile, preimpostata;        // CaricaXML, GetTabellaPreimpostata
    QString composto;                    // ComponiXML
};

class FintoWizard : public TWizCSDFinestraForm
{
public:
    FintoWizard(QWidget *o, TTabForm *t, QStringList &log, const Copione &c)
        : TWizCSDFinestraForm(o, t)
        , m_log(log)
        , m_c(c)
    {
    }
    ~FintoWizard() override { m_log << "~wizard"; }
    void Azzera() override { m_log << "Azzera"; }
    bool CaricaXML(const QString &testo) override
    {
        return m_log << "Carica " + testo, m_c.leggibile;
    }
    void CaricaTabella(const QString &db, const QString &t) override { m_log << db + "," + t; }
    QString ComponiXML() override { return m_log << "Componi", m_c.composto; }

private:
    QStringList &m_log;
    const Copione &m_c;
};

class FintaScelta : public TWizCSDFinestraSceltaForm
{
public:
    FintaScelta(QWidget *o, QStringList &log, const Copione &c)
        : TWizCSDFinestraSceltaForm(o)
        , m_log(log)
        , m_c(c)
    {
    }
    ~FintaScelta() override { m_log << "~scelta"; }
    bool GetTabellaPreimpostata() const override
    {
        return m_log << "Preimpostata", m_c.preimpostata;
    }
    QString GetDatabase() const override { return m_log << "GetDatabase", "/rif.fdb"; }
    QString GetTabella() const override { return m_log << "GetTabella", "ART"; }

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
    const int S = mrYes, N = mrNo, O = mrOk, C = mrCancel;
    const QString libera =
        "Crea Scelta exec:scelta Preimpostata exec:wizard Componi ~scelta ~wizard";
    const struct
    {
        QString script;
        Copione c;
        QString chiamate; // in order, blank-separated
    } casi[] = {
        {"", {S, O, O, O, true, false, "<CSDForm/>"}, libera},
        {"", {S, O, O, O, true, false, ""}, libera}, // empty composition: nothing written
        {"<v/>",
         {S, O, O, O, true, false, "<CSDForm/>"},
         "Crea domanda Carica <v/> exec:wizard Componi ~wizard"},
        {"<v/>",
         {S, O, O, O, false, false, "<CSDForm/>"},
         "Crea domanda Carica <v/> avviso Azzera " + libera.mid(5)},
        {"<v/>",
         {S, C, O, O, false, false, "<CSDForm/>"},
         "Crea domanda Carica <v/> avviso ~wizard"},
        {"<v/>", {N, O, O, O, true, false, "<CSDForm/>"}, "Crea domanda " + libera.mid(5)},
        {"<v/>", {C, O, O, O, true, false, "<CSDForm/>"}, "Crea domanda ~wizard"},
        {"", {S, O, C, O, true, false, "<CSDForm/>"}, "Crea Scelta exec:scelta ~scelta ~wizard"},
        {"",
         {S, O, O, O, true, true, "<CSDForm/>"},
         "Crea Scelta exec:scelta Preimpostata GetDatabase GetTabella /rif.fdb,ART exec:wizard "
         "Componi ~scelta ~wizard"},
        {"",
         {S, O, O, C, true, false, "<CSDForm/>"},
         "Crea Scelta exec:scelta Preimpostata exec:wizard ~scelta ~wizard"},
    };
    for (const auto &caso : casi) {
        SCOPED_TRACE(caso.chiamate.toStdString() + " -> " + caso.c.composto.toStdString());
        other("UPDATE DETTMENU SET PARAMETRIBLOB=" +
              (caso.script.isEmpty() ? QString("NULL") : "'" + caso.script + "'"));
        const QString prima = "Vecchia.dll|ApriX|0|" + caso.script;
        auto f = apri();
        QStringList log;
        WizardVoce::setCreatore(
            {[&](QWidget *o, TTabForm *t) -> std::unique_ptr<TWizCSDFinestraForm> {
                 EXPECT_TRUE(o == f.get() && t == tabVar);
                 log << "Crea";
                 return std::make_unique<FintoWizard>(o, t, log, caso.c);
             },
             [&](QWidget *o) -> std::unique_ptr<TWizCSDFinestraSceltaForm> {
                 EXPECT_EQ(o, f.get());
                 log << "Scelta";
                 return std::make_unique<FintaScelta>(o, log, caso.c);
             }});
        Modal::setRunner([&](QDialog *d) {
            const bool wizard = dynamic_cast<FintoWizard *>(d) != nullptr;
            log << (wizard ? "exec:wizard" : "exec:scelta");
            return wizard ? caso.c.wizard : caso.c.scelta;
        });
        Messages::setResponder([&](const TMessage &m) {
            if (m.text == WizardVoce::DomandaScript && m.buttons == TMsgDlgButtons::YesNoCancel)
                return log << "domanda", caso.c.domanda;
            if (m.text == WizardVoce::ScriptNonRiconosciuto && m.kind == TMsgDlgType::Warning &&
                m.buttons == TMsgDlgButtons::OkCancel)
                return log << "avviso", caso.c.avviso;
            return log << m.text, int(mrYes); // Annulla's question
        });
        f->ButtonEdit->click();
        f->ButtonWizardCSDForm->click();
        EXPECT_EQ(log.join(' '), caso.chiamate);
        EXPECT_TRUE(f->Editing());
        EXPECT_EQ(righeCommitted(kVoce), QStringList{prima});
        if (caso.c.composto.isEmpty() || !caso.chiamate.contains("Componi")) {
            EXPECT_EQ(righe(kVoce), QStringList{prima}) << "the entry stays as it was";
            continue;
        }
        EXPECT_EQ(f->QueryDettMenu->State(), dsBrowse) << "posted";
        EXPECT_EQ(righe(kVoce), QStringList{"Norvak.dll|ShowCSDFormY|1|<CSDForm/>"});
        f->ButtonAnnulla->click();
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
