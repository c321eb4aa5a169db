#pragma once

#include <QDialog>

class QFrame;
class QLabel;
class QLineEdit;
class QPushButton;

// Asks the user for two values (the first-run server prompt). The caller sets
// the caption and texts, shows it through Modal::exec and reads Esito.
class TKivIn2Form : public QDialog
{
    Q_OBJECT
public:
    explicit TKivIn2Form(QWidget *owner = nullptr);

    // 0 when created, 1 after OK (or Enter), 2 after Cancel (or Esc); closing
    // the window otherwise leaves it as it was.
    int Esito = 0;

    QFrame *Bevel1;
    QLabel *Label1;
    QLineEdit *Edit1;
    QLineEdit *Edit2;
    QPushButton *OKBtn;
    QPushButton *CancelBtn;

protected:
    bool event(QEvent *e) override;
    void showEvent(QShowEvent *e) override;
    void keyPressEvent(QKeyEvent *e) override;
};
