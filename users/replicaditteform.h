#pragma once

#include <QDialog>
#include <QStringList>

class QComboBox;
class QPushButton;
class TDBGrid;
class TIBQuery;
class TIBTransaction;
class TTabForm;

// "Replica ditte": the source user, the company and the destination users of
// a company replication, chosen here and handed to TReplicazioneComponent on
// "Ok". It only reads the database itself, each read on a transaction of its
// own; the replication commits on the component's.
class TReplicaDitteForm : public QDialog
{
    Q_OBJECT
public:
    TReplicaDitteForm(QWidget *owner, TTabForm *tabForm);
    ~TReplicaDitteForm() override;

    TTabForm *FTabForm;

    QComboBox *ComboUtente;
    QComboBox *ComboDitta;
    TIBQuery *QueryUtentiDest;
    TDBGrid *GridUtentiDest;
    QPushButton *ButtonSelTutto;
    QPushButton *ButtonDeselTutto;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
    // The chosen destinations' CODICE, as text.
    QStringList ListaUtentiDest;

    // Chooses the source user, its current company and the destinations
    // left to choose.
    void Imposta(int utente);
    // Runs the replication; false (after its box) leaves the dialog open.
    bool EseguiReplica();
    // The chosen source's code; -1 when none is chosen.
    int UtenteOrigine() const;

    void ComboUtenteChange();
    void GridUtentiDestDblClick();
    void GridUtentiDestKeyUp(int key);
    void ButtonSelTuttoClick();
    void ButtonDeselTuttoClick();
    void ButtonOkClick();
    void ButtonCancelClick();

private:
    void buildWindow();
    void CaricaUtenti();
    void CaricaDitte();
    void CaricaUtentiDest();
    QString LeggiDittaUtente(int utente);
    void ScegliDitta(const QString &ditta);
    void ListaCambiata();

    TIBTransaction *m_trUtentiDest;
};
