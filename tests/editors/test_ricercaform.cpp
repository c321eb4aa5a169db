#include "archivefixture.h"
#include "dbgrid.h"
#include "ibdatabase.h"
#include "ibquery.h"
#include "ricercaform.h"

#include <QBoxLayout>
#include <QPushButton>

namespace {

// A list of projects read in a transaction of its own, with a filter row.
class ListaProgetti : public TRicercaForm
{
public:
    ListaProgetti(TTabForm *tabForm, const TRicercaOpzioni &opzioni)
        : TRicercaForm(nullptr, tabForm, "Progetti", "QueryProgetti", "GridProgetti", opzioni)
        , Filtro(new QPushButton("Filtra", this))
    {
        rigaFiltri()->addWidget(Filtro);
        apri({"SELECT * FROM PROGETTI ORDER BY CODICE"});
    }
    using TRicercaForm::query;
    QPushButton *Filtro;
};

class RicercaOpzioniTest : public ArchiveTest
{
};

} // namespace

TEST_F(RicercaOpzioniTest, OwnTransactionWarningCloseCaptionAndFilterRow)
{
    TIBTransaction proprio;
    proprio.setDefaultDatabase(tab->IBDatabase1);
    proprio.Params = QStringList{"read_committed", "rec_version", "nowait", "read"};
    // Held uncommitted by the shared transaction: another reader does not see it.
    tab->QueryAux->SQL = QStringList{"INSERT INTO PROGETTI (CODICE, NOME) VALUES (1, 'uno')"};
    tab->QueryAux->ExecQuery();

    TRicercaOpzioni opzioni;
    opzioni.database = tab->IBDatabase1;
    opzioni.transaction = &proprio;
    opzioni.avvisoVuota = "Nessun progetto";
    opzioni.didascaliaChiudi = "&Esci";
    ListaProgetti lista(tab.get(), opzioni);
    EXPECT_EQ(lista.query()->Transaction(), &proprio);
    EXPECT_TRUE(lista.query()->IsEmpty());
    EXPECT_EQ(lista.ButtonChiudi->text(), "&Esci");
    auto *layout = qobject_cast<QBoxLayout *>(lista.layout());
    ASSERT_NE(layout, nullptr);
    EXPECT_EQ(layout->itemAt(0)->layout()->itemAt(0)->widget(), lista.Filtro);
    EXPECT_EQ(layout->itemAt(1)->widget(), lista.findChild<TDBGrid *>("GridProgetti"));

    rec.expect(TMsgDlgType::Warning, "Nessun progetto");
    lista.ButtonRitornaClick();
    EXPECT_EQ(rec.pending(), 0);
}
