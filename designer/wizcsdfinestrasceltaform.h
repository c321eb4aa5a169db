#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QWidget;

// How a window script starts: free, or from a table of a reference database
// whose columns become the first fields.
class TWizCSDFinestraSceltaForm : public QDialog
{
    Q_OBJECT
public:
    explicit TWizCSDFinestraSceltaForm(QWidget *owner = nullptr);

    // What the caller reads after OK (virtual: its tests answer for it).
    virtual bool GetTabellaPreimpostata() const;
    virtual QString GetDatabase() const;
    virtual QString GetTabella() const;

    // "&Database": the file chosen, its tables listed.
    void ScegliDatabase();
    // Lists the tables of the database on a connection of its own, closed
    // after; a database that does not open lists nothing.
    void CaricaTabelle(const QString &percorso);
    // A warning while the preset start lacks its database or table.
    void Ok();

    QRadioButton *RadioLibera;
    QRadioButton *RadioTabellaPreimpostata;
    QWidget *PanelTabella;
    QPushButton *ButtonDatabase;
    QLineEdit *EditDatabase;
    QPushButton *ButtonTabella;
    QComboBox *ComboTabella;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;
};
