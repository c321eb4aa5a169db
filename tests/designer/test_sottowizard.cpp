#include "campigrid.h"
#include "campimodel.h"
#include "csdfinestre.h"
#include "filedialogs.h"
#include "inputanswers.h"
#include "messagerecorder.h"
#include "nomecampo.h"
#include "tabform.h"
#include "wizcomboform.h"
#include "wizcsdfinestra.h"
#include "wizcsdricerca.h"
#include "wizcsdricercaform.h"
#include "wizcsdstampaform.h"

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

// The window wizard's sub-wizards: print, search and value pick, reached
// through the "Configura" buttons and the naming of new fields.

namespace {

class SottoWizardTest : public ::testing::Test
{
protected:
    SottoWizardTest()
    {
        Modal::setRunner([this](QDialog *d) {
            if (m_windows.isEmpty()) {
                ADD_FAILURE() << "unexpected window " << qPrintable(d->objectName());
                return int(mrCancel);
            }
            m_windows.takeFirst()(d);
            return d->result();
        });
    }
    ~SottoWizardTest() override
    {
        Modal::setRunner({});
        FileDialogs::setResponder({});
    }
    // Each window shown next is handed to `drive`, in order; its answer is
    // the window's result.
    template <typename Form> void poi(std::function<void(Form &)> drive)
    {
        m_windows.append([drive](QDialog *d) {
            auto *form = qobject_cast<Form *>(d);
            EXPECT_NE(form, nullptr) << qPrintable(d->objectName());
            if (form)
                drive(*form);
        });
    }
    // The value pick answered with a value.
    void sceglie(const QString &valore)
    {
        poi<TWizComboForm>([valore](TWizComboForm &f) {
            f.ComboValore->setCurrentText(valore);
            f.ButtonOk->click();
        });
    }
    static QString righe(const TCampiTabella &t)
    {
        QStringList out;
        for (int i = 0; i < t.Count(); ++i)
            out << QString::number(t.Riga(i).N) + t.Riga(i).Nome;
        return out.join(' ');
    }
    int pendenti() const { return int(m_windows.size()); }

    MessageRecorder messages;
    InputAnswers answers;
    TTabForm tabForm;
    TWizCSDFinestra wiz{&tabForm};

private:
    QList<std::function<void(QDialog *)>> m_windows;
};

} // namespace

TEST_F(SottoWizardTest, PrintWizardStartsFromTheTableAndKeepsItsSqlRequired)
{
    wiz.SetNomeTabella("ART");
    FileDialogs::setResponder([](const FileDialogRequest &r) {
        EXPECT_EQ(r.filter, "Report Combit (*.lst;*.lbl)|*.lst;*.lbl");
        return QString("/reports/vendite.lst");
    });
    poi<TWizCSDStampaForm>([this](TWizCSDStampaForm &f) {
        EXPECT_EQ(f.windowTitle(), "Wizard Stampa");
        EXPECT_FALSE(f.windowFlags() & Qt::WindowCloseButtonHint);
        EXPECT_EQ(f.EditTitolo->text(), "Stampa ART");
        EXPECT_EQ(f.MemoSQLStampa->toPlainText(), "SELECT * FROM ART");
        EXPECT_TRUE(f.RadioVerticale->isChecked());
        f.MemoSQLStampa->clear();
        f.EditTitolo->setText("Vendite");
        messages.expect(TMsgDlgType::Error, "SQL Stampa mancante");
        f.ButtonOk->click();
        EXPECT_EQ(f.result(), 0); // still open
        f.ButtonSQLStampa->click();
        EXPECT_EQ(f.MemoSQLStampa->toPlainText(), "SELECT * FROM ART");
        f.ButtonReport->click();
        EXPECT_EQ(f.EditReport->text(), "vendite.lst");
        f.RadioOrizzontale->setChecked(true);
        f.ButtonOk->click();
    });
    wiz.ConfiguraStampa();
    const QString xml = "<Stampa><NomeReport>vendite.lst</NomeReport><OrientamentoStampa>"
                        "ORIZZONTALE</OrientamentoStampa><SQLStampa>SELECT * FROM ART"
                        "</SQLStampa><TitoloStampa>Vendite</TitoloStampa></Stampa>";
    EXPECT_EQ(wiz.XMLStampa(), xml);
    EXPECT_NO_THROW(VerificaStampa(xml));
    EXPECT_THROW(VerificaStampa("<Stampa><TitoloStampa>T</TitoloStampa></Stampa>"),
                 std::runtime_error);
}

TEST_F(SottoWizardTest, TypedNamesFollowOneSetOfRules)
{
    const QString blank = "Il nome campo non può contenere caratteri blank";
    const QString numero = "Il nome campo deve essere alfanumerico";
    const QString lungo = "Il nome non può superare i 31 caratteri";
    // clang-format off
    const QList<QPair<QString, QString>> casi = {
        {"", "Inserire un nome"}, {"A B", blank}, {"123", numero}, {"-5", numero},
        {"+7", numero}, {"99999999999", numero}, {"1A", ""}, {"-", ""},
        {QString(31, QChar('a')), ""}, {QString(32, QChar('a')), lungo},
        {QString(16, QChar(0xDF)), lungo}}; // "ß" is "SS"
    // clang-format on
    for (const auto &c : casi)
        EXPECT_EQ(NomeCampo::Rifiuto(c.first), c.second) << qPrintable(c.first);

    // Asked: each refusal warns and asks again with the typed text.
    TCampiTabella tabella;
    for (const char *nome : {"A", "B"}) {
        TCampoRiga r;
        r.N = tabella.Count() + 1;
        r.Nome = nome;
        tabella.Aggiungi(r);
    }
    for (const char *scritto : {"1 2", "12", "a", "cod"})
        answers.expect("Nuovo campo", "Nome campo:", scritto);
    messages.expect(TMsgDlgType::Warning, blank)
        .expect(TMsgDlgType::Warning, numero)
        .expect(TMsgDlgType::Warning, "Il nome inserito è già stato usato");
    EXPECT_EQ(NomeCampo::Chiedi(&tabella, {}, nullptr), "COD");
    EXPECT_EQ(answers.values(), QStringList({"", "1 2", "12", "a"}));
    EXPECT_EQ(tabella.Corrente(), 0); // the duplicate's row
    answers.expect("Nuovo campo", "Nome campo:", std::nullopt);
    EXPECT_EQ(NomeCampo::Chiedi(&tabella, {}, nullptr), "");
}

TEST_F(SottoWizardTest, SearchRowsArePickedInsertedBeforeTheCurrentAndDeleted)
{
    TCSDRicerche ricerca;
    TWizCSDRicerca r(&ricerca);
    r.NomiScelta = {"COD", "DES", "PREZZO", "IVA"};
    EXPECT_FALSE(r.DettaglioAbilitato());
    messages.expect(TMsgDlgType::Warning, "Nessun campo compilato");
    EXPECT_FALSE(r.Ok());
    sceglie("COD");
    r.Inserisci(); // without rows: appended
    sceglie("PREZZO");
    r.Nuovo();
    EXPECT_EQ(righe(*r.TabCampi), "1COD 2PREZZO");
    // Before the current row, also when a refused duplicate moved it.
    r.TabCampi->SetCorrente(1);
    sceglie("COD");
    messages.expect(TMsgDlgType::Warning, "Il nome inserito è già stato usato");
    sceglie("DES");
    r.Inserisci();
    EXPECT_EQ(righe(*r.TabCampi), "1COD 2DES 3PREZZO");
    EXPECT_EQ(r.TabCampi->RigaCorrente()->Nome, "DES");

    messages.expect(TMsgDlgType::Confirmation, "Eliminare il campo selezionato?", mrYes);
    r.Elimina();
    EXPECT_EQ(righe(*r.TabCampi), "1COD 2PREZZO");
    EXPECT_EQ(r.TabCampi->RigaCorrente()->Nome, "PREZZO");
    r.TestoSituazioneGriglia = "7";
    r.TestoCodiceProgetto = "x";
    ASSERT_TRUE(r.Ok());
    EXPECT_EQ(ricerca.CampiRic.Count(), 2);
    EXPECT_EQ(ricerca.CampiRic.Items(1)->Nome, "PREZZO");
    EXPECT_EQ(ricerca.SituazioneCSDGrid, 7);
    EXPECT_EQ(ricerca.CodiceProgetto, 0);

    messages.expect(TMsgDlgType::Confirmation, "Azzerare tutti i campi?", mrYes)
        .expect(TMsgDlgType::Warning, "Nessun campo selezionato");
    r.AzzeraCampi();
    EXPECT_FALSE(r.DettaglioAbilitato());
    r.Elimina();
    EXPECT_EQ(pendenti(), 0);
}

TEST_F(SottoWizardTest, FieldSearchKeepsWhatItsWizardDoesNotShow)
{
    wiz.AggiungiCampo(1, "FORNITORE");
    wiz.SetDecodifica(true);
    wiz.SetDecodificaTabella("FORNITORI");
    wiz.SetDecodificaCampoColl("CODICE");
    wiz.SetRicercaCampo(true);
    wiz.TabCampi->Modifica(0, [](TCampoRiga &r) {
        r.RicercaScript =
            "<RicercaSecLiv><ParametroArchivio>Listini</ParametroArchivio><NomeTabella>FORNITORI"
            "</NomeTabella><CodiceProgetto>3</CodiceProgetto><SituazioneCSDGrid>0"
            "</SituazioneCSDGrid><CodiceProgettoForm>4</CodiceProgettoForm><SituazioneForm>5"
            "</SituazioneForm><FocusIniziale>RAGSOC</FocusIniziale><CampiRic><CampoRic><Nome>"
            "RAGSOC</Nome><Etichetta>Ragione</Etichetta><Decodifica><TabellaCol>X</TabellaCol>"
            "<CampoCol>Y</CampoCol><CampoDec>Z</CampoDec></Decodifica></CampoRic><CampoRic>"
            "<Nome>CITTA</Nome></CampoRic></CampiRic><Filtro><QueryRaw>ATTIVO=1</QueryRaw>"
            "</Filtro><CampiRitorno><CampoRitorno>CODICE</CampoRitorno></CampiRitorno>"
            "</RicercaSecLiv>";
    });
    poi<TWizCSDRicercaForm>([this](TWizCSDRicercaForm &f) {
        EXPECT_EQ(f.EditCodiceProgetto->text(), "3");
        EXPECT_EQ(f.EditSituazioneGriglia->text(), "");
        EXPECT_EQ(f.EditSituazioneFinestra->text(), "5");
        EXPECT_EQ(righe(*f.Wizard->TabCampi), "1RAGSOC 2CITTA");
        EXPECT_EQ(f.GridCampi->currentIndex().row(), 0);
        EXPECT_TRUE(f.Wizard->NomiScelta.isEmpty()); // no reference database
        answers.expect("Nuovo campo", "Nome campo:", "prov");
        f.ButtonNuovo->click();
        QTest::keyClicks(f.EditSituazioneGriglia, "8");
        // A label still in its cell editor is taken by "Ok".
        f.show();
        const QModelIndex etichetta = f.GridCampi->model()->index(0, TCampiModel::ColEtichetta);
        f.GridCampi->setCurrentIndex(etichetta);
        f.GridCampi->edit(etichetta);
        auto *editor = f.GridCampi->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        editor->setText("Ditta");
        f.Wizard->TabCampi->SetCorrente(1);
        messages.expect(TMsgDlgType::Confirmation, "Eliminare il campo selezionato?", mrYes);
        f.ButtonElimina->click();
        f.ButtonOk->click();
    });
    wiz.ConfiguraRicercaCampo();
    TCSDRicercaSecLiv letta;
    letta.SetXML(wiz.TabCampi->Riga(0).RicercaScript);
    EXPECT_EQ(letta.ParametroArchivio, "Listini");
    EXPECT_EQ(letta.SituazioneCSDGrid, 8);
    EXPECT_EQ(letta.FocusIniziale, "RAGSOC");
    EXPECT_EQ(letta.CampiRitorno, QStringList({"CODICE"}));
    ASSERT_NE(dynamic_cast<TCSDFiltroRaw *>(letta.Filtro.get()), nullptr);
    ASSERT_EQ(letta.CampiRic.Count(), 2);
    EXPECT_EQ(letta.CampiRic.Items(0)->Etichetta, "Ditta");
    ASSERT_NE(letta.CampiRic.Items(0)->Decodifica, nullptr);
    EXPECT_EQ(letta.CampiRic.Items(0)->Decodifica->CampoDec, "Z");
    EXPECT_EQ(letta.CampiRic.Items(1)->Nome, "PROV");
    EXPECT_EQ(pendenti(), 0);
}

TEST_F(SottoWizardTest, NewSearchesOpenTheWindowsDatabase)
{
    ASSERT_TRUE(wiz.CaricaXML("<CSDForm><PercorsoArchivio>C:\\dati\\a.fdb</PercorsoArchivio>"
                              "<NomeTabella>ART</NomeTabella><CampiVis><CampoVis><Nome>COD"
                              "</Nome></CampoVis><CampoVis><Nome>DES</Nome></CampoVis>"
                              "</CampiVis></CSDForm>"));
    wiz.SetRicercaAttiva(true);
    poi<TWizCSDRicercaForm>([this](TWizCSDRicercaForm &f) {
        const TCSDRicerca &r = *f.Wizard->Ricerca;
        EXPECT_EQ(r.ParametroArchivio, "");
        EXPECT_EQ(r.PercorsoArchivio, "C:\\dati\\a.fdb");
        EXPECT_EQ(r.NomeTabella, "ART");
        EXPECT_EQ(f.Wizard->NomiScelta, QStringList({"COD", "DES"}));
        sceglie("DES");
        f.ButtonNuovo->click();
        f.ButtonOk->click();
    });
    wiz.ConfiguraRicerca();
    EXPECT_TRUE(wiz.XMLRicerca().startsWith(
        "<Ricerche><PercorsoArchivio>C:\\dati\\a.fdb</PercorsoArchivio><NomeTabella>ART"));
    EXPECT_TRUE(wiz.XMLRicerca().contains("<CampiRic><CampoRic><Nome>DES</Nome><Etichetta>DES"));
    EXPECT_EQ(pendenti(), 0);
}

TEST_F(SottoWizardTest, ValuePickStartsWithNothingChosen)
{
    TWizComboForm pick(nullptr, {"A", "B"}, QString());
    EXPECT_FALSE(pick.windowFlags() & Qt::WindowCloseButtonHint);
    EXPECT_EQ(pick.LabelTitolo->text(), "Valore:");
    EXPECT_EQ(pick.GetValore(), "");
    poi<TWizComboForm>([this](TWizComboForm &f) {
        messages.expect(TMsgDlgType::Warning, "Scegliere un valore");
        f.ButtonOk->click();
        EXPECT_EQ(f.result(), 0);
        f.ComboValore->setCurrentIndex(1);
        f.ButtonOk->click();
    });
    EXPECT_EQ(Modal::exec(&pick), mrOk);
    EXPECT_EQ(pick.GetValore(), "B");

    poi<TWizComboForm>([](TWizComboForm &f) {
        f.show();
        QTest::keyClick(&f, Qt::Key_Escape);
    });
    EXPECT_EQ(Modal::exec(&pick), mrCancel);
}
