#include "acqdafileform.h"

#include "dbgrid.h"
#include "editorwidgets.h"
#include "filedialogs.h"
#include "fileiniditte.h"
#include "guard.h"
#include "memorydata.h"
#include "messages.h"

#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kScelta = QStringLiteral("1");

void definisci(TRxMemoryData *tabella,
               std::initializer_list<std::tuple<const char *, TFieldType, int>> campi)
{
    for (const auto &[nome, tipo, lunghezza] : campi)
        tabella->FieldDefs.Add(QLatin1String(nome), tipo, lunghezza);
    tabella->Open();
}

} // namespace

TAcqDaFileForm::TAcqDaFileForm(QWidget *owner, TTabForm *&tabForm)
    : QDialog(owner)
    , FTabForm(tabForm)
    , MemTabDitte(new TRxMemoryData(this))
    , MemTabImpoOri(new TRxMemoryData(this))
    , MemTabImpo(new TRxMemoryData(this))
{
    setObjectName(QStringLiteral("AcqDaFileForm"));
    setWindowTitle(QStringLiteral("Acquisizione file ini"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    using namespace FileIniDitte;
    definisci(MemTabDitte, {{"NomeDitta", ftString, LunghezzaDitta}});
    definisci(MemTabImpoOri, {{"Numero", ftInteger, 0},
                              {"Ditta", ftString, LunghezzaDitta},
                              {"Opzione", ftString, LunghezzaOpzione},
                              {"Valore", ftString, LunghezzaValore},
                              {"Note", ftString, LunghezzaNote}});
    definisci(MemTabImpo, {{"Numero", ftInteger, 0},
                           {"Opzione", ftString, LunghezzaOpzione},
                           {"Valore", ftString, LunghezzaValore},
                           {"Note", ftString, LunghezzaNote},
                           {"S", ftString, 1}});
    MemTabDitte->AfterScroll = [this](TDataSet *ditte) {
        if (FileLetto && !ditte->IsEmpty())
            CaricaOpzioniDittaSelezionata(
                ditte->FieldByName(QStringLiteral("NomeDitta"))->AsString());
    };
    buildWindow();
}

void TAcqDaFileForm::buildWindow()
{
    auto griglia = [this](const char *nome, TRxMemoryData *tabella) {
        auto *g = new TDBGrid(this);
        g->setObjectName(QLatin1String(nome));
        g->setDataSet(tabella);
        return g;
    };
    auto etichetta = [this](const QString &testo, QWidget *per) {
        auto *l = new QLabel(testo, this);
        l->setBuddy(per);
        return l;
    };

    EditSelFile = new QLineEdit(this);
    EditSelFile->setObjectName(QStringLiteral("EditSelFile"));
    EditSelFile->setReadOnly(true);
    ButtonSelFile = EditorWidgets::pushButton(this, "ButtonSelFile", QStringLiteral("Sel. File"));
    ButtonRiporta = EditorWidgets::pushButton(this, "ButtonRiporta", QStringLiteral("Riporta"));
    ButtonChiudi = EditorWidgets::pushButton(this, "ButtonChiudi", QStringLiteral("Chiudi"));
    GridDitte = griglia("GridDitte", MemTabDitte);
    GridImpo = griglia("GridImpo", MemTabImpo);
    GridImpo->Model()->setColumnHidden(QStringLiteral("S"));
    TDataSetModel *modello = GridImpo->Model();
    modello->setRowColourHook([modello](int row, QColor &background, QColor &text) {
        const bool scelta = modello->value(row, QStringLiteral("S")).toString() == kScelta;
        background = scelta ? clBackground : QColor(Qt::white);
        text = Qt::black;
    });
    GridDitte->Model()->setRowColourHook([](int, QColor &background, QColor &text) {
        background = Qt::white;
        text = Qt::black;
    });

    auto *file = new QHBoxLayout;
    file->addWidget(EditSelFile, 1);
    file->addWidget(ButtonSelFile);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addWidget(etichetta(QStringLiteral("Ditte rilevate"), GridDitte));
    layout->addWidget(GridDitte, 1);
    layout->addWidget(etichetta(QStringLiteral("Impostazioni rilevate (Doppio click o F3 per "
                                               "selezionare / deselezionare)"),
                                GridImpo));
    layout->addWidget(GridImpo, 2);
    layout->addLayout(EditorWidgets::buttonRow({ButtonRiporta, ButtonChiudi}));
    resize(760, 560);

    Guard::connect(ButtonSelFile, &QPushButton::clicked, this,
                   [this](bool) { ButtonSelFileClick(); });
    Guard::connect(ButtonRiporta, &QPushButton::clicked, this,
                   [this](bool) { ButtonRiportaClick(); });
    Guard::connect(ButtonChiudi, &QPushButton::clicked, this, [this](bool) { done(mrCancel); });
    Guard::connect(GridImpo, &TDBGrid::DblClick, this, [this] { GridImpoDblClick(); });
    Guard::connect(GridImpo, &TDBGrid::KeyUp, this,
                   [this](int key, Qt::KeyboardModifiers m) { GridImpoKeyUp(key, m); });
}

void TAcqDaFileForm::ButtonSelFileClick()
{
    const QString nome =
        FileDialogs::open(this, QString(), QString(), FileDialogs::OpenOption::FileMustExist);
    if (nome.isEmpty())
        return;
    const QString prima = EditSelFile->text();
    EditSelFile->setText(nome);
    if (!RilevaDitte())
        EditSelFile->setText(prima);
}

bool TAcqDaFileForm::RilevaDitte()
{
    const QString nome = EditSelFile->text();
    QFile file(nome);
    QByteArray contenuto;
    if (file.open(QIODevice::ReadOnly))
        contenuto = file.readAll();
    if (!file.isOpen() || file.error() != QFileDevice::NoError) {
        Messages::error(
            QStringLiteral("Impossibile leggere il file %1:\r%2").arg(nome, file.errorString()));
        return false;
    }
    const FileIniDitte::TContenuto letto = FileIniDitte::Leggi(contenuto);

    // A new file replaces what the last one showed.
    FileLetto = false;
    MemTabImpo->EmptyTable();
    MemTabImpoOri->EmptyTable();
    MemTabDitte->EmptyTable();
    MemTabDitte->DisableControls();
    MemTabImpoOri->DisableControls();
    for (const QString &ditta : letto.Ditte)
        MemTabDitte->AppendRecord({ditta});
    for (const FileIniDitte::TOpzione &o : letto.Opzioni)
        MemTabImpoOri->AppendRecord({o.Numero, o.Ditta, o.Opzione, o.Valore, o.Note});
    MemTabImpoOri->EnableControls();
    MemTabDitte->EnableControls();
    FileLetto = true;
    // Going to the first company fills its options.
    MemTabDitte->First();
    return true;
}

void TAcqDaFileForm::CaricaOpzioniDittaSelezionata(const QString &ditta)
{
    MemTabImpo->DisableControls();
    MemTabImpo->EmptyTable();
    int numero = 0;
    for (MemTabImpoOri->First(); !MemTabImpoOri->Eof(); MemTabImpoOri->Next()) {
        if (MemTabImpoOri->FieldByName(QStringLiteral("Ditta"))->AsString() != ditta)
            continue;
        MemTabImpo->AppendRecord(
            {++numero, MemTabImpoOri->FieldByName(QStringLiteral("Opzione"))->AsString(),
             MemTabImpoOri->FieldByName(QStringLiteral("Valore"))->AsString(),
             MemTabImpoOri->FieldByName(QStringLiteral("Note"))->AsString(), kScelta});
    }
    MemTabImpo->First();
    MemTabImpo->EnableControls();
}

QString TAcqDaFileForm::DittaScelta() const
{
    return MemTabDitte->IsEmpty()
               ? QString()
               : MemTabDitte->FieldByName(QStringLiteral("NomeDitta"))->AsString();
}

QStringList TAcqDaFileForm::RigheScelte()
{
    QStringList righe;
    MemTabImpo->DisableControls();
    for (MemTabImpo->First(); !MemTabImpo->Eof(); MemTabImpo->Next()) {
        if (MemTabImpo->FieldByName(QStringLiteral("S"))->AsString() == kScelta)
            righe.append(MemTabImpo->FieldByName(QStringLiteral("Opzione"))->AsString() +
                         QLatin1Char('=') +
                         MemTabImpo->FieldByName(QStringLiteral("Valore"))->AsString());
    }
    MemTabImpo->First();
    MemTabImpo->EnableControls();
    return righe;
}

void TAcqDaFileForm::ButtonRiportaClick()
{
    if (!FileLetto || !MemTabImpo->Locate(QStringLiteral("S"), kScelta)) {
        Messages::warning(QStringLiteral("Si prega di selezionare almeno un'opzione da riportare"));
        return;
    }
    done(mrOk);
}

void TAcqDaFileForm::GridImpoDblClick()
{
    if (MemTabImpo->IsEmpty())
        return;
    TField *s = MemTabImpo->FieldByName(QStringLiteral("S"));
    const QString nuovo = s->AsString() == kScelta ? QStringLiteral("0") : kScelta;
    MemTabImpo->Edit();
    s->setAsString(nuovo);
    MemTabImpo->Post();
}

void TAcqDaFileForm::GridImpoKeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F3)
        GridImpoDblClick();
}
