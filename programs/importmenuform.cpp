#include "importmenuform.h"

#include "dbcontrols.h"
#include "dbgrid.h"
#include "filedialogs.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "memorydata.h"
#include "messages.h"
#include "parametriblob.h"
#include "tabform.h"

#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FileScambioMenu;

namespace {

const QString kMarcato = QStringLiteral("1");

// A dataset's views held off, and given back on every way out.
class TBlocco
{
public:
    explicit TBlocco(TDataSet *dataSet)
        : m_dataSet(dataSet)
    {
        m_dataSet->DisableControls();
    }
    ~TBlocco()
    {
        if (m_dataSet->Active())
            m_dataSet->First();
        m_dataSet->EnableControls();
    }
    TBlocco(const TBlocco &) = delete;
    TBlocco &operator=(const TBlocco &) = delete;

private:
    TDataSet *m_dataSet;
};

void righeNormali(TDBGrid *grid)
{
    grid->Model()->setRowColourHook([](int, QColor &background, QColor &text) {
        background = Qt::white;
        text = Qt::black;
    });
}

} // namespace

TImportMenuForm::TImportMenuForm(QWidget *owner, TTabForm *&tabForm)
    : QDialog(owner)
    , FTabForm(tabForm)
    , QueryProgPres(new TIBQuery(this))
    , QueryMenuPres(new TIBQuery(this))
    , QueryAux(new TIBSQL(this))
    , MemTabProg(new TRxMemoryData(this))
    , MemTabMenu(new TRxMemoryData(this))
    , Importazione(MemTabProg, MemTabMenu)
{
    setObjectName(QStringLiteral("ImportMenuForm"));
    setWindowTitle(QStringLiteral("Import Menu"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    TIBDatabase *db = FTabForm->IBDatabase1;
    TIBTransaction *tr = FTabForm->IBTransaction1;
    // Every writing needs the column: a database where the programs editor
    // never opened gets it here, with that editor's own messages.
    ParametriBlob::VerificaCampo(db, tr);

    TImportazioneMenu::DefinisciTabelle(MemTabProg, MemTabMenu);
    MemTabMenu->setOnFilterRecord(
        [this](TDataSet *ds, bool &accept) { MemTabMenuFilterRecord(ds, accept); });
    MemTabMenu->setFiltered(true);
    MemTabProg->Open();
    MemTabMenu->Open();

    buildWindow();

    QueryAux->setDatabase(db);
    QueryAux->setTransaction(tr);
    for (TIBQuery *q : {QueryProgPres, QueryMenuPres}) {
        q->setDatabase(db);
        q->setTransaction(tr);
    }
    QueryMenuPres->SQL =
        QStringList{QStringLiteral("SELECT MENU,MENUPREC,LIVELLOMENU,DESCRIZIONE,DLL,FUNZIONE,"),
                    QStringLiteral("NOTE,LIVELLO2VERSIONE,PARAMETRI,VISIBILE,VOCERAPIDA"),
                    QStringLiteral("FROM DETTMENU WHERE"), QStringLiteral("PROGRAMMA=:PROGRAMMA"),
                    QStringLiteral("ORDER BY MENU")};
    QueryProgPres->SQL =
        QStringList{QStringLiteral("SELECT CODICE,NOME,DESCRIZIONE,ICONA FROM PROGRAMMI"),
                    QStringLiteral("ORDER BY CODICE")};
    QueryProgPres->Open();
    QueryProgPres->First();
}

TImportMenuForm::~TImportMenuForm() = default;

void TImportMenuForm::buildWindow()
{
    auto pulsante = [this](const char *nome, const QString &testo) {
        auto *b = new QPushButton(testo, this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        return b;
    };
    auto griglia = [this](const char *nome, TDataSet *dataSet) {
        auto *g = new TDBGrid(this);
        g->setObjectName(QLatin1String(nome));
        g->setDataSet(dataSet);
        return g;
    };
    auto etichetta = [this](const QString &testo, QWidget *per) {
        auto *l = new QLabel(testo, this);
        l->setBuddy(per);
        return l;
    };

    EditFile = new QLineEdit(this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    EditFile->setReadOnly(true);
    ButtonFile = pulsante("ButtonFile", QStringLiteral("&File"));
    ButtonImport = pulsante("ButtonImport", QStringLiteral("&Import"));
    ButtonChiudi = pulsante("ButtonChiudi", QStringLiteral("&Chiudi"));
    ButtonSel1 = pulsante("ButtonSel1", QStringLiteral("Selez."));
    ButtonDesel1 = pulsante("ButtonDesel1", QStringLiteral("Deselez."));

    GridProgPres = griglia("GridProgPres", QueryProgPres);
    GridMenuPres = griglia("GridMenuPres", QueryMenuPres);
    GridProgFile = griglia("GridProgFile", MemTabProg);
    GridMenuFile = griglia("GridMenuFile", MemTabMenu);
    GridProgPres->Model()->setColumnHidden(QStringLiteral("CODICE"));
    for (const char *c : {"CODICE", "S", "S2"})
        GridProgFile->Model()->setColumnHidden(QLatin1String(c));
    GridMenuFile->Model()->setColumnHidden(QStringLiteral("PROGRAMMA"));
    righeNormali(GridProgPres);
    righeNormali(GridMenuPres);
    TDataSetModel *modelloFile = GridProgFile->Model();
    modelloFile->setRowColourHook([modelloFile](int row, QColor &background, QColor &text) {
        const bool marcato = modelloFile->value(row, QStringLiteral("S")).toString() == kMarcato;
        const bool nuovo = modelloFile->value(row, QStringLiteral("S2")).toString() == "2";
        background = marcato ? clBackground : QColor(Qt::white);
        text = nuovo ? QColor(Qt::blue) : QColor(Qt::black);
    });

    EditCodiceProg = new TDBEdit(this);
    EditCodiceProg->setObjectName(QStringLiteral("EditCodiceProg"));
    EditCodiceProg->bind(QueryProgPres, QStringLiteral("CODICE"));
    EditCodiceProg->hide();
    EditMemCodiceProg = new TDBEdit(this);
    EditMemCodiceProg->setObjectName(QStringLiteral("EditMemCodiceProg"));
    EditMemCodiceProg->bind(MemTabProg, QStringLiteral("CODICE"));
    EditMemCodiceProg->hide();

    MemoLog = new QPlainTextEdit(this);
    MemoLog->setObjectName(QStringLiteral("MemoLog"));
    MemoLog->setReadOnly(true);
    MemoLog->setLineWrapMode(QPlainTextEdit::NoWrap);

    auto *file = new QHBoxLayout;
    file->addWidget(EditFile, 1);
    file->addWidget(ButtonFile);

    auto *selezione = new QHBoxLayout;
    selezione->addWidget(
        etichetta(QStringLiteral("Programmi nel file (F3 o doppio click per selez./deselez.)"),
                  GridProgFile),
        1);
    selezione->addWidget(ButtonSel1);
    selezione->addWidget(ButtonDesel1);

    auto *griglie = new QGridLayout;
    griglie->addWidget(etichetta(QStringLiteral("Programmi presenti"), GridProgPres), 0, 0);
    griglie->addLayout(selezione, 0, 1);
    griglie->addWidget(GridProgPres, 1, 0);
    griglie->addWidget(GridProgFile, 1, 1);
    griglie->addWidget(etichetta(QStringLiteral("Menu presenti"), GridMenuPres), 2, 0);
    griglie->addWidget(etichetta(QStringLiteral("Menu nel file"), GridMenuFile), 2, 1);
    griglie->addWidget(GridMenuPres, 3, 0);
    griglie->addWidget(GridMenuFile, 3, 1);
    griglie->setRowStretch(1, 1);
    griglie->setRowStretch(3, 1);

    auto *comandi = new QHBoxLayout;
    comandi->addStretch(1);
    comandi->addWidget(ButtonImport);
    comandi->addWidget(ButtonChiudi);

    auto *layout = new QVBoxLayout(this);
    layout->addLayout(file);
    layout->addLayout(griglie, 3);
    layout->addWidget(etichetta(QStringLiteral("Log"), MemoLog));
    layout->addWidget(MemoLog, 1);
    layout->addLayout(comandi);
    resize(960, 680);

    for (const auto &[b, handler] : {std::pair{ButtonFile, &TImportMenuForm::ButtonFileClick},
                                     {ButtonImport, &TImportMenuForm::ButtonImportClick},
                                     {ButtonChiudi, &TImportMenuForm::ButtonChiudiClick},
                                     {ButtonSel1, &TImportMenuForm::ButtonSel1Click},
                                     {ButtonDesel1, &TImportMenuForm::ButtonDesel1Click}})
        Guard::connect(b, &QPushButton::clicked, this, handler);
    Guard::connect(GridProgFile, &TDBGrid::DblClick, this, &TImportMenuForm::GridProgFileDblClick);
    Guard::connect(GridProgFile, &TDBGrid::KeyUp, this, &TImportMenuForm::GridProgFileKeyUp);
    Guard::connect(EditCodiceProg, &TDBEdit::Change, this, &TImportMenuForm::EditCodiceProgChange);
    Guard::connect(EditMemCodiceProg, &TDBEdit::Change, this,
                   &TImportMenuForm::EditMemCodiceProgChange);
}

bool TImportMenuForm::ProgrammaGiaPresente(const QString &nome, int &codice) const
{
    codice = 0;
    const std::optional<int> trovato = m_presenti ? m_presenti->Cerca(nome) : std::nullopt;
    if (trovato)
        codice = *trovato;
    return trovato.has_value();
}

void TImportMenuForm::EditCodiceProgChange()
{
    QueryMenuPres->Close();
    const QString codice = EditCodiceProg->text();
    QueryMenuPres->ParamByName(QStringLiteral("PROGRAMMA"))
        .setValue(codice.isEmpty() ? QVariant() : QVariant(codice.toInt()));
    QueryMenuPres->Open();
    QueryMenuPres->First();
}

void TImportMenuForm::EditMemCodiceProgChange()
{
    MemTabMenu->Refresh();
}

void TImportMenuForm::MemTabMenuFilterRecord(TDataSet *dataSet, bool &accept)
{
    const QString corrente = MemTabProg->Active() && !MemTabProg->IsEmpty()
                                 ? MemTabProg->FieldByName(QStringLiteral("CODICE"))->AsString()
                                 : QString();
    accept = dataSet->FieldByName(QStringLiteral("PROGRAMMA"))->AsString() == corrente;
}

void TImportMenuForm::svuota()
{
    MemTabProg->EmptyTable();
    MemTabMenu->EmptyTable();
    EditFile->clear();
}

void TImportMenuForm::ButtonFileClick()
{
    MemTabProg->EmptyTable();
    MemTabMenu->EmptyTable();
    const QString nomeFile = FileDialogs::open(this, QString());
    if (nomeFile.isEmpty())
        return;
    if (!QFileInfo(nomeFile).isFile()) {
        Messages::warning(QStringLiteral("Il file selezionato non esiste"));
        return;
    }
    EditFile->setText(nomeFile);
    if (!leggi(nomeFile))
        svuota();
}

// A bad line leaves nothing to import: the caller empties what was staged.
bool TImportMenuForm::leggi(const QString &nomeFile)
{
    QueryAux->Close();
    QueryAux->SQL = QStringList{QStringLiteral("SELECT MAX(CODICE) FROM PROGRAMMI")};
    QueryAux->ExecQuery();
    int nuovoCodice = 1;
    if (!QueryAux->Eof() && !QueryAux->Fields(0).IsNull())
        nuovoCodice = QueryAux->Fields(0).AsInteger() + 1;
    QueryAux->Close();

    QVector<TProgrammaPresente> presenti;
    QueryAux->SQL = QStringList{QStringLiteral("SELECT CODICE,NOME FROM PROGRAMMI")};
    for (QueryAux->ExecQuery(); !QueryAux->Eof(); QueryAux->Next())
        presenti.append({QueryAux->Fields(0).AsInteger(), QueryAux->Fields(1).AsString()});
    QueryAux->Close();
    m_presenti = std::make_unique<TIndiceProgrammi>(presenti);

    TBlocco presentiFermi(QueryProgPres);
    QueryProgPres->First();

    QFile file(nomeFile);
    if (!file.open(QIODevice::ReadOnly)) {
        Messages::error(QStringLiteral("Impossibile leggere il file ") + nomeFile +
                        QStringLiteral(":\r") + file.errorString());
        return false;
    }
    // Staged as read: a bad line stops the reading, and the caller empties
    // the tables.
    try {
        const QString errore = Importazione.CaricaFile(
            file,
            [this](const QString &nome) -> std::optional<int> {
                int codice;
                return ProgrammaGiaPresente(nome, codice) ? std::optional<int>(codice)
                                                          : std::nullopt;
            },
            nuovoCodice);
        if (!errore.isEmpty()) {
            Messages::error(errore);
            return false;
        }
    } catch (const std::exception &e) {
        Messages::error(Guard::messageOf(e));
        return false;
    }
    return true;
}

void TImportMenuForm::ButtonImportClick()
{
    TBlocco grigliaFerma(MemTabProg);
    if (MemTabProg->Active())
        MemTabProg->First();
    MemoLog->clear();

    if (!MemTabProg->Active()) {
        Messages::warning(QStringLiteral("Selezionare un file da importare prima"));
        return;
    }
    if (MemTabProg->IsEmpty()) {
        Messages::warning(QStringLiteral("Non ci sono programmi da importare"));
        return;
    }
    if (!MemTabProg->Locate(QStringLiteral("S"), kMarcato)) {
        Messages::information(QStringLiteral("Selezionare almeno un programma da importare"));
        return;
    }
    if (!Messages::confirm(
            QStringLiteral("Importare i programmi selezionati con i relativi menu?")))
        return;

    const bool riuscita = Importazione.Importa(
        FTabForm->IBDatabase1, FTabForm->IBTransaction1, [this](const QString &riga) {
            QString r = riga;
            r.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
            MemoLog->appendPlainText(r);
        });
    QueryProgPres->Close();
    QueryProgPres->Open();
    if (riuscita)
        Messages::information(QStringLiteral("Importazione completata"));
    else
        Messages::error(Importazione.Conflitto().isEmpty()
                            ? QStringLiteral("Importazione interrotta")
                            : QStringLiteral("Importazione interrotta\r") +
                                  Importazione.Conflitto());
}

void TImportMenuForm::ButtonChiudiClick()
{
    close();
}

void TImportMenuForm::segnaTutti(const QString &valore)
{
    if (!MemTabProg->Active() || MemTabProg->IsEmpty())
        return;
    const TBookmark corrente = MemTabProg->GetBookmark();
    MemTabProg->DisableControls();
    try {
        TField *s = MemTabProg->FieldByName(QStringLiteral("S"));
        for (MemTabProg->First(); !MemTabProg->Eof(); MemTabProg->Next()) {
            MemTabProg->Edit();
            s->setAsString(valore);
            MemTabProg->Post();
        }
        MemTabProg->GotoBookmark(corrente);
    } catch (...) {
        MemTabProg->EnableControls();
        throw;
    }
    MemTabProg->EnableControls();
}

void TImportMenuForm::ButtonSel1Click()
{
    segnaTutti(QStringLiteral("1"));
}

void TImportMenuForm::ButtonDesel1Click()
{
    segnaTutti(QStringLiteral("0"));
}

void TImportMenuForm::GridProgFileDblClick()
{
    if (!MemTabProg->Active() || MemTabProg->IsEmpty())
        return;
    TField *s = MemTabProg->FieldByName(QStringLiteral("S"));
    const QString nuovo = s->AsString() == kMarcato ? QStringLiteral("0") : kMarcato;
    MemTabProg->Edit();
    s->setAsString(nuovo);
    MemTabProg->Post();
}

void TImportMenuForm::GridProgFileKeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F3)
        GridProgFileDblClick();
}
