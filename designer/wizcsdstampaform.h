#pragma once

#include <QDialog>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class TCSDStampaOld;

// The check of print settings: raises "SQL Stampa mancante" when they have
// no print query.
void ControllaStampa(const TCSDStampaOld &stampa);
// Reads the print settings from their text and checks them; raises when the
// text does not read or the settings fail the check.
void VerificaStampa(const QString &xmlStampa);

// The print wizard: edits print settings owned by the caller.
class TWizCSDStampaForm : public QDialog
{
    Q_OBJECT
public:
    TWizCSDStampaForm(QWidget *owner, TCSDStampaOld *stampa, const QString &nomeTabella);

    // "&Report (nome file)": the chosen report's file name, without folder.
    void ScegliReport();
    // "SQL Stampa": an empty query becomes the table's whole SELECT.
    void ProponiSQL();
    // "Ok": writes the inputs into the settings, then checks them; a failed
    // check shows an error and the window stays.
    void Ok();

    QPushButton *ButtonTitolo;
    QLineEdit *EditTitolo;
    QPushButton *ButtonReport;
    QLineEdit *EditReport;
    QRadioButton *RadioVerticale;
    QRadioButton *RadioOrizzontale;
    QPushButton *ButtonSQLStampa;
    QPlainTextEdit *MemoSQLStampa;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

private:
    QString selectAll() const;

    TCSDStampaOld *m_stampa;
    QString m_nomeTabella;
};
