#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TIBSQL;
class TTabForm;

// The user chooser: the suite user for whom a designed window is tried, with
// the current company and the database parameters that window would use.
// Nothing is chosen at start.
class TWizCSDSceltaUserForm : public QDialog
{
    Q_OBJECT
public:
    // Reads the users on the user database of the archive object; a failure
    // is reported and leaves the list empty.
    TWizCSDSceltaUserForm(QWidget *owner, TTabForm *tabForm);

    // The chosen user's code, 0 when none is chosen.
    qint32 GetUtenteSelezionato() const;
    // Shows the company and database parameters of the user (none for 0).
    void CaricaDittaParametri(qint32 codice);
    // The parameter lines as shown, each ending in CR LF.
    QString Parametri() const { return m_parametri; }
    // "Ok": a warning while the choice cannot be tried, otherwise OK.
    void Ok();

    QComboBox *ComboUtenti;
    QLineEdit *EditDittaCorrente;
    QPlainTextEdit *MemoParametri;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

private:
    // A statement on the user database, in its usual transaction.
    void prepara(TIBSQL &q, const QStringList &sql) const;
    void caricaUtenti();

    TTabForm *m_tabForm;
    // The users' codes, at their names' places in the combo.
    QStringList m_codici;
    QString m_parametri;
};
