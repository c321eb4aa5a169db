#include "wizardvoce.h"

#include "messages.h"
#include "wizcsdfinestraform.h"
#include "wizcsdfinestrasceltaform.h"

namespace WizardVoce {

const QString DomandaScript = QStringLiteral(
    "Nella voce di menu è stato rilevato uno script: effettuarne il riconoscimento o inserirne "
    "uno nuovo?\r\rYes: Caricamento script (se riconosciuto)\rNo: Proposta composizione "
    "script\rCancel: Annulla operazione");
const QString ScriptNonRiconosciuto =
    QStringLiteral("Lo script non è stato riconosciuto. Verrà ora proposta la composizione di un "
                   "nuovo script");

namespace {

Creatore &creatore()
{
    static Creatore c;
    return c;
}

std::unique_ptr<TWizCSDFinestraForm> creaWizard(QWidget *owner, TTabForm *tabForm)
{
    if (creatore().wizard)
        return creatore().wizard(owner, tabForm);
    return TWizCSDFinestraForm::CreaConTabForm(owner, tabForm);
}

std::unique_ptr<TWizCSDFinestraSceltaForm> creaScelta(QWidget *owner)
{
    if (creatore().scelta)
        return creatore().scelta(owner);
    return std::make_unique<TWizCSDFinestraSceltaForm>(owner);
}

} // namespace

void setCreatore(Creatore c)
{
    creatore() = std::move(c);
}

std::optional<QString> Componi(QWidget *owner, TTabForm *tabForm, const QString &script)
{
    // Declared in this order, the start dialog goes before the wizard.
    const std::unique_ptr<TWizCSDFinestraForm> wizard = creaWizard(owner, tabForm);
    std::unique_ptr<TWizCSDFinestraSceltaForm> scelta;
    bool daCaricare = true;
    if (!script.isEmpty()) {
        switch (
            Messages::show(TMsgDlgType::Confirmation, DomandaScript, TMsgDlgButtons::YesNoCancel)) {
        case mrYes:
            if (wizard->CaricaXML(script)) {
                daCaricare = false;
                break;
            }
            if (Messages::show(TMsgDlgType::Warning, ScriptNonRiconosciuto,
                               TMsgDlgButtons::OkCancel) != mrOk)
                return std::nullopt;
            wizard->Azzera();
            break;
        case mrNo:
            // A wizard just created starts empty: nothing to clear.
            break;
        default:
            return std::nullopt;
        }
    }
    if (daCaricare) {
        scelta = creaScelta(owner);
        if (Modal::exec(scelta.get()) != mrOk)
            return std::nullopt;
        if (scelta->GetTabellaPreimpostata()) {
            // Asked in this order, whatever order arguments are evaluated in.
            const QString database = scelta->GetDatabase();
            const QString tabella = scelta->GetTabella();
            wizard->CaricaTabella(database, tabella);
        }
    }
    if (Modal::exec(wizard.get()) != mrOk)
        return std::nullopt;
    QString composto = wizard->ComponiXML();
    if (composto.isEmpty())
        return std::nullopt;
    return composto;
}

} // namespace WizardVoce
