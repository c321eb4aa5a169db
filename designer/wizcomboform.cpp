#include "wizcomboform.h"

#include "editorwidgets.h"
#include "guard.h"
#include "messages.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TWizComboForm::TWizComboForm(QWidget *owner, const QStringList &valori, const QString &titolo)
    : QDialog(owner, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint)
{
    setObjectName(QStringLiteral("WizComboForm"));
    setWindowTitle(QStringLiteral("Inserimento valore"));
    LabelTitolo = new QLabel(titolo.isEmpty() ? QStringLiteral("Valore:") : titolo);
    LabelTitolo->setObjectName(QStringLiteral("LabelTitolo"));
    ComboValore = new QComboBox;
    ComboValore->setObjectName(QStringLiteral("ComboValore"));
    ComboValore->setEditable(false);
    ComboValore->setMinimumContentsLength(24);
    ComboValore->addItems(valori);
    // A combo selects its first item by itself: the administrator chooses.
    ComboValore->setCurrentIndex(-1);
    LabelTitolo->setBuddy(ComboValore);
    ButtonOk = new QPushButton(QStringLiteral("Ok"));
    ButtonOk->setObjectName(QStringLiteral("ButtonOk"));
    ButtonOk->setDefault(true);
    ButtonCancel = EditorWidgets::pushButton(nullptr, "ButtonCancel", QStringLiteral("Cancel"));

    auto *v = new QVBoxLayout(this);
    v->addWidget(LabelTitolo);
    v->addWidget(ComboValore);
    v->addLayout(EditorWidgets::buttonRow({ButtonOk, ButtonCancel}));

    Guard::connect(ButtonOk, &QPushButton::clicked, this, [this] { Ok(); });
    Guard::connect(ButtonCancel, &QPushButton::clicked, this, [this] { reject(); });
}

QString TWizComboForm::GetValore() const
{
    return ComboValore->currentIndex() < 0 ? QString() : ComboValore->currentText();
}

void TWizComboForm::Ok()
{
    if (ComboValore->currentIndex() < 0) {
        Messages::warning(QStringLiteral("Scegliere un valore"));
        return;
    }
    done(mrOk);
}
