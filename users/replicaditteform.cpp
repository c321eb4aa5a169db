#include "replicaditteform.h"

#include "dbgrid.h"
#include "editorwidgets.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "replicazione.h"
#include "segni.h"
#include "tabform.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>
#include <functional>

namespace {

const QString kCodice = QStringLiteral("CODICE");

// Reads with a transaction of its own, rolled back afterwards: the dialog
// never holds a snapshot between two reads.
void leggi(TIBDatabase *db, const QStringList &sql, int utente,
           const std::function<void(TIBSQL &)> &riga)
{
    TIBTransaction tr;
    tr.setDefaultDatabase(db);
    tr.StartTransaction();
    TIBSQL q;
    q.setDatabase(db);
    q.setTransaction(&tr);
    q.SQL = sql;
    if (q.Params().FindParam(QStringLiteral("UTENTE")))
        q.ParamByName(QStringLiteral("UTENTE")).setAsInteger(utente);
    for (q.ExecQuery(); !q.Eof(); q.Next())
        riga(q);
    q.Close();
    tr.Rollback();
}

} // namespace

TReplicaDitteForm::TReplicaDitteForm(QWidget *owner, TTabForm *tabForm)
    : QDialog(owner)
    , FTabForm(tabForm)
    , QueryUtentiDest(new TIBQuery(this))
    , m_trUtentiDest(new TIBTransaction(this))
{
    setObjectName(QStringLiteral("ReplicaDitteForm"));
    setWindowTitle(QStringLiteral("Replica ditte"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    QueryUtentiDest->setObjectName(QStringLiteral("QueryUtentiDest"));
    buildWindow();

    CaricaUtenti();
    m_trUtentiDest->setDefaultDatabase(FTabForm->IBDatabase1);
    QueryUtentiDest->setDatabase(FTabForm->IBDatabase1);
    QueryUtentiDest->setTransaction(m_trUtentiDest);
    CaricaUtentiDest();
}

TReplicaDitteForm::~TReplicaDitteForm()
{
    QueryUtentiDest->Close();
}

void TReplicaDitteForm::buildWindow()
{
    auto etichetta = [this](const QString &testo, QWidget *buddy) {
        auto *l = new QLabel(testo, this);
        l->setBuddy(buddy);
        return l;
    };
    ComboUtente = new QComboBox(this);
    ComboUtente->setObjectName(QStringLiteral("ComboUtente"));
    ComboUtente->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    ComboUtente->setMinimumContentsLength(30);
    ComboDitta = new QComboBox(this);
    ComboDitta->setObjectName(QStringLiteral("ComboDitta"));
    ComboDitta->setMinimumContentsLength(30);
    GridUtentiDest = new TDBGrid(this);
    GridUtentiDest->setObjectName(QStringLiteral("GridUtentiDest"));
    GridUtentiDest->setDataSet(QueryUtentiDest);
    Segni::Colora(GridUtentiDest, kCodice, ListaUtentiDest);
    ButtonSelTutto =
        EditorWidgets::pushButton(this, "ButtonSelTutto", QStringLiteral("Sel. tutto"));
    ButtonDeselTutto =
        EditorWidgets::pushButton(this, "ButtonDeselTutto", QStringLiteral("Desel. tutto"));
    ButtonOk = EditorWidgets::pushButton(this, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = EditorWidgets::pushButton(this, "ButtonCancel", QStringLiteral("Cancel"));

    auto *scelte = new QGridLayout;
    scelte->addWidget(etichetta(QStringLiteral("Utente origine:"), ComboUtente), 0, 0);
    scelte->addWidget(ComboUtente, 0, 1);
    scelte->addWidget(etichetta(QStringLiteral("Ditta origine:"), ComboDitta), 1, 0);
    scelte->addWidget(ComboDitta, 1, 1);
    scelte->setColumnStretch(1, 1);
    auto *selezione = new QHBoxLayout;
    selezione->addWidget(ButtonSelTutto);
    selezione->addWidget(ButtonDeselTutto);
    selezione->addStretch(1);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(scelte);
    layout->addWidget(etichetta(QStringLiteral("Utenti destinazione:"), GridUtentiDest));
    layout->addWidget(GridUtentiDest, 1);
    layout->addLayout(selezione);
    layout->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));
    resize(520, 480);

    Guard::connect(ComboUtente, &QComboBox::activated, this, [this](int) { ComboUtenteChange(); });
    Guard::connect(GridUtentiDest, &TDBGrid::DblClick, this, [this] { GridUtentiDestDblClick(); });
    Guard::connect(GridUtentiDest, &TDBGrid::KeyUp, this,
                   [this](int key, Qt::KeyboardModifiers) { GridUtentiDestKeyUp(key); });
    Guard::connect(ButtonSelTutto, &QPushButton::clicked, this,
                   [this](bool) { ButtonSelTuttoClick(); });
    Guard::connect(ButtonDeselTutto, &QPushButton::clicked, this,
                   [this](bool) { ButtonDeselTuttoClick(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this](bool) { ButtonOkClick(); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this,
                   [this](bool) { ButtonCancelClick(); });
}

// ---- Loading -----------------------------------------------------------------

void TReplicaDitteForm::CaricaUtenti()
{
    ComboUtente->clear();
    leggi(FTabForm->IBDatabase1,
          {QStringLiteral("SELECT CODICE,NOMEUTENTE FROM UTENTI ORDER BY CODICE")}, 0,
          [this](TIBSQL &q) {
              ComboUtente->addItem(q.Fields(0).AsString() + QStringLiteral(" - ") +
                                       q.Fields(1).AsString(),
                                   q.Fields(0).AsInteger());
          });
    ComboUtente->setCurrentIndex(-1);
}

int TReplicaDitteForm::UtenteOrigine() const
{
    return ComboUtente->currentIndex() < 0 ? -1 : ComboUtente->currentData().toInt();
}

void TReplicaDitteForm::CaricaDitte()
{
    ComboDitta->clear();
    const int utente = UtenteOrigine();
    if (utente < 0)
        return;
    leggi(FTabForm->IBDatabase1,
          {QStringLiteral("SELECT DISTINCT"), QStringLiteral("  INTESTAZIONE"),
           QStringLiteral("FROM"), QStringLiteral("  TABPRAVLIN"), QStringLiteral("WHERE"),
           QStringLiteral("  UTENTE=:UTENTE"), QStringLiteral("ORDER BY"),
           QStringLiteral("  INTESTAZIONE")},
          utente, [this](TIBSQL &q) {
              const QString ditta = q.Fields(0).AsString();
              if (!ditta.contains(QLatin1String("<INATTIVA>")))
                  ComboDitta->addItem(ditta);
          });
    ComboDitta->setCurrentIndex(-1);
}

QString TReplicaDitteForm::LeggiDittaUtente(int utente)
{
    QString ditta;
    leggi(FTabForm->IBDatabase1, {QStringLiteral("SELECT DITTA FROM UTENTI WHERE CODICE=:UTENTE")},
          utente, [&](TIBSQL &q) {
              if (ditta.isEmpty())
                  ditta = q.Fields(0).AsString();
          });
    return ditta;
}

void TReplicaDitteForm::ScegliDitta(const QString &ditta)
{
    const int i = ComboDitta->findText(ditta, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (i >= 0)
        ComboDitta->setCurrentIndex(i);
}

void TReplicaDitteForm::CaricaUtentiDest()
{
    QueryUtentiDest->Close();
    const int utente = UtenteOrigine();
    QStringList sql{QStringLiteral("SELECT"), QStringLiteral("  CODICE,"),
                    QStringLiteral("  NOMEUTENTE"), QStringLiteral("FROM"),
                    QStringLiteral("  UTENTI")};
    if (utente >= 0)
        sql << QStringLiteral("WHERE") << QStringLiteral("  CODICE<>:UTENTE");
    sql << QStringLiteral("ORDER BY") << QStringLiteral("  CODICE");
    QueryUtentiDest->SQL = sql;
    if (utente >= 0)
        QueryUtentiDest->ParamByName(QStringLiteral("UTENTE")).setAsInteger(utente);
    // A fresh snapshot: the users as committed now.
    if (m_trUtentiDest->InTransaction())
        m_trUtentiDest->Rollback();
    QueryUtentiDest->Open();
    ListaUtentiDest.clear();
    ListaCambiata();
}

void TReplicaDitteForm::ListaCambiata()
{
    GridUtentiDest->viewport()->update();
}

void TReplicaDitteForm::Imposta(int utente)
{
    const int i = ComboUtente->findData(utente);
    ComboUtente->setCurrentIndex(i);
    CaricaDitte();
    if (i >= 0)
        ScegliDitta(LeggiDittaUtente(utente));
    CaricaUtentiDest();
}

// ---- Handlers ----------------------------------------------------------------

void TReplicaDitteForm::ComboUtenteChange()
{
    CaricaDitte();
    if (UtenteOrigine() >= 0)
        ScegliDitta(LeggiDittaUtente(UtenteOrigine()));
    CaricaUtentiDest();
}

void TReplicaDitteForm::GridUtentiDestDblClick()
{
    Segni::Commuta(GridUtentiDest, kCodice, ListaUtentiDest);
}

void TReplicaDitteForm::GridUtentiDestKeyUp(int key)
{
    if (key == Qt::Key_F3)
        GridUtentiDestDblClick();
}

void TReplicaDitteForm::ButtonSelTuttoClick()
{
    ListaUtentiDest.clear();
    // Read through the view, so the grid's position stays.
    if (QueryUtentiDest->Active()) {
        const int campo = QueryUtentiDest->FieldByName(kCodice)->Index();
        for (int r = 0, n = QueryUtentiDest->ViewRowCount(); r < n; ++r)
            ListaUtentiDest << QueryUtentiDest->ViewValue(r, campo).toString();
    }
    ListaCambiata();
}

void TReplicaDitteForm::ButtonDeselTuttoClick()
{
    ListaUtentiDest.clear();
    ListaCambiata();
}

bool TReplicaDitteForm::EseguiReplica()
{
    // The component goes before any box is shown: while a box waits, nothing
    // may hold its transaction open.
    QString rifiuto, fallimento;
    {
        TReplicazioneComponent replica;
        replica.SetDatabase(FTabForm->IBDatabase1);
        replica.UtenteOrigine = UtenteOrigine();
        replica.Ditta = ComboDitta->currentText();
        replica.UtentiDestinazione = ListaUtentiDest;
        try {
            replica.Verifica();
        } catch (const std::exception &e) {
            rifiuto = Guard::messageOf(e);
        }
        if (rifiuto.isEmpty()) {
            try {
                replica.Esegui();
            } catch (const std::exception &e) {
                fallimento = Guard::messageOf(e);
            }
        }
    }
    if (!rifiuto.isEmpty()) {
        Messages::warning(QStringLiteral("Operazione non consentita\r\n") + rifiuto);
        return false;
    }
    if (!fallimento.isEmpty()) {
        Messages::error(QStringLiteral("Operazione fallita\r\n") + fallimento);
        return false;
    }
    return true;
}

void TReplicaDitteForm::ButtonOkClick()
{
    if (EseguiReplica())
        done(mrOk);
}

void TReplicaDitteForm::ButtonCancelClick()
{
    done(mrCancel);
}
