// The menu grid editor's window: its controls, their layout and wiring.

#include "menuprogrammaform.h"

#include "currentrecord.h"
#include "dbcontrols.h"
#include "dbgrid.h"
#include "editorwidgets.h"
#include "ibquery.h"
#include "ibsql.h"
#include "tabform.h"
#include "tag.h"

#include <QGridLayout>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

using EditorWidgets::bound;
using EditorWidgets::helpButton;
using EditorWidgets::withHelp;

TMenuProgrammaForm::TMenuProgrammaForm(QWidget *owner, TTabForm *&tabForm, const QString &programma)
    : TRecordEditorForm(owner, tabForm,
                        {QStringLiteral("DETTMENU"),
                         {QStringLiteral("PROGRAMMA"), QStringLiteral("MENU")},
                         QStringLiteral("MENU"),
                         {{QStringLiteral("PROGRAMMA"), programma}}})
    , FProgramma(programma)
    , QueryDettMenu(MainQuery)
    , UpdateDettMenu(MainUpdate)
    , m_descrMenu(new TIBSQL(this))
{
    setNames(QStringLiteral("MenuProgrammaForm"), QStringLiteral("Menu programma"),
             QStringLiteral("QueryDettMenu"), QStringLiteral("UpdateDettMenu"));
    m_descrMenu->setDatabase(tabForm->IBDatabase1);
    m_descrMenu->setTransaction(tabForm->IBTransaction1);
    buildFields();

    GridDettMenu = mainGrid("GridDettMenu");
    // Marked rows on clBackground, the others on clWindow, black text on both.
    const QColor window = GridDettMenu->palette().color(QPalette::Base);
    TDataSetModel *model = GridDettMenu->Model();
    model->setRowColourHook([this, model, window](int row, QColor &background, QColor &text) {
        background =
            Marcata(model->value(row, QStringLiteral("MENU")).toString()) ? clBackground : window;
        text = Qt::black;
    });
    buildCommands();

    // The parent's caption follows the current row and a typed parent code;
    // a failure of its lookup is shown and goes no further.
    onCurrentRecord(QueryDettMenu, QStringLiteral("MENUPREC"), this,
                    [this] { DescrizioneMenuPrec(); });
    onSignal(GridDettMenu, &TDBGrid::DblClick, this, &TMenuProgrammaForm::GridDettMenuDblClick);
    onSignal(GridDettMenu, &TDBGrid::KeyDown, this, &TMenuProgrammaForm::GridDettMenuKeyDown);

    // Room for the grid under the fields, whatever the font.
    GridDettMenu->setMinimumHeight(GridDettMenu->verticalHeader()->defaultSectionSize() * 8);
    fitTo(QSize(980, 640));
    Apri();
}

void TMenuProgrammaForm::buildFields()
{
    QWidget *p = PanelCampi;
    EditProgramma = EditorWidgets::keyEdit(p, "EditProgramma", QueryDettMenu, "PROGRAMMA");
    EditMenu = EditorWidgets::keyEdit(p, "EditMenu", QueryDettMenu, "MENU");
    EditMenuPrec = bound<TDBEdit>(p, "EditMenuPrec", QueryDettMenu, "MENUPREC");
    EditDescrMenu = new QLineEdit(p);
    EditDescrMenu->setObjectName(QStringLiteral("EditDescrMenu"));
    EditorWidgets::keyBox(EditDescrMenu);
    EditLivello = bound<TDBEdit>(p, "EditLivello", QueryDettMenu, "LIVELLOMENU");
    EditDescrizione = bound<TDBEdit>(p, "EditDescrizione", QueryDettMenu, "DESCRIZIONE");
    EditDLL = bound<TDBEdit>(p, "EditDLL", QueryDettMenu, "DLL");
    EditFunzione = bound<TDBEdit>(p, "EditFunzione", QueryDettMenu, "FUNZIONE");

    MemoParametri = bound<TDBMemo>(p, "MemoParametri", QueryDettMenu, "PARAMETRIBLOB");
    MemoNote = bound<TDBMemo>(p, "MemoNote", QueryDettMenu, "NOTE");
    const int righe = MemoNote->fontMetrics().lineSpacing() * 4 + 12;
    for (TDBMemo *m : {MemoParametri, MemoNote}) {
        m->setMinimumHeight(righe);
        m->setMaximumHeight(righe * 2);
        // Tab moves on to the next control, as in a line edit.
        m->setTabChangesFocus(true);
    }

    DBCheckBox1 = bound<TDBCheckBox>(p, "DBCheckBox1", QueryDettMenu, "VISIBILE");
    DBCheckBox1->setText(QStringLiteral("Visibile"));
    CheckVoceRapida = bound<TDBCheckBox>(p, "CheckVoceRapida", QueryDettMenu, "VOCERAPIDA");
    CheckVoceRapida->setText(QStringLiteral("Voce Rapida"));
    RadioGrupVersione = new TDBRadioGroup(QStringLiteral("Passaggio parametri"), p);
    RadioGrupVersione->setObjectName(QStringLiteral("RadioGrupVersione"));
    RadioGrupVersione->setItems({QStringLiteral("1 Parametro (Codice Utente)"),
                                 QStringLiteral("2 Parametri (Codice Utente + Parametri)")},
                                {QStringLiteral("0"), QStringLiteral("1")});
    RadioGrupVersione->bind(QueryDettMenu, QStringLiteral("LIVELLO2VERSIONE"));
    setTag(RadioGrupVersione, 2);

    // Room for the values each column holds, whatever the font.
    const QFontMetrics fm(EditDescrizione->font());
    for (TDBEdit *codice : {EditProgramma, EditMenu, EditMenuPrec, EditLivello}) {
        codice->setMinimumWidth(fm.horizontalAdvance(QStringLiteral("0000000")));
        codice->setMaximumWidth(fm.horizontalAdvance(QStringLiteral("000000000000")));
    }
    EditDescrizione->setMinimumWidth(fm.horizontalAdvance(QString(32, QLatin1Char('n'))));
    EditDescrMenu->setMinimumWidth(fm.horizontalAdvance(QString(20, QLatin1Char('n'))));
    EditDLL->setMinimumWidth(fm.horizontalAdvance(QString(16, QLatin1Char('n'))));
    EditFunzione->setMinimumWidth(fm.horizontalAdvance(QString(20, QLatin1Char('n'))));

    ButtonProgramma =
        labelButton(QStringLiteral("ButtonProgramma"), QStringLiteral("Programma"), nullptr);
    ButtonMenu = labelButton(QStringLiteral("ButtonMenu"), QStringLiteral("Men&u"), nullptr);
    ButtonMenuPrec =
        labelButton(QStringLiteral("ButtonMenuPrec"), QStringLiteral("Menu &Precedente"), nullptr);
    ButtonLivello =
        labelButton(QStringLiteral("ButtonLivello"), QStringLiteral("Livello Menu"), EditLivello);
    ButtonDescrizione = labelButton(QStringLiteral("ButtonDescrizione"),
                                    QStringLiteral("Descrizione"), EditDescrizione);
    ButtonDLL = labelButton(QStringLiteral("ButtonDLL"), QStringLiteral("DLL"), nullptr);
    ButtonFunzione =
        labelButton(QStringLiteral("ButtonFunzione"), QStringLiteral("Funzione"), EditFunzione);
    ButtonNote = labelButton(QStringLiteral("ButtonNote"), QStringLiteral("Note"), MemoNote);
    ButtonParametri =
        labelButton(QStringLiteral("ButtonParametri"), QStringLiteral("Parametri"), MemoParametri);
    ButtonHelp = helpButton(p, "ButtonHelp");
    ButtonHelpDescr = helpButton(p, "ButtonHelpDescr");
    ButtonWizardCSDForm = new QPushButton(QStringLiteral("Wizard CSDForm"), p);
    ButtonWizardCSDForm->setObjectName(QStringLiteral("ButtonWizardCSDForm"));
    setTag(ButtonWizardCSDForm, 2);
    LabelSelezione =
        new QLabel(QStringLiteral("F3 o doppio click per selezionare / deselezionare"), p);
    LabelSelezione->setObjectName(QStringLiteral("LabelSelezione"));

    auto *grid = new QGridLayout(p);
    grid->setContentsMargins(0, 0, 0, 4);
    grid->setVerticalSpacing(2);
    grid->addWidget(ButtonProgramma, 0, 0);
    grid->addWidget(ButtonMenu, 0, 1);
    grid->addWidget(ButtonMenuPrec, 0, 2);
    grid->addWidget(ButtonLivello, 0, 4);
    grid->addWidget(EditProgramma, 1, 0);
    grid->addWidget(EditMenu, 1, 1);
    grid->addWidget(EditMenuPrec, 1, 2);
    grid->addWidget(EditDescrMenu, 1, 3);
    grid->addWidget(EditLivello, 1, 4);
    grid->setRowMinimumHeight(2, 4);
    grid->addLayout(withHelp(ButtonDescrizione, ButtonHelpDescr), 3, 0, 1, 4);
    grid->addWidget(ButtonDLL, 3, 4, 1, 2);
    grid->addWidget(ButtonFunzione, 3, 6);
    grid->addWidget(EditDescrizione, 4, 0, 1, 4);
    grid->addWidget(EditDLL, 4, 4, 1, 2);
    grid->addWidget(EditFunzione, 4, 6);
    grid->setRowMinimumHeight(5, 4);
    grid->addLayout(withHelp(ButtonParametri, ButtonHelp), 6, 0, 1, 4);
    grid->addWidget(ButtonNote, 6, 4, 1, 3);
    grid->addWidget(MemoParametri, 7, 0, 1, 4);
    grid->addWidget(MemoNote, 7, 4, 1, 3);
    auto *flags = new QHBoxLayout;
    flags->addWidget(DBCheckBox1);
    flags->addWidget(CheckVoceRapida);
    flags->addWidget(RadioGrupVersione);
    flags->addStretch(1);
    flags->addWidget(ButtonWizardCSDForm, 0, Qt::AlignBottom);
    grid->addLayout(flags, 8, 0, 1, 7);
    grid->addWidget(LabelSelezione, 9, 0, 1, 7);
    grid->setColumnStretch(3, 1);
    grid->setColumnStretch(6, 1);

    onClick(ButtonMenu, static_cast<TRecordEditorForm *>(this),
            &TRecordEditorForm::ButtonCodiceClick);
    onClick(ButtonMenuPrec, this, &TMenuProgrammaForm::ButtonMenuPrecClick);
    onClick(ButtonHelp, this, &TMenuProgrammaForm::ButtonHelpClick);
    onClick(ButtonHelpDescr, this, &TMenuProgrammaForm::ButtonHelpDescrClick);
}

void TMenuProgrammaForm::buildCommands()
{
    ButtonInserisci = addCommand("ButtonInserisci", QStringLiteral("Inserisci"), false);
    ButtonAzzera = addCommand("ButtonAzzera", QStringLiteral("A&zzera"), true);
    ButtonSelTutto = addCommand("ButtonSelTutto", QStringLiteral("&Seleziona Tutto"), true);
    ButtonDeSelTutto = addCommand("ButtonDeSelTutto", QStringLiteral("&Deselez. Tutto"), true);
    ButtonAggFunz = addCommand("ButtonAggFunz", QStringLiteral("Agg. &Funz."), false);
    ButtonAutoRinomina = addCommand("ButtonAutoRinomina", QStringLiteral("Passa a X"), true);
    ButtonModAlbero = addCommand("ButtonModAlbero", QStringLiteral("Moda&lità Albero"), true);
    ButtonImporta = addCommand("ButtonImporta", QStringLiteral("Imp&orta"), true);
    ButtonEsporta = addCommand("ButtonEsporta", QStringLiteral("Espo&rta"), true);

    onClick(ButtonInserisci, this, &TMenuProgrammaForm::ButtonInserisciClick);
    onClick(ButtonAzzera, this, &TMenuProgrammaForm::ButtonAzzeraClick);
    onClick(ButtonSelTutto, this, &TMenuProgrammaForm::ButtonSelTuttoClick);
    onClick(ButtonDeSelTutto, this, &TMenuProgrammaForm::ButtonDeSelTuttoClick);
    collegaStrumenti();
}

QString TMenuProgrammaForm::PromptNuovoCodice() const
{
    return QStringLiteral("Inserire il nuovo codice di menu");
}

QWidget *TMenuProgrammaForm::EditChiave() const
{
    return EditMenu;
}
