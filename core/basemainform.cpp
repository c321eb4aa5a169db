#include "basemainform.h"

#include "builtinwindows.h"
#include "busycursor.h"
#include "filedialogs.h"
#include "guard.h"
#include "ibsql.h"
#include "infoform.h"
#include "messages.h"
#include "passwordmask.h"
#include "pathutil.h"
#include "schemaupgrade.h"
#include "screenfit.h"
#include "shutdownsignals.h"
#include "tabform.h"

#include <QAction>
#include <QApplication>
#include <QDialog>
#include <QDir>
#include <QFrame>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QTimer>
#include <QVBoxLayout>

namespace {
const QString kMasterUser = QStringLiteral("tormesa");
const QString kMasterPassword = QStringLiteral("corvex.5173");
} // namespace

TBaseMainForm::TBaseMainForm(QWidget *parent)
    : QMainWindow(parent)
    , QueryAux(new TIBSQL(this))
{
    setObjectName(QStringLiteral("BaseMainForm"));
    setWindowTitle(QStringLiteral("Autenticazione"));
    buildMenu();
    buildPanel();
    ScreenFit::fitToScreen(this, QSize(640, 420));
    ScreenFit::orderTabsOnShow(this);
    if (const QScreen *screen = QGuiApplication::primaryScreen())
        move(screen->availableGeometry().center() - rect().center());
    FormCreate();
}

TBaseMainForm::~TBaseMainForm() = default;

void TBaseMainForm::buildPanel()
{
    auto *central = new QWidget(this);
    auto *outer = new QVBoxLayout(central);
    PanelAut = new QFrame(central);
    PanelAut->setObjectName(QStringLiteral("PanelAut"));
    PanelAut->setFrameShape(QFrame::StyledPanel);

    auto *layout = new QVBoxLayout(PanelAut);
    layout->addWidget(new QLabel(QStringLiteral("Utente"), PanelAut));
    EditUtente = new QLineEdit(kMasterUser, PanelAut);
    EditUtente->setObjectName(QStringLiteral("EditUtente"));
    layout->addWidget(EditUtente);
    layout->addWidget(new QLabel(QStringLiteral("Password"), PanelAut));
    EditPassword = new QLineEdit(PanelAut);
    EditPassword->setObjectName(QStringLiteral("EditPassword"));
    maskWithStars(EditPassword);
    layout->addWidget(EditPassword);
    ButtonOk = new QPushButton(QStringLiteral("OK"), PanelAut);
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    layout->addWidget(ButtonOk);
    // Room for a user name and a password, in whatever font the desktop has.
    const int boxWidth = EditUtente->fontMetrics().averageCharWidth() * 32;
    EditUtente->setMinimumWidth(boxWidth);
    EditPassword->setMinimumWidth(boxWidth);

    outer->addStretch();
    outer->addWidget(PanelAut, 0, Qt::AlignCenter);
    outer->addStretch();
    setCentralWidget(central);

    Guard::connect(ButtonOk, &QPushButton::clicked, this, &TBaseMainForm::ButtonOkClick);
    // Enter in either box presses the default button.
    Guard::connect(EditPassword, &QLineEdit::returnPressed, this, &TBaseMainForm::ButtonOkClick);
    Guard::connect(EditUtente, &QLineEdit::returnPressed, this, &TBaseMainForm::ButtonOkClick);
    EditPassword->setFocus();
}

void TBaseMainForm::buildMenu()
{
    MenuBase = menuBar();
    MenuBase->setObjectName(QStringLiteral("MenuBase"));
    auto menu = [this](const QString &name, const QString &caption) {
        QMenu *m = MenuBase->addMenu(caption);
        m->setObjectName(name);
        return m;
    };
    auto item = [this](QMenu *m, const QString &name, const QString &caption) {
        QAction *a = m->addAction(caption);
        a->setObjectName(name);
        return a;
    };
    Sistema1 = menu(QStringLiteral("Sistema1"), QStringLiteral("&Sistema"));
    Utenti1 = menu(QStringLiteral("Utenti1"), QStringLiteral("Utenti"));
    Elaborazioni1 = menu(QStringLiteral("Elaborazioni1"), QStringLiteral("Elaborazioni"));
    Impostazioni1 = menu(QStringLiteral("Impostazioni1"), QStringLiteral("Impostazioni"));
    Info1 = menu(QStringLiteral("Info1"), QStringLiteral("&Info"));

    Esci1 = item(Sistema1, QStringLiteral("Esci1"), QStringLiteral("&Esci"));
    ArchivioCDSProgetti1 = item(Sistema1, QStringLiteral("ArchivioCDSProgetti1"),
                                QStringLiteral("Archivio CDS Progetti (opzionale)"));
    GestioneUtenti1 =
        item(Utenti1, QStringLiteral("GestioneUtenti1"), QStringLiteral("Gestione Utenti"));
    GestioneProfiliSicurezza1 = item(Utenti1, QStringLiteral("GestioneProfiliSicurezza1"),
                                     QStringLiteral("Gestione Profili Sicurezza"));
    GestioneProgrammi1 =
        item(Utenti1, QStringLiteral("GestioneProgrammi1"), QStringLiteral("Gestione Programmi"));
    GestioneProgetti1 =
        item(Utenti1, QStringLiteral("GestioneProgetti1"), QStringLiteral("Gestione Progetti"));
    GestionePulsantoni1 =
        item(Utenti1, QStringLiteral("GestionePulsantoni1"), QStringLiteral("Gestione pulsantoni"));
    ExportMenu1 = item(Elaborazioni1, QStringLiteral("ExportMenu1"), QStringLiteral("Export menu"));
    ImportMenu1 = item(Elaborazioni1, QStringLiteral("ImportMenu1"), QStringLiteral("Import menu"));
    ProgettiCSD1 =
        item(Impostazioni1, QStringLiteral("ProgettiCSD1"), QStringLiteral("Progetti CSD"));
    SituazioniForm1 =
        item(Impostazioni1, QStringLiteral("SituazioniForm1"), QStringLiteral("Situazioni Form"));
    SituazioniCSDGrid1 = item(Impostazioni1, QStringLiteral("SituazioniCSDGrid1"),
                              QStringLiteral("Situazioni CSDGrid"));
    LingueComponent1 =
        item(Impostazioni1, QStringLiteral("LingueComponent1"), QStringLiteral("Lingue Component"));
    LingueMenu1 = item(Impostazioni1, QStringLiteral("LingueMenu1"), QStringLiteral("Lingue Menu"));
    Informazioni1 = item(Info1, QStringLiteral("Informazioni1"), QStringLiteral("&Informazioni"));

    onItem(Esci1, &TBaseMainForm::Esci1Click);
    onItem(ArchivioCDSProgetti1, &TBaseMainForm::ArchivioCDSProgetti1Click);
    onItem(GestionePulsantoni1, &TBaseMainForm::GestionePulsantoni1Click);
    onItem(LingueComponent1, &TBaseMainForm::LingueComponent1Click);
    onItem(LingueMenu1, &TBaseMainForm::LingueMenu1Click);
    onItem(Informazioni1, &TBaseMainForm::Informazioni1Click);
}

void TBaseMainForm::onItem(QAction *action, void (TBaseMainForm::*handler)())
{
    // A menu item's failure is shown and leaves the main window as it was.
    Guard::connect(action, &QAction::triggered, this, handler);
}

void TBaseMainForm::FormCreate()
{
    m_tabForm = new TTabForm(this);
    setMenuEnabled(false);
    if (!QDir(resolvePath(programFolder() + QStringLiteral("Grafica"))).exists())
        Messages::warning(QStringLiteral("Directory Grafica mancante"));
}

void TBaseMainForm::setMenuEnabled(bool enabled)
{
    for (QMenu *m : {Sistema1, Utenti1, Elaborazioni1, Impostazioni1, Info1})
        m->menuAction()->setEnabled(enabled);
}

bool TBaseMainForm::VerificaPasswordMaster(const QString &utente, const QString &password)
{
    return utente == kMasterUser && password == kMasterPassword;
}

void TBaseMainForm::ButtonOkClick()
{
    if (m_signedIn)
        return;
    if (EditPassword->text().isEmpty()) {
        Messages::warning(QStringLiteral("Password obbligatoria"));
        return;
    }
    if (!VerificaPasswordMaster(EditUtente->text(), EditPassword->text())) {
        Messages::error(QStringLiteral("Password errata"));
        return;
    }
    // Opening, checking and upgrading the databases can take a while.
    const BusyCursor busy;
    PanelAut->hide();
    setMenuEnabled(true);

    const bool connesso = m_tabForm->ConnettiDatabaseArchivi();
    // The database client took SIGINT and SIGTERM for itself on connecting.
    ShutdownSignals::reclaim();
    if (!connesso) {
        // Back to signed out, so that dati.ini can be fixed and sign-in retried.
        PanelAut->show();
        setMenuEnabled(false);
        return;
    }
    m_signedIn = true;
    QueryAux->setDatabase(m_tabForm->IBDatabase1);
    QueryAux->setTransaction(m_tabForm->IBTransaction1);

    if (!SchemaUpgrade::CheckTabellePravlin(QueryAux))
        Messages::warning(QStringLiteral("Attenzione: i tracciati del database USER non sono "
                                         "aggiornati. Eseguire le manutenzioni DB"));
    SchemaUpgrade::AggiornaTracciati12072012(QueryAux);
}

void TBaseMainForm::Esci1Click()
{
    close();
}

void TBaseMainForm::ChiudiPerSegnale()
{
    // A second signal while closing adds nothing.
    if (m_giriChiusura >= 0)
        return;
    m_giriChiusura = 0;
    proseguiChiusura();
}

void TBaseMainForm::proseguiChiusura()
{
    ++m_giriChiusura;
    if (QWidget *popup = QApplication::activePopupWidget())
        popup->close();
    // One window per round, the top one: it ends as after Cancel, with no
    // offer to save, and the code that opened it carries on before the next
    // round. A window that will not go is left to the end of the program.
    constexpr int kGiriMassimi = 100;
    if (QWidget *modale = QApplication::activeModalWidget();
        modale && m_giriChiusura < kGiriMassimi) {
        if (auto *dialogo = qobject_cast<QDialog *>(modale))
            dialogo->done(QDialog::Rejected);
        else
            modale->close();
        QTimer::singleShot(0, this, &TBaseMainForm::proseguiChiusura);
        return;
    }
    // Closing the connections would commit what an editor left pending.
    for (TIBTransaction *t : {m_tabForm->IBTransaction1, m_tabForm->IBTransactionCSDProgetti}) {
        try {
            if (t->InTransaction())
                t->Rollback();
        } catch (const std::exception &) {
            // Not a box now: nobody is there to answer it, and the server
            // drops what is not committed anyway.
        }
    }
    Esci1Click();
    QCoreApplication::exit(0);
}

bool TBaseMainForm::CSDCollegato()
{
    if (m_tabForm->IBCSDProgetti->Connected())
        return true;
    Messages::warning(
        QStringLiteral("Nessun database csd progetti collegato, vedi sotto menu sistema"));
    return false;
}

void TBaseMainForm::ArchivioCDSProgetti1Click()
{
    // A new name is taken: Set_DBCSDProgetti creates the database.
    const QString path =
        FileDialogs::open(this, QStringLiteral("Archivi Interbase (*.gdb;*.fdb)|*.gdb;*.fdb"),
                          QString(), FileDialogs::OpenOption::AcceptNewName);
    if (!path.isEmpty())
        m_tabForm->Set_DBCSDProgetti(path);
}

void TBaseMainForm::GestionePulsantoni1Click()
{
    BuiltinWindows::GestionePulsantoni(*QueryAux, *m_tabForm->IBDatabase1,
                                       *m_tabForm->IBTransaction1);
}

void TBaseMainForm::LingueComponent1Click()
{
    BuiltinWindows::LingueComponent(*m_tabForm->IBDatabase1);
}

void TBaseMainForm::LingueMenu1Click()
{
    BuiltinWindows::LingueMenu(*m_tabForm->IBDatabase1);
}

void TBaseMainForm::Informazioni1Click()
{
    TInfoForm info(this);
    Modal::exec(&info);
}
