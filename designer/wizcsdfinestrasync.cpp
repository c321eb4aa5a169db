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
// and each shows what it holds whenever that changes.

namespace {

// The upper-case inputs turn what is typed into capitals; a text set by the
// wizard shows as it is held.
void maiuscole(QLineEdit *edit)
{
    QObject::connect(edit, &QLineEdit::textEdited, edit, [edit](const QString &testo) {
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
    auto quando = [this](auto azione) {
        return [this, azione](auto &&...args) {
            if (!m_aggiornando)
                azione(args...);
        };
    };

    connect(m_gruppoArchivio, &QButtonGroup::idClicked, this,
            quando([w](int id) { w->ScegliArchivio(TWizCSDFinestra::Archivio(id)); }));
    connect(EditParametroPers, &QLineEdit::textEdited, this,
            quando([w](const QString &t) { w->SetParametroPers(t); }));
    maiuscole(EditNomeTabella);
    connect(EditNomeTabella, &QLineEdit::textEdited, this,
            quando([this, w](const QString &) { w->SetNomeTabella(EditNomeTabella->text()); }));
    connect(EditTitolo, &QLineEdit::textEdited, this,
            quando([w](const QString &t) { w->SetTitolo(t); }));
    connect(RadioCreaTabellaSi, &QRadioButton::toggled, this, quando([w](bool on) {
                if (on)
                    w->SetCreaTabellaAttiva(true);
            }));
    connect(RadioCreaTabellaNo, &QRadioButton::toggled, this, quando([w](bool on) {
                if (on)
                    w->SetCreaTabellaAttiva(false);
            }));
    connect(EditCodiceProgetto, &QLineEdit::textEdited, this,
            quando([w](const QString &t) { w->SetTestoCodiceProgetto(t); }));
    connect(EditSituazioneGriglia, &QLineEdit::textEdited, this,
            quando([w](const QString &t) { w->SetTestoSituazioneGriglia(t); }));
    connect(EditSituazioneFinestra, &QLineEdit::textEdited, this,
            quando([w](const QString &t) { w->SetTestoSituazioneFinestra(t); }));

    connect(ComboCampoGeneratore, &QComboBox::activated, this,
            quando([this, w](int i) { w->SetCampoGeneratore(ComboCampoGeneratore->itemText(i)); }));
    connect(ComboCampoImmagine, &QComboBox::activated, this,
            quando([this, w](int i) { w->SetCampoImmagine(ComboCampoImmagine->itemText(i)); }));
    connect(ComboCampoFile, &QComboBox::activated, this,
            quando([this, w](int i) { w->SetCampoFile(ComboCampoFile->itemText(i)); }));
    connect(ComboGeneratore, &QComboBox::activated, this,
            quando([this, w](int i) { w->SetGeneratore(ComboGeneratore->itemText(i)); }));
    // The text the combo holds, not the one signalled: the capitals may have
    // replaced it meanwhile.
    connect(ComboGeneratore, &QComboBox::editTextChanged, this, quando([this, w](const QString &) {
                if (ComboGeneratore->isEditable())
                    w->SetGeneratore(ComboGeneratore->currentText());
            }));

    connect(CheckStampa, &QCheckBox::toggled, this,
            quando([w](bool on) { w->SetStampaAttiva(on); }));
    connect(CheckRicerca, &QCheckBox::toggled, this,
            quando([w](bool on) { w->SetRicercaAttiva(on); }));
    connect(CheckSoloConsultazione, &QCheckBox::toggled, this,
            quando([w](bool on) { w->SetSoloConsultazione(on); }));
    connect(ButtonConfiguraStampa, &QPushButton::clicked, this,
            [w] { Guard::run([w] { w->ConfiguraStampa(); }); });
    connect(ButtonConfiguraRicerca, &QPushButton::clicked, this,
            [w] { Guard::run([w] { w->ConfiguraRicerca(); }); });

    const QList<QPair<QPushButton *, QWidget *>> didascalie = {
        {ButtonNome, EditNomeTabella},
        {ButtonTitolo, EditTitolo},
        {ButtonCampoGeneratore, ComboCampoGeneratore},
        {ButtonGeneratore, ComboGeneratore},
        {ButtonCampoImmagine, ComboCampoImmagine},
        {ButtonCampoFile, ComboCampoFile}};
    for (const auto &d : didascalie) {
        QWidget *input = d.second;
        connect(d.first, &QPushButton::clicked, input, [input] { input->setFocus(); });
    }
    connect(ButtonCodiceProgetto, &QPushButton::clicked, this,
            [this] { scegliCodice(EditCodiceProgetto); });
    connect(ButtonSituazioneGriglia, &QPushButton::clicked, this,
            [this] { scegliCodice(EditSituazioneGriglia); });
    connect(ButtonSituazioneFinestra, &QPushButton::clicked, this,
            [this] { scegliCodice(EditSituazioneFinestra); });

    connect(ButtonNuovo, &QPushButton::clicked, this, [this] { suRighe(&TWizCSDFinestra::Nuovo); });
    connect(ButtonInserisci, &QPushButton::clicked, this,
            [this] { suRighe(&TWizCSDFinestra::Inserisci); });
    connect(ButtonElimina, &QPushButton::clicked, this,
            [this] { suRighe(&TWizCSDFinestra::Elimina); });
    connect(ButtonAzzera, &QPushButton::clicked, this,
            [this] { suRighe(&TWizCSDFinestra::AzzeraCampi); });
    connect(ButtonCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(ButtonScript, &QPushButton::clicked, this,
            [w] { Guard::run([w] { w->ConfiguraScriptTabella(); }); });
    // A cell still being edited belongs to what is checked.
    connect(ButtonOk, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        Guard::run([this, w] {
            if (w->Conferma())
                done(mrOk);
        });
    });
    connect(ButtonMemorizza, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        Guard::run([w] { w->Memorizza(); });
    });
    connect(ButtonTestaFinestra, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        Guard::run([w] { w->TestaFinestra(); });
    });

    connect(w, &TWizCSDFinestra::inputsChanged, this, &TWizCSDFinestraForm::aggiornaInputs);
    auto suRiga = [this] {
        aggiornaDettaglio();
        aggiornaSelezione();
    };
    connect(w->TabCampi, &TCampiTabella::restructured, this, suRiga);
    connect(w->TabCampi, &TCampiTabella::currentChanged, this, suRiga);
    connect(w->TabCampi, &TCampiTabella::rowChanged, this, &TWizCSDFinestraForm::aggiornaDettaglio);
    connect(GridCampi->selectionModel(), &QItemSelectionModel::currentRowChanged, this,
            quando([w](const QModelIndex &current, const QModelIndex &) {
                if (current.isValid())
                    w->TabCampi->SetCorrente(current.row());
            }));
}

void TWizCSDFinestraForm::collegaDettaglio()
{
    TWizCSDFinestra *w = Wizard;
    auto quando = [this](auto azione) {
        return [this, azione](auto &&...args) {
            if (!m_aggiornando)
                azione(args...);
        };
    };
    auto *gruppoTipo = new QButtonGroup(this);
    gruppoTipo->addButton(RadioEdit, 1);
    gruppoTipo->addButton(RadioCombo, 2);
    connect(gruppoTipo, &QButtonGroup::idClicked, this, quando([w](int id) { w->SetTipo(id); }));
    connect(ButtonAggiungiValore, &QPushButton::clicked, this,
            [this] { suRighe(&TWizCSDFinestra::AggiungiValore); });
    connect(ButtonRimuoviValore, &QPushButton::clicked, this, [this, w] {
        GridCampi->commitOpenEditor();
        const QModelIndexList scelti = ListValoriCombo->selectionModel()->selectedRows();
        w->RimuoviValore(scelti.isEmpty() ? -1 : scelti.first().row());
    });
    connect(CheckDecodifica, &QCheckBox::toggled, this,
            quando([w](bool on) { w->SetDecodifica(on); }));
    connect(CheckRicercaCampo, &QCheckBox::toggled, this,
            quando([w](bool on) { w->SetRicercaCampo(on); }));
    connect(ButtonConfiguraRicercaCampo, &QPushButton::clicked, this,
            [w] { Guard::run([w] { w->ConfiguraRicercaCampo(); }); });

    using Setter = void (TWizCSDFinestra::*)(const QString &);
    const QList<QPair<QComboBox *, Setter>> combos = {
        {ComboDecodificaTabella, &TWizCSDFinestra::SetDecodificaTabella},
        {ComboDecodificaCampoColl, &TWizCSDFinestra::SetDecodificaCampoColl},
        {ComboDecodificaCampoDec, &TWizCSDFinestra::SetDecodificaCampoDec}};
    for (const auto &c : combos) {
        QComboBox *combo = c.first;
        const Setter set = c.second;
        connect(combo, &QComboBox::activated, this,
                quando([w, combo, set](int i) { (w->*set)(combo->itemText(i)); }));
        connect(combo, &QComboBox::editTextChanged, this, quando([w, combo, set](const QString &t) {
                    if (combo->isEditable())
                        (w->*set)(t);
                }));
    }
    connect(EditDecodificaEtichetta, &QLineEdit::textEdited, this,
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
