#pragma once

#include "recordeditor.h"

class QCheckBox;
class QPushButton;
class TDBCheckBox;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TIBQuery;
class TIBUpdateSQL;

// "Gestione utenti": the users of the suite, one row of UTENTI each, with
// the per-user parameter text. Opening rebuilds every user's text from its
// TABPRAVLIN rows; a save writes the user and the user's rows in one
// commit, or neither.
class TUtentiForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TUtentiForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *const QueryUtenti;
    TIBUpdateSQL *const UpdateUtenti;
    TIBQuery *QueryAux2;
    TDBGrid *GridUtenti;

    TDBEdit *EditCodice;
    TDBEdit *EditNomeUtente;
    TDBEdit *EditPassword;
    TDBEdit *EditDescrizione;
    TDBEdit *EditEmail;
    TDBMemo *MemoNote;
    TDBEdit *EditInfo1;
    TDBEdit *EditInfo2;
    TDBEdit *EditDitta;
    TDBMemo *MemoPravlin;
    TDBEdit *EditProfilo;
    TDBEdit *EditProgetto;
    TDBEdit *EditLingua1;
    TDBEdit *EditLingua2;
    TDBCheckBox *CheckMantieniStdMin;
    TDBCheckBox *CheckAbilitaSceltaDisco;
    TDBCheckBox *CheckAccessoPravlin;
    TDBCheckBox *CheckUtenteInattivo;

    QPushButton *ButtonCodice;
    QPushButton *ButtonNomeUtente;
    QPushButton *ButtonPassword;
    QPushButton *ButtonDescrizione;
    QPushButton *ButtonEmail;
    QPushButton *ButtonNote;
    QPushButton *ButtonInfo1;
    QPushButton *ButtonInfo2;
    QPushButton *ButtonDitta;
    QPushButton *ButtonPravlin;
    QPushButton *ButtonProfilo;
    QPushButton *ButtonProgetto;
    QPushButton *ButtonLingua1;
    QPushButton *ButtonLingua2;

    QPushButton *ButtonVerifica;
    QPushButton *ButtonVerificaHelp;
    QPushButton *ButtonInfo1Help;
    QPushButton *ButtonFile;
    QPushButton *ButtonPercorso;
    QPushButton *ButtonApriEditor;
    QPushButton *ButtonResetEditor;
    QPushButton *ButtonAbilitazDitte;
    QPushButton *ButtonAcqDaFile;
    QPushButton *ButtonSostituisci;
    QPushButton *ButtonCerca;
    QPushButton *ButtonReplicaDitte;

    void SettaggioInterfaccia(bool editing) override;
    // The seven checks on what the boxes show; the first failure is shown.
    bool Verifica();

    void ButtonVerificaClick();
    void ButtonVerificaHelpClick();
    void ButtonPasswordClick();
    void ButtonProfiloClick();
    void ButtonProgettoClick();
    // Company activation: saves the user, then marks the headers of the
    // companies chosen inactive in the edit buffer, unsaved.
    void ButtonAbilitaDitteClick();
    // Appends a company and its chosen options from an options file.
    void ButtonAcqDaFileClick();
    // Copies one company's section of a user to other users, all or none.
    void ButtonReplicaDitteClick();

    // The memo tools: each changes only the memo.
    void ButtonFileClick();
    void ButtonPercorsoClick();
    void ButtonCercaClick();
    void ButtonSostituisciClick();
    void ButtonWordpadClick();
    void ButtonResetEditorClick();
    void ButtonInfo1HelpClick();

    // The last searched word and the memo line where it was last found.
    QString FParolaRicerca;
    int FUltimaRigaTrovata = 0;

    // While the external editor runs the window cannot be closed.
    void reject() override;

    // The password box accepts no more than the column holds.
    static constexpr int kLunghezzaPassword = 80;

protected:
    void PrimaDellApertura() override;
    bool PrimaDelNuovo() override;
    void ValoriNuovoRecord() override;
    bool Validazioni() override;
    QWidget *EditChiave() const override;
    void SalvaRecord() override;

private:
    void buildFields();
    void buildTools();
    void RicostruisciTesti();
    void MostraUtenteInattivo();
    bool TestiMemorizzabili();
    // Replaces the memo's selection, or inserts at the caret, as typing does.
    void InserisciNelMemo(const QString &testo);
    bool m_editoreInCorso = false;
};
