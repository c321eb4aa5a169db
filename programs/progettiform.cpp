// The projects editor: its window, the two program lists and their marks.

#include "progettiform.h"

#include "currentrecord.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "editorwidgets.h"
#include "ibquery.h"
#include "segni.h"
#include "tabform.h"
#include "tag.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kCodice = QStringLiteral("CODICE");

} // namespace

TProgettiForm::TProgettiForm(QWidget *owner, TTabForm *&tabForm)
    : TRecordEditorForm(owner, tabForm, {QStringLiteral("PROGETTI"), {kCodice}, kCodice, {}})
    , QueryProgetti(MainQuery)
    , UpdateProgetti(MainUpdate)
    , QueryProgr1(new TIBQuery(this))
    , QueryProgr2(new TIBQuery(this))
{
    setNames(QStringLiteral("ProgettiForm"), QStringLiteral("Gestione progetti"),
             QStringLiteral("QueryProgetti"), QStringLiteral("UpdateProgetti"));
    QueryProgr1->setObjectName(QStringLiteral("QueryProgr1"));
    QueryProgr2->setObjectName(QStringLiteral("QueryProgr2"));
    for (TIBQuery *q : {QueryProgr1, QueryProgr2}) {
        q->setDatabase(FTabForm->IBDatabase1);
        q->setTransaction(FTabForm->IBTransaction1);
    }
    buildFields();

    GridProgetti = mainGrid("GridProgetti");
    ButtonDuplica = addCommand("ButtonDuplica", QStringLiteral("&Duplica"), true);

    onClick(ButtonAggiungi, this, &TProgettiForm::ButtonAggiungiClick);
    onClick(ButtonTogli, this, &TProgettiForm::ButtonTogliClick);
    onClick(ButtonDuplica, this, &TProgettiForm::ButtonDuplicaClick);
    onCurrentRecord(QueryProgetti, kCodice, this, [this] { CaricaListe(); });
    onSignal(GridProgr1, &TDBGrid::DblClick, this, &TProgettiForm::GridProgr1DblClick);
    onSignal(GridProgr2, &TDBGrid::DblClick, this, &TProgettiForm::GridProgr2DblClick);
    onSignal(GridProgr1, &TDBGrid::KeyUp, this, &TProgettiForm::GridProgr1KeyUp);
    onSignal(GridProgr2, &TDBGrid::KeyUp, this, &TProgettiForm::GridProgr2KeyUp);

    fitTo(QSize(860, 640));
    Apri();
}

void TProgettiForm::buildFields()
{
    auto *campi = new QGridLayout;
    campi->setVerticalSpacing(2);
    rigaCodice(campi, EditCodice, EditNome, EditDescrizione, ButtonCodice, ButtonNome,
               ButtonDescrizione);
    RadioModoMenuSistema = new TDBRadioGroup(QStringLiteral("Modo Menu Sistema"), PanelCampi);
    RadioModoMenuSistema->setObjectName(QStringLiteral("RadioModoMenuSistema"));
    RadioModoMenuSistema->setItems({QStringLiteral("Full (Default)"),
                                    QStringLiteral("Light (System | Exit)"),
                                    QStringLiteral("Non esposto")},
                                   {QStringLiteral("0"), QStringLiteral("1"), QStringLiteral("2")});
    RadioModoMenuSistema->bind(QueryProgetti, QStringLiteral("MODOMENUSISTEMA"));
    setTag(RadioModoMenuSistema, 2);

    campi->addWidget(RadioModoMenuSistema, 0, 3, 3, 1, Qt::AlignTop);
    campi->setColumnStretch(2, 1);

    auto *layout = new QVBoxLayout(PanelCampi);
    layout->setContentsMargins(0, 0, 0, 6);
    layout->addLayout(campi);
    layout->addWidget(buildLists(), 1);
    PanelCampi->setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Expanding);
}

QWidget *TProgettiForm::buildLists()
{
    auto *liste = new QWidget(PanelCampi);
    auto lista = [this, liste](const char *nome, TIBQuery *query, QStringList &segni) {
        auto *g = new TDBGrid(liste);
        g->setObjectName(QLatin1String(nome));
        g->setDataSet(query);
        g->setMinimumHeight(g->verticalHeader()->defaultSectionSize() * 8);
        Segni::Colora(g, kCodice, segni);
        return g;
    };
    GridProgr1 = lista("GridProgr1", QueryProgr1, FProgrSelezionati1);
    GridProgr2 = lista("GridProgr2", QueryProgr2, FProgrSelezionati2);
    LabelProgr1 = new QLabel(QStringLiteral("Programmi legati al progetto"), liste);
    LabelProgr1->setBuddy(GridProgr1);
    LabelProgr2 = new QLabel(QStringLiteral("Programmi disponibili"), liste);
    LabelProgr2->setBuddy(GridProgr2);

    ButtonAggiungi = new QPushButton(QStringLiteral("<"), liste);
    ButtonAggiungi->setObjectName(QStringLiteral("ButtonAggiungi"));
    ButtonTogli = new QPushButton(QStringLiteral(">"), liste);
    ButtonTogli->setObjectName(QStringLiteral("ButtonTogli"));
    auto *spostamenti = new QVBoxLayout;
    spostamenti->addStretch(1);
    spostamenti->addWidget(ButtonAggiungi);
    spostamenti->addWidget(ButtonTogli);
    spostamenti->addStretch(1);

    auto *griglia = new QGridLayout(liste);
    griglia->setContentsMargins(0, 0, 0, 0);
    griglia->addWidget(LabelProgr1, 0, 0);
    griglia->addWidget(LabelProgr2, 0, 2);
    griglia->addWidget(GridProgr1, 1, 0);
    griglia->addLayout(spostamenti, 1, 1);
    griglia->addWidget(GridProgr2, 1, 2);
    griglia->setColumnStretch(0, 1);
    griglia->setColumnStretch(2, 1);
    return liste;
}

QWidget *TProgettiForm::EditChiave() const
{
    return EditCodice;
}

QVariant TProgettiForm::codiceProgetto() const
{
    const TField *codice = QueryProgetti->Active() ? QueryProgetti->FindField(kCodice) : nullptr;
    return !codice || codice->IsNull() ? QVariant() : QVariant(codice->AsInteger());
}

// ---- The program lists ------------------------------------------------------------

void TProgettiForm::CaricaListe()
{
    const QVariant codice = codiceProgetto();
    QueryProgr1->Close();
    QueryProgr1->SQL =
        QStringList{QStringLiteral("SELECT A.PROGRAMMA AS CODICE,B.NOME,B.DESCRIZIONE"),
                    QStringLiteral("FROM DETTPROGETTI A LEFT JOIN PROGRAMMI B ON"),
                    QStringLiteral("(A.PROGRAMMA=B.CODICE) WHERE")};
    QueryProgr1->SQL << (codice.isNull() ? QStringLiteral("A.PROGETTO IS NULL")
                                         : QStringLiteral("A.PROGETTO=:PROGETTO"))
                     << QStringLiteral("ORDER BY A.PROGRAMMA");
    if (!codice.isNull())
        QueryProgr1->ParamByName(QStringLiteral("PROGETTO")).setValue(codice);
    QueryProgr1->Open();

    QueryProgr2->Close();
    QueryProgr2->SQL = QStringList{QStringLiteral("SELECT CODICE,NOME,DESCRIZIONE FROM PROGRAMMI")};
    // Without a project every program is available.
    if (!codice.isNull()) {
        QueryProgr2->SQL << QStringLiteral("WHERE CODICE NOT IN(SELECT PROGRAMMA FROM DETTPROGETTI")
                         << QStringLiteral("WHERE PROGETTO=:PROGETTO)");
        QueryProgr2->ParamByName(QStringLiteral("PROGETTO")).setValue(codice);
    }
    QueryProgr2->Open();
}

void TProgettiForm::GridProgr1DblClick()
{
    Segni::Commuta(GridProgr1, kCodice, FProgrSelezionati1);
}

void TProgettiForm::GridProgr1KeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F3)
        GridProgr1DblClick();
}

void TProgettiForm::GridProgr2DblClick()
{
    Segni::Commuta(GridProgr2, kCodice, FProgrSelezionati2);
}

void TProgettiForm::GridProgr2KeyUp(int key, Qt::KeyboardModifiers)
{
    if (key == Qt::Key_F3)
        GridProgr2DblClick();
}
