#include "wizcsdricercaform.h"

#include "campigrid.h"
#include "campimodel.h"
#include "editorwidgets.h"
#include "guard.h"
#include "wizcsdricerca.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using EditorWidgets::named;

TWizCSDRicercaForm::TWizCSDRicercaForm(QWidget *owner, TCSDRicerca *ricerca)
    : QDialog(owner)
    , Wizard(new TWizCSDRicerca(ricerca, this))
{
    setObjectName(QStringLiteral("WizCSDRicercaForm"));
    setWindowTitle(QStringLiteral("Wizard Ricerca"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto *aspetto = named(new QGroupBox(QStringLiteral("Aspetto:")), "GroupAspetto");
    auto *form = new QFormLayout(aspetto);
    ButtonCodiceProgetto = EditorWidgets::pushButton(nullptr, "ButtonCodiceProgetto",
                                                     QStringLiteral("Codice progetto"));
    EditCodiceProgetto = named(new QLineEdit(Wizard->TestoCodiceProgetto), "EditCodiceProgetto");
    ButtonSituazioneGriglia = EditorWidgets::pushButton(nullptr, "ButtonSituazioneGriglia",
                                                        QStringLiteral("Situazione griglia"));
    EditSituazioneGriglia =
        named(new QLineEdit(Wizard->TestoSituazioneGriglia), "EditSituazioneGriglia");
    ButtonSituazioneFinestra = EditorWidgets::pushButton(nullptr, "ButtonSituazioneFinestra",
                                                         QStringLiteral("Situazione finestra"));
    EditSituazioneFinestra =
        named(new QLineEdit(Wizard->TestoSituazioneFinestra), "EditSituazioneFinestra");
    form->addRow(ButtonCodiceProgetto, EditCodiceProgetto);
    form->addRow(ButtonSituazioneGriglia, EditSituazioneGriglia);
    form->addRow(ButtonSituazioneFinestra, EditSituazioneFinestra);

    GridCampi = named(new TCampiGrid, "GridCampi");
    m_model = new TCampiModel(Wizard->TabCampi, this);
    GridCampi->setModel(m_model);
    // The row store is the window wizard's; a search field has a name and a
    // label only.
    for (int c = 0; c < TCampiModel::NumeroColonne; ++c) {
        if (c != TCampiModel::ColNome && c != TCampiModel::ColEtichetta)
            GridCampi->setColumnHidden(c, true);
    }
    const int larghezza = GridCampi->fontMetrics().averageCharWidth() * 33;
    GridCampi->setColumnWidth(TCampiModel::ColNome, larghezza);
    GridCampi->setColumnWidth(TCampiModel::ColEtichetta, larghezza);
    GridCampi->setMinimumWidth(larghezza * 2 + GridCampi->fontMetrics().averageCharWidth() * 4);
    GridCampi->setMinimumHeight(GridCampi->fontMetrics().height() * 10);
    auto *etichettaCampi = new QLabel(QStringLiteral("Campi ricerca:"));
    etichettaCampi->setBuddy(GridCampi);

    ButtonNuovo = EditorWidgets::pushButton(nullptr, "ButtonNuovo", QStringLiteral("&Nuovo"));
    ButtonInserisci =
        EditorWidgets::pushButton(nullptr, "ButtonInserisci", QStringLiteral("&Inserisci"));
    ButtonElimina = EditorWidgets::pushButton(nullptr, "ButtonElimina", QStringLiteral("&Elimina"));
    ButtonAzzera = EditorWidgets::pushButton(nullptr, "ButtonAzzera", QStringLiteral("&Azzera"));
    auto *righe = new QVBoxLayout;
    for (QPushButton *b : {ButtonNuovo, ButtonInserisci, ButtonElimina, ButtonAzzera})
        righe->addWidget(b);
    righe->addStretch(1);
    auto *campi = new QHBoxLayout;
    campi->addWidget(GridCampi, 1);
    campi->addLayout(righe);

    ButtonOk = EditorWidgets::pushButton(nullptr, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = EditorWidgets::pushButton(nullptr, "ButtonCancel", QStringLiteral("Cancel"));
    auto *v = new QVBoxLayout(this);
    v->addWidget(aspetto);
    v->addWidget(etichettaCampi);
    v->addLayout(campi, 1);
    v->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));

    collega();
    aggiornaRighe();
}

void TWizCSDRicercaForm::SetNomiScelta(const QStringList &nomi)
{
    Wizard->NomiScelta = nomi;
}

void TWizCSDRicercaForm::collega()
{
    TWizCSDRicerca *w = Wizard;
    const QList<QPair<QPushButton *, QLineEdit *>> numeri = {
        {ButtonCodiceProgetto, EditCodiceProgetto},
        {ButtonSituazioneGriglia, EditSituazioneGriglia},
        {ButtonSituazioneFinestra, EditSituazioneFinestra}};
    for (const auto &n : numeri) {
        QLineEdit *edit = n.second;
        Guard::connect(n.first, &QPushButton::clicked, this, [edit] { edit->setFocus(); });
    }
    Guard::connect(EditCodiceProgetto, &QLineEdit::textEdited, this,
                   [w](const QString &t) { w->TestoCodiceProgetto = t; });
    Guard::connect(EditSituazioneGriglia, &QLineEdit::textEdited, this,
                   [w](const QString &t) { w->TestoSituazioneGriglia = t; });
    Guard::connect(EditSituazioneFinestra, &QLineEdit::textEdited, this,
                   [w](const QString &t) { w->TestoSituazioneFinestra = t; });

    Guard::connect(ButtonNuovo, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDRicerca::Nuovo); });
    Guard::connect(ButtonInserisci, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDRicerca::Inserisci); });
    Guard::connect(ButtonElimina, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDRicerca::Elimina); });
    Guard::connect(ButtonAzzera, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDRicerca::AzzeraCampi); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] {
        GridCampi->commitOpenEditor();
        if (Wizard->Ok())
            done(1);
    });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });

    Guard::connect(w->TabCampi, &TCampiTabella::restructured, this, [this] { aggiornaRighe(); });
    Guard::connect(w->TabCampi, &TCampiTabella::currentChanged, this, [this] { aggiornaRighe(); });
    Guard::connect(GridCampi->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   [w](const QModelIndex &corrente, const QModelIndex &) {
                       if (corrente.isValid())
                           w->TabCampi->SetCorrente(corrente.row());
                   });
}

void TWizCSDRicercaForm::suRighe(void (TWizCSDRicerca::*operazione)())
{
    GridCampi->commitOpenEditor();
    (Wizard->*operazione)();
}

void TWizCSDRicercaForm::aggiornaRighe()
{
    GridCampi->setEnabled(Wizard->DettaglioAbilitato());
    const int riga = Wizard->TabCampi->Corrente();
    const QModelIndex attuale = GridCampi->currentIndex();
    if (riga >= 0 && attuale.row() != riga)
        GridCampi->setCurrentIndex(
            m_model->index(riga, attuale.isValid() ? attuale.column() : TCampiModel::ColNome));
}
