#include "fieldbinder.h"

#include "guard.h"
#include "valueconv.h"

#include <QApplication>
#include <QScopedValueRollback>

TFieldBinder::TFieldBinder(QObject *parent)
    : QObject(parent)
{
}

TFieldBinder::~TFieldBinder()
{
    if (m_dataSet)
        m_dataSet->removeObserver(this);
}

void TFieldBinder::bind(TDataSet *dataSet, const QString &fieldName)
{
    if (m_dataSet != dataSet) {
        if (m_dataSet)
            m_dataSet->removeObserver(this);
        m_dataSet = dataSet;
        if (m_dataSet)
            m_dataSet->addObserver(this);
    }
    m_fieldName = fieldName;
    findField();
    tell();
}

void TFieldBinder::findField()
{
    m_field = m_dataSet && m_dataSet->Active() && !m_fieldName.isEmpty()
                  ? m_dataSet->FindField(m_fieldName)
                  : nullptr;
}

QString TFieldBinder::text() const
{
    return m_field ? m_field->AsString() : QString();
}

void TFieldBinder::tell()
{
    // The control's own write is already on show.
    if (!m_writing)
        emit showValue();
}

bool TFieldBinder::write(const QVariant &value)
{
    if (!m_field || !m_dataSet)
        return false;
    {
        // What the write sets off (the edit beginning, the value changing)
        // must not put the field's old value back into the control.
        QScopedValueRollback<bool> writing(m_writing, true);
        try {
            if (m_dataSet->State() == dsBrowse)
                m_dataSet->Edit();
            if (m_field)
                m_field->setValue(value);
            return m_field != nullptr;
        } catch (const EConvertError &) {
            QApplication::beep();
        } catch (...) {
            const std::exception_ptr failure = std::current_exception();
            Guard::run([&] { std::rethrow_exception(failure); });
        }
    }
    tell();
    return false;
}

void TFieldBinder::dataSetReset(TDataSet *)
{
    findField();
    tell();
}

void TFieldBinder::cursorMoved(TDataSet *)
{
    tell();
}

void TFieldBinder::rowChanged(TDataSet *, int row)
{
    if (m_dataSet && row == m_dataSet->ViewCurrentRow())
        tell();
}

void TFieldBinder::recordChanged(TDataSet *, TField *field)
{
    if (!field || field == m_field)
        tell();
}

void TFieldBinder::dataSetDestroyed(TDataSet *)
{
    m_dataSet = nullptr;
    m_field = nullptr;
    tell();
}
