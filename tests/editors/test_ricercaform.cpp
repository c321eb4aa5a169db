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
    // Return, Enter, a double click on the grid, Esc, Return in a box.
    const int risposte[] = {mrOk, mrOk, mrOk, mrCancel, -1};
    for (int caso = 0; caso < 5; ++caso) {
        ListaProgetti l(tab.get(), {});
        auto *g = l.findChild<TDBGrid *>("GridProgetti");
        const int esito = mostra(l, [&] {
            l.show();
            QApplication::processEvents();
            if (caso < 2)
                QTest::keyClick(g, caso == 0 ? Qt::Key_Return : Qt::Key_Enter);
            else if (caso == 2)
                QTest::mouseDClick(g->viewport(), Qt::LeftButton, {},
                                   g->visualRect(g->model()->index(0, 0)).center());
            else
                QTest::keyClick(caso == 3 ? (QWidget *)&l : l.Cerca,
                                caso == 3 ? Qt::Key_Escape : Qt::Key_Return);
            if (l.isVisible())
                l.done(-1);
        });
        EXPECT_EQ(esito, risposte[caso]) << caso;
        EXPECT_FALSE(l.ButtonRitorna->isDefault());
    }
}
