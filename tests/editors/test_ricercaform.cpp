#include "archivefixture.h"
#include "dbgrid.h"
#include "ibdatabase.h"
#include "ibquery.h"
#include "ricercaform.h"

#include <QApplication>
#include <QBoxLayout>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>
#include <functional>

namespace {

// A list of projects read in a transaction of its own, with a filter row.
class ListaProgetti : public TRicercaForm
{
public:
    ListaProgetti(TTabForm *tabForm, const TRicercaOpzioni &opzioni)
        : TRicercaForm(nullptr, tabForm, "Progetti", "QueryProgetti", "GridProgetti", opzioni)
        , Filtro(new QPushButton("Filtra", this))
        , Cerca(new QLineEdit(this))
    {
        rigaFiltri()->addWidget(Filtro);
        rigaFiltri()->addWidget(Cerca);
        apri({"SELECT * FROM PROGETTI ORDER BY CODICE"});
    }
    using TRicercaForm::query;
    QPushButton *Filtro;
    QLineEdit *Cerca;
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

// Enter and a double click on the grid choose the row as "&Ritorna" does;
// Esc answers as "Ch&iudi"; Enter elsewhere presses nothing.
TEST_F(RicercaOpzioniTest, GridKeysAndEscAnswerAsTheButtons)
{
    other("INSERT INTO PROGETTI (CODICE, NOME) VALUES (1, 'uno')");
    nuovoSnapshot();
    using Azione = std::function<void(ListaProgetti &, TDBGrid *)>;
    const std::vector<std::pair<Azione, int>> casi = {
        {[](ListaProgetti &, TDBGrid *g) { QTest::keyClick(g, Qt::Key_Return); }, mrOk},
        {[](ListaProgetti &, TDBGrid *g) { QTest::keyClick(g, Qt::Key_Enter); }, mrOk},
        {[](ListaProgetti &, TDBGrid *g) {
             QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                                g->visualRect(g->model()->index(0, 0)).center());
         },
         mrOk},
        {[](ListaProgetti &l, TDBGrid *) { QTest::keyClick(&l, Qt::Key_Escape); }, mrCancel},
        {[](ListaProgetti &l, TDBGrid *) { QTest::keyClick(l.Cerca, Qt::Key_Return); }, -1},
    };
    for (const auto &[azione, risposta] : casi) {
        ListaProgetti lista(tab.get(), {});
        auto *grid = lista.findChild<TDBGrid *>("GridProgetti");
        int esito = -1;
        Modal::setRunner([&](QDialog *d) {
            d->show();
            QApplication::processEvents();
            azione(lista, grid);
            const int r = d->isVisible() ? -1 : d->result();
            d->done(0);
            return r;
        });
        esito = Modal::exec(&lista);
        Modal::setRunner({});
        EXPECT_EQ(esito, risposta);
    }
    EXPECT_FALSE(ListaProgetti(tab.get(), {}).ButtonRitorna->isDefault());
}
