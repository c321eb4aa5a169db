#include "campimodel.h"
#include "inputanswers.h"
#include "messagerecorder.h"
#include "scriptsamples.h"
#include "tabform.h"
#include "wizcsdfinestra.h"

#include <gtest/gtest.h>

// The field table's rows: numbering, the special-field combos that follow
// them, the combo values, and what the grid shows.

namespace {

class WizRigheTest : public ::testing::Test
{
protected:
    QString righe() const
    {
        QStringList out;
        for (int i = 0; i < wiz.TabCampi->Count(); ++i)
            out << QString::number(wiz.TabCampi->Riga(i).N) + wiz.TabCampi->Riga(i).Nome;
        return out.join(' ');
    }
    QString corrente() const
    {
        const TCampoRiga *r = wiz.TabCampi->RigaCorrente();
        return r ? r->Nome : QString();
    }
    void tre()
    {
        for (const char *n : {"A", "B", "C"})
            wiz.AggiungiCampo(wiz.TabCampi->Count() + 1, n);
    }
    void elimina(const QString &nome)
    {
        wiz.TabCampi->SetCorrente(wiz.TabCampi->Trova(nome));
        messages.expect(TMsgDlgType::Confirmation, "Eliminare il campo selezionato?", mrYes);
        wiz.Elimina();
    }
    void inserisciPrima(const QString &prima, const QString &nome)
    {
        wiz.TabCampi->SetCorrente(wiz.TabCampi->Trova(prima));
        answers.expect("Nuovo campo", "Nome campo:", nome);
        wiz.Inserisci();
    }

    MessageRecorder messages;
    InputAnswers answers;
    TTabForm tabForm;
    TWizCSDFinestra wiz{&tabForm};
};

} // namespace

TEST_F(WizRigheTest, DeletingKeepsPositionsWithoutGaps)
{
    tre();
    elimina("C");
    EXPECT_EQ(righe(), "1A 2B");
    EXPECT_EQ(corrente(), "B");
    wiz.Azzera();
    tre();
    elimina("B");
    EXPECT_EQ(righe(), "1A 2C");
    EXPECT_EQ(corrente(), "C");
    elimina("A");
    EXPECT_EQ(righe(), "1C");
    EXPECT_TRUE(wiz.DettaglioAbilitato());
    elimina("C");
    EXPECT_EQ(righe(), "");
    EXPECT_EQ(wiz.TabCampi->Corrente(), -1);
    EXPECT_FALSE(wiz.DettaglioAbilitato());

    messages.expect(TMsgDlgType::Warning, "Nessun campo selezionato");
    wiz.Elimina();
    tre();
    messages.expect(TMsgDlgType::Confirmation, "Eliminare il campo selezionato?", mrNo);
    wiz.Elimina();
    EXPECT_EQ(righe(), "1A 2B 3C");
}

TEST_F(WizRigheTest, InsertingGoesBeforeTheRowCurrentWhenPressed)
{
    tre();
    inserisciPrima("B", "x");
    EXPECT_EQ(righe(), "1A 2X 3B 4C");
    EXPECT_EQ(corrente(), "X");
    inserisciPrima("A", "Y");
    EXPECT_EQ(righe(), "1Y 2A 3X 4B 5C");

    // Looking up the name may move the current row to another one; the new
    // row still goes before the row the administrator was on.
    wiz.TabCampi->SetCorrente(wiz.TabCampi->Trova("B"));
    answers.expect("Nuovo campo", "Nome campo:", "z",
                   [this] { wiz.TabCampi->SetCorrente(wiz.TabCampi->Trova("Y")); });
    wiz.Inserisci();
    EXPECT_EQ(righe(), "1Y 2A 3X 4Z 5B 6C");

    // Cancelled: nothing; an empty name is refused and asked again.
    answers.expect("Nuovo campo", "Nome campo:", std::nullopt)
        .expect("Nuovo campo", "Nome campo:", "")
        .expect("Nuovo campo", "Nome campo:", std::nullopt);
    messages.expect(TMsgDlgType::Warning, "Inserire un nome");
    wiz.Inserisci();
    wiz.Inserisci();
    EXPECT_EQ(righe(), "1Y 2A 3X 4Z 5B 6C");

    // Without rows it appends.
    wiz.Azzera();
    answers.expect("Nuovo campo", "Nome campo:", "primo");
    wiz.Inserisci();
    EXPECT_EQ(righe(), "1PRIMO");
    answers.expect("Nuovo campo", "Nome campo:", "secondo");
    wiz.Nuovo();
    EXPECT_EQ(righe(), "1PRIMO 2SECONDO");
}

TEST_F(WizRigheTest, RenumberingByNameMakesTheFirstRenumberedRowCurrent)
{
    tre();
    wiz.RinumeraCampi("B", 5);
    EXPECT_EQ(righe(), "1A 5B 6C");
    EXPECT_EQ(corrente(), "B");
}

TEST_F(WizRigheTest, SpecialFieldCombosFollowTheRows)
{
    wiz.AggiungiCampo(1, "ZETA");
    wiz.AggiungiCampo(2, "ALFA");
    wiz.AggiungiCampo(3, "MEDIO");
    EXPECT_EQ(wiz.VociCampoGeneratore(), QStringList({"", "ZETA", "ALFA", "MEDIO"}));
    EXPECT_EQ(wiz.VociCampoFile(), wiz.VociCampoGeneratore());
    EXPECT_EQ(wiz.VociCampoImmagine(), QStringList({"", "ALFA", "MEDIO", "ZETA"}));

    wiz.SetCampoGeneratore("ALFA");
    wiz.SetCampoImmagine("ALFA");
    wiz.SetCampoFile("NESSUNO");
    EXPECT_EQ(wiz.CampoFile(), "");
    elimina("ALFA");
    EXPECT_EQ(wiz.VociCampoGeneratore(), QStringList({"", "ZETA", "MEDIO"}));
    EXPECT_EQ(wiz.CampoGeneratore(), "");
    EXPECT_EQ(wiz.CampoImmagine(), "");

    wiz.SetCampoFile("MEDIO");
    messages.expect(TMsgDlgType::Confirmation, "Azzerare tutti i campi?", mrNo);
    wiz.AzzeraCampi();
    EXPECT_EQ(wiz.CampoFile(), "MEDIO");
    messages.expect(TMsgDlgType::Confirmation, "Azzerare tutti i campi?", mrYes);
    wiz.AzzeraCampi();
    EXPECT_EQ(righe(), "");
    EXPECT_EQ(wiz.VociCampoImmagine(), QStringList({""}));
    EXPECT_EQ(wiz.CampoFile(), "");
    EXPECT_FALSE(wiz.DettaglioAbilitato());
    messages.expect(TMsgDlgType::Warning, "Nessun campo presente");
    wiz.AzzeraCampi();
}

TEST_F(WizRigheTest, ComboValuesRefuseDuplicatesAndKeepOneEmptyValue)
{
    wiz.AggiungiCampo(1, "TIPO");
    wiz.SetTipo(2);
    answers.expect("Aggiungi valore", "Valore:", "A")
        .expect("Aggiungi valore", "Valore:", "")
        .expect("Aggiungi valore", "Valore:", "")
        .expect("Aggiungi valore", "Valore:", "B");
    messages.expect(TMsgDlgType::Warning, "Valore già presente nella lista");
    wiz.AggiungiValore();
    wiz.AggiungiValore();
    wiz.AggiungiValore(); // the second empty value is refused and asked again
    EXPECT_EQ(wiz.TabCampi->RigaCorrente()->ValoriCombo, QStringList({"A", "", "B"}));
    answers.expect("Aggiungi valore", "Valore:", "A")
        .expect("Aggiungi valore", "Valore:", std::nullopt);
    messages.expect(TMsgDlgType::Warning, "Valore già presente nella lista");
    wiz.AggiungiValore();
    // Asked again with what was typed.
    EXPECT_EQ(answers.values().mid(4), QStringList({"", "A"}));
    EXPECT_EQ(wiz.TabCampi->RigaCorrente()->ValoriCombo.size(), 3);

    messages.expect(TMsgDlgType::Warning, "Selezionare un valore");
    wiz.RimuoviValore(-1);
    wiz.RimuoviValore(1);
    EXPECT_EQ(wiz.TabCampi->RigaCorrente()->ValoriCombo, QStringList({"A", "B"}));
    wiz.RimuoviValore(0);
    wiz.RimuoviValore(0);
    messages.expect(TMsgDlgType::Warning, "Nessun valore presente");
    wiz.RimuoviValore(0);
}

TEST(WizGriglia, TextsOfTheFieldGrid)
{
    TCampoRiga r;
    r.N = 3;
    r.Nome = "COD";
    using M = TCampiModel;
    EXPECT_EQ(M::Testo(r, M::ColN), "3");
    EXPECT_EQ(M::Testo(r, M::ColTipo), "Edit");
    EXPECT_EQ(M::Testo(r, M::ColValoriCombo), "");
    EXPECT_EQ(M::Testo(r, M::ColRicerca), "No");
    EXPECT_EQ(M::Testo(r, M::ColRicercaScript), "");
    EXPECT_EQ(M::Testo(r, M::ColDecodifica), "No");
    r.ValoriCombo = {"x"};
    EXPECT_EQ(M::Testo(r, M::ColValoriCombo), ""); // an edit row shows no values
    r.Tipo = 2;
    EXPECT_EQ(M::Testo(r, M::ColTipo), "Combo");
    EXPECT_EQ(M::Testo(r, M::ColValoriCombo), "Assegnati");
    r.ValoriCombo.clear();
    EXPECT_EQ(M::Testo(r, M::ColValoriCombo), "Nessuno");
    r.Ricerca = 1;
    EXPECT_EQ(M::Testo(r, M::ColRicerca), "Si");
    EXPECT_EQ(M::Testo(r, M::ColRicercaScript), "Nessuno");
    r.RicercaScript = "<RicercaSecLiv/>";
    EXPECT_EQ(M::Testo(r, M::ColRicercaScript), "Assegnato");
    r.Decodifica = 1;
    EXPECT_EQ(M::Testo(r, M::ColDecodifica), "Si");

    // Only the label is edited in the grid, and it reaches the row at once.
    TCampiTabella tabella;
    TCampiModel model(&tabella);
    tabella.Aggiungi(r);
    ASSERT_EQ(model.rowCount(), 1);
    EXPECT_FALSE(model.flags(model.index(0, M::ColNome)) & Qt::ItemIsEditable);
    EXPECT_TRUE(model.setData(model.index(0, M::ColEtichetta), "Codice", Qt::EditRole));
    EXPECT_EQ(tabella.Riga(0).Etichetta, "Codice");
    EXPECT_FALSE(model.setData(model.index(0, M::ColNome), "X", Qt::EditRole));
    EXPECT_EQ(model.headerData(M::ColDecodificaCampoEtich, Qt::Horizontal, Qt::DisplayRole),
              "DecodificaCampoEtich");
}
