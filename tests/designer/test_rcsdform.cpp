#include "basemainform.h"
#include "csdeditori.h"
#include "csdfixture.h"
#include "designermenu.h"
#include "ibquery.h"
#include "rcsdform.h"
#include "wizcsdfinestraform.h"

#include <QAction>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

// The CSD pick lists, the wizard's three caption buttons that open them, and
// the main menu's items that open the editors.

namespace {

class RCsdTest : public CsdTest
{
protected:
    void righe()
    {
        altro("INSERT INTO PROGETTI(CODICE,DESCRIZIONE,DLLRIF) VALUES (1,'Alfa','uno.dll')");
        altro("INSERT INTO PROGETTI(CODICE,DESCRIZIONE,DLLRIF) VALUES (2,'Beta','due.dll')");
        altro("INSERT INTO SITUAZIONI(CODICE,TIPO,DESCRIZIONE) VALUES (3,'FORM','Finestra')");
        altro("INSERT INTO SITUAZIONI(CODICE,TIPO,DESCRIZIONE) VALUES (4,'CSDGRID','Griglia')");
        // One saved through the editor, with an apostrophe.
        TProgettiCSDForm p(nullptr, tab.get());
        p.Nuovo();
        p.EditDescrizione->setText("Casa dell'Arte");
        p.Memorizza();
    }
    static QStringList codici(TRCSDForm &l)
    {
        QStringList out;
        TIBQuery *q = l.findChild<TIBQuery *>();
        for (q->First(); !q->Eof(); q->Next())
            out << q->FieldByName("CODICE")->AsString();
        return out;
    }
};

} // namespace

TEST_F(RCsdTest, FiltersSearchAsTheEditorsStore)
{
    righe();
    TRProgettiCSDForm l(nullptr, tab.get());
    EXPECT_EQ(l.ButtonChiudi->text(), "&Chiudi");
    EXPECT_EQ(codici(l), (QStringList{"1", "2", "3"}));
    const struct
    {
        const char *codice, *descrizione, *dll;
        QStringList attesi;
    } casi[] = {{"abc", "", "", {}},
                {"2", "", "", {"2"}},
                {"", "DELL'ARTE", "", {"3"}},
                {"", "", "DUE", {"2"}},
                {"", "a", "uno", {"1"}}};
    for (const auto &c : casi) {
        l.EditCodice->setText(c.codice);
        l.EditDescrizione->setText(c.descrizione);
        l.EditDLLRif->setText(c.dll);
        l.ButtonAttivaSelezione->click();
        EXPECT_EQ(codici(l), c.attesi) << c.codice << c.descrizione << c.dll;
    }

    // Enter in a filter searches and answers nothing.
    l.EditDLLRif->clear();
    l.EditDescrizione->clear();
    l.EditCodice->setText("1");
    QTest::keyClick(l.EditCodice, Qt::Key_Return);
    EXPECT_EQ(codici(l), QStringList{"1"});
    EXPECT_EQ(l.result(), 0);

    l.ButtonAnnullaSelezione->click();
    EXPECT_EQ(l.EditCodice->text(), "");
    EXPECT_EQ(codici(l), (QStringList{"1", "2", "3"}));

    // An empty result warns, in the situations list too, and stays open.
    TRSituazioniCSDForm s(nullptr, tab.get(), 1);
    EXPECT_EQ(codici(s), QStringList{"4"});
    s.EditFunzioneChiamata->setText("niente");
    s.EseguiRicerca();
    rec.expect(TMsgDlgType::Warning, "Selezionare una situazione");
    s.ButtonRitorna->click();
    EXPECT_EQ(s.result(), 0);
    l.EditCodice->setText("9");
    l.EseguiRicerca();
    rec.expect(TMsgDlgType::Warning, "Selezionare un progetto");
    EXPECT_EQ(mostra(l, [&] { l.ButtonRitorna->click(), l.ButtonChiudi->click(); }), mrCancel);
}

TEST_F(RCsdTest, CreateNewThroughTheEditor)
{
    righe();
    TRSituazioniCSDForm l(nullptr, tab.get(), 0);
    l.EditDescrizione->setText("fin");
    l.EseguiRicerca();
    int risposta = -1;
    auto crea = [&](bool memorizza) {
        Modal::setRunner([&](QDialog *d) {
            auto *e = qobject_cast<TSituazioniCSDForm *>(d);
            EXPECT_NE(e, nullptr);
            EXPECT_EQ(e->Modalita(), 1);
            EXPECT_EQ(e->Tipo, 0);
            if (memorizza) {
                e->EditDescrizione->setText("Nuova");
                e->ButtonMemorizza->click();
            } else {
                e->ButtonAnnulla->click();
            }
            return risposta = d->result();
        });
        l.ButtonCreaNuovo->click();
        Modal::setRunner({});
    };
    crea(false);
    EXPECT_EQ(risposta, mrCancel);
    EXPECT_EQ(l.EditDescrizione->text(), "fin");
    EXPECT_EQ(codici(l), QStringList{"3"});
    EXPECT_EQ(visti("SELECT CODICE FROM SITUAZIONI ORDER BY CODICE"), (QStringList{"3", "4"}));

    crea(true);
    EXPECT_EQ(risposta, mrOk);
    EXPECT_EQ(l.EditDescrizione->text(), "");
    EXPECT_EQ(l.EditCodice->text(), "5");
    EXPECT_EQ(codici(l), QStringList{"5"});
}

TEST_F(RCsdTest, WizardCaptionButtonsFillTheirEditsFromTheLists)
{
    righe();
    auto form = TWizCSDFinestraForm::CreaConTabForm(nullptr, tab.get());
    const struct
    {
        QPushButton *bottone;
        QLineEdit *edit;
        int tipo; // -1 projects
        const char *codice;
    } casi[] = {{form->ButtonCodiceProgetto, form->EditCodiceProgetto, -1, "2"},
                {form->ButtonSituazioneGriglia, form->EditSituazioneGriglia, 1, "4"},
                {form->ButtonSituazioneFinestra, form->EditSituazioneFinestra, 0, "3"}};
    for (const auto &c : casi) {
        Modal::setRunner([&](QDialog *d) {
            auto *s = qobject_cast<TRSituazioniCSDForm *>(d);
            EXPECT_EQ(s ? s->Tipo : -1, c.tipo);
            d->findChild<TIBQuery *>()->Locate("CODICE", QString(c.codice).toInt());
            static_cast<TRCSDForm *>(d)->ButtonRitorna->click();
            return d->result();
        });
        c.bottone->click();
        EXPECT_EQ(c.edit->text(), c.codice);
    }
    Modal::setRunner({});
    EXPECT_EQ(form->Wizard->CodiceProgetto(), 2);
    EXPECT_EQ(form->Wizard->SituazioneGriglia(), 4);
    EXPECT_EQ(form->Wizard->SituazioneFinestra(), 3);
}

TEST_F(RCsdTest, MainMenuOpensEachEditorOnceBehindTheGate)
{
    rec.allowAny();
    TBaseMainForm window;
    window.EditPassword->setText("corvex.5173");
    window.ButtonOk->click();
    rec.allowAny(false);
    rec.clear();
    DesignerMenu::Installa(window);
    const QList<QAction *> voci = {window.ProgettiCSD1, window.SituazioniForm1,
                                   window.SituazioniCSDGrid1};
    QStringList aperti;
    Modal::setRunner([&](QDialog *d) {
        aperti << d->windowTitle();
        return 0;
    });
    for (QAction *v : voci) {
        rec.expect(TMsgDlgType::Warning,
                   "Nessun database csd progetti collegato, vedi sotto menu sistema");
        v->trigger();
    }
    EXPECT_TRUE(aperti.isEmpty());
    window.TabForm()->ConnettiIBCSDProgetti(csdPath());
    for (QAction *v : voci)
        v->trigger();
    EXPECT_EQ(aperti, (QStringList{"Gestione Progetti CSD", "Gestione Situazioni Form",
                                   "Gestione Situazioni CSDGrid"}));
    EXPECT_EQ(rec.seen().size(), 3);
}
