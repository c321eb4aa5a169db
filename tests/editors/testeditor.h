#pragma once

#include "archivefixture.h"
#include "recordeditor.h"

#include <QLineEdit>
#include <QPushButton>
#include <memory>

// An editor of the pattern over PROGETTI with plain widgets: a read-only key
// box, one edit-only box with its label button, the code change, a
// dependants check on DETTPROGETTI and a validation the test can make fail.
class TestEditor : public TRecordEditorForm
{
    Q_OBJECT
public:
    TestEditor(QWidget *owner, TTabForm *&tabForm);

    QLineEdit *EditCodice;
    QLineEdit *EditNome;
    QPushButton *ButtonCodice;
    QPushButton *ButtonNome;
    QWidget *Grid;
    QPushButton *ButtonExtra; // browse only

    bool rifiuta = false;
    int salvataggi = 0;
    // What the name box's textEdited handed over, through onSignal.
    QStringList digitati;
    void NomeDigitato(const QString &testo);

    // What the boxes show comes from the current row (no bound controls here).
    void mostra();

    // The hooks: what they saw and how they answer.
    bool nuovoRifiutato = false;
    bool rigaRifiutata = false;
    bool collegatiFalliscono = false;
    QStringList passi;
    QVariant trovata;

    using TRecordEditorForm::AzzeraRighe;
    using TRecordEditorForm::ProssimoCodice;
    using TRecordEditorForm::ScriviCampo;

protected:
    bool Validazioni() override;
    bool ControlloDipendenti() override;
    QWidget *EditChiave() const override { return EditCodice; }
    void DopoMemorizzazione() override { ++salvataggi; }
    bool ScegliChiaveNuova() override;
    bool ControlloRigaTrovata() override;
    // The project's menu entries (DETTMENU of the same code) go with it.
    void EliminaCollegati() override;
    void DopoEliminazione() override { passi << "dopo"; }
};

// The archive fixture on the archive object's own first schema.
class EditorTest : public ArchiveTest
{
protected:
    void SetUp() override;

    void progetto(int codice, const QString &nome);
    std::unique_ptr<TestEditor> apri();
    // Answers the code dialog with this text (OK) or Cancel.
    void rispondiCodice(const QString &testo, bool ok = true);
    int codice() const;

    QString promptVisto;
};
