#pragma once

#include <QString>
#include <functional>
#include <memory>
#include <optional>

class QWidget;
class TTabForm;
class TWizCSDFinestraForm;
class TWizCSDFinestraSceltaForm;

// How a menu entry gets its window script from the window wizard: the
// wizard and its start dialog, each created for one use and freed on every
// path, asked in the order the menu grid editor has always asked them.
namespace WizardVoce {

// The one way the two windows are created; tests put recording stand-ins in
// their place, as they answer the message boxes.
struct Creatore
{
    std::function<std::unique_ptr<TWizCSDFinestraForm>(QWidget *owner, TTabForm *tabForm)> wizard;
    std::function<std::unique_ptr<TWizCSDFinestraSceltaForm>(QWidget *owner)> scelta;
};
// A creator left empty (or a part of it) restores the real windows.
void setCreatore(Creatore creatore);

extern const QString DomandaScript;
extern const QString ScriptNonRiconosciuto;

// The script composed for an entry whose parameter text is `script`:
// loaded from that text or started anew (free or from a reference table),
// edited in the wizard and composed. Nothing when the administrator stopped
// at any point or the composition failed (it has said why): the entry is
// then to be left as it was.
std::optional<QString> Componi(QWidget *owner, TTabForm *tabForm, const QString &script);

} // namespace WizardVoce
