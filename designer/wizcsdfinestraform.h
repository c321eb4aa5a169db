#pragma once

#include "wizcsdfinestra.h"

#include <QDialog>
#include <memory>

class QButtonGroup;
class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QListWidget;
class QPushButton;
class QRadioButton;
class QWidget;
class TCampiGrid;
class TCampiModel;
class TTabForm;

// The window wizard: composes the script of a data-entry window. A thin
// window over TWizCSDFinestra, which holds the inputs, the rows and the
// operations; each control writes into it at once and shows what it holds.
class TWizCSDFinestraForm : public QDialog
{
    Q_OBJECT
public:
    TWizCSDFinestraForm(QWidget *owner, TTabForm *tabForm);
    ~TWizCSDFinestraForm() override;
    static std::unique_ptr<TWizCSDFinestraForm> CreaConTabForm(QWidget *owner, TTabForm *tabForm);

    TWizCSDFinestra *const Wizard;

    // What the menu grid editor calls around showing the window (virtual:
    // its tests answer for the window).
    virtual void Azzera();
    virtual bool CaricaXML(const QString &testo);
    virtual void CaricaTabella(const QString &percorsoDatabase, const QString &nomeTabella);
    virtual QString ComponiXML();

    // Group "Database"
    QRadioButton *RadioArchivio;
    QRadioButton *RadioDirectoryListino;
    QRadioButton *RadioParametroPers;
    QLineEdit *EditParametroPers;
    QLabel *LabelPercorsoArchivio;
    // Table, title, create-table script
    QPushButton *ButtonNome;
    QLineEdit *EditNomeTabella;
    QPushButton *ButtonTitolo;
    QLineEdit *EditTitolo;
    QRadioButton *RadioCreaTabellaSi;
    QRadioButton *RadioCreaTabellaNo;
    QPushButton *ButtonScript;
    // Looks and special fields
    QPushButton *ButtonCodiceProgetto;
    QLineEdit *EditCodiceProgetto;
    QPushButton *ButtonSituazioneGriglia;
    QLineEdit *EditSituazioneGriglia;
    QPushButton *ButtonSituazioneFinestra;
    QLineEdit *EditSituazioneFinestra;
    QPushButton *ButtonCampoGeneratore;
    QComboBox *ComboCampoGeneratore;
    QPushButton *ButtonGeneratore;
    QComboBox *ComboGeneratore;
    QPushButton *ButtonCampoImmagine;
    QComboBox *ComboCampoImmagine;
    QPushButton *ButtonCampoFile;
    QComboBox *ComboCampoFile;
    QCheckBox *CheckStampa;
    QPushButton *ButtonConfiguraStampa;
    QCheckBox *CheckRicerca;
    QPushButton *ButtonConfiguraRicerca;
    QCheckBox *CheckSoloConsultazione;
    // Field grid and its row buttons
    TCampiGrid *GridCampi;
    QPushButton *ButtonNuovo;
    QPushButton *ButtonInserisci;
    QPushButton *ButtonElimina;
    QPushButton *ButtonAzzera;
    // Field detail
    QWidget *PanelDettaglio;
    QRadioButton *RadioEdit;
    QRadioButton *RadioCombo;
    QWidget *PanelValori;
    QListWidget *ListValoriCombo;
    QPushButton *ButtonAggiungiValore;
    QPushButton *ButtonRimuoviValore;
    QCheckBox *CheckDecodifica;
    QWidget *PanelDecodifica;
    QComboBox *ComboDecodificaTabella;
    QComboBox *ComboDecodificaCampoColl;
    QComboBox *ComboDecodificaCampoDec;
    QLineEdit *EditDecodificaEtichetta;
    QCheckBox *CheckRicercaCampo;
    QPushButton *ButtonConfiguraRicercaCampo;
    // Closing
    QPushButton *ButtonTestaFinestra;
    QPushButton *ButtonMemorizza;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

private:
    QWidget *creaIntestazione();
    QWidget *creaAspetto();
    QWidget *creaCampi();
    QWidget *creaDettaglio();
    void collega();
    void collegaDettaglio();
    // A control's handler that does nothing while the window itself shows
    // the wizard's values.
    template <typename Azione> auto quando(Azione azione)
    {
        return [this, azione](auto &&...args) {
            if (!m_aggiornando)
                azione(args...);
        };
    }
    void aggiornaInputs();
    void aggiornaDettaglio();
    void aggiornaSelezione();
    // Runs a row operation with nothing pending in the grid.
    void suRighe(void (TWizCSDFinestra::*operazione)());
    void scegliCodice(QLineEdit *edit);

    TCampiModel *m_model;
    QButtonGroup *m_gruppoArchivio;
    bool m_aggiornando = false;
};
