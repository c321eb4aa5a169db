#pragma once

#include <QDialog>
#include <QString>
#include <functional>

class QAction;
class QMenu;
class QPushButton;
class QTreeWidget;
class QTreeWidgetItem;
class TIBSQL;
class TRxMemoryData;
class TTabForm;
struct TValoriVoce;

// "Visualizzazione ad albero del menu": one program's menu as a tree, each
// shown entry a node under its parent's. The popup adds an entry under a
// node, deletes or modifies a node's entry, each change committed at once on
// the shared transaction (rolled back when it fails). "&Ritorna" (1) leaves
// the chosen node's row current in MemTabNodiMenu; "Ch&iudi" (2).
class TVisAlberoForm : public QDialog
{
    Q_OBJECT
public:
    TVisAlberoForm(QWidget *owner, TTabForm *&tabForm, const QString &programma);
    ~TVisAlberoForm() override;

    TTabForm *&FTabForm;
    QString FProgramma;

    QTreeWidget *TreeViewMenu;
    QMenu *PopUpAlbero;
    QAction *Nuovo1;
    QAction *Elimina1;
    QAction *Modifica1;
    QPushButton *ButtonChiudi;
    QPushButton *ButtonRitorna;
    TIBSQL *QueryAux;
    // One row per node: Nodo (the node's identifier), Menu, LivelloMenu.
    TRxMemoryData *MemTabNodiMenu;

    void Nuovo1Click();
    void Elimina1Click();
    void Modifica1Click();
    void ButtonRitornaClick();
    void ButtonChiudiClick();

    // The identifier a node carries.
    static int Nodo(const QTreeWidgetItem *item);

private:
    void creaAlbero();
    void aggiungiRiga(int nodo, int menu, int livello);
    // The selected node's map row made current; false (after the error box
    // when a node is selected) without one.
    bool trovaRiga(QTreeWidgetItem *&item);
    int menuCorrente() const;
    int livelloCorrente() const;
    // Commits, or rolls the shared transaction back and shows `errore` with
    // the cause; false then.
    bool esegui(const QString &errore, const std::function<void()> &istruzioni);
    void apriMenu(const QPoint &punto);

    int m_prossimoNodo = 0;
};
