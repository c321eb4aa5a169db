#include "exportmenuform.h"

#include "currentrecord.h"
#include "dbgrid.h"
#include "dettmenu.h"
#include "filedialogs.h"
#include "filescambiomenu.h"
#include "guard.h"
#include "ibquery.h"
#include "ibsql.h"
#include "messages.h"
#include "segni.h"
#include "tabform.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

using namespace FileScambioMenu;

namespace {

// The programs grid held still for the export, back on its first row after.
class TGrigliaFerma
{
public:
    explicit TGrigliaFerma(TDataSet *dataSet)
        : m_dataSet(dataSet)
    {
        m_dataSet->DisableControls();
        m_dataSet->First();
    }
    ~TGrigliaFerma()
    {
        if (m_dataSet->Active())
            m_dataSet->First();
        m_dataSet->EnableControls();
    }
    TGrigliaFerma(const TGrigliaFerma &) = delete;
    TGrigliaFerma &operator=(const TGrigliaFerma &) = delete;

private:
    TDataSet *m_dataSet;
};

} // namespace

TExportMenuForm::TExportMenuForm(QWidget *owner, TTabForm *&tabForm)
    : QDialog(owner)
    , FTabForm(tabForm)
    , QueryProgetti(new TIBQuery(this))
    , QueryProgrammi(new TIBQuery(this))
    , QueryAux(new TIBSQL(this))
{
    setObjectName(QStringLiteral("ExportMenuForm"));
    setWindowTitle(QStringLiteral("Export Menu"));
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    buildWindow();

    for (TIBQuery *q : {QueryProgetti, QueryProgrammi}) {
        q->setDatabase(FTabForm->IBDatabase1);
        q->setTransaction(FTabForm->IBTransaction1);
    }
    QueryAux->setDatabase(FTabForm->IBDatabase1);
    QueryAux->setTransaction(FTabForm->IBTransaction1);
    QueryProgrammi->SQL = QStringList{QStringLiteral("SELECT B.* FROM"),
                                      QStringLiteral("DETTPROGETTI A LEFT JOIN PROGRAMMI B ON"),
                                      QStringLiteral("A.PROGRAMMA=B.CODICE"),
                                      QStringLiteral("WHERE A.PROGETTO=:PROGETTO"),
                                      // A stable order: the grid's and the file's.
                                      QStringLiteral("ORDER BY A.PROGRAMMA")};
    QueryProgetti->SQL = QStringList{QStringLiteral("SELECT * FROM PROGETTI ORDER BY CODICE")};
    QueryProgetti->Open();
}

TExportMenuForm::~TExportMenuForm() = default;

void TExportMenuForm::buildWindow()
{
    auto pulsante = [this](const char *nome, const QString &testo) {
        auto *b = new QPushButton(testo, this);
        b->setObjectName(QLatin1String(nome));
        b->setAutoDefault(false);
        return b;
    };
    GridProgetti = new TDBGrid(this);
    GridProgetti->setObjectName(QStringLiteral("GridProgetti"));
    GridProgetti->setDataSet(QueryProgetti);
    GridProgetti->Model()->setColumnHidden(QStringLiteral("CODICE"));
    GridProgrammi = new TDBGrid(this);
    GridProgrammi->setObjectName(QStringLiteral("GridProgrammi"));
    GridProgrammi->setDataSet(QueryProgrammi);
    GridProgrammi->Model()->setColumnHidden(QStringLiteral("CODICE"));
    GridProgrammi->Model()->setColumnHidden(QStringLiteral("ICONA"));
    Segni::Colora(GridProgrammi, QStringLiteral("CODICE"), FProgrSelezionati);

    EditFile = new QLineEdit(this);
    EditFile->setObjectName(QStringLiteral("EditFile"));
    ButtonFile = pulsante("ButtonFile", QStringLiteral("&File"));
    ButtonExport = pulsante("ButtonExport", QStringLiteral("&Export"));
    ButtonChiudi = pulsante("ButtonChiudi", QStringLiteral("&Chiudi"));

    auto *etichettaProgetto = new QLabel(QStringLiteral("Progetto"), this);
    etichettaProgetto->setBuddy(GridProgetti);
    auto *etichettaProgrammi = new QLabel(
        QStringLiteral("Programmi (F3 o doppio click per selezionare/deselezionare)"), this);
    etichettaProgrammi->setBuddy(GridProgrammi);

    auto *file = new QHBoxLayout;
    file->addWidget(EditFile, 1);
    file->addWidget(ButtonFile);
    auto *comandi = new QHBoxLayout;
    comandi->addStretch(1);
    comandi->addWidget(ButtonExport);
    comandi->addWidget(ButtonChiudi);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(etichettaProgetto);
    layout->addWidget(GridProgetti, 1);
    layout->addWidget(etichettaProgrammi);
    layout->addWidget(GridProgrammi, 2);
    layout->addLayout(file);
    layout->addLayout(comandi);
    resize(640, 560);

    Guard::connect(ButtonFile, &QPushButton::clicked, this, &TExportMenuForm::ButtonFileClick);
    Guard::connect(ButtonExport, &QPushButton::clicked, this, &TExportMenuForm::ButtonExportClick);
    Guard::connect(ButtonChiudi, &QPushButton::clicked, this, &TExportMenuForm::ButtonChiudiClick);
    Guard::connect(GridProgrammi, &TDBGrid::DblClick, this,
                   &TExportMenuForm::GridProgrammiDblClick);
    Guard::connect(GridProgrammi, &TDBGrid::KeyUp, this, &TExportMenuForm::GridProgrammiKeyUp);
    onCurrentRecord(QueryProgetti, QStringLiteral("CODICE"), this, [this] { CaricaProgrammi(); });
}

void TExportMenuForm::CaricaProgrammi()
{
    FProgrSelezionati.clear();
    QueryProgrammi->Close();
    const TField *codice = QueryProgetti->FindField(QStringLiteral("CODICE"));
    QueryProgrammi->ParamByName(QStringLiteral("PROGETTO"))
        .setValue(!codice || codice->IsNull() ? QVariant() : QVariant(codice->AsInteger()));
    QueryProgrammi->Open();
}

void TExportMenuForm::GridProgrammiDblClick()
{
    // A link to a program deleted since has no key: it cannot be marked.
    Segni::Commuta(GridProgrammi, QStringLiteral("CODICE"), FProgrSelezionati);
}

void TExportMenuForm::GridProgrammiKeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F3)
        GridProgrammiDblClick();
}

void TExportMenuForm::ButtonFileClick()
{
    // The dialog itself asks before a chosen existing file is replaced.
    QString nome = FileDialogs::save(this, QString());
    if (nome.isEmpty())
        return;
    if (!nome.toUpper().contains(QStringLiteral(".CSV")))
        nome += QStringLiteral(".csv");
    EditFile->setText(nome);
}

void TExportMenuForm::ButtonExportClick()
{
    if (EditFile->text().isEmpty()) {
        Messages::information(QStringLiteral("Si prega di specificare un nome file"));
        return;
    }
    if (FProgrSelezionati.isEmpty()) {
        Messages::information(QStringLiteral("Selezionare almeno un programma per l'esportazione"));
        return;
    }
    if (!Messages::confirm(QStringLiteral("Esportare i programmi selezionati?")))
        return;
    if (esporta())
        Messages::information(QStringLiteral("Esportazione terminata"));
}

// Every line is read before the file is touched, so a value the format cannot
// carry stops the export with the old file as it was.
bool TExportMenuForm::esporta()
{
    QueryAux->Close();
    QueryAux->SQL = QStringList{QStringLiteral("SELECT * FROM DETTMENU")};
    QueryAux->Prepare();
    // Without the column field 18 stays empty; the header names it anyway.
    // DETTMENU's columns come in the order of the file's fields 6 to 18.
    QStringList colonne = DettMenu::Nomi();
    if (!QueryAux->FindField(QStringLiteral("PARAMETRIBLOB")))
        colonne.removeLast();
    QueryAux->SQL =
        QStringList{QStringLiteral("SELECT ") + colonne.join(QLatin1Char(',')) +
                        QStringLiteral(" FROM DETTMENU WHERE"),
                    QStringLiteral("PROGRAMMA=:PROGRAMMA"), QStringLiteral("ORDER BY MENU")};

    const QString progetto = QueryProgetti->FieldByName(QStringLiteral("NOME"))->AsString();
    QVector<TRigaScambio> righe;
    {
        TGrigliaFerma ferma(QueryProgrammi);
        for (; !QueryProgrammi->Eof(); QueryProgrammi->Next()) {
            TField *codice = QueryProgrammi->FieldByName(QStringLiteral("CODICE"));
            if (codice->IsNull() || !FProgrSelezionati.contains(codice->AsString()))
                continue;
            TRigaScambio programma;
            programma[Progetto] = progetto;
            programma[Codice] = TestoValore(codice->Value());
            programma[Nome] =
                TestoValore(QueryProgrammi->FieldByName(QStringLiteral("NOME"))->Value());
            programma[Descrizione] =
                TestoValore(QueryProgrammi->FieldByName(QStringLiteral("DESCRIZIONE"))->Value());
            programma[Icona] =
                TestoValore(QueryProgrammi->FieldByName(QStringLiteral("ICONA"))->Value());

            QueryAux->Close();
            QueryAux->ParamByName(QStringLiteral("PROGRAMMA")).setValue(codice->Value());
            for (QueryAux->ExecQuery(); !QueryAux->Eof(); QueryAux->Next()) {
                TRigaScambio riga = programma;
                for (int i = 0; i < colonne.size(); ++i)
                    riga[Programma + i] = TestoValore(QueryAux->Fields(i).Value());
                righe.append(riga);
            }
            QueryAux->Close();
        }
    }

    const TFileComposto file = ComponiFile(righe);
    if (!file.ok()) {
        Messages::warning(file.Rifiuto);
        return false;
    }
    QString errore;
    if (!ScriviFile(EditFile->text(), file.Contenuto, &errore)) {
        Messages::error(errore);
        return false;
    }
    return true;
}

void TExportMenuForm::ButtonChiudiClick()
{
    close();
}
