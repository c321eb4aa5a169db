#pragma once

#include "recordeditor.h"

class QPushButton;
class TDBComboBox;
class TDBEdit;
class TDBGrid;
class TDBMemo;
class TIBQuery;
class TIBUpdateSQL;

// "Profili sicurezza": the security profiles, one row of PROFILI each; the
// menu entries a profile grants are edited in its details.
class TProfSicForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TProfSicForm(QWidget *owner, TTabForm *&tabForm);

    TIBQuery *const QueryProfili;
    TIBUpdateSQL *const UpdateProfili;
    TDBGrid *GridProfili;

    TDBEdit *EditCodice;
    TDBEdit *EditDescrizione;
    TDBEdit *EditLivello;
    TDBComboBox *ComboTipo;
    TDBMemo *MemoNote;
    QPushButton *ButtonCodice;
    QPushButton *ButtonDescrizione;
    QPushButton *ButtonLivello;
    QPushButton *ButtonTipo;
    QPushButton *ButtonNote;
    QPushButton *ButtonDettagli;

    void ButtonDettagliClick();

protected:
    void ValoriNuovoRecord() override;
    bool ControlloDipendenti() override;
    QList<TDipendente> Dipendenti() override;
    QString ProssimoCodice() override;
    QString PromptNuovoCodice() const override;
    QWidget *EditChiave() const override;

private:
    void buildFields();
};
