#pragma once

#include "importmenu.h"

#include <QDialog>
#include <memory>

class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class TDataSet;
class TDBGrid;
class TIBQuery;
class TIBSQL;
class TRxMemoryData;
class TTabForm;

// "Import Menu": reads a menu transfer file into two staging tables, shows
// them beside the programs and menus already here, and writes the programs
// the administrator marks, with their menus, in the shared transaction.
class TImportMenuForm : public QDialog
{
    Q_OBJECT
public:
    TImportMenuForm(QWidget *owner, TTabForm *&tabForm);
    ~TImportMenuForm() override;

    TTabForm *&FTabForm;

    QLineEdit *EditFile;
    QPushButton *ButtonFile;
    QPushButton *ButtonImport;
    QPushButton *ButtonChiudi;
    QPushButton *ButtonSel1;
    QPushButton *ButtonDesel1;
    TIBQuery *QueryProgPres;
    TIBQuery *QueryMenuPres;
    TIBSQL *QueryAux;
    TRxMemoryData *MemTabProg;
    TRxMemoryData *MemTabMenu;
    TDBGrid *GridProgPres;
    TDBGrid *GridMenuPres;
    TDBGrid *GridProgFile;
    TDBGrid *GridMenuFile;
    QPlainTextEdit *MemoLog;

    // The writing's own steps, for a test that watches its statements.
    TImportazioneMenu Importazione;

    // Whether a program of this name is here, and its code (0 when not);
    // names as the last reading found them in PROGRAMMI.
    bool ProgrammaGiaPresente(const QString &nome, int &codice) const;

    // The present program's entries, read again for the current program;
    // the file's entries follow the file's current program through the
    // staging table's filter.
    void CaricaMenuPresente();
    void MemTabMenuFilterRecord(TDataSet *dataSet, bool &accept);
    void ButtonFileClick();
    void ButtonImportClick();
    void ButtonChiudiClick();
    void ButtonSel1Click();
    void ButtonDesel1Click();
    void GridProgFileDblClick();
    void GridProgFileKeyUp(int key, Qt::KeyboardModifiers modifiers);

private:
    void buildWindow();
    void segnaTutti(const QString &valore);
    void svuota();
    bool leggi(const QString &nomeFile);

    std::unique_ptr<FileScambioMenu::TIndiceProgrammi> m_presenti;
};
