#include "campigrid.h"
#include "campimodel.h"
#include "inputanswers.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "wizcsdfinestraform.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <gtest/gtest.h>

// The window over the wizard: what a control does reaches the wizard at
// once, and what the wizard holds shows.

namespace {

class WizFormTest : public ::testing::Test
{
protected:
    void show()
    {
        form->show();
        form->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(form.get()));
    }
    TWizCSDFinestra &wiz() { return *form->Wizard; }

    MessageRecorder messages;
    InputAnswers answers;
    TTabForm tabForm;
    std::unique_ptr<TWizCSDFinestraForm> form =
        TWizCSDFinestraForm::CreaConTabForm(nullptr, &tabForm);
};

} // namespace

TEST_F(WizFormTest, CaptionComponentsAndCancel)
{
    EXPECT_EQ(form->windowTitle(), "Wizard composizione script XML CSDForm");
    for (const char *name : {"RadioArchivio",
                             "EditParametroPers",
                             "EditNomeTabella",
                             "EditTitolo",
                             "ButtonScript",
                             "EditCodiceProgetto",
                             "EditSituazioneGriglia",
                             "EditSituazioneFinestra",
                             "ComboCampoGeneratore",
                             "ComboGeneratore",
                             "ComboCampoImmagine",
                             "ComboCampoFile",
                             "CheckStampa",
                             "CheckRicerca",
                             "CheckSoloConsultazione",
                             "GridCampi",
                             "ButtonNuovo",
                             "ButtonInserisci",
                             "ButtonElimina",
                             "ButtonAzzera",
                             "ComboDecodificaTabella",
                             "ComboDecodificaCampoColl",
                             "ComboDecodificaCampoDec",
                             "ButtonOk",
                             "ButtonMemorizza",
                             "ButtonTestaFinestra",
                             "ButtonCancel"})
        EXPECT_NE(form->findChild<QWidget *>(name), nullptr) << name;
    EXPECT_FALSE(form->PanelDettaglio->isEnabled());

    Modal::setRunner([](QDialog *d) {
        d->show();
        d->findChild<QPushButton *>("ButtonCancel")->click();
        return d->result();
    });
    EXPECT_EQ(Modal::exec(form.get()), mrCancel);
    Modal::setRunner({});
}

TEST_F(WizFormTest, TypedInputsReachTheWizardAtOnce)
{
    show();
    QTest::keyClicks(form->EditNomeTabella, "art");
    EXPECT_EQ(wiz().NomeTabella(), "ART");
    EXPECT_EQ(form->EditNomeTabella->text(), "ART");
    // A loaded name shows as it is held; typing turns the text to capitals.
    form->CaricaXML("<CSDForm><NomeTabella>art</NomeTabella></CSDForm>");
    EXPECT_EQ(form->EditNomeTabella->text(), "art");
    EXPECT_EQ(wiz().NomeTabella(), "art");
    form->EditNomeTabella->setCursorPosition(1);
    QTest::keyClicks(form->EditNomeTabella, "x");
    EXPECT_EQ(form->EditNomeTabella->text(), "AXRT");
    EXPECT_EQ(form->EditNomeTabella->cursorPosition(), 2);
    EXPECT_EQ(wiz().NomeTabella(), "AXRT");
    QTest::keyClicks(form->EditSituazioneFinestra, "12");
    EXPECT_EQ(wiz().SituazioneFinestra(), 12);
    QTest::keyClicks(form->ComboGeneratore->lineEdit(), "gen");
    EXPECT_EQ(wiz().Generatore(), "GEN");

    form->RadioCreaTabellaSi->click();
    EXPECT_TRUE(wiz().CreaTabellaAttiva());
    EXPECT_TRUE(form->ButtonScript->isVisible());
    form->RadioCreaTabellaNo->click();
    EXPECT_FALSE(form->ButtonScript->isVisible());
    form->CheckStampa->click();
    EXPECT_TRUE(wiz().StampaAttiva());
    EXPECT_TRUE(form->ButtonConfiguraStampa->isVisible());

    EXPECT_FALSE(form->EditParametroPers->isVisible());
    form->RadioParametroPers->click();
    EXPECT_TRUE(form->EditParametroPers->isVisible());
    QTest::keyClicks(form->EditParametroPers, "Mio");
    EXPECT_EQ(wiz().ParametroArchivio(), "Mio");
}

TEST_F(WizFormTest, KeptPathShowsReadOnlyUntilARadioIsChosen)
{
    show();
    ASSERT_TRUE(form->CaricaXML(
        "<CSDForm><PercorsoArchivio>C:\\a.fdb</PercorsoArchivio><NomeTabella>T</NomeTabella>"
        "</CSDForm>"));
    EXPECT_TRUE(form->RadioParametroPers->isChecked());
    EXPECT_EQ(form->EditParametroPers->text(), "C:\\a.fdb");
    EXPECT_TRUE(form->EditParametroPers->isReadOnly());
    EXPECT_TRUE(form->LabelPercorsoArchivio->isVisible());
    form->RadioParametroPers->click();
    EXPECT_EQ(wiz().PercorsoArchivio(), "");
    EXPECT_FALSE(form->EditParametroPers->isReadOnly());
    EXPECT_EQ(form->EditParametroPers->text(), "");
    EXPECT_FALSE(form->LabelPercorsoArchivio->isVisible());
}

TEST_F(WizFormTest, RowButtonsCombosAndDetailFollowTheRows)
{
    show();
    messages.expect(TMsgDlgType::Warning, "Nessun campo selezionato");
    form->ButtonElimina->click();
    answers.expect("Nuovo campo", "Nome campo:", "cod").expect("Nuovo campo", "Nome campo:", "des");
    form->ButtonNuovo->click();
    form->ButtonNuovo->click();
    EXPECT_TRUE(form->PanelDettaglio->isEnabled());
    EXPECT_EQ(form->GridCampi->model()->rowCount(), 2);
    EXPECT_EQ(form->GridCampi->currentIndex().row(), 1);
    EXPECT_EQ(form->ComboCampoFile->count(), 3);
    EXPECT_EQ(form->ComboCampoFile->currentText(), "");

    form->RadioCombo->click();
    EXPECT_EQ(wiz().TabCampi->Riga(1).Tipo, 2);
    EXPECT_TRUE(form->PanelValori->isVisible());
    EXPECT_EQ(form->GridCampi->model()->index(1, TCampiModel::ColTipo).data().toString(), "Combo");
    answers.expect("Aggiungi valore", "Valore:", "X");
    form->ButtonAggiungiValore->click();
    EXPECT_EQ(form->ListValoriCombo->count(), 1);

    // Moving in the grid moves the current row and the detail with it.
    form->GridCampi->setCurrentIndex(form->GridCampi->model()->index(0, TCampiModel::ColNome));
    EXPECT_EQ(wiz().TabCampi->Corrente(), 0);
    EXPECT_TRUE(form->RadioEdit->isChecked());
    EXPECT_FALSE(form->PanelValori->isVisible());
    EXPECT_EQ(form->ListValoriCombo->count(), 0);
    form->CheckDecodifica->click();
    EXPECT_TRUE(form->PanelDecodifica->isVisible());
    EXPECT_TRUE(form->CheckRicercaCampo->isVisible());
    QTest::keyClicks(form->ComboDecodificaTabella->lineEdit(), "FORNITORI");
    EXPECT_EQ(wiz().TabCampi->Riga(0).DecodificaTabella, "FORNITORI");

    form->ComboCampoImmagine->setCurrentIndex(2);
    emit form->ComboCampoImmagine->activated(2);
    EXPECT_EQ(wiz().CampoImmagine(), "DES");
    messages.expect(TMsgDlgType::Confirmation, "Azzerare tutti i campi?", mrYes);
    form->ButtonAzzera->click();
    EXPECT_EQ(form->ComboCampoImmagine->count(), 1);
    EXPECT_FALSE(form->PanelDettaglio->isEnabled());
}

TEST_F(WizFormTest, OpenGridEditorIsStoredBeforeComposing)
{
    show();
    const QString long40(40, QChar('e'));
    ASSERT_TRUE(form->CaricaXML("<CSDForm><NomeTabella>T</NomeTabella><CampiVis><CampoVis><Nome>A"
                                "</Nome><Etichetta>" +
                                long40 +
                                "</Etichetta></CampoVis><CampoVis><Nome>B</Nome></CampoVis>"
                                "</CampiVis></CSDForm>"));
    auto editLabel = [this](int row) {
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); // closed editors
        const QModelIndex etichetta =
            form->GridCampi->model()->index(row, TCampiModel::ColEtichetta);
        form->GridCampi->setCurrentIndex(etichetta);
        form->GridCampi->edit(etichetta);
        return form->GridCampi->findChild<QLineEdit *>();
    };
    QLineEdit *editor = editLabel(0);
    ASSERT_NE(editor, nullptr);
    EXPECT_EQ(editor->text(), long40); // a loaded text is not cut
    form->GridCampi->commitOpenEditor();

    editor = editLabel(1);
    ASSERT_NE(editor, nullptr);
    editor->selectAll();
    QTest::keyClicks(editor, QString(40, QChar('x')));
    EXPECT_EQ(editor->text(), QString(31, QChar('x'))); // what is typed is
    const QString composed = form->ComponiXML();        // with the editor still open
    EXPECT_TRUE(composed.contains("<Etichetta>" + long40 + "<"));
    EXPECT_TRUE(composed.contains("<Etichetta>" + QString(31, QChar('x')) + "<"));
}

TEST_F(WizFormTest, CaptionButtonsFocusTheirInputAndCodeButtonsPassTheGate)
{
    show();
    form->ButtonTitolo->click();
    EXPECT_TRUE(form->EditTitolo->hasFocus());
    form->ButtonCampoFile->click();
    EXPECT_TRUE(form->ComboCampoFile->hasFocus());
    messages.expect(TMsgDlgType::Warning,
                    "Nessun database csd progetti collegato, vedi sotto menu sistema");
    form->ButtonSituazioneGriglia->click();
    EXPECT_FALSE(form->EditSituazioneGriglia->hasFocus());
    messages.expect(TMsgDlgType::Warning, "Specificare prima un Nome Tabella");
    form->CheckRicerca->click();
    form->ButtonConfiguraRicerca->click();
}

TEST_F(WizFormTest, NothingClipsWithALargeFont)
{
    const QFont before = QApplication::font();
    QFont big = before;
    big.setPointSize(before.pointSize() * 2);
    QApplication::setFont(big);
    auto large = TWizCSDFinestraForm::CreaConTabForm(nullptr, &tabForm);
    large->CaricaXML(ScriptSamples::fullForm()->GetXML());
    large->show();
    QApplication::processEvents();
    for (QAbstractButton *b : large->findChildren<QAbstractButton *>()) {
        if (b->isVisible())
            EXPECT_GE(b->width(), b->sizeHint().width()) << qPrintable(b->objectName());
    }
    for (QLabel *l : large->findChildren<QLabel *>()) {
        if (l->isVisible())
            EXPECT_GE(l->width(), l->sizeHint().width()) << qPrintable(l->text());
    }
    QApplication::setFont(before);
}

TEST_F(WizFormTest, ConfiguraOpensThePrintWizardAndStoresItsSettings)
{
    show();
    QTest::keyClicks(form->EditNomeTabella, "art");
    form->CheckStampa->click();
    Modal::setRunner([](QDialog *d) {
        EXPECT_EQ(d->objectName(), "WizCSDStampaForm");
        d->findChild<QPushButton *>("ButtonOk")->click();
        return d->result();
    });
    form->ButtonConfiguraStampa->click();
    Modal::setRunner({});
    EXPECT_EQ(wiz().XMLStampa(),
              "<Stampa><SQLStampa>SELECT * FROM ART</SQLStampa><TitoloStampa>Stampa ART"
              "</TitoloStampa></Stampa>");
}
