#pragma once

#include <QDialog>
#include <QStringList>

class QLineEdit;
class QPushButton;
class TDBGrid;
class TRxMemoryData;
class TTabForm;

// "Acquisizione file ini": reads a company options file, shows its companies
// and the options of the chosen one, and answers 1 ("Riporta") when at least
// one option is chosen, 2 ("Chiudi") otherwise.
class TAcqDaFileForm : public QDialog
{
    Q_OBJECT
public:
    TAcqDaFileForm(QWidget *owner, TTabForm *&tabForm);

    TTabForm *&FTabForm;
    QLineEdit *EditSelFile;
    QPushButton *ButtonSelFile;
    TDBGrid *GridDitte;
    TDBGrid *GridImpo;
    QPushButton *ButtonRiporta;
    QPushButton *ButtonChiudi;
    TRxMemoryData *MemTabDitte;
    TRxMemoryData *MemTabImpoOri;
    TRxMemoryData *MemTabImpo;
    // Whether a file has been read: until then choosing a company loads
    // nothing.
    bool FileLetto = false;

    // Reads the file named in EditSelFile into the three tables, emptied
    // first; an unreadable file is reported and leaves them as they were.
    bool RilevaDitte();
    void CaricaOpzioniDittaSelezionata(const QString &ditta);

    // The chosen company and its chosen options as "name=value" lines.
    QString DittaScelta() const;
    QStringList RigheScelte();

    void ButtonSelFileClick();
    void ButtonRiportaClick();
    void GridImpoDblClick();
    void GridImpoKeyUp(int key, Qt::KeyboardModifiers modifiers);

private:
    void buildWindow();
};
