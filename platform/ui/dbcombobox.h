#pragma once

#include "fieldbinder.h"

#include <QComboBox>

// An editable combo box over a text field: the list offers the usual
// values, the box shows whatever the field holds (also a value not in the
// list) and writes what is typed or chosen, cut to the column's size.
class TDBComboBox : public QComboBox
{
    Q_OBJECT
public:
    explicit TDBComboBox(QWidget *parent = nullptr);
    void bind(TDataSet *dataSet, const QString &fieldName);
    TField *Field() const { return m_binder.Field(); }

signals:
    void Change();

private:
    void showField();
    void edited(const QString &text);
    TFieldBinder m_binder;
    bool m_showing = false;
};
