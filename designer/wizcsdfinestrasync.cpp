#include "campigrid.h"
#include "campimodel.h"
#include "guard.h"
#include "messages.h"
#include "wizcsdfinestraform.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QScopedValueRollback>

// What the wizard's controls do: each writes into TWizCSDFinestra at once,
// and each shows what it holds whenever that changes. Every connection runs
// inside the error report, so a refused input is shown where it happened.

namespace {

// The upper-case inputs turn what is typed into capitals; a text set by the
// wizard shows as it is held.
void maiuscole(QLineEdit *edit)
{
    Guard::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &testo) {
        const QString alto = testo.toUpper();
        if (alto != testo) {
            const int cursore = edit->cursorPosition();
            edit->setText(alto);
            edit->setCursorPosition(cursore);
        }
    });
}

void mostraTesto(QLineEdit *edit, const QString &testo, int lunghezza = 0)
{
    // A text longer than what may be typed was loaded; it stays whole.
    if (lunghezza > 0)
        edit->setMaxLength(qMax(lunghezza, int(testo.size())));
    if (edit->text() != testo)
        edit->setText(testo);
}

QStringList vociDi(const QComboBox *combo)
{
    QStringList voci;
    for (int i = 0; i < combo->count(); ++i)
        voci << combo->itemText(i);
    return voci;
}

// A free-text combo shows the value as its text; a list-only one selects
// the equal item, or none.
void mostraVoci(QComboBox *combo, const QStringList &voci, const QString &valore, bool liberoTesto,
                int lunghezza = 0)
{
    if (combo->isEditable() != liberoTesto)
        combo->setEditable(liberoTesto);
    if (vociDi(combo) != voci) {
        combo->clear();
        combo->addItems(voci);
    }
    if (liberoTesto) {
        if (lunghezza > 0)
            combo->lineEdit()->setMaxLength(qMax(lunghezza, int(valore.size())));
        if (combo->currentText() != valore)
            combo->setEditText(valore);
    } else {
        combo->setCurrentIndex(combo->findText(valore, Qt::MatchExactly | Qt::MatchCaseSensitive));
    }
}

constexpr int kLunghezzaCampi = 31;

} // namespace

void TWizCSDFinestraForm::collega()
{
    TWizCSDFinestra *w = Wizard;

    Guard::connect(m_gruppoArchivio, &QButtonGroup::idClicked, this,
                   quando([w](int id) { w->ScegliArchivio(TWizCSDFinestra::Archivio(id)); }));
    Guard::connect(EditParametroPers, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetParametroPers(t); }));
    maiuscole(EditNomeTabella);
    Guard::connect(
        EditNomeTabella, &QLineEdit::textEdited, this,
        quando([this, w](const QString &) { w->SetNomeTabella(EditNomeTabella->text()); }));
    Guard::connect(EditTitolo, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetTitolo(t); }));
    Guard::connect(RadioCreaTabellaSi, &QRadioButton::toggled, this, quando([w](bool on) {
                       if (on)
                           w->SetCreaTabellaAttiva(true);
                   }));
    Guard::connect(RadioCreaTabellaNo, &QRadioButton::toggled, this, quando([w](bool on) {
                       if (on)
                           w->SetCreaTabellaAttiva(false);
                   }));
    Guard::connect(EditCodiceProgetto, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetTestoCodiceProgetto(t); }));
    Guard::connect(EditSituazioneGriglia, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetTestoSituazioneGriglia(t); }));
    Guard::connect(EditSituazioneFinestra, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetTestoSituazioneFinestra(t); }));

    Guard::connect(ComboCampoGeneratore, &QComboBox::activated, this, quando([this, w](int i) {
                       w->SetCampoGeneratore(ComboCampoGeneratore->itemText(i));
                   }));
    Guard::connect(ComboCampoImmagine, &QComboBox::activated, this, quando([this, w](int i) {
                       w->SetCampoImmagine(ComboCampoImmagine->itemText(i));
                   }));
    Guard::connect(ComboCampoFile, &QComboBox::activated, this,
                   quando([this, w](int i) { w->SetCampoFile(ComboCampoFile->itemText(i)); }));
    Guard::connect(ComboGeneratore, &QComboBox::activated, this,
                   quando([this, w](int i) { w->SetGeneratore(ComboGeneratore->itemText(i)); }));
    // The text the combo holds, not the one signalled: the capitals may have
    // replaced it meanwhile.
    Guard::connect(ComboGeneratore, &QComboBox::editTextChanged, this,
                   quando([this, w](const QString &) {
                       if (ComboGeneratore->isEditable())
                           w->SetGeneratore(ComboGeneratore->currentText());
                   }));

    Guard::connect(CheckStampa, &QCheckBox::toggled, this,
                   quando([w](bool on) { w->SetStampaAttiva(on); }));
    Guard::connect(CheckRicerca, &QCheckBox::toggled, this,
                   quando([w](bool on) { w->SetRicercaAttiva(on); }));
    Guard::connect(CheckSoloConsultazione, &QCheckBox::toggled, this,
                   quando([w](bool on) { w->SetSoloConsultazione(on); }));
    Guard::connect(ButtonConfiguraStampa, &QPushButton::clicked, this,
                   [w] { w->ConfiguraStampa(); });
    Guard::connect(ButtonConfiguraRicerca, &QPushButton::clicked, this,
                   [w] { w->ConfiguraRicerca(); });

    const QList<QPair<QPushButton *, QWidget *>> didascalie = {
        {ButtonNome, EditNomeTabella},
        {ButtonTitolo, EditTitolo},
        {ButtonCampoGeneratore, ComboCampoGeneratore},
        {ButtonGeneratore, ComboGeneratore},
        {ButtonCampoImmagine, ComboCampoImmagine},
        {ButtonCampoFile, ComboCampoFile}};
    for (const auto &d : didascalie) {
        QWidget *input = d.second;
        Guard::connect(d.first, &QPushButton::clicked, input, [input] { input->setFocus(); });
    }
    Guard::connect(ButtonCodiceProgetto, &QPushButton::clicked, this,
                   [this] { scegliCodice(EditCodiceProgetto); });
    Guard::connect(ButtonSituazioneGriglia, &QPushButton::clicked, this,
                   [this] { scegliCodice(EditSituazioneGriglia); });
    Guard::connect(ButtonSituazioneFinestra, &QPushButton::clicked, this,
                   [this] { scegliCodice(EditSituazioneFinestra); });

    Guard::connect(ButtonNuovo, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDFinestra::Nuovo); });
    Guard::connect(ButtonInserisci, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDFinestra::Inserisci); });
    Guard::connect(ButtonElimina, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDFinestra::Elimina); });
    Guard::connect(ButtonAzzera, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDFinestra::AzzeraCampi); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
    Guard::connect(ButtonScript, &QPushButton::clicked, this,
                   [w] { w->ConfiguraScriptTabella(); });
    // A cell still being edited belongs to what is checked.
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        if (w->Conferma())
            done(mrOk);
    });
    Guard::connect(ButtonMemorizza, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        w->Memorizza();
    });
    Guard::connect(ButtonTestaFinestra, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        w->TestaFinestra();
    });

    Guard::connect(w, &TWizCSDFinestra::inputsChanged, this, &TWizCSDFinestraForm::aggiornaInputs);
    auto suRiga = [this] {
        aggiornaDettaglio();
        aggiornaSelezione();
    };
    Guard::connect(w->TabCampi, &TCampiTabella::restructured, this, suRiga);
    Guard::connect(w->TabCampi, &TCampiTabella::currentChanged, this, suRiga);
    Guard::connect(w->TabCampi, &TCampiTabella::rowChanged, this,
                   &TWizCSDFinestraForm::aggiornaDettaglio);
    Guard::connect(GridCampi->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
                   quando([w](const QModelIndex &current, const QModelIndex &) {
                       if (current.isValid())
                           w->TabCampi->SetCorrente(current.row());
                   }));
}

void TWizCSDFinestraForm::collegaDettaglio()
{
    TWizCSDFinestra *w = Wizard;
    auto *gruppoTipo = new QButtonGroup(this);
    gruppoTipo->addButton(RadioEdit, 1);
    gruppoTipo->addButton(RadioCombo, 2);
    Guard::connect(gruppoTipo, &QButtonGroup::idClicked, this,
                   quando([w](int id) { w->SetTipo(id); }));
    Guard::connect(ButtonAggiungiValore, &QPushButton::clicked, this,
                   [this] { suRighe(&TWizCSDFinestra::AggiungiValore); });
    Guard::connect(ButtonRimuoviValore, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        const QModelIndexList scelti = ListValoriCombo->selectionModel()->selectedRows();
        w->RimuoviValore(scelti.isEmpty() ? -1 : scelti.first().row());
    });
    Guard::connect(CheckDecodifica, &QCheckBox::toggled, this,
                   quando([w](bool on) { w->SetDecodifica(on); }));
    Guard::connect(CheckRicercaCampo, &QCheckBox::toggled, this,
                   quando([w](bool on) { w->SetRicercaCampo(on); }));
    Guard::connect(ButtonConfiguraRicercaCampo, &QPushButton::clicked, this,
                   [w] { w->ConfiguraRicercaCampo(); });

    using Setter = void (TWizCSDFinestra::*)(const QString &);
    const QList<QPair<QComboBox *, Setter>> combos = {
        {ComboDecodificaTabella, &TWizCSDFinestra::SetDecodificaTabella},
        {ComboDecodificaCampoColl, &TWizCSDFinestra::SetDecodificaCampoColl},
        {ComboDecodificaCampoDec, &TWizCSDFinestra::SetDecodificaCampoDec}};
    for (const auto &c : combos) {
        QComboBox *combo = c.first;
        const Setter set = c.second;
        Guard::connect(combo, &QComboBox::activated, this,
                       quando([w, combo, set](int i) { (w->*set)(combo->itemText(i)); }));
        Guard::connect(combo, &QComboBox::editTextChanged, this,
                       quando([w, combo, set](const QString &t) {
                           if (combo->isEditable())
                               (w->*set)(t);
                       }));
    }
    Guard::connect(EditDecodificaEtichetta, &QLineEdit::textEdited, this,
                   quando([w](const QString &t) { w->SetDecodificaCampoEtich(t); }));
}

void TWizCSDFinestraForm::suRighe(void (TWizCSDFinestra::*operazione)())
{
    GridCampi->commitOpenEditor();
    (Wizard->*operazione)();
}

void TWizCSDFinestraForm::scegliCodice(QLineEdit *edit)
{
    // The pick lists come later; past the gate the edit takes the focus.
    if (Wizard->PuoScegliereCodice())
        edit->setFocus();
}

void TWizCSDFinestraForm::aggiornaInputs()
{
    QScopedValueRollback<bool> guardia(m_aggiornando, true);
    const TWizCSDFinestra &w = *Wizard;
    m_gruppoArchivio->button(int(w.SceltaArchivio()))->setChecked(true);
    const bool percorso = !w.PercorsoArchivio().isEmpty();
    EditParametroPers->setVisible(w.SceltaArchivio() == TWizCSDFinestra::Archivio::Personalizzato);
    mostraTesto(EditParametroPers, percorso ? w.PercorsoArchivio() : w.ParametroPers());
    EditParametroPers->setReadOnly(percorso);
    EditParametroPers->setToolTip(percorso ? QStringLiteral("Percorso del database") : QString());
    LabelPercorsoArchivio->setVisible(percorso);

    mostraTesto(EditNomeTabella, w.NomeTabella());
    mostraTesto(EditTitolo, w.Titolo());
    (w.CreaTabellaAttiva() ? RadioCreaTabellaSi : RadioCreaTabellaNo)->setChecked(true);
    ButtonScript->setVisible(w.CreaTabellaAttiva());
    mostraTesto(EditCodiceProgetto, w.TestoCodiceProgetto());
    mostraTesto(EditSituazioneGriglia, w.TestoSituazioneGriglia());
    mostraTesto(EditSituazioneFinestra, w.TestoSituazioneFinestra());

    mostraVoci(ComboCampoGeneratore, w.VociCampoGeneratore(), w.CampoGeneratore(), false);
    mostraVoci(ComboCampoImmagine, w.VociCampoImmagine(), w.CampoImmagine(), false);
    mostraVoci(ComboCampoFile, w.VociCampoFile(), w.CampoFile(), false);
    const bool generatoreLibero = !w.GeneratoreSoloLista();
    mostraVoci(ComboGeneratore, generatoreLibero ? QStringList() : w.VociGeneratore(),
               w.Generatore(), generatoreLibero);
    if (generatoreLibero && !ComboGeneratore->lineEdit()->property("maiuscole").toBool()) {
        ComboGeneratore->lineEdit()->setProperty("maiuscole", true);
        maiuscole(ComboGeneratore->lineEdit());
    }

    CheckStampa->setChecked(w.StampaAttiva());
    ButtonConfiguraStampa->setVisible(w.StampaAttiva());
    CheckRicerca->setChecked(w.RicercaAttiva());
    ButtonConfiguraRicerca->setVisible(w.RicercaAttiva());
    CheckSoloConsultazione->setChecked(w.SoloConsultazione());
    aggiornaDettaglio();
}

void TWizCSDFinestraForm::aggiornaDettaglio()
{
    QScopedValueRollback<bool> guardia(m_aggiornando, true);
    const TWizCSDFinestra &w = *Wizard;
    const TCampoRiga *corrente = w.TabCampi->RigaCorrente();
    PanelDettaglio->setEnabled(w.DettaglioAbilitato());
    const TCampoRiga vuota;
    const TCampoRiga &r = corrente ? *corrente : vuota;

    (r.Tipo == 2 ? RadioCombo : RadioEdit)->setChecked(true);
    PanelValori->setVisible(r.Tipo == 2);
    QStringList valori;
    for (int i = 0; i < ListValoriCombo->count(); ++i)
        valori << ListValoriCombo->item(i)->text();
    if (valori != r.ValoriCombo) {
        ListValoriCombo->clear();
        ListValoriCombo->addItems(r.ValoriCombo);
    }

    const bool decodifica = r.Decodifica == 1;
    CheckDecodifica->setChecked(decodifica);
    PanelDecodifica->setVisible(decodifica);
    CheckRicercaCampo->setVisible(decodifica);
    CheckRicercaCampo->setChecked(r.Ricerca == 1);
    ButtonConfiguraRicercaCampo->setVisible(decodifica && r.Ricerca == 1);
    const bool libero = !w.DecodificaSoloLista();
    mostraVoci(ComboDecodificaTabella, libero ? QStringList() : w.VociTabelle(),
               r.DecodificaTabella, libero, kLunghezzaCampi);
    const QStringList colonne = libero ? QStringList() : w.VociColonneDecodifica();
    mostraVoci(ComboDecodificaCampoColl, colonne, r.DecodificaCampoColl, libero, kLunghezzaCampi);
    mostraVoci(ComboDecodificaCampoDec, colonne, r.DecodificaCampoDec, libero, kLunghezzaCampi);
    mostraTesto(EditDecodificaEtichetta, r.DecodificaCampoEtich, kLunghezzaCampi);
}

void TWizCSDFinestraForm::aggiornaSelezione()
{
    QScopedValueRollback<bool> guardia(m_aggiornando, true);
    const int riga = Wizard->TabCampi->Corrente();
    if (riga < 0)
        return;
    const QModelIndex attuale = GridCampi->currentIndex();
    if (attuale.row() != riga)
        GridCampi->setCurrentIndex(
            m_model->index(riga, attuale.isValid() ? attuale.column() : TCampiModel::ColNome));
}
