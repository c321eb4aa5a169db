#pragma once

#include "recordeditor.h"

#include <QSet>

class QLabel;
class QLineEdit;
class QPushButton;
class TDBCheckBox;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TDBRadioGroup;
class TIBQuery;
class TIBSQL;
class TIBUpdateSQL;

// "Menu programma": the menu entries of one program (DETTMENU rows of that
// PROGRAMMA) in code order, with the parent choice, an entry inserted before
// the current one with the codes behind it moved up, the reset of the whole
// menu and marks on the grid.
class TMenuProgrammaForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TMenuProgrammaForm(QWidget *owner, TTabForm *&tabForm, const QString &programma);

    QString FProgramma;
    QString FMenu;
    // MENU texts of the marked rows; they follow their rows across
    // refreshes, since codes are kept as text.
    QSet<QString> FVociSelezionate;

    TIBQuery *const QueryDettMenu;
    TIBUpdateSQL *const UpdateDettMenu;
    TDBGrid *GridDettMenu;

    TDBEdit *EditProgramma;
    TDBEdit *EditMenu;
    TDBEdit *EditMenuPrec;
    QLineEdit *EditDescrMenu;
    TDBEdit *EditLivello;
    TDBEdit *EditDescrizione;
    TDBEdit *EditDLL;
    TDBEdit *EditFunzione;
    TDBMemo *MemoParametri;
    TDBMemo *MemoNote;
    TDBCheckBox *DBCheckBox1;
    TDBCheckBox *CheckVoceRapida;
    TDBRadioGroup *RadioGrupVersione;
    QLabel *LabelSelezione;

    QPushButton *ButtonProgramma;
    QPushButton *ButtonMenu;
    QPushButton *ButtonMenuPrec;
    QPushButton *ButtonLivello;
    QPushButton *ButtonDescrizione;
    QPushButton *ButtonDLL;
    QPushButton *ButtonFunzione;
    QPushButton *ButtonNote;
    QPushButton *ButtonParametri;
    QPushButton *ButtonHelp;
    QPushButton *ButtonHelpDescr;
    QPushButton *ButtonWizardCSDForm;

    QPushButton *ButtonInserisci;
    QPushButton *ButtonAzzera;
    QPushButton *ButtonSelTutto;
    QPushButton *ButtonDeSelTutto;
    QPushButton *ButtonAggFunz;
    QPushButton *ButtonAutoRinomina;
    QPushButton *ButtonModAlbero;
    QPushButton *ButtonImporta;
    QPushButton *ButtonEsporta;

    // Raises by 1 the MENU of every entry of the program from `primoCodice`
    // on, with the grants and translations that name them; false after its
    // error box.
    bool RiordinaRighe(const QString &programma, const QString &primoCodice);

    void ButtonMenuPrecClick();
    // Shows the caption of the current row's parent entry.
    void DescrizioneMenuPrec();
    void ButtonInserisciClick();
    void ButtonAzzeraClick();
    void ButtonSelTuttoClick();
    void ButtonDeSelTuttoClick();
    void GridDettMenuDblClick();
    void GridDettMenuKeyDown(int key);
    void ButtonHelpClick();
    void ButtonHelpDescrClick();

    // The tools on the entries' libraries and functions, the window wizard
    // and the tree view.
    void ButtonDLLClick();
    void ButtonAggFunzClick();
    void ButtonAutoRinominaClick();
    void ButtonWizardCSDFormClick();
    void ButtonModAlberoClick();
    void ButtonImportaClick();
    void ButtonEsportaClick();

    bool Marcata(const QString &menu) const { return FVociSelezionate.contains(menu); }

protected:
    void ValoriNuovoRecord() override;
    bool Validazioni() override;
    QString PromptNuovoCodice() const override;
    QWidget *EditChiave() const override;
    // The entry's grants and translations follow its code and go with it;
    // the entries under it keep naming the old code.
    QList<TDipendente> Dipendenti() override;
    // The entry found again must have no child entries; its mark goes with it.
    bool ControlloRigaTrovata() override;
    // The entry's grants and translations go in the delete's transaction.
    void EliminaCollegati() override;
    void DopoEliminazione() override;

private:
    void buildFields();
    void buildCommands();
    QString testo(const char *campo) const;
    void valoriVoce(const QString &menu, const QString &padre, const QString &livello);
    void commutaMarca();
    // Back to the state before "Inserisci" (its first step had committed),
    // on the entry it was pressed on.
    void annullaSpostamento(const QString &codice);
    void collegaStrumenti();
    // Gives every function of the walk its final letter; false when a row
    // refused it (shown, and the walk undone).
    bool sostituisciLettera(QChar lettera);
    // The query opened again on the entry of this key (the first without).
    void riapri(const QVariantList &chiave);
    void confermaSenzaRiaprire();

    // The parent's caption is read at every move: one statement kept prepared.
    TIBSQL *m_descrMenu;
};
