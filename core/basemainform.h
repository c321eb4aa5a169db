#pragma once

#include "guard.h"
#include "messages.h"

#include <QAction>
#include <QMainWindow>
#include <QPointer>

class QAction;
class QFrame;
class QLineEdit;
class QMenu;
class QPushButton;
class TIBSQL;
class TTabForm;

// The main window: first a sign-in panel over a disabled menu, then, once the
// administrator has signed in, the tool's main menu.
class TBaseMainForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TBaseMainForm(QWidget *parent = nullptr);
    ~TBaseMainForm() override;

    static bool VerificaPasswordMaster(const QString &utente, const QString &password);

    QFrame *PanelAut;
    QLineEdit *EditUtente;
    QLineEdit *EditPassword;
    QPushButton *ButtonOk;
    QMenuBar *MenuBase;
    QMenu *Sistema1;
    QMenu *Utenti1;
    QMenu *Elaborazioni1;
    QMenu *Impostazioni1;
    QMenu *Info1;
    QAction *Esci1;
    QAction *ArchivioCDSProgetti1;
    QAction *GestioneUtenti1;
    QAction *GestioneProfiliSicurezza1;
    QAction *GestioneProgrammi1;
    QAction *GestioneProgetti1;
    QAction *GestionePulsantoni1;
    QAction *ExportMenu1;
    QAction *ImportMenu1;
    QAction *ProgettiCSD1;
    QAction *SituazioniForm1;
    QAction *SituazioniCSDGrid1;
    QAction *LingueComponent1;
    QAction *LingueMenu1;
    QAction *Informazioni1;
    TIBSQL *QueryAux;

    TTabForm *TabForm() const { return m_tabForm; }
    // The variable the editors receive the address of.
    TTabForm **TabFormRef() { return &m_tabForm; }
    bool signedIn() const { return m_signedIn; }
    // The menu item opens a modal window of the archive object; a failure
    // to open it is shown and leaves the main window as it was.
    template <typename Finestra> void ApriFinestra(QAction *voce)
    {
        Guard::connect(voce, &QAction::triggered, this, [this] {
            Finestra finestra(this, *TabFormRef());
            Modal::exec(&finestra);
        });
    }

    void ButtonOkClick();
    void Esci1Click();
    // A request to end from outside (a kill, a closed session): every window
    // above this one is dismissed unanswered, top first, what was not saved
    // is rolled back, and the program ends as by "Esci".
    void ChiudiPerSegnale();
    void ArchivioCDSProgetti1Click();
    void GestionePulsantoni1Click();
    void LingueComponent1Click();
    void LingueMenu1Click();
    void Informazioni1Click();
    // Warns and answers false when no CSD projects database is connected;
    // the CSD editors and pick lists open only past it.
    bool CSDCollegato();

private:
    void FormCreate();
    void buildPanel();
    void buildMenu();
    void setMenuEnabled(bool enabled);
    void proseguiChiusura();
    void onItem(QAction *action, void (TBaseMainForm::*handler)());

    TTabForm *m_tabForm = nullptr;
    bool m_signedIn = false;
    int m_giriChiusura = -1; // rounds of ChiudiPerSegnale so far; -1 before a request
};
