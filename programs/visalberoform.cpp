// The menu tree view: the tree built from one fetch, and the popup's add,
// delete and modify, each committed at once.

#include "visalberoform.h"

#include "alberomenu.h"
#include "dberrortext.h"
#include "editorwidgets.h"
#include "guard.h"
#include "ibdatabase.h"
#include "ibsql.h"
#include "memorydata.h"
#include "messages.h"
#include "nodovoceform.h"
#include "tabform.h"

#include <QHBoxLayout>
#include <QMenu>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

const QString kErroreInterno =
    QStringLiteral("Errore interno. Si consiglia di chiudere la finestra e riaprirla");
const QString kNidificate = QStringLiteral("La voce selezionata contiene altre voci nidificate: "
                                           "non è possibile procedere alla cancellazione");
constexpr int kRuoloNodo = Qt::UserRole;

} // namespace

TVisAlberoForm::TVisAlberoForm(QWidget *owner, TTabForm *&tabForm, const QString &programma)
    : QDialog(owner)
    , FTabForm(tabForm)
    , FProgramma(programma)
    , TreeViewMenu(new QTreeWidget(this))
    , PopUpAlbero(new QMenu(this))
    , QueryAux(new TIBSQL(this))
    , MemTabNodiMenu(new TRxMemoryData(this))
{
    setObjectName(QStringLiteral("VisAlberoForm"));
    setWindowTitle(QStringLiteral("Visualizzazione ad albero del menu"));
    TreeViewMenu->setObjectName(QStringLiteral("TreeViewMenu"));
    TreeViewMenu->setHeaderHidden(true);
    TreeViewMenu->setIndentation(19);
    TreeViewMenu->setUniformRowHeights(true);
    TreeViewMenu->setContextMenuPolicy(Qt::CustomContextMenu);
    PopUpAlbero->setObjectName(QStringLiteral("PopUpAlbero"));
    Nuovo1 = PopUpAlbero->addAction(QStringLiteral("Nuovo"));
    Elimina1 = PopUpAlbero->addAction(QStringLiteral("Elimina"));
    Modifica1 = PopUpAlbero->addAction(QStringLiteral("Modifica"));
    Nuovo1->setObjectName(QStringLiteral("Nuovo1"));
    Elimina1->setObjectName(QStringLiteral("Elimina1"));
    Modifica1->setObjectName(QStringLiteral("Modifica1"));
    ButtonChiudi = EditorWidgets::button("ButtonChiudi", QStringLiteral("Ch&iudi"));
    ButtonRitorna = EditorWidgets::button("ButtonRitorna", QStringLiteral("&Ritorna"));
    QueryAux->setObjectName(QStringLiteral("QueryAux"));
    QueryAux->setDatabase(FTabForm->IBDatabase1);
    QueryAux->setTransaction(FTabForm->IBTransaction1);
    MemTabNodiMenu->setObjectName(QStringLiteral("MemTabNodiMenu"));

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(ButtonRitorna);
    pulsanti->addWidget(ButtonChiudi);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(TreeViewMenu, 1);
    layout->addLayout(pulsanti);
    resize(fontMetrics().averageCharWidth() * 70, fontMetrics().height() * 30);

    Guard::connect(TreeViewMenu, &QWidget::customContextMenuRequested, this,
                   &TVisAlberoForm::apriMenu);
    Guard::connect(Nuovo1, &QAction::triggered, this, [this] { Nuovo1Click(); });
    Guard::connect(Elimina1, &QAction::triggered, this, [this] { Elimina1Click(); });
    Guard::connect(Modifica1, &QAction::triggered, this, [this] { Modifica1Click(); });
    Guard::connect(ButtonRitorna, &QPushButton::clicked, this, [this] { ButtonRitornaClick(); });
    Guard::connect(ButtonChiudi, &QPushButton::clicked, this, [this] { ButtonChiudiClick(); });

    creaAlbero();
}

TVisAlberoForm::~TVisAlberoForm() = default;

int TVisAlberoForm::Nodo(const QTreeWidgetItem *item)
{
    return item->data(0, kRuoloNodo).toInt();
}

void TVisAlberoForm::aggiungiRiga(int nodo, int menu, int livello)
{
    MemTabNodiMenu->AppendRecord({nodo, menu, livello});
}

void TVisAlberoForm::creaAlbero()
{
    // A 32-bit identifier: one view may create more nodes than a SMALLINT holds.
    MemTabNodiMenu->FieldDefs.Add(QStringLiteral("Nodo"), ftInteger);
    MemTabNodiMenu->FieldDefs.Add(QStringLiteral("Menu"), ftSmallint);
    MemTabNodiMenu->FieldDefs.Add(QStringLiteral("LivelloMenu"), ftSmallint);
    MemTabNodiMenu->Open();

    TAlberoMenu albero(TAlberoMenu::Leggi(QueryAux, FProgramma));
    albero.Costruisci();
    const std::vector<TNodoAlbero> &nodi = albero.Nodi();
    // Items are linked under their parents before any is in the tree, and
    // the top ones go in at once: the view lays itself out once.
    std::vector<QTreeWidgetItem *> item(nodi.size());
    QList<QTreeWidgetItem *> cima;
    MemTabNodiMenu->DisableControls();
    for (const TNodoAlbero &n : nodi) {
        const TVoceAlbero &v = albero.Voce(n.voce);
        auto *it = new QTreeWidgetItem(QStringList{v.descrizione});
        it->setData(0, kRuoloNodo, n.nodo);
        item[size_t(n.nodo)] = it;
        if (n.padre < 0)
            cima.append(it);
        else
            item[size_t(n.padre)]->addChild(it);
        aggiungiRiga(n.nodo, v.menu, *v.livello);
    }
    MemTabNodiMenu->EnableControls();
    TreeViewMenu->addTopLevelItems(cima);
    m_prossimoNodo = int(nodi.size());
}

void TVisAlberoForm::apriMenu(const QPoint &punto)
{
    QTreeWidgetItem *item = TreeViewMenu->itemAt(punto);
    if (!item)
        return;
    TreeViewMenu->setCurrentItem(item);
    PopUpAlbero->popup(TreeViewMenu->viewport()->mapToGlobal(punto));
}

bool TVisAlberoForm::trovaRiga(QTreeWidgetItem *&item)
{
    item = TreeViewMenu->currentItem();
    if (!item)
        return false;
    if (!MemTabNodiMenu->Locate(QStringLiteral("Nodo"), Nodo(item))) {
        Messages::error(kErroreInterno);
        return false;
    }
    return true;
}

int TVisAlberoForm::menuCorrente() const
{
    return MemTabNodiMenu->FieldByName(QStringLiteral("Menu"))->AsInteger();
}

int TVisAlberoForm::livelloCorrente() const
{
    return MemTabNodiMenu->FieldByName(QStringLiteral("LivelloMenu"))->AsInteger();
}

bool TVisAlberoForm::esegui(const QString &errore, const std::function<void()> &istruzioni)
{
    TIBTransaction *tr = FTabForm->IBTransaction1;
    try {
        istruzioni();
        tr->Commit();
        return true;
    } catch (const std::exception &e) {
        // Nothing of a failed change may wait in the shared transaction for
        // the next save of any editor.
        try {
            QueryAux->Close();
            if (tr->InTransaction())
                tr->Rollback();
        } catch (const std::exception &) {
        }
        Messages::error(DbErrorText::under(errore, e));
        return false;
    }
}

void TVisAlberoForm::Nuovo1Click()
{
    QTreeWidgetItem *padre = nullptr;
    if (!trovaRiga(padre))
        return;
    const int menuPadre = menuCorrente();
    const int livello = livelloCorrente() + 1;
    TNodoVoceForm dialogo(this);
    if (Modal::exec(&dialogo) != mrOk)
        return;
    const TValoriVoce valori = dialogo.Valori();
    int codice = 0;
    if (!esegui(QStringLiteral("Errore interno di INSERT: impossibile inserire la nuova voce di "
                               "menu. Riprovare"),
                [&] {
                    codice = VoceAlbero::NuovoCodice(QueryAux, FProgramma);
                    VoceAlbero::Inserisci(QueryAux, FProgramma, codice, menuPadre, livello, valori);
                }))
        return;
    auto *item = new QTreeWidgetItem(QStringList{valori.descrizione});
    const int nodo = m_prossimoNodo++;
    item->setData(0, kRuoloNodo, nodo);
    padre->addChild(item);
    aggiungiRiga(nodo, codice, livello);
    padre->setExpanded(true);
    TreeViewMenu->setCurrentItem(item);
}

void TVisAlberoForm::Elimina1Click()
{
    QTreeWidgetItem *item = TreeViewMenu->currentItem();
    if (!item)
        return;
    if (item->childCount() > 0) {
        Messages::warning(kNidificate);
        return;
    }
    if (!trovaRiga(item))
        return;
    const int menu = menuCorrente();
    // Entries the tree does not show (hidden ones) hang from it too.
    if (VoceAlbero::HaFigli(QueryAux, FProgramma, menu)) {
        Messages::warning(kNidificate);
        return;
    }
    if (!Messages::confirm(QStringLiteral("Eliminare la voce di menu selezionata?")))
        return;
    if (!esegui(QStringLiteral("Errore interno di DELETE. Riprovare"),
                [&] { VoceAlbero::Elimina(QueryAux, FProgramma, menu); }))
        return;
    MemTabNodiMenu->Delete();
    delete item;
}

void TVisAlberoForm::Modifica1Click()
{
    QTreeWidgetItem *item = nullptr;
    if (!trovaRiga(item))
        return;
    const int menu = menuCorrente();
    TValoriVoce letti;
    QVariantMap memorizzati;
    if (!VoceAlbero::Leggi(QueryAux, FProgramma, menu, letti, &memorizzati)) {
        Messages::error(kErroreInterno);
        return;
    }
    TNodoVoceForm dialogo(this);
    dialogo.Imposta(letti);
    // What the controls show, which may differ from what was read (a line
    // edit drops line breaks).
    const TValoriVoce mostrati = dialogo.Valori();
    if (Modal::exec(&dialogo) != mrOk)
        return;
    const TValoriVoce valori = dialogo.Valori();
    if (!esegui(QStringLiteral("Errore interno di UPDATE: impossibile modificare la voce di menu. "
                               "Riprovare"),
                [&] {
                    VoceAlbero::Modifica(QueryAux, FProgramma, menu, valori, mostrati, memorizzati);
                }))
        return;
    item->setText(0, valori.descrizione);
}

void TVisAlberoForm::ButtonRitornaClick()
{
    QTreeWidgetItem *item = nullptr;
    if (!trovaRiga(item))
        return;
    TValoriVoce letti;
    if (!VoceAlbero::Leggi(QueryAux, FProgramma, menuCorrente(), letti)) {
        Messages::error(kErroreInterno);
        return;
    }
    done(mrOk);
}

void TVisAlberoForm::ButtonChiudiClick()
{
    done(mrCancel);
}
