#pragma once

#include "alberomenu.h"

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;

// "NodoVoceForm": the fields of one menu entry for the tree view's add and
// modify. Ok (1) only with a description and a "Livello Versione" the
// column holds; Cancel (2).
class TNodoVoceForm : public QDialog
{
    Q_OBJECT
public:
    explicit TNodoVoceForm(QWidget *owner = nullptr);

    // The first reason the dialog may not close with Ok, as its warning;
    // empty when it may.
    static QString Verifica(const QString &descrizione, const QString &versione);

    void Imposta(const TValoriVoce &v);
    TValoriVoce Valori() const;

    QLineEdit *EditDescrizione;
    QLineEdit *EditDLL;
    QLineEdit *EditFunzione;
    QLineEdit *EditVersione;
    QLineEdit *EditNote;
    QPlainTextEdit *MemoParametri;
    QCheckBox *CheckVisibile;
    QGroupBox *GroupTag;

    QPushButton *ButtonDescrizione;
    QPushButton *ButtonDLL;
    QPushButton *ButtonFunzione;
    QPushButton *ButtonVersione;
    QPushButton *ButtonNote;
    QPushButton *ButtonParametri;
    QPushButton *ButtonHelp;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

    void ButtonOkClick();
    void ButtonCancelClick();
    void ButtonDLLClick();
    void ButtonHelpClick();
};
