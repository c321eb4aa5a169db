#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class TCampiGrid;
class TCampiModel;
class TCSDRicerca;
class TWizCSDRicerca;

// The search wizard: a thin window over TWizCSDRicerca, editing a search
// owned by the caller.
class TWizCSDRicercaForm : public QDialog
{
    Q_OBJECT
public:
    TWizCSDRicercaForm(QWidget *owner, TCSDRicerca *ricerca);

    TWizCSDRicerca *const Wizard;
    // The names new fields are picked from (none: they are typed).
    void SetNomiScelta(const QStringList &nomi);

    QPushButton *ButtonCodiceProgetto;
    QLineEdit *EditCodiceProgetto;
    QPushButton *ButtonSituazioneGriglia;
    QLineEdit *EditSituazioneGriglia;
    QPushButton *ButtonSituazioneFinestra;
    QLineEdit *EditSituazioneFinestra;
    TCampiGrid *GridCampi;
    QPushButton *ButtonNuovo;
    QPushButton *ButtonInserisci;
    QPushButton *ButtonElimina;
    QPushButton *ButtonAzzera;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

private:
    void collega();
    void aggiornaRighe();
    // Runs a row operation with nothing pending in the grid.
    void suRighe(void (TWizCSDRicerca::*operazione)());

    TCampiModel *m_model;
};
