#include "ricercaform.h"

#include "dbcontrols.h"
#include "dbgrid.h"
#include "guard.h"
#include "ibquery.h"
#include "messages.h"
#include "screenfit.h"
#include "tabform.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

TRicercaForm::TRicercaForm(QWidget *owner, TTabForm *tabForm, const QString &caption,
                           const QString &queryName, const QString &gridName,
                           const TRicercaOpzioni &opzioni)
    : QDialog(owner)
    , FTabForm(tabForm)
    , ButtonRitorna(new QPushButton(QStringLiteral("&Ritorna"), this))
    , ButtonChiudi(new QPushButton(opzioni.didascaliaChiudi, this))
    , m_opzioni(opzioni)
    , m_query(new TIBQuery(this))
    , m_grid(new TDBGrid(this))
    , m_layout(new QVBoxLayout(this))
    , m_campi(new QHBoxLayout)
{
    setWindowTitle(caption);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    m_query->setObjectName(queryName);
    m_grid->setObjectName(gridName);
    m_grid->setDataSet(m_query);
    ButtonRitorna->setObjectName(QStringLiteral("ButtonRitorna"));
    ButtonChiudi->setObjectName(QStringLiteral("ButtonChiudi"));
    // Enter in a filter box presses nothing (a list's filter searches on
    // it); on the grid, Enter and a double click choose the row.
    ButtonRitorna->setAutoDefault(false);
    ButtonChiudi->setAutoDefault(false);
    ScreenFit::orderTabsOnShow(this);

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(ButtonRitorna);
    pulsanti->addWidget(ButtonChiudi);
    m_layout->addWidget(m_grid, 1);
    m_layout->addLayout(m_campi);
    m_layout->addLayout(pulsanti);

    Guard::connect(ButtonRitorna, &QPushButton::clicked, this, &TRicercaForm::ButtonRitornaClick);
    Guard::connect(ButtonChiudi, &QPushButton::clicked, this, &TRicercaForm::ButtonChiudiClick);
    Guard::connect(m_grid, &TDBGrid::DblClick, this, &TRicercaForm::ButtonRitornaClick);
    Guard::connect(m_grid, &TDBGrid::KeyDown, this, [this](int key, Qt::KeyboardModifiers) {
        if (key == Qt::Key_Return || key == Qt::Key_Enter)
            ButtonRitornaClick();
    });
}

QHBoxLayout *TRicercaForm::rigaFiltri()
{
    if (!m_filtri) {
        m_filtri = new QHBoxLayout;
        m_layout->insertLayout(0, m_filtri);
    }
    return m_filtri;
}

TRicercaForm::~TRicercaForm() = default;

TDBEdit *TRicercaForm::campo(const QString &editName, const QString &caption,
                             const QString &fieldName)
{
    auto *colonna = new QVBoxLayout;
    auto *etichetta = new QPushButton(caption, this);
    QString nome = editName;
    nome.replace(0, 4, QStringLiteral("Button"));
    etichetta->setObjectName(nome);
    etichetta->setFlat(true);
    etichetta->setAutoDefault(false);
    etichetta->setFocusPolicy(Qt::NoFocus);
    etichetta->setStyleSheet(QStringLiteral("text-align: left; padding: 1px 2px;"));
    auto *box = new TDBEdit(this);
    box->setObjectName(editName);
    box->setReadOnly(true);
    box->bind(m_query, fieldName);
    colonna->addWidget(etichetta);
    colonna->addWidget(box);
    // Descriptions get the room, codes keep to their numbers.
    m_campi->addLayout(colonna, fieldName.contains(QLatin1String("DESCRIZIONE")) ? 3 : 1);
    return box;
}

void TRicercaForm::apri(const QStringList &sql, const QVariantMap &params)
{
    m_query->setDatabase(m_opzioni.database ? m_opzioni.database : FTabForm->IBDatabase1);
    m_query->setTransaction(m_opzioni.transaction ? m_opzioni.transaction
                                                  : FTabForm->IBTransaction1);
    m_query->SQL = sql;
    for (auto it = params.cbegin(); it != params.cend(); ++it)
        m_query->ParamByName(it.key()).setValue(it.value());
    m_query->Open();
    // The boxes are all there now: room for them whatever the font. A list
    // searched again while shown keeps the size it was given.
    if (!isVisible())
        ScreenFit::fitToScreen(this, sizeHint().expandedTo(QSize(560, 380)));
}

void TRicercaForm::ButtonRitornaClick()
{
    if (!m_query->Active() || m_query->IsEmpty()) {
        Messages::warning(m_opzioni.avvisoVuota);
        return;
    }
    done(mrOk);
}

void TRicercaForm::ButtonChiudiClick()
{
    done(mrCancel);
}

void TRicercaForm::reject()
{
    ButtonChiudiClick();
}
