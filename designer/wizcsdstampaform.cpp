#include "wizcsdstampaform.h"

#include "csdfinestre.h"
#include "editorwidgets.h"
#include "filedialogs.h"
#include "guard.h"
#include "messages.h"

#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>
#include <stdexcept>

using EditorWidgets::named;

void ControllaStampa(const TCSDStampaOld &stampa)
{
    if (stampa.SQLStampa.isEmpty())
        throw std::runtime_error("SQL Stampa mancante");
}

void VerificaStampa(const QString &xmlStampa)
{
    TCSDStampaOld stampa;
    stampa.SetXML(xmlStampa);
    ControllaStampa(stampa);
}

TWizCSDStampaForm::TWizCSDStampaForm(QWidget *owner, TCSDStampaOld *stampa,
                                     const QString &nomeTabella)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
    , m_stampa(stampa)
    , m_nomeTabella(nomeTabella)
{
    setObjectName(QStringLiteral("WizCSDStampaForm"));
    setWindowTitle(QStringLiteral("Wizard Stampa"));

    ButtonTitolo = EditorWidgets::pushButton(nullptr, "ButtonTitolo", QStringLiteral("Titolo"));
    EditTitolo = named(new QLineEdit, "EditTitolo");
    ButtonReport =
        EditorWidgets::pushButton(nullptr, "ButtonReport", QStringLiteral("&Report (nome file)"));
    EditReport = named(new QLineEdit, "EditReport");
    auto *orientamento =
        named(new QGroupBox(QStringLiteral("Orientamento pag.")), "GroupOrientamento");
    RadioVerticale = named(new QRadioButton(QStringLiteral("Verticale")), "RadioVerticale");
    RadioOrizzontale = named(new QRadioButton(QStringLiteral("Orizzontale")), "RadioOrizzontale");
    auto *radios = new QHBoxLayout(orientamento);
    radios->addWidget(RadioVerticale);
    radios->addWidget(RadioOrizzontale);
    radios->addStretch(1);
    ButtonSQLStampa =
        EditorWidgets::pushButton(nullptr, "ButtonSQLStampa", QStringLiteral("SQL Stampa"));
    MemoSQLStampa = named(new QPlainTextEdit, "MemoSQLStampa");
    MemoSQLStampa->setTabChangesFocus(true);
    MemoSQLStampa->setMinimumHeight(MemoSQLStampa->fontMetrics().height() * 8);

    auto *form = new QFormLayout;
    form->addRow(ButtonTitolo, EditTitolo);
    form->addRow(ButtonReport, EditReport);
    form->addRow(orientamento);
    form->addRow(ButtonSQLStampa, MemoSQLStampa);

    ButtonOk = EditorWidgets::pushButton(nullptr, "ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = EditorWidgets::pushButton(nullptr, "ButtonCancel", QStringLiteral("Cancel"));
    auto *v = new QVBoxLayout(this);
    v->addLayout(form, 1);
    v->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));

    EditTitolo->setText(m_stampa->TitoloStampa.isEmpty() ? QStringLiteral("Stampa ") + m_nomeTabella
                                                         : m_stampa->TitoloStampa);
    EditReport->setText(m_stampa->NomeReport);
    (m_stampa->Orizzontale ? RadioOrizzontale : RadioVerticale)->setChecked(true);
    MemoSQLStampa->setPlainText(m_stampa->SQLStampa.isEmpty() ? selectAll() : m_stampa->SQLStampa);

    Guard::connect(ButtonTitolo, &QPushButton::clicked, this, [this] { EditTitolo->setFocus(); });
    Guard::connect(ButtonReport, &QPushButton::clicked, this, [this] { ScegliReport(); });
    Guard::connect(ButtonSQLStampa, &QPushButton::clicked, this, [this] { ProponiSQL(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { Ok(); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

QString TWizCSDStampaForm::selectAll() const
{
    return QStringLiteral("SELECT * FROM ") + m_nomeTabella;
}

void TWizCSDStampaForm::ScegliReport()
{
    const QString percorso =
        FileDialogs::open(this, QStringLiteral("Report Combit (*.lst;*.lbl)|*.lst;*.lbl"));
    if (percorso.isEmpty())
        return;
    const int taglio =
        qMax(percorso.lastIndexOf(QLatin1Char('/')), percorso.lastIndexOf(QLatin1Char('\\')));
    EditReport->setText(percorso.mid(taglio + 1));
}

void TWizCSDStampaForm::ProponiSQL()
{
    if (MemoSQLStampa->toPlainText().isEmpty())
        MemoSQLStampa->setPlainText(selectAll());
    MemoSQLStampa->setFocus();
}

void TWizCSDStampaForm::Ok()
{
    m_stampa->TitoloStampa = EditTitolo->text();
    m_stampa->NomeReport = EditReport->text();
    m_stampa->Orizzontale = RadioOrizzontale->isChecked();
    m_stampa->SQLStampa = MemoSQLStampa->toPlainText();
    try {
        ControllaStampa(*m_stampa);
    } catch (const std::exception &e) {
        Messages::error(QString::fromUtf8(e.what()));
        return;
    }
    done(mrOk);
}
