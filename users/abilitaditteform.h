#pragma once

#include <QDialog>
#include <QStringList>

class QListWidget;
class QPushButton;
class TTabForm;

// "AbilitaDitteForm": the companies of one user's rows in an active and an
// inactive list; Ok answers 1 with the inactive list, Cancel 2.
class TAbilitaDitteForm : public QDialog
{
    Q_OBJECT
public:
    TAbilitaDitteForm(QWidget *owner, TTabForm *&tabForm, int codiceUtente);

    TTabForm *&FTabForm;
    QListWidget *ListBoxAttive;
    QListWidget *ListBoxDisattive;
    QPushButton *ButtonDisattiva;
    QPushButton *ButtonAttiva;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    // The companies to be marked inactive, in list order.
    QStringList Disattive() const;

    void ButtonDisattivaClick();
    void ButtonAttivaClick();

private:
    void buildWindow();
    void caricaDitte(int codiceUtente);
};
