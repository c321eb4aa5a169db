#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks the user for one value. The caller sets the caption, Label1's text and
// Edit1's text, shows the dialog through Modal::exec, then reads Esito (not the
// modal result) and, on 1, Edit1's text.
class TKivIn1Form : public QDialog
{
    Q_OBJECT
public:
    explicit TKivIn1Form(QWidget *owner = nullptr);

    // 1 after OK (or Enter), 2 after Cancel (or Esc), 0 when the window was
    // closed in another way.
    int Esito = 0;

    QFrame *Bevel1;
    QLabel *Label1;
    QLineEdit *Edit1;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};
