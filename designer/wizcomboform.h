#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLabel;
class QPushButton;

// The value pick: one value chosen from a list (column names, field names).
// Nothing is chosen at start.
class TWizComboForm : public QDialog
{
    Q_OBJECT
public:
    TWizComboForm(QWidget *owner, const QStringList &valori, const QString &titolo);

    // The chosen value's text; empty when none is chosen.
    QString GetValore() const;
    // "Ok": a warning while nothing is chosen, otherwise OK.
    void Ok();

    QLabel *LabelTitolo;
    QComboBox *ComboValore;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
};
