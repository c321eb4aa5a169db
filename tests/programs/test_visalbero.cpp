#include "dberrortext.h"
#include "filedialogs.h"
#include "helpparform.h"
#include "ibquery.h"
#include "memorydata.h"
#include "menuprogrammatest.h"
#include "nodovoceform.h"
#include "visalberoform.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTreeWidget>

// The menu tree view and its node dialog: which entries the tree shows, the
// node map, add, delete and modify committed at once (and rolled back when
// they fail), the grants that go with a deleted entry, in the tree and in
// the grid.
namespace {

const QString kNidificate = "La voce selezionata contiene altre voci nidificate: non è possibile "
                            "procedere alla cancellazione";
const QString kEliminare = "Eliminare la voce di menu selezionata?";
const QString kInterno = "Errore interno. Si consiglia di chiudere la finestra e riaprirla";
const QString kVociTutte = "SELECT MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, DLL, FUNZIONE, "
                           "LIVELLO2VERSIONE, PARAMETRI, VISIBILE FROM DETTMENU WHERE "
                           "PROGRAMMA=1 ORDER BY MENU";

class Albero : public MenuProgrammaTest
{
protected:
    std::unique_ptr<TVisAlberoForm> albero()
    {
        nuovoSnapshot();
        return std::make_unique<TVisAlberoForm>(nullptr, tabVar, "1");
    }
    // The tree depth first, one line per node: a dot per level, the caption,
    // "#" and the node's identifier.
    static QStringList nodi(TVisAlberoForm &f)
    {
        QStringList out;
        for (QTreeWidgetItemIterator it(f.TreeViewMenu); *it; ++it) {
            int livello = 0;
            for (QTreeWidgetItem *p = (*it)->parent(); p; p = p->parent())
                ++livello;
            out << QString(livello, '.') + (*it)->text(0) + "#" +
                       QString::number(TVisAlberoForm::Nodo(*it));
        }
        return out;
    }
    // The node map row by row: "Nodo|Menu|LivelloMenu".
    static QStringList mappa(TVisAlberoForm &f)
    {
        QStringList out;
        TRxMemoryData *m = f.MemTabNodiMenu;
        const TBookmark segno = m->GetBookmark();
        for (m->First(); !m->Eof(); m->Next())
            out << QStringList{m->Fields(0)->AsString(), m->Fields(1)->AsString(),
                               m->Fields(2)->AsString()}
                       .join('|');
        m->GotoBookmark(segno);
        return out;
    }
    static void seleziona(TVisAlberoForm &f, const QString &testo)
    {
        const auto trovati =
            f.TreeViewMenu->findItems(testo, Qt::MatchExactly | Qt::MatchRecursive);
        ASSERT_EQ(trovati.size(), 1) << testo.toStdString();
        f.TreeViewMenu->setCurrentItem(trovati.first());
    }
    // The next node dialog gets `compila` and is closed with Ok.
    void rispondiNodo(const std::function<void(TNodoVoceForm &)> &compila)
    {
        rispondi([compila](QDialog *d) {
            auto *n = qobject_cast<TNodoVoceForm *>(d);
            ASSERT_NE(n, nullptr);
            compila(*n);
            n->ButtonOk->click();
        });
    }
    void grant(int menu)
    {
        const QString m = QString::number(menu);
        other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 1, " + m +
              ", 1)");
        other("INSERT INTO LINGUEMENU (PROGRAMMA, MENU, LINGUA, DESCRIZIONE) VALUES (1, " + m +
              ", 2, 'T')");
    }
    QStringList collegate()
    {
        return righeCommitted("SELECT 'P', PROGRAMMA, MENU FROM DETTPROF UNION ALL "
                              "SELECT 'L', PROGRAMMA, MENU FROM LINGUEMENU ORDER BY 1, 2, 3");
    }
    // The Part's program: 1 and 3 at the top, 2 under 1, 9 under 2; 4 a
    // hidden top entry with a visible child 5; 6 under 1 at the wrong depth;
    // 7 and 8 naming each other; 10 a hidden entry under 3.
    void menuDellaParte()
    {
        voce(1, 1, "", "Uno");
        voce(1, 2, "1", "Due", 1);
        voce(1, 3, "", "Tre");
        voce(1, 4, "", "Nascosta", 0, 0);
        voce(1, 5, "4", "Sotto nascosta", 1);
        voce(1, 6, "1", "Fuori livello", 2);
        voce(1, 7, "8", "Ciclo A", 1);
        voce(1, 8, "7", "Ciclo B", 1);
        voce(1, 9, "2", "Nove", 2);
        voce(1, 10, "3", "Dieci nascosta", 1, 0);
    }
};

} // namespace

TEST_F(Albero, ShowsTheEntriesTheRuleShowsDepthFirstAndRefusesToDeleteNodesWithEntriesBelow)
{
    menuDellaParte();
    voce(2, 1, "", "Altro programma");
    auto f = albero();
    EXPECT_EQ(f->windowTitle(), "Visualizzazione ad albero del menu");
    EXPECT_EQ(f->TreeViewMenu->indentation(), 19);
    EXPECT_EQ(nodi(*f), (QStringList{"Uno#0", ".Due#1", "..Nove#2", "Tre#3"}));
    EXPECT_EQ(mappa(*f), (QStringList{"0|1|0", "1|2|1", "2|9|2", "3|3|0"}));
    EXPECT_EQ(f->MemTabNodiMenu->FieldByName("Nodo")->DataType(), ftInteger)
        << "a view may create more than 32,767 nodes";
    for (QTreeWidgetItemIterator it(f->TreeViewMenu); *it; ++it)
        EXPECT_FALSE((*it)->isExpanded()) << "nodes start collapsed";
    EXPECT_EQ(f->Nuovo1->text(), "Nuovo");
    EXPECT_EQ(f->Elimina1->text(), "Elimina");
    EXPECT_EQ(f->Modifica1->text(), "Modifica");
    EXPECT_EQ(f->ButtonRitorna->text(), "&Ritorna");
    EXPECT_EQ(f->ButtonChiudi->text(), "Ch&iudi");

    // Delete refuses nodes with entries below, shown or hidden.
    for (const char *nodo : {"Due", "Tre"}) {
        seleziona(*f, nodo);
        rec.expect(TMsgDlgType::Warning, kNidificate);
        f->Elimina1Click();
    }
    seleziona(*f, "Nove");
    rec.expect(TMsgDlgType::Confirmation, kEliminare, mrNo);
    f->Elimina1Click();
    EXPECT_EQ(righeCommitted(kVoci).size(), 10);
    EXPECT_EQ(mappa(*f).size(), 4);

    // The popup opens only over a node, which it selects.
    f->show();
    f->TreeViewMenu->setCurrentItem(nullptr);
    emit f->TreeViewMenu->customContextMenuRequested(
        QPoint(2, f->TreeViewMenu->viewport()->height() - 2));
    EXPECT_FALSE(f->PopUpAlbero->isVisible());
    QTreeWidgetItem *tre = f->TreeViewMenu->topLevelItem(1);
    emit f->TreeViewMenu->customContextMenuRequested(f->TreeViewMenu->visualItemRect(tre).center());
    EXPECT_TRUE(f->PopUpAlbero->isVisible());
    EXPECT_EQ(f->TreeViewMenu->currentItem(), tre);
    f->PopUpAlbero->hide();

    // No node selected: nothing happens.
    f->TreeViewMenu->setCurrentItem(nullptr);
    f->Elimina1Click();
    f->ButtonRitornaClick();
    EXPECT_EQ(f->result(), 0);
    EXPECT_EQ(rec.pending(), 0);
}

TEST_F(Albero, AddDeleteModifyKeepEachNodesEntryAndAreSeenByOthersAtOnce)
{
    menuDellaParte();
    grant(2);
    grant(9);
    auto f = albero();

    // Under "Tre": code 11 (the highest is 10, a hidden one), parent 3, depth 1.
    seleziona(*f, "Tre");
    rispondiNodo([](TNodoVoceForm &n) {
        EXPECT_EQ(n.EditVersione->text(), "0");
        EXPECT_TRUE(n.CheckVisibile->isChecked());
        n.EditDescrizione->setText("L'undici");
        n.EditDLL->setText("lib'a.dll");
        n.EditFunzione->setText("F'x");
        n.EditNote->setText("nota d'uso");
        n.MemoParametri->setPlainText("A=1;\nB='2';");
        n.EditVersione->clear();
    });
    f->Nuovo1Click();
    EXPECT_EQ(righeCommitted(kVociTutte).last(),
              "11|3|1|L´undici|lib'a.dll|F'x|0|A=1;\r\nB=´2´;|1");
    EXPECT_EQ(nodi(*f), (QStringList{"Uno#0", ".Due#1", "..Nove#2", "Tre#3", ".L'undici#4"}));
    EXPECT_EQ(f->TreeViewMenu->currentItem()->text(0), "L'undici");
    EXPECT_TRUE(f->TreeViewMenu->currentItem()->parent()->isExpanded());

    // An earlier node goes, with its grants; the others keep their identifiers.
    seleziona(*f, "Nove");
    rec.expect(TMsgDlgType::Confirmation, kEliminare, mrYes);
    f->Elimina1Click();
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU WHERE MENU=9"), "0");
    EXPECT_EQ(collegate(), (QStringList{"L|1|2", "P|1|2"}));
    EXPECT_EQ(mappa(*f), (QStringList{"0|1|0", "1|2|1", "3|3|0", "4|11|1"}));

    // The added node still edits the added entry; hidden, it stays shown.
    seleziona(*f, "L'undici");
    rispondiNodo([](TNodoVoceForm &n) {
        EXPECT_EQ(n.EditDescrizione->text(), "L´undici");
        EXPECT_EQ(n.MemoParametri->toPlainText(), "A=1;\nB=´2´;");
        n.EditDescrizione->setText("Undici");
        n.EditDLL->clear();
        n.EditVersione->clear();
        n.CheckVisibile->setChecked(false);
    });
    f->Modifica1Click();
    EXPECT_EQ(righeCommitted(kVociTutte).last(), "11|3|1|Undici||F'x||A=1;\r\nB=´2´;|0");
    EXPECT_EQ(nodi(*f), (QStringList{"Uno#0", ".Due#1", "Tre#3", ".Undici#4"}));

    // Ritorna leaves the node's row current.
    seleziona(*f, "Due");
    f->ButtonRitornaClick();
    EXPECT_EQ(f->result(), int(mrOk));
    EXPECT_EQ(f->MemTabNodiMenu->FieldByName("Menu")->AsInteger(), 2);
    f->ButtonChiudiClick();
    EXPECT_EQ(f->result(), int(mrCancel));
    f.reset();
    EXPECT_EQ(nodi(*albero()), (QStringList{"Uno#0", ".Due#1", "Tre#2"}));
}

TEST_F(Albero, AFailedChangeLeavesTreeMapAndDatabaseAsTheyWere)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "", "Due");
    grant(2);
    other("CREATE EXCEPTION RIFIUTO 'rifiutato'");
    auto f = albero();
    const QStringList tree = nodi(*f), map = mappa(*f), db = righeCommitted(kVociTutte);
    struct Caso
    {
        QString trigger;
        QString errore;
        std::function<void()> azione;
    };
    const std::vector<Caso> casi = {
        {"DETTMENU BEFORE INSERT",
         "Errore interno di INSERT: impossibile inserire la nuova voce di menu. Riprovare",
         [&] {
             seleziona(*f, "Uno");
             rispondiNodo([](TNodoVoceForm &n) { n.EditDescrizione->setText("Nuova"); });
             f->Nuovo1Click();
         }},
        // The entry's own delete has run when its grants' delete fails.
        {"DETTPROF BEFORE DELETE", "Errore interno di DELETE. Riprovare",
         [&] {
             seleziona(*f, "Due");
             rec.expect(TMsgDlgType::Confirmation, kEliminare, mrYes);
             f->Elimina1Click();
         }},
        {"DETTMENU BEFORE UPDATE",
         "Errore interno di UPDATE: impossibile modificare la voce di menu. Riprovare",
         [&] {
             seleziona(*f, "Due");
             rispondiNodo([](TNodoVoceForm &n) { n.EditDescrizione->setText("Cambiata"); });
             f->Modifica1Click();
         }},
    };
    for (const Caso &c : casi) {
        SCOPED_TRACE(c.trigger.toStdString());
        other("CREATE TRIGGER RIFIUTA FOR " + c.trigger + " AS BEGIN EXCEPTION RIFIUTO; END");
        rec.clear();
        rec.allowAny();
        c.azione();
        rec.allowAny(false);
        ASSERT_FALSE(rec.seen().isEmpty());
        EXPECT_TRUE(rec.seen().last().text.startsWith(c.errore + "\r"))
            << rec.seen().last().text.toStdString();
        EXPECT_EQ(nodi(*f), tree);
        EXPECT_EQ(mappa(*f), map);
        EXPECT_EQ(righe(kVociTutte), db) << "nothing waits in the shared transaction";
        tabVar->IBTransaction1->Commit();
        EXPECT_EQ(righeCommitted(kVociTutte), db);
        EXPECT_EQ(collegate(), (QStringList{"L|1|2", "P|1|2"}));
        other("DROP TRIGGER RIFIUTA");
    }
}

TEST_F(Albero, ModifyKeepsStoredBytesOfAnUnchangedDialogAndFindsVanishedEntries)
{
    other("INSERT INTO DETTMENU (PROGRAMMA, MENU, LIVELLOMENU, DESCRIZIONE, NOTE, PARAMETRI, "
          "VISIBILE, LIVELLO2VERSIONE) VALUES (1, 1, 0, 'Uno d''oro', "
          "CAST('a' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'b' AS BLOB SUB_TYPE 0), "
          "'X=1;' || ASCII_CHAR(13) || ASCII_CHAR(10) || 'Y=2;', 1, 3)");
    voce(1, 2, "", "Due");
    const QString uno = "SELECT DESCRIZIONE || '|' || CAST(NOTE AS VARCHAR(20)) || '|' || "
                        "PARAMETRI || '|' || LIVELLO2VERSIONE FROM DETTMENU WHERE MENU=1";
    const QString prima = committed(uno);
    auto f = albero();
    seleziona(*f, "Uno d'oro");
    rispondiNodo([](TNodoVoceForm &n) {
        EXPECT_EQ(n.MemoParametri->toPlainText(), "X=1;\nY=2;");
        EXPECT_EQ(n.EditVersione->text(), "3");
    });
    f->Modifica1Click();
    EXPECT_EQ(committed(uno), prima);

    other("DELETE FROM DETTMENU WHERE MENU=2");
    seleziona(*f, "Due");
    for (auto azione : {&TVisAlberoForm::Modifica1Click, &TVisAlberoForm::ButtonRitornaClick}) {
        rec.expect(TMsgDlgType::Error, kInterno);
        ((*f).*azione)();
    }
    EXPECT_EQ(f->result(), 0);
}

TEST_F(Albero, AChainOfTenThousandNestedEntriesOpensAndCloses)
{
    other("EXECUTE BLOCK AS DECLARE I INTEGER = 1; BEGIN WHILE (I <= 10000) DO BEGIN "
          "INSERT INTO DETTMENU (PROGRAMMA, MENU, MENUPREC, LIVELLOMENU, DESCRIZIONE, VISIBILE) "
          "VALUES (1, :I, IIF(:I = 1, NULL, :I - 1), :I - 1, 'V' || :I, 1); I = I + 1; END END",
          false);
    auto f = albero();
    EXPECT_EQ(f->MemTabNodiMenu->RecordCount(), 10000);
    ASSERT_TRUE(f->MemTabNodiMenu->Locate("Nodo", 9999));
    EXPECT_EQ(f->MemTabNodiMenu->FieldByName("Menu")->AsInteger(), 10000);
    EXPECT_EQ(f->MemTabNodiMenu->FieldByName("LivelloMenu")->AsInteger(), 9999);
    int profondita = 0;
    for (QTreeWidgetItem *it = f->TreeViewMenu->topLevelItem(0); it->childCount() > 0;
         it = it->child(0))
        ++profondita;
    EXPECT_EQ(profondita, 9999);
    f.reset();
}

TEST_F(Albero, NodeDialogChecksAndPicksALibrary)
{
    const QString descrizione = "Si prega di inserire una descrizione";
    const QString numero = "Si prega di specificare un valore numerico per Livello Versione";
    const std::vector<std::tuple<QString, QString, QString>> casi = {
        {"", "0", descrizione},  {"", "abc", descrizione},
        {"x", "abc", numero},    {"x", "$10", numero},
        {"x", "40000", numero},  {"x", "0x1F", numero},
        {"x", "-5", ""},         {"x", "", ""},
        {"x", "+32767", ""},     {"x", "-32768", ""},
        {"x", "-32769", numero}, {"x", " 5", numero},
    };
    for (const auto &[d, v, atteso] : casi)
        EXPECT_EQ(TNodoVoceForm::Verifica(d, v), atteso) << v.toStdString();

    TNodoVoceForm n;
    EXPECT_EQ(n.windowTitle(), "NodoVoceForm");
    EXPECT_EQ(n.EditDescrizione->maxLength(), 64);
    EXPECT_EQ(n.EditDLL->maxLength(), 20);
    EXPECT_EQ(n.EditFunzione->maxLength(), 30);
    rec.expect(TMsgDlgType::Warning, descrizione);
    n.ButtonOk->click();
    EXPECT_EQ(n.result(), 0);

    QStringList richieste;
    QString risposta = "/altrove/Lunghissima_libreria.dll";
    FileDialogs::setResponder([&](const FileDialogRequest &r) {
        richieste << r.filter;
        EXPECT_TRUE(r.mustExist);
        return risposta;
    });
    n.EditDLL->setText("vecchia.dll");
    rec.expect(TMsgDlgType::Warning, "Il nome della libreria non può superare i 20 caratteri");
    n.ButtonDLL->click();
    EXPECT_EQ(n.EditDLL->text(), "vecchia.dll");
    risposta = "/altrove/Norvak.dll";
    n.ButtonDLL->click();
    EXPECT_EQ(n.EditDLL->text(), "Norvak.dll");
    EXPECT_EQ(richieste.value(0), "Libreria dll (*.dll)|*.dll");
    FileDialogs::setResponder(nullptr);

    bool aiuto = false;
    Modal::setRunner([&](QDialog *d) {
        aiuto = qobject_cast<THelpParForm *>(d) != nullptr;
        return int(mrCancel);
    });
    n.ButtonHelp->click();
    EXPECT_TRUE(aiuto);
}

TEST_F(Albero, TheGridsDeleteAndResetTakeTheGrantsAlong)
{
    voce(1, 1, "", "Uno");
    voce(1, 2, "", "Due");
    voce(2, 1, "", "Altro");
    grant(1);
    grant(2);
    other("INSERT INTO DETTPROF (PROFILO, PROGRAMMA, MENU, LIVELLO) VALUES (1, 2, 1, 1)");
    auto f = apri();
    f->QueryDettMenu->Locate("MENU", 2);
    rec.expect(TMsgDlgType::Confirmation, "Confermare la cancellazione del record?", mrYes);
    f->ButtonElimina->click();
    EXPECT_EQ(collegate(), (QStringList{"L|1|1", "P|1|1", "P|2|1"}));
    rec.expect(TMsgDlgType::Confirmation, "Confermare l'azzeramento del menu del programma?",
               mrYes);
    f->ButtonAzzera->click();
    EXPECT_EQ(collegate(), QStringList{"P|2|1"});
    EXPECT_EQ(committed("SELECT COUNT(*) FROM DETTMENU WHERE PROGRAMMA=2"), "1");
}
