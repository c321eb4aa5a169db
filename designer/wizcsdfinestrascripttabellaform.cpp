#include "wizcsdfinestrascripttabellaform.h"

#include "creatabella.h"
#include "editorwidgets.h"
#include "guard.h"
#include "messages.h"

#include <QFontMetrics>
#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

TWizCSDFinestraScriptTabellaForm::TWizCSDFinestraScriptTabellaForm(QWidget *owner)
    : QDialog(owner)
{
    setObjectName(QStringLiteral("WizCSDFinestraScriptTabellaForm"));
    setWindowTitle(QStringLiteral("Wizard script creazione tabella"));
    auto *label = new QLabel(QStringLiteral("SQL:"));
    MemoScript = new QPlainTextEdit;
    MemoScript->setObjectName(QStringLiteral("MemoScript"));
    MemoScript->setReadOnly(true);
    MemoScript->setLineWrapMode(QPlainTextEdit::NoWrap);
    MemoScript->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    const QFontMetrics fm = MemoScript->fontMetrics();
    MemoScript->setMinimumSize(fm.averageCharWidth() * 60, fm.lineSpacing() * 16);
    label->setBuddy(MemoScript);

    ButtonProponiScript =
        EditorWidgets::pushButton(nullptr, "ButtonProponiScript", QStringLiteral("Proponi script"));
    ButtonProponiScript->setVisible(false);
    ButtonOk = new QPushButton(QStringLiteral("Ok"));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = EditorWidgets::pushButton(nullptr, "ButtonCancel", QStringLiteral("Cancel"));

    auto *bottoni = EditorWidgets::buttonRow({ButtonOk, ButtonCancel});
    bottoni->insertWidget(0, ButtonProponiScript);
    auto *v = new QVBoxLayout(this);
    v->addWidget(label);
    v->addWidget(MemoScript, 1);
    v->addLayout(bottoni);

    Guard::connect(ButtonProponiScript, &QPushButton::clicked, this, [this] { ProponiScript(); });
    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { done(mrOk); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

std::unique_ptr<TWizCSDFinestraScriptTabellaForm>
TWizCSDFinestraScriptTabellaForm::CreaConDatabase(QWidget *owner, TIBDatabase *database,
                                                  const QString &nomeTabella)
{
    auto form = std::make_unique<TWizCSDFinestraScriptTabellaForm>(owner);
    form->m_database = database;
    form->m_nomeTabella = nomeTabella;
    form->ButtonProponiScript->setVisible(true);
    return form;
}

void TWizCSDFinestraScriptTabellaForm::SetScript(const QString &script)
{
    m_script = script;
    MemoScript->setPlainText(script);
}

void TWizCSDFinestraScriptTabellaForm::ProponiScript()
{
    if (!m_database)
        return;
    if (!m_script.isEmpty() &&
        Messages::show(TMsgDlgType::Warning,
                       QStringLiteral("Sovrascrivere lo script già presente?"),
                       TMsgDlgButtons::YesNo) != mrYes)
        return;
    QStringList righe;
    try {
        ProponiCreaTabella(m_database, m_nomeTabella, righe);
    } catch (...) {
        // What was read before the failure stays, as it was written.
        SetScript(righe.join(QStringLiteral("\r\n")));
        throw;
    }
    SetScript(righe.join(QStringLiteral("\r\n")));
}
