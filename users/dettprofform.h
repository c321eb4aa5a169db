#pragma once

#include "recordeditor.h"

class QLineEdit;
class QPushButton;
class TDBEdit;
class TDBGrid;
class TIBQuery;
class TIBSQL;
class TIBUpdateSQL;

// "Dettagli profilo sicurezza": the menu entries one profile grants, one
// row of DETTPROF each, with the level of the grant. The key is chosen in
// the program and menu pick lists; only the level is edited.
class TDettProfForm : public TRecordEditorForm
{
    Q_OBJECT
public:
    TDettProfForm(QWidget *owner, TTabForm *&tabForm, const QString &Profilo);

    TIBQuery *const QueryDettProf;
    TIBUpdateSQL *const UpdateDettProf;
    TDBGrid *GridDettProf;

    TDBEdit *EditProfilo;
    TDBEdit *EditProgramma;
    TDBEdit *EditMenu;
    QLineEdit *EditDescrMenu;
    TDBEdit *EditLivello;
    QPushButton *ButtonProfilo;
    QPushButton *ButtonProgramma;
    QPushButton *ButtonMenu;
    QPushButton *ButtonLivello;
    QPushButton *ButtonAzzera;

    // The profile the details belong to, and the key Nuovo chose.
    const QString FProfilo;
    QString FProgramma;
    QString FMenu;

    // Shows the description of the current row's menu entry.
    void DescrizioneMenu();
    void ButtonAzzeraClick();

protected:
    // The key comes from the program and menu pick lists.
    bool ScegliChiaveNuova() override;
    void ValoriNuovoRecord() override;

private:
    void buildFields();

    TIBSQL *const m_descrMenu;
};
