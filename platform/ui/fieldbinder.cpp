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
    tell();
}

TField *TFieldBinder::Field() const
{
    return m_dataSet && m_dataSet->Active() && !m_fieldName.isEmpty()
               ? m_dataSet->FindField(m_fieldName)
               : nullptr;
}

QString TFieldBinder::text() const
{
    const TField *f = Field();
    return f ? f->AsString() : QString();
}

void TFieldBinder::tell()
{
    // The control's own write is already on show.
    if (!m_writing)
        emit showValue();
}

bool TFieldBinder::write(const QVariant &value)
{
    if (!Field()) {
        tell();
        return false;
    }
    {
        // What the write sets off (the edit beginning, the value changing)
        // must not put the field's old value back into the control.
        QScopedValueRollback<bool> writing(m_writing, true);
        try {
            if (m_dataSet->State() == dsBrowse)
                m_dataSet->Edit();
            if (TField *f = Field()) {
                f->setValue(value);
                return true;
            }
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
    if (!field || field == Field())
        tell();
}

void TFieldBinder::dataSetDestroyed(TDataSet *)
{
    m_dataSet = nullptr;
    tell();
}
