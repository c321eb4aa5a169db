#include "dbcontrols.h"

#include <QButtonGroup>
#include <QRadioButton>
#include <QRegularExpressionValidator>
#include <QVBoxLayout>

// ---- TDBEdit ------------------------------------------------------------------

TDBEdit::TDBEdit(QWidget *parent)
    : QLineEdit(parent)
    , m_integerInput(
          new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[+-]?[0-9]*")), this))
{
    connect(&m_binder, &TFieldBinder::showValue, this, &TDBEdit::showField);
    connect(this, &QLineEdit::textEdited, this, &TDBEdit::edited);
}

void TDBEdit::bind(TDataSet *dataSet, const QString &fieldName)
{
    m_binder.bind(dataSet, fieldName);
}

void TDBEdit::setColor(const QColor &colour)
{
    QPalette p = palette();
    p.setColor(QPalette::Base, colour);
    setPalette(p);
}

bool TDBEdit::integerField() const
{
    const TField *f = m_binder.Field();
    if (!f)
        return false;
    switch (f->DataType()) {
    case ftSmallint:
    case ftInteger:
    case ftWord:
    case ftLargeint:
    case ftAutoInc:
        return true;
    default:
        return false;
    }
}

void TDBEdit::applyLimits()
{
    const TField *f = m_binder.Field();
    const bool sized = f && FieldTypes::isSizedText(f->DataType()) && f->Size() > 0;
    setMaxLength(sized ? f->Size() : 32767);
    QValidator *wanted = integerField() ? m_integerInput : nullptr;
    if (validator() != wanted)
        setValidator(wanted);
}

void TDBEdit::showField()
{
    applyLimits();
    setText(m_binder.text());
    // Closing only clears the control: a closing is often a transaction
    // ending, and a handler must not open queries in it then.
    if (m_binder.active())
        emit Change();
}

void TDBEdit::edited(const QString &text)
{
    // A sign typed before the digits is no number yet: the field is empty
    // until the first digit.
    const bool signOnly =
        integerField() && (text == QLatin1String("-") || text == QLatin1String("+"));
    if (m_binder.write(signOnly ? QVariant() : QVariant(text)))
        emit Change();
}

// ---- TDBMemo --------------------------------------------------------------------

TDBMemo::TDBMemo(QWidget *parent)
    : QPlainTextEdit(parent)
{
    connect(&m_binder, &TFieldBinder::showValue, this, &TDBMemo::showField);
    connect(this, &QPlainTextEdit::textChanged, this, &TDBMemo::edited);
}

void TDBMemo::bind(TDataSet *dataSet, const QString &fieldName)
{
    m_binder.bind(dataSet, fieldName);
}

QString TDBMemo::text() const
{
    QString t = toPlainText();
    t.replace(QLatin1Char('\n'), QLatin1String("\r\n"));
    return t;
}

void TDBMemo::showField()
{
    QString t = m_binder.text();
    t.replace(QLatin1String("\r\n"), QLatin1String("\n"));
    t.replace(QLatin1Char('\r'), QLatin1Char('\n'));
    m_showing = true;
    setPlainText(t);
    m_showing = false;
    if (m_binder.active())
        emit Change();
}

void TDBMemo::edited()
{
    if (m_showing)
        return;
    if (m_binder.write(text()))
        emit Change();
}

// ---- TDBCheckBox ------------------------------------------------------------------

TDBCheckBox::TDBCheckBox(QWidget *parent)
    : TDBCheckBox(QString(), parent)
{
}

TDBCheckBox::TDBCheckBox(const QString &caption, QWidget *parent)
    : QCheckBox(caption, parent)
{
    connect(&m_binder, &TFieldBinder::showValue, this, &TDBCheckBox::showField);
    // Only the user's clicks (mouse or keyboard) write; showing never does.
    connect(this, &QCheckBox::clicked, this, &TDBCheckBox::userClicked);
}

void TDBCheckBox::bind(TDataSet *dataSet, const QString &fieldName)
{
    m_binder.bind(dataSet, fieldName);
}

void TDBCheckBox::showField()
{
    const TField *f = m_binder.Field();
    setChecked(f && !f->IsNull() &&
               m_binder.text().compare(ValueChecked, Qt::CaseInsensitive) == 0);
    if (m_binder.active())
        emit Change();
}

void TDBCheckBox::userClicked(bool checked)
{
    if (m_binder.write(checked ? ValueChecked : ValueUnchecked))
        emit Change();
}

// ---- TDBRadioGroup ------------------------------------------------------------------

TDBRadioGroup::TDBRadioGroup(QWidget *parent)
    : TDBRadioGroup(QString(), parent)
{
}

TDBRadioGroup::TDBRadioGroup(const QString &caption, QWidget *parent)
    : QGroupBox(caption, parent)
    , m_buttons(new QButtonGroup(this))
    , m_layout(new QVBoxLayout(this))
{
    connect(&m_binder, &TFieldBinder::showValue, this, &TDBRadioGroup::showField);
    connect(m_buttons, &QButtonGroup::idClicked, this, &TDBRadioGroup::userClicked);
}

void TDBRadioGroup::bind(TDataSet *dataSet, const QString &fieldName)
{
    m_binder.bind(dataSet, fieldName);
}

void TDBRadioGroup::setItems(const QStringList &items, const QStringList &values)
{
    const auto old = m_buttons->buttons();
    for (QAbstractButton *b : old) {
        m_buttons->removeButton(b);
        delete b;
    }
    m_items = items;
    m_values = values;
    for (int i = 0; i < items.size(); ++i) {
        auto *b = new QRadioButton(items[i], this);
        m_buttons->addButton(b, i);
        m_layout->addWidget(b);
    }
    showField();
}

QString TDBRadioGroup::valueOf(int item) const
{
    return item < m_values.size() ? m_values[item] : m_items.value(item);
}

int TDBRadioGroup::ItemIndex() const
{
    return m_buttons->checkedId();
}

void TDBRadioGroup::showField()
{
    int found = -1;
    if (m_binder.Field()) {
        const QString value = m_binder.text();
        for (int i = 0; i < m_items.size() && found < 0; ++i) {
            if (valueOf(i) == value)
                found = i;
        }
    }
    if (found >= 0) {
        m_buttons->button(found)->setChecked(true);
    } else if (QAbstractButton *checked = m_buttons->checkedButton()) {
        // An exclusive group cannot uncheck its last button.
        m_buttons->setExclusive(false);
        checked->setChecked(false);
        m_buttons->setExclusive(true);
    }
    if (m_binder.active())
        emit Change();
}

void TDBRadioGroup::userClicked(int item)
{
    // A click on the button already checked changes nothing.
    if (m_binder.Field() && valueOf(item) == m_binder.text())
        return;
    if (m_binder.write(valueOf(item)))
        emit Change();
}
