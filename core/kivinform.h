#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;
class QVBoxLayout;

// What the value dialogs share: a prompt over the values in a frame, OK and
// Cancel beside it. The caller sets the caption, texts and font, shows the
// dialog through Modal::exec, then reads Esito (not the modal result) and, on
// 1, the values. Laid out by Qt: the window takes the size its texts need in
// whatever font it is given, and cannot be resized (a dialog border).
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
    TKivInForm(QWidget *owner, const QString &prompt);
    // A further value box, under the ones already in the frame.
    void addValueBox(QLineEdit *box);

    bool event(QEvent *e) override;
    void changeEvent(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;

private:
    void sizeValueBoxes();

    QVBoxLayout *m_values;
};
