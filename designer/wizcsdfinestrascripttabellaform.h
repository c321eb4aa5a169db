#pragma once

#include "ibdatabase.h"

#include <QDialog>
#include <QPointer>
#include <QString>
#include <memory>

class QPlainTextEdit;
class QPushButton;

// The create-table script of a window: shown read-only, and proposed from
// the reference database's catalogue when the dialog was given one.
class TWizCSDFinestraScriptTabellaForm : public QDialog
{
    Q_OBJECT
public:
    // Without a reference database: "Proponi script" stays hidden.
    explicit TWizCSDFinestraScriptTabellaForm(QWidget *owner);
    // The catalogue statements run in the database's default transaction.
    static std::unique_ptr<TWizCSDFinestraScriptTabellaForm>
    CreaConDatabase(QWidget *owner, TIBDatabase *database, const QString &nomeTabella);

    // The text as it was set, or as proposed.
    QString GetScript() const { return m_script; }
    void SetScript(const QString &script);
    // Proposes the CREATE TABLE of the table; asks before replacing a script.
    void ProponiScript();

    QPlainTextEdit *MemoScript;
    QPushButton *ButtonProponiScript;
    QPushButton *ButtonOk;
    QPushButton *ButtonCancel;

private:
    QPointer<TIBDatabase> m_database;
    QString m_nomeTabella;
    QString m_script;
};
