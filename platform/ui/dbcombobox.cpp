#include "dbcombobox.h"

#include <QLineEdit>

TDBComboBox::TDBComboBox(QWidget *parent)
    : QComboBox(parent)
{
    setEditable(true);
    // A typed value is the field's value, never a new entry of the list.
    setInsertPolicy(QComboBox::NoInsert);
    connect(&m_binder, &TFieldBinder::showValue, this, &TDBComboBox::showField);
    connect(lineEdit(), &QLineEdit::textEdited, this, &TDBComboBox::edited);
    connect(this, &QComboBox::textActivated, this, &TDBComboBox::edited);
}

void TDBComboBox::bind(TDataSet *dataSet, const QString &fieldName)
{
    m_binder.bind(dataSet, fieldName);
}

void TDBComboBox::showField()
{
    const TField *f = m_binder.Field();
    lineEdit()->setMaxLength(
        f && FieldTypes::isSizedText(f->DataType()) && f->Size() > 0 ? f->Size() : 32767);
    m_showing = true;
    setCurrentIndex(-1);
    setEditText(m_binder.text());
    m_showing = false;
    if (m_binder.active())
        emit Change();
}

void TDBComboBox::edited(const QString &text)
{
    if (m_showing)
        return;
    if (m_binder.write(text))
        emit Change();
}
