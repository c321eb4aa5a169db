#pragma once

#include "messagerecorder.h"
#include "recordeditor.h"
#include "tabform.h"

#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <gtest/gtest.h>
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

protected:
    bool Validazioni() override;
    bool ControlloDipendenti() override;
    QWidget *EditChiave() const override { return EditCodice; }
    void DopoMemorizzazione() override { ++salvataggi; }
};

// A signed-in archive object on a fresh user database, made with its own
// first schema, in a scratch program folder with the two status pictures.
class EditorTest : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    void progetto(int codice, const QString &nome);
    // Committed, through another connection: what other programs see.
    QString committed(const QString &sql);
    void other(const QString &sql);
    std::unique_ptr<TestEditor> apri();
    // Answers the code dialog with this text (OK) or Cancel.
    void rispondiCodice(const QString &testo, bool ok = true);
    int codice() const;

    QTemporaryDir dir;
    MessageRecorder rec;
    std::unique_ptr<TTabForm> tab;
    TTabForm *tabVar = nullptr;
    QString promptVisto;
};
