#pragma once

#include <QDialog>

class QGroupBox;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Sostituisci": a parameter's name, its value and the new value, and
// whether the new value goes to the current line only or to every company.
// Answers 1 (Ok) or 2 (Cancel).
class TSostForm : public QDialog
{
    Q_OBJECT
public:
    explicit TSostForm(QWidget *owner);

    QPushButton *ButtonTag;
    QPushButton *ButtonValoreCorrente;
    QPushButton *ButtonNuovoValore;
    QLineEdit *EditTag;
    QLineEdit *EditValoreCorrente;
    QLineEdit *EditNuovoValore;
    QGroupBox *RadioSost;
    QRadioButton *RadioSoloDitta;
    QRadioButton *RadioTutteDitte;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    // 0 "Solo nella ditta corrente", 1 "In tutte le ditte".
    int ItemIndex() const;
    void setItemIndex(int index);
};
