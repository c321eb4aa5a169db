#pragma once

#include <QDialog>
#include <QStringList>

class QPlainTextEdit;
class QPushButton;

// What the two parameter help windows share: a fixed text in a read-only memo
// and a button that closes the window.
class THelpTestoForm : public QDialog
{
    Q_OBJECT
public:
    QPlainTextEdit *Memo1;
    QPushButton *ButtonChiudi;

protected:
    THelpTestoForm(QWidget *owner, const QStringList &righe);
};

// The tags a menu entry's parameters may hold.
class THelpParForm : public THelpTestoForm
{
    Q_OBJECT
public:
    explicit THelpParForm(QWidget *owner = nullptr);

    static QStringList Testo();
};

// The tags a menu entry's description may hold.
class THelpPar2Form : public THelpTestoForm
{
    Q_OBJECT
public:
    explicit THelpPar2Form(QWidget *owner = nullptr);

    static QStringList Testo();
};
