#pragma once

#include "dataset.h"
#include "dipendenti.h"
#include "guard.h"

#include <QAbstractButton>
#include <QDialog>
#include <QList>
#include <QSize>
#include <QString>
#include <QStringList>
#include <QVariantMap>
#include <memory>

class QGridLayout;
class QPushButton;
class QVBoxLayout;
class TIBQuery;
class TIBSQL;
class TIBUpdateSQL;
class TDBEdit;
class TDBGrid;
class TTabForm;

// The table one record editor shows and how its rows are keyed.
struct TRecordEditorTable
{
    QString table;         // "PROGRAMMI"
    QStringList keyFields; // {"CODICE"}; {"PROGRAMMA", "MENU"}
    // The key column that Nuovo numbers and the code change edits; empty
    // when the editor's keys are chosen otherwise.
    QString codeField;
    // Key columns fixed by the editor's parent (the program of a menu), with
    // their values: the rows shown, the new code and the key test are
    // limited to them.
    QVariantMap parentValues;
};

// The record editor pattern that the programs, projects, menu, users,
// profiles and profile details editors share: browse and edit modes carried
// by the status button's Tag, controls with Tag 2 enabled only while
// editing, the standard buttons and messages, and the editing protocol of
// the archive object on its shared transaction.
//
// A concrete editor builds its fields in PanelCampi, hands over its grid and
// its further buttons, then calls Apri() at the end of its constructor; its
// particulars are the virtual steps below. Every handler runs inside the
// application's error report, so a failure is shown and the editor keeps
// its state and mode.
class TRecordEditorForm : public QDialog
{
    Q_OBJECT
public:
    TRecordEditorForm(QWidget *owner, TTabForm *&tabForm, const TRecordEditorTable &table);
    ~TRecordEditorForm() override;

    // The archive object's variable, as the main window holds it.
    TTabForm *&FTabForm;
    QString FCodice;
    TBookmark FBookmark;
    bool FBookmarkValido = false;

    TIBQuery *MainQuery;
    TIBUpdateSQL *MainUpdate;
    // The new-key, existence and dependants queries.
    TIBSQL *QueryAux;

    QWidget *PanelCampi;
    QPushButton *ButtonNuovo;
    QPushButton *ButtonEdit;
    QPushButton *ButtonMemorizza;
    QPushButton *ButtonAnnulla;
    QPushButton *ButtonElimina;
    QPushButton *ButtonChiudi;
    // At once the status button (its Tag is the mode) and the refresh button.
    QPushButton *ButtonAggiorna;

    // True in edit mode; the status button's Tag (1) shows it.
    bool Editing() const { return m_editing; }

    virtual void SettaggioInterfaccia(bool editing);
    // Validates, saves and returns to browse mode; false when a validation
    // refused (the editor stays in edit mode). A failure of the database
    // raises, with the editor still in edit mode and its row kept.
    bool Memorizzazione();
    void Annullamento();

    virtual void ButtonNuovoClick();
    void ButtonEditClick();
    void ButtonMemorizzaClick();
    void ButtonAnnullaClick();
    void ButtonAggiornaClick();
    void ButtonEliminaClick();
    // The code change: the key column of the row being edited takes a new
    // value that no other row has.
    void ButtonCodiceClick();
    void ButtonChiudiClick();
    // The close question; chiudi false keeps the window open (a save that
    // was refused or failed).
    void FormClose(bool &chiudi);

    // Esc and the close box go through the close question.
    void reject() override;

protected:
    // Opening: query text, update object, browse mode. Called once, at the
    // end of the concrete editor's constructor.
    void Apri();
    // The steps between binding and opening the main query (an upgrade of
    // the table).
    virtual void PrimaDellApertura() {}

    // ---- Each editor's particulars ---------------------------------------
    // Checked before "&Nuovo" does anything; false stops it.
    virtual bool PrimaDelNuovo() { return true; }
    // Values of a new row, after its key.
    virtual void ValoriNuovoRecord() {}
    // Validations before a save, each failure shown as its warning.
    virtual bool Validazioni() { return true; }
    // After the transaction is closed, before the mode changes: the new
    // row's key chosen otherwise than by number (pick lists), kept for
    // ValoriNuovoRecord; false stops "&Nuovo".
    virtual bool ScegliChiaveNuova() { return true; }
    // The delete, in this order: ControlloDipendenti on the current row;
    // refresh and find the row again; ControlloRigaTrovata on it; the
    // question; the delete, EliminaCollegati in the same transaction, the
    // commit; DopoEliminazione. A false stops the delete (after its
    // warning); a failure from the delete on is rolled back and shown.
    virtual bool ControlloDipendenti() { return true; }
    virtual bool ControlloRigaTrovata() { return true; }
    virtual void EliminaCollegati() {}
    virtual void DopoEliminazione() {}
    virtual QString PromptNuovoCodice() const;
    // The control that takes the focus when editing starts ("&Nuovo",
    // "Edit &X"): by default the first one in reading order that takes
    // typed text. ValoriNuovoRecord may move it further.
    virtual QWidget *PrimoCampo() const;
    void focusPrimoCampo();
    // The columns of other tables that name the row's code. A save that
    // gives a stored row a new code moves their rows with it in the same
    // transaction, before the one commit, and a failure takes both back;
    // the code change refuses a code under which a listed table already
    // holds rows. Asked once, at the first use.
    virtual QList<TDipendente> Dipendenti() { return {}; }
    // The key's edit box, focused after the code change.
    virtual QWidget *EditChiave() const { return nullptr; }
    virtual void DopoMemorizzazione() {}
    // The save itself, after the validations and with FCodice taken: posts
    // the row, commits the shared transaction and reopens the query. An
    // editor that writes further rows with the same commit replaces it.
    virtual void SalvaRecord();

    // ---- Building the window ---------------------------------------------
    // The window's, the main query's and the update object's names.
    void setNames(const QString &form, const QString &title, const QString &query,
                  const QString &update);
    // The main grid over the main query, named and handed to setGrid.
    TDBGrid *mainGrid(const char *objectName);
    // The window's size: what its layout asks, and at least the least size.
    void fitTo(const QSize &least);
    // The main grid: enabled in browse mode only.
    void setGrid(QWidget *grid);
    // How the height beyond the minimum is shared between the fields and
    // the grid (by default the grid takes it all).
    void setStretch(int campi, int griglia);
    // A command button in the column, after the standard ones. browseOnly:
    // enabled in browse mode only; otherwise enabled in both modes.
    void addCommand(QPushButton *button, bool browseOnly);
    QPushButton *addCommand(const char *objectName, const QString &caption, bool browseOnly);
    // A flat label button over a control (Tag 2); clicking it focuses the
    // control unless the caller connects it to something else.
    QPushButton *labelButton(const QString &objectName, const QString &caption, QWidget *target);
    // The key's label button ("ButtonCodice"), which starts the code change.
    QPushButton *codeButton(const QString &caption);
    // A register's first row: CODICE (the key box), NOME and DESCRIZIONE of
    // the main query under their captions, in rows 0 and 1 of the grid,
    // sized for what the columns hold.
    void rigaCodice(QGridLayout *grid, TDBEdit *&codice, TDBEdit *&nome, TDBEdit *&descrizione,
                    QPushButton *&buttonCodice, QPushButton *&buttonNome,
                    QPushButton *&buttonDescrizione);
    // Connects a button to a handler run inside the error report.
    template <typename T> void onClick(QAbstractButton *button, T *object, void (T::*handler)())
    {
        Guard::connect(button, &QAbstractButton::clicked, object, handler);
    }
    // Connects a signal to a handler run inside the error report; the
    // handler takes the signal's first arguments.
    template <typename S, typename... SignalArgs, typename T, typename... Args>
    void onSignal(S *sender, void (S::*signal)(SignalArgs...), T *object,
                  void (T::*handler)(Args...))
    {
        Guard::connect(sender, signal, object, handler);
    }

    // ---- Helpers for the particulars ---------------------------------------
    // True when the statement yields a row; every value is a parameter.
    bool rowExists(const QStringList &sql, const QVariantMap &params);
    // The first column of the first row (NULL without rows).
    QVariant firstValue(const QStringList &sql, const QVariantMap &params);
    // The key values of the current row, in keyFields order.
    QVariantList currentKey() const;
    bool locateKey(const QVariantList &key);
    const TRecordEditorTable &table() const { return m_table; }
    // The code after the highest of the code column among the parent's
    // rows ("1" for none), read in the shared transaction; the code Nuovo
    // gives a new row.
    virtual QString ProssimoCodice();
    // The code after both ProssimoCodice and the highest of another table's
    // column that names codes of this table.
    QString ProssimoCodiceOltre(const QString &tabella, const QString &colonna);
    // The dependants' rows marked conLaRiga under the deleted row's code
    // (for EliminaCollegati).
    void EliminaDipendenti(const QVariant &codice);
    // Writes a field of the current row, putting a browsed row in edit state.
    void ScriviCampo(const QString &field, const QVariant &value);
    // The reset: after the question, runs the statement that deletes the
    // editor's rows and commits, then shows the rows again; false when it
    // was not confirmed or failed (after its error box).
    bool AzzeraRighe(const QString &confirmation, const QStringList &sql,
                     const QVariantMap &params);
    // The same with several statements in the one commit, each given the
    // parameters it names; a failure rolls every one back.
    bool AzzeraRigheCollegate(const QString &confirmation, const QList<QStringList> &statements,
                              const QVariantMap &params);

    // The protocol of the archive object marks a save on the status button
    // alone: the mode follows it.
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void buildFrame();
    QStringList parentFields() const;
    void bindParent(TIBSQL *statement) const;
    void appendRow(const QString &code);
    TDipendentiChiave &dipendenti();

    TRecordEditorTable m_table;
    QWidget *m_grid = nullptr;
    QWidget *m_panel;
    QVBoxLayout *m_leftLayout;
    QVBoxLayout *m_commandLayout;
    int m_commandInsert = 0;
    QList<QWidget *> m_browseOnly;
    bool m_editing = false;
    std::unique_ptr<TDipendentiChiave> m_dipendenti;
    std::unique_ptr<TIBSQL> m_massimoAltrove;
    // The stored code of the row the code change gave another one; null
    // while no code change waits for its save.
    QVariant m_codiceSalvato;
};
