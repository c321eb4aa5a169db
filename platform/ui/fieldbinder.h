#pragma once

#include "dataset.h"

#include <QObject>
#include <QString>

// Ties a control to one field of a dataset, by the field's name so that a
// reopened dataset's new field objects are found again. It tells the
// control when to show the field's value (the current record changed, was
// reopened, began a new record, or the field was written by someone else)
// and writes what the user chose.
class TFieldBinder : public QObject, public TDataSetObserver
{
    Q_OBJECT
public:
    explicit TFieldBinder(QObject *parent = nullptr);
    ~TFieldBinder() override;

    void bind(TDataSet *dataSet, const QString &fieldName);
    TDataSet *DataSet() const { return m_dataSet; }
    QString DataField() const { return m_fieldName; }
    // Null while the dataset is closed or has no such field. Looked up on
    // each call: a reopening may replace the field objects at any time.
    TField *Field() const;
    // The field's value as text; empty without a field.
    QString text() const;
    // The dataset is open: what the control shows is a record's value.
    bool active() const { return m_dataSet && m_dataSet->Active(); }

    // The user's change: the first one in browse state puts the dataset in
    // edit state. A value the field cannot take is refused with a beep,
    // any other failure reported; either way the control is told to show
    // the field again and the answer is false.
    bool write(const QVariant &value);

signals:
    // Show Field()'s value now. Sent also when the value is the same as
    // before (a reopening, a move to an equal row), and on closing (nothing
    // to show).
    void showValue();

private:
    void dataSetReset(TDataSet *) override;
    void cursorMoved(TDataSet *) override;
    void rowChanged(TDataSet *, int row) override;
    void recordChanged(TDataSet *, TField *field) override;
    void dataSetDestroyed(TDataSet *) override;
    void tell();

    TDataSet *m_dataSet = nullptr;
    QString m_fieldName;
    bool m_writing = false;
};
