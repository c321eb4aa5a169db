#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class TDBGrid;
class TIBQuery;
class TIBSQL;
class TTabForm;

// "Export Menu": the programs of one project, marked by the administrator,
// written with their menus into a menu transfer file. Only reads the
// database.
class TExportMenuForm : public QDialog
{
    Q_OBJECT
public:
    TExportMenuForm(QWidget *owner, TTabForm *&tabForm);
    ~TExportMenuForm() override;

    TTabForm *&FTabForm;

    TIBQuery *QueryProgetti;
    TIBQuery *QueryProgrammi;
    TIBSQL *QueryAux;
    TDBGrid *GridProgetti;
    TDBGrid *GridProgrammi;
    QLineEdit *EditFile;
    QPushButton *ButtonFile;
    QPushButton *ButtonExport;
    QPushButton *ButtonChiudi;

    // The marked programs' CODICE, as text.
    QStringList FProgrSelezionati;

    // Reloads the current project's programs, dropping the marks.
    void CaricaProgrammi();
    void GridProgrammiDblClick();
    void GridProgrammiKeyUp(int key, Qt::KeyboardModifiers modifiers);
    void ButtonFileClick();
    void ButtonExportClick();
    void ButtonChiudiClick();

private:
    void buildWindow();
    bool esporta();
};
