#include "wizcsdfinestraform.h"

#include "campigrid.h"
#include "campimodel.h"
#include "editorwidgets.h"
#include "screenfit.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

using EditorWidgets::named;

// Layout of the window; what the controls do is in wizcsdfinestrasync.cpp.

namespace {

// Hidden controls keep their place, so the window does not jump around as
// options are switched.
template <typename W> W *keepsPlace(W *widget)
{
    QSizePolicy p = widget->sizePolicy();
    p.setRetainSizeWhenHidden(true);
    widget->setSizePolicy(p);
    return widget;
}

QComboBox *listOnly(QComboBox *combo)
{
    combo->setEditable(false);
    combo->setMinimumContentsLength(16);
    combo->setSizeAdjustPolicy(QComboBox::AdjustToMinimumContentsLengthWithIcon);
    return combo;
}

// A caption button and its input on one row of a form.
void captionRow(QFormLayout *form, QPushButton *button, QWidget *input, QWidget *extra = nullptr)
{
    button->setAutoDefault(false);
    if (!extra) {
        form->addRow(button, input);
        return;
    }
    auto *row = new QHBoxLayout;
    row->addWidget(input, 1);
    row->addWidget(extra);
    form->addRow(button, row);
}

} // namespace

TWizCSDFinestraForm::TWizCSDFinestraForm(QWidget *owner, TTabForm *tabForm)
    : QDialog(owner)
    , Wizard(new TWizCSDFinestra(tabForm, this))
{
    // The wizard's owner widget is only where its boxes appear; the window
    // owns it.
    Wizard->setParent(this);
    setObjectName(QStringLiteral("WizCSDFinestraForm"));
    setWindowTitle(QStringLiteral("Wizard composizione script XML CSDForm"));

    auto *top = new QHBoxLayout;
    top->addWidget(creaIntestazione(), 1);
    top->addWidget(creaAspetto(), 1);

    ButtonTestaFinestra =
        named(new QPushButton(QStringLiteral("Testa finestra")), "ButtonTestaFinestra");
    ButtonMemorizza = named(new QPushButton(QStringLiteral("&Memorizza")), "ButtonMemorizza");
    ButtonOk = named(new QPushButton(QStringLiteral("Ok")), "ButtonOk");
    ButtonCancel = named(new QPushButton(QStringLiteral("Cancel")), "ButtonCancel");
    for (QPushButton *b : {ButtonTestaFinestra, ButtonMemorizza, ButtonOk, ButtonCancel})
        b->setAutoDefault(false);
    auto *bottom = new QHBoxLayout;
    bottom->addWidget(ButtonTestaFinestra);
    bottom->addStretch(1);
    bottom->addWidget(ButtonMemorizza);
    bottom->addWidget(ButtonOk);
    bottom->addWidget(ButtonCancel);

    // On a small screen the inputs scroll; the buttons stay in view.
    auto *inputs = new QWidget;
    inputs->setObjectName(QStringLiteral("PanelInputs"));
    auto *colonna = new QVBoxLayout(inputs);
    colonna->setContentsMargins(0, 0, 0, 0);
    colonna->addLayout(top);
    colonna->addWidget(creaCampi(), 1);
    colonna->addWidget(creaDettaglio());
    auto *main = new QVBoxLayout(this);
    main->addWidget(new TScrollPanel(inputs, this), 1);
    main->addLayout(bottom);

    collega();
    collegaDettaglio();
    ScreenFit::fitToScreen(
        this, QSize(sizeHint().width() + GridCampi->fontMetrics().averageCharWidth() * 40,
                    sizeHint().height()));
    aggiornaInputs();
    aggiornaDettaglio();
}

TWizCSDFinestraForm::~TWizCSDFinestraForm() = default;

std::unique_ptr<TWizCSDFinestraForm> TWizCSDFinestraForm::CreaConTabForm(QWidget *owner,
                                                                         TTabForm *tabForm)
{
    return std::make_unique<TWizCSDFinestraForm>(owner, tabForm);
}

QWidget *TWizCSDFinestraForm::creaIntestazione()
{
    auto *box = new QWidget;
    auto *v = new QVBoxLayout(box);
    v->setContentsMargins(0, 0, 0, 0);

    auto *database = named(new QGroupBox(QStringLiteral("Database")), "GroupDatabase");
    RadioArchivio = named(new QRadioButton(QStringLiteral("Archivio")), "RadioArchivio");
    RadioDirectoryListino =
        named(new QRadioButton(QStringLiteral("Directory listino")), "RadioDirectoryListino");
    RadioParametroPers =
        named(new QRadioButton(QStringLiteral("Parametro personalizzato:")), "RadioParametroPers");
    EditParametroPers = keepsPlace(named(new QLineEdit, "EditParametroPers"));
    LabelPercorsoArchivio =
        named(new QLabel(QStringLiteral("(percorso del database)")), "LabelPercorsoArchivio");
    m_gruppoArchivio = new QButtonGroup(this);
    m_gruppoArchivio->addButton(RadioArchivio, int(TWizCSDFinestra::Archivio::Archivio));
    m_gruppoArchivio->addButton(RadioDirectoryListino,
                                int(TWizCSDFinestra::Archivio::DirectoryListino));
    m_gruppoArchivio->addButton(RadioParametroPers, int(TWizCSDFinestra::Archivio::Personalizzato));
    auto *dv = new QVBoxLayout(database);
    dv->addWidget(RadioArchivio);
    dv->addWidget(RadioDirectoryListino);
    auto *pers = new QHBoxLayout;
    pers->addWidget(RadioParametroPers);
    pers->addWidget(EditParametroPers, 1);
    dv->addLayout(pers);
    dv->addWidget(LabelPercorsoArchivio, 0, Qt::AlignRight);
    v->addWidget(database);

    auto *form = new QFormLayout;
    ButtonNome = named(new QPushButton(QStringLiteral("Nome")), "ButtonNome");
    EditNomeTabella = named(new QLineEdit, "EditNomeTabella");
    captionRow(form, ButtonNome, EditNomeTabella);
    ButtonTitolo = named(new QPushButton(QStringLiteral("Titolo")), "ButtonTitolo");
    EditTitolo = named(new QLineEdit, "EditTitolo");
    captionRow(form, ButtonTitolo, EditTitolo);

    RadioCreaTabellaSi = named(new QRadioButton(QStringLiteral("Si")), "RadioCreaTabellaSi");
    RadioCreaTabellaNo = named(new QRadioButton(QStringLiteral("No")), "RadioCreaTabellaNo");
    ButtonScript = keepsPlace(named(new QPushButton(QStringLiteral("Script")), "ButtonScript"));
    ButtonScript->setAutoDefault(false);
    auto *crea = new QHBoxLayout;
    crea->addWidget(RadioCreaTabellaSi);
    crea->addWidget(RadioCreaTabellaNo);
    crea->addWidget(ButtonScript);
    crea->addStretch(1);
    auto *gruppoCrea = new QButtonGroup(this);
    gruppoCrea->addButton(RadioCreaTabellaSi);
    gruppoCrea->addButton(RadioCreaTabellaNo);
    form->addRow(new QLabel(QStringLiteral("Crea tabella se manca:")), crea);
    v->addLayout(form);
    v->addStretch(1);
    return box;
}

QWidget *TWizCSDFinestraForm::creaAspetto()
{
    auto *box = new QWidget;
    auto *form = new QFormLayout(box);
    form->setContentsMargins(0, 0, 0, 0);
    ButtonCodiceProgetto =
        named(new QPushButton(QStringLiteral("Codice progetto")), "ButtonCodiceProgetto");
    EditCodiceProgetto = named(new QLineEdit, "EditCodiceProgetto");
    captionRow(form, ButtonCodiceProgetto, EditCodiceProgetto);
    ButtonSituazioneGriglia =
        named(new QPushButton(QStringLiteral("Situazione griglia")), "ButtonSituazioneGriglia");
    EditSituazioneGriglia = named(new QLineEdit, "EditSituazioneGriglia");
    captionRow(form, ButtonSituazioneGriglia, EditSituazioneGriglia);
    ButtonSituazioneFinestra =
        named(new QPushButton(QStringLiteral("Situazione finestra")), "ButtonSituazioneFinestra");
    EditSituazioneFinestra = named(new QLineEdit, "EditSituazioneFinestra");
    captionRow(form, ButtonSituazioneFinestra, EditSituazioneFinestra);

    ButtonCampoGeneratore =
        named(new QPushButton(QStringLiteral("Campo auto-incr.")), "ButtonCampoGeneratore");
    ComboCampoGeneratore = listOnly(named(new QComboBox, "ComboCampoGeneratore"));
    captionRow(form, ButtonCampoGeneratore, ComboCampoGeneratore);
    ButtonGeneratore = named(new QPushButton(QStringLiteral("Generatore")), "ButtonGeneratore");
    ComboGeneratore = listOnly(named(new QComboBox, "ComboGeneratore"));
    captionRow(form, ButtonGeneratore, ComboGeneratore);
    ButtonCampoImmagine =
        named(new QPushButton(QStringLiteral("Campo immagine")), "ButtonCampoImmagine");
    ComboCampoImmagine = listOnly(named(new QComboBox, "ComboCampoImmagine"));
    captionRow(form, ButtonCampoImmagine, ComboCampoImmagine);
    ButtonCampoFile = named(new QPushButton(QStringLiteral("Campo sel. file")), "ButtonCampoFile");
    ComboCampoFile = listOnly(named(new QComboBox, "ComboCampoFile"));
    captionRow(form, ButtonCampoFile, ComboCampoFile);

    auto checkRow = [form](QCheckBox *check, QPushButton *button) {
        button->setAutoDefault(false);
        auto *row = new QHBoxLayout;
        row->addWidget(check);
        row->addWidget(keepsPlace(button));
        row->addStretch(1);
        form->addRow(row);
    };
    CheckStampa = named(new QCheckBox(QStringLiteral("Stampa")), "CheckStampa");
    ButtonConfiguraStampa =
        named(new QPushButton(QStringLiteral("Configura")), "ButtonConfiguraStampa");
    checkRow(CheckStampa, ButtonConfiguraStampa);
    CheckRicerca = named(new QCheckBox(QStringLiteral("Ricerca")), "CheckRicerca");
    ButtonConfiguraRicerca =
        named(new QPushButton(QStringLiteral("Configura")), "ButtonConfiguraRicerca");
    checkRow(CheckRicerca, ButtonConfiguraRicerca);
    CheckSoloConsultazione =
        named(new QCheckBox(QStringLiteral("Solo consultazione")), "CheckSoloConsultazione");
    form->addRow(CheckSoloConsultazione);
    return box;
}

QWidget *TWizCSDFinestraForm::creaCampi()
{
    auto *box = new QWidget;
    auto *h = new QHBoxLayout(box);
    h->setContentsMargins(0, 0, 0, 0);
    GridCampi = named(new TCampiGrid, "GridCampi");
    m_model = new TCampiModel(Wizard->TabCampi, this);
    GridCampi->setModel(m_model);
    // Narrow columns, yet wide enough for their texts in the font in use.
    const QFontMetrics fm = GridCampi->fontMetrics();
    GridCampi->setColumnWidth(TCampiModel::ColN, qMax(30, fm.horizontalAdvance("999") + 12));
    GridCampi->setColumnWidth(TCampiModel::ColTipo, qMax(30, fm.horizontalAdvance("Combo") + 12));
    GridCampi->setMinimumHeight(fm.height() * 12);
    const QFontMetrics fmTitoli = GridCampi->horizontalHeader()->fontMetrics();
    for (int c = TCampiModel::ColNome; c < TCampiModel::NumeroColonne; ++c) {
        if (c != TCampiModel::ColTipo) {
            const QString titolo =
                m_model->headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
            GridCampi->setColumnWidth(c, fmTitoli.horizontalAdvance(titolo) + 24);
        }
    }
    h->addWidget(GridCampi, 1);

    auto *buttons = new QVBoxLayout;
    ButtonNuovo = named(new QPushButton(QStringLiteral("&Nuovo")), "ButtonNuovo");
    ButtonInserisci = named(new QPushButton(QStringLiteral("&Inserisci")), "ButtonInserisci");
    ButtonElimina = named(new QPushButton(QStringLiteral("&Elimina")), "ButtonElimina");
    ButtonAzzera = named(new QPushButton(QStringLiteral("&Azzera")), "ButtonAzzera");
    for (QPushButton *b : {ButtonNuovo, ButtonInserisci, ButtonElimina, ButtonAzzera}) {
        b->setAutoDefault(false);
        buttons->addWidget(b);
    }
    buttons->addStretch(1);
    h->addLayout(buttons);
    return box;
}

QWidget *TWizCSDFinestraForm::creaDettaglio()
{
    PanelDettaglio = named(new QGroupBox, "PanelDettaglio");
    auto *h = new QHBoxLayout(PanelDettaglio);

    auto *tipo = new QVBoxLayout;
    RadioEdit = named(new QRadioButton(QStringLiteral("Edit")), "RadioEdit");
    RadioCombo = named(new QRadioButton(QStringLiteral("Combo")), "RadioCombo");
    tipo->addWidget(RadioEdit);
    tipo->addWidget(RadioCombo);
    tipo->addStretch(1);
    h->addLayout(tipo);

    PanelValori = keepsPlace(named(new QWidget, "PanelValori"));
    auto *valori = new QGridLayout(PanelValori);
    valori->setContentsMargins(0, 0, 0, 0);
    ListValoriCombo = named(new QListWidget, "ListValoriCombo");
    const int altezzaValori = ListValoriCombo->fontMetrics().height() * 6;
    ListValoriCombo->setMaximumHeight(altezzaValori);
    ButtonAggiungiValore = named(new QPushButton(QStringLiteral("+")), "ButtonAggiungiValore");
    ButtonRimuoviValore = named(new QPushButton(QStringLiteral("-")), "ButtonRimuoviValore");
    valori->addWidget(new QLabel(QStringLiteral("Valori combo:")), 0, 0, 1, 2);
    valori->addWidget(ListValoriCombo, 1, 0, 2, 1);
    valori->addWidget(ButtonAggiungiValore, 1, 1);
    valori->addWidget(ButtonRimuoviValore, 2, 1, Qt::AlignTop);
    valori->setRowStretch(3, 1);
    h->addWidget(PanelValori, 1);

    auto *decodifica = new QVBoxLayout;
    CheckDecodifica = named(new QCheckBox(QStringLiteral("Decodifica")), "CheckDecodifica");
    decodifica->addWidget(CheckDecodifica);
    PanelDecodifica = keepsPlace(named(new QWidget, "PanelDecodifica"));
    auto *form = new QFormLayout(PanelDecodifica);
    form->setContentsMargins(0, 0, 0, 0);
    ComboDecodificaTabella = named(new QComboBox, "ComboDecodificaTabella");
    ComboDecodificaCampoColl = named(new QComboBox, "ComboDecodificaCampoColl");
    ComboDecodificaCampoDec = named(new QComboBox, "ComboDecodificaCampoDec");
    EditDecodificaEtichetta = named(new QLineEdit, "EditDecodificaEtichetta");
    form->addRow(QStringLiteral("Tabella collegata:"), ComboDecodificaTabella);
    form->addRow(QStringLiteral("Campo collegato:"), ComboDecodificaCampoColl);
    form->addRow(QStringLiteral("Campo da decodificare:"), ComboDecodificaCampoDec);
    form->addRow(QStringLiteral("Etichetta decodifica:"), EditDecodificaEtichetta);
    decodifica->addWidget(PanelDecodifica);
    CheckRicercaCampo =
        keepsPlace(named(new QCheckBox(QStringLiteral("Ricerca")), "CheckRicercaCampo"));
    ButtonConfiguraRicercaCampo = keepsPlace(
        named(new QPushButton(QStringLiteral("Configura")), "ButtonConfiguraRicercaCampo"));
    for (QPushButton *b : {ButtonAggiungiValore, ButtonRimuoviValore, ButtonConfiguraRicercaCampo})
        b->setAutoDefault(false);
    auto *ricerca = new QHBoxLayout;
    ricerca->addWidget(CheckRicercaCampo);
    ricerca->addWidget(ButtonConfiguraRicercaCampo);
    ricerca->addStretch(1);
    decodifica->addLayout(ricerca);
    h->addLayout(decodifica, 2);
    return PanelDettaglio;
}

void TWizCSDFinestraForm::Azzera()
{
    Wizard->Azzera();
}

bool TWizCSDFinestraForm::CaricaXML(const QString &testo)
{
    return Wizard->CaricaXML(testo);
}

void TWizCSDFinestraForm::CaricaTabella(const QString &percorsoDatabase, const QString &nomeTabella)
{
    Wizard->CaricaTabella(percorsoDatabase, nomeTabella);
}

QString TWizCSDFinestraForm::ComponiXML()
{
    GridCampi->commitOpenEditor();
    return Wizard->ComponiXML();
}
