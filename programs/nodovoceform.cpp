#include "nodovoceform.h"

#include "editorwidgets.h"
#include "filedialogs.h"
#include "guard.h"
#include "helpparform.h"
#include "messages.h"
#include "pathutil.h"

#include <QCheckBox>
#include <QFileInfo>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int kLunghezzaDLL = 20;

QLineEdit *casella(QWidget *parent, const char *nome, int limite = 0)
{
    auto *e = new QLineEdit(parent);
    e->setObjectName(QLatin1String(nome));
    if (limite > 0)
        e->setMaxLength(limite);
    return e;
}

} // namespace

TNodoVoceForm::TNodoVoceForm(QWidget *owner)
    : QDialog(owner)
    , EditDescrizione(casella(this, "EditDescrizione", 64))
    , EditDLL(casella(this, "EditDLL", kLunghezzaDLL))
    , EditFunzione(casella(this, "EditFunzione", 30))
    , EditVersione(casella(this, "EditVersione"))
    , EditNote(casella(this, "EditNote"))
    , MemoParametri(new QPlainTextEdit(this))
    , CheckVisibile(new QCheckBox(QStringLiteral("Visibile"), this))
    , GroupTag(new QGroupBox(QStringLiteral("Tag disponibili"), this))
{
    using namespace EditorWidgets;
    setObjectName(QStringLiteral("NodoVoceForm"));
    setWindowTitle(QStringLiteral("NodoVoceForm"));
    MemoParametri->setObjectName(QStringLiteral("MemoParametri"));
    CheckVisibile->setObjectName(QStringLiteral("CheckVisibile"));
    GroupTag->setObjectName(QStringLiteral("GroupTag"));
    EditVersione->setText(QStringLiteral("0"));
    CheckVisibile->setChecked(true);
    MemoParametri->setTabChangesFocus(true);

    ButtonDescrizione = labelButton(this, "ButtonDescrizione", "Descrizione", EditDescrizione);
    ButtonDLL = labelButton(this, "ButtonDLL", "DLL", nullptr);
    ButtonFunzione = labelButton(this, "ButtonFunzione", "Funzione", EditFunzione);
    ButtonVersione = labelButton(this, "ButtonVersione", "Livello Versione", EditVersione);
    ButtonNote = labelButton(this, "ButtonNote", "Note", EditNote);
    ButtonParametri = labelButton(this, "ButtonParametri", "Parametri", MemoParametri);
    ButtonHelp = helpButton(this, "ButtonHelp");
    ButtonOk = button("ButtonOk", QStringLiteral("Ok"));
    ButtonCancel = button("ButtonCancel", QStringLiteral("Cancel"));
    ButtonOk->setDefault(true);

    auto *tag = new QVBoxLayout(GroupTag);
    for (const char *riga :
         {"NOMEVARTABX=...", "NOMEPARAMETRO=...", "TIPOPARAMETRO=TBX o PRV", "RICARICATABX"})
        tag->addWidget(new QLabel(QLatin1String(riga), GroupTag));

    auto *campi = new QGridLayout;
    campi->addLayout(cell(ButtonDescrizione, EditDescrizione), 0, 0, 1, 2);
    campi->addLayout(cell(ButtonDLL, EditDLL), 1, 0);
    campi->addLayout(cell(ButtonFunzione, EditFunzione), 1, 1);
    campi->addLayout(cell(ButtonVersione, EditVersione), 2, 0);
    campi->addWidget(CheckVisibile, 2, 1, Qt::AlignBottom);
    campi->addLayout(cell(ButtonNote, EditNote), 3, 0, 1, 2);
    auto *parametri = new QVBoxLayout;
    parametri->setSpacing(1);
    parametri->addLayout(withHelp(ButtonParametri, ButtonHelp));
    parametri->addWidget(MemoParametri, 1);
    campi->addLayout(parametri, 4, 0, 1, 2);
    campi->addWidget(GroupTag, 5, 0, 1, 2);

    auto *pulsanti = new QHBoxLayout;
    pulsanti->addStretch(1);
    pulsanti->addWidget(ButtonOk);
    pulsanti->addWidget(ButtonCancel);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(campi, 1);
    layout->addLayout(pulsanti);
    EditDescrizione->setMinimumWidth(EditDescrizione->fontMetrics().averageCharWidth() * 48);

    Guard::connect(ButtonOk, &QPushButton::clicked, this, &TNodoVoceForm::ButtonOkClick);
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, &TNodoVoceForm::ButtonCancelClick);
    Guard::connect(ButtonDLL, &QPushButton::clicked, this, &TNodoVoceForm::ButtonDLLClick);
    Guard::connect(ButtonHelp, &QPushButton::clicked, this, &TNodoVoceForm::ButtonHelpClick);
}

QString TNodoVoceForm::Verifica(const QString &descrizione, const QString &versione)
{
    if (descrizione.isEmpty())
        return QStringLiteral("Si prega di inserire una descrizione");
    if (!versione.isEmpty() && !VoceAlbero::Versione(versione))
        return QStringLiteral("Si prega di specificare un valore numerico per Livello Versione");
    return QString();
}

void TNodoVoceForm::Imposta(const TValoriVoce &v)
{
    EditDescrizione->setText(v.descrizione);
    EditDLL->setText(v.dll);
    EditFunzione->setText(v.funzione);
    EditVersione->setText(v.versione);
    EditNote->setText(v.note);
    MemoParametri->setPlainText(v.parametri);
    CheckVisibile->setChecked(v.visibile);
}

TValoriVoce TNodoVoceForm::Valori() const
{
    TValoriVoce v;
    v.descrizione = EditDescrizione->text();
    v.dll = EditDLL->text();
    v.funzione = EditFunzione->text();
    v.versione = EditVersione->text();
    v.note = EditNote->text();
    v.parametri = MemoParametri->toPlainText();
    v.visibile = CheckVisibile->isChecked();
    return v;
}

void TNodoVoceForm::ButtonOkClick()
{
    const QString avviso = Verifica(EditDescrizione->text(), EditVersione->text());
    if (!avviso.isEmpty()) {
        Messages::warning(avviso);
        return;
    }
    done(mrOk);
}

void TNodoVoceForm::ButtonCancelClick()
{
    done(mrCancel);
}

void TNodoVoceForm::ButtonDLLClick()
{
    const QString scelto =
        FileDialogs::open(this, QStringLiteral("Libreria dll (*.dll)|*.dll"), programFolder(),
                          FileDialogs::OpenOption::FileMustExist);
    if (!scelto.isEmpty()) {
        const QString nome = QFileInfo(scelto).fileName();
        // The bound box would cut a longer name to a library nobody has.
        if (nome.size() > kLunghezzaDLL)
            Messages::warning(
                QStringLiteral("Il nome della libreria non può superare i 20 caratteri"));
        else
            EditDLL->setText(nome);
    }
    EditDLL->setFocus();
}

void TNodoVoceForm::ButtonHelpClick()
{
    THelpParForm help(this);
    Modal::exec(&help);
}
