#include "testeditor.h"

#include "ibquery.h"
#include "kivin1form.h"
#include "tag.h"

#include <QCoreApplication>
#include <QLabel>
#include <stdexcept>

TestEditor::TestEditor(QWidget *owner, TTabForm *&tabForm)
    : TRecordEditorForm(owner, tabForm, {"PROGETTI", {"CODICE"}, "CODICE", {}})
    , EditCodice(new QLineEdit(PanelCampi))
    , EditNome(new QLineEdit(PanelCampi))
    , Grid(new QWidget(this))
    , ButtonExtra(new QPushButton("Extra"))
{
    EditCodice->setObjectName("EditCodice");
    EditCodice->setReadOnly(true);
    EditNome->setObjectName("EditNome");
    setTag(EditNome, 2);
    ButtonCodice = codeButton("Codice");
    ButtonNome = labelButton("ButtonNome", "Nome", EditNome);
    onSignal(EditNome, &QLineEdit::textEdited, this, &TestEditor::NomeDigitato);
    setGrid(Grid);
    addCommand(ButtonExtra, true);
    Apri();
}

void TestEditor::NomeDigitato(const QString &testo)
{
    digitati << testo;
    if (testo == "errore")
        throw std::runtime_error("nome rifiutato");
}

void TestEditor::mostra()
{
    EditCodice->setText(MainQuery->FieldByName("CODICE")->AsString());
    EditNome->setText(MainQuery->FieldByName("NOME")->AsString());
}

bool TestEditor::Validazioni()
{
    if (!rifiuta)
        return true;
    Messages::warning("Nome non valido");
    return false;
}

bool TestEditor::ControlloDipendenti()
{
    if (!rowExists({"SELECT * FROM DETTPROGETTI WHERE PROGETTO=:PROGETTO"},
                   {{"PROGETTO", MainQuery->FieldByName("CODICE")->Value()}}))
        return true;
    Messages::warning("Dipendenti presenti");
    return false;
}

bool TestEditor::ScegliChiaveNuova()
{
    passi << "chiave";
    return !nuovoRifiutato;
}

bool TestEditor::ControlloRigaTrovata()
{
    trovata = MainQuery->FieldByName("CODICE")->Value();
    passi << "trovata " + trovata.toString();
    return !rigaRifiutata;
}

void TestEditor::EliminaCollegati()
{
    passi << "collegati";
    QueryAux->Close();
    QueryAux->SQL = QStringList{"DELETE FROM DETTMENU WHERE PROGRAMMA=:CODICE"};
    QueryAux->ParamByName("CODICE").setValue(trovata);
    QueryAux->ExecQuery();
    QueryAux->Close();
    if (collegatiFalliscono)
        throw std::runtime_error("collegati non eliminati");
}

void EditorTest::SetUp()
{
    firstSchemaOnly();
    ArchiveTest::SetUp();
}

void EditorTest::progetto(int codice, const QString &nome)
{
    other(QString("INSERT INTO PROGETTI (CODICE, NOME) VALUES (%1, '%2')").arg(codice).arg(nome));
}

std::unique_ptr<TestEditor> EditorTest::apri()
{
    // The shared transaction's snapshot must see the rows made for the test.
    nuovoSnapshot();
    return std::make_unique<TestEditor>(nullptr, tabVar);
}

void EditorTest::rispondiCodice(const QString &testo, bool ok)
{
    Modal::setRunner([this, testo, ok](QDialog *d) {
        auto *dlg = qobject_cast<TKivIn1Form *>(d);
        EXPECT_NE(dlg, nullptr);
        if (!dlg)
            return int(mrCancel);
        promptVisto = dlg->Label1->text();
        EXPECT_EQ(dlg->font().family(), "Tahoma");
        dlg->Edit1->setText(testo);
        // A picture of the dialog with the editor's prompt, to look at.
        static bool grabbed = false;
        if (!grabbed) {
            dlg->show();
            grabbed =
                dlg->grab().save(QCoreApplication::applicationDirPath() + "/../codice-dialog.png");
        }
        (ok ? dlg->OKBtn : dlg->CancelBtn)->click();
        return dlg->result();
    });
}
