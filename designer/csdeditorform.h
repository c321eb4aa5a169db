#pragma once

#include <QDialog>
#include <QString>
#include <QStringList>
#include <QVariantMap>

class QGridLayout;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QTabWidget;
class QVBoxLayout;
class TDBGrid;
class TIBQuery;
class TIBSQL;
class TTabForm;

// A text as the suite stores it: each apostrophe becomes "´".
inline QString ConAccento(QString testo)
{
    return testo.replace(QLatin1Char('\''), QChar(0x00B4));
}

// One column of the UPDATE that saves the edited row.
struct TColonnaCSD
{
    QString nome;
    QString testo;
    // The apostrophes become "´", as every stored text of the suite; a
    // script goes in as typed.
    bool accento = true;
};

// What the CSD projects and situations editors share. They do not edit
// through the data-aware layer: the list and the page "Consultazione" only
// show the rows; "&Nuovo" inserts a row at once, the row being edited is
// loaded into the plain controls of "Inserimento", and "&Memorizza" writes it
// back with one UPDATE. Every change is committed as soon as it is made, so
// other administrators see it and a crash loses nothing.
class TCSDEditorForm : public QDialog
{
    Q_OBJECT
public:
    ~TCSDEditorForm() override;

    TTabForm *const FTabForm;
    // Set by a pick list that opens the editor to create one row: then a
    // successful "&Memorizza" answers 1 and "&Annulla" answers 2.
    bool ModoRicerca = false;

    QTabWidget *PageControl;
    QWidget *TabConsultazione;
    QWidget *TabInserimento;
    TIBQuery *QueryElenco;
    TDBGrid *GridElenco;
    QLineEdit *EditCodice;
    QLineEdit *EditDescrizione;
    QPushButton *ButtonNuovo;
    QPushButton *ButtonElimina;
    QPushButton *ButtonEdit;
    QPushButton *ButtonMemorizza;
    QPushButton *ButtonAnnulla;
    QPushButton *ButtonChiudi;

    // 0 browsing, 1 editing the row "&Nuovo" inserted, 2 editing a row.
    int Modalita() const { return m_modalita; }
    void SetModalita(int modalita);
    // The CODICE of the list's current row; empty when the list is closed or
    // empty.
    QString GetCodiceCorrente() const;

    bool Nuovo();
    bool Elimina();
    bool Memorizza();
    bool Annulla();

    void ButtonNuovoClick();
    void ButtonEditClick();
    void ButtonEliminaClick();
    void ButtonMemorizzaClick();
    void ButtonAnnullaClick();
    void ButtonChiudiClick();

    // Esc, the close box and "Ch&iudi": refused while a row is being edited.
    void reject() override;

protected:
    TCSDEditorForm(QWidget *owner, TTabForm *tabForm, const QString &tabella);

    virtual QStringList sqlElenco() const = 0;
    virtual QStringList sqlNuovo() const = 0;
    // Fills the edit page from the loaded row (empty when it is gone).
    virtual void mostraRiga(const QVariantMap &riga) = 0;
    // The columns of the UPDATE after CODICE, as the controls hold them.
    virtual QList<TColonnaCSD> colonne() const = 0;

    // A read-only box of the current row under its caption, on
    // "Consultazione"; a control under its caption button, which focuses
    // it, on "Inserimento".
    void consultazione(const QString &caption, QWidget *box, int stretch = 0);
    QPushButton *inserimento(const char *buttonName, const QString &caption, QWidget *control,
                             int stretch = 0);
    // Opens the list in mode 0; the last step of a constructor.
    void apri();

    // A memo's text with the CR LF line ends the stored texts have, and back.
    static QString testoMemo(const QPlainTextEdit *memo);
    static void mostraMemo(QPlainTextEdit *memo, const QString &testo);

private:
    void esegui(TIBSQL &st, const QStringList &sql);
    void carica();
    // Close, open, then the given code or, without one, the row at the given
    // place (the last one when there are fewer).
    void riapri(const QString &codice, int posizione = 0);
    bool fallito(const QString &operazione, const std::exception &e);
    // Deletes the row of that code and reopens on the row at its place;
    // false, after the error, when it fails.
    bool eliminaRiga(const QString &codice, const QString &operazione);
    // The UPDATE of the edited row, its texts bound.
    void sqlSalva(TIBSQL &st) const;

    QString m_tabella;
    int m_modalita = 0;
    QString m_codice;
    QVBoxLayout *m_consultazione;
    QVBoxLayout *m_inserimento;
};
