#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// What the value dialogs share: a prompt over the first value, OK and Cancel.
// The caller sets the caption and texts, shows the dialog through Modal::exec,
// then reads Esito (not the modal result) and, on 1, the values.
class TKivInForm : public QDialog
{
    Q_OBJECT
public:
    // 0 when created, 1 after OK (or Enter), 2 after Cancel (or Esc); closing
    // the window in another way leaves it as it was.
    int Esito = 0;

    QFrame *Bevel1;
    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    // The dialog's size, the bevel's height and the label's size are left to
    // the concrete dialog, which knows how many values it asks for.
    TKivInForm(QWidget *owner, const QString &prompt);

    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};
