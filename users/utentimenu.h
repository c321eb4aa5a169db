#pragma once

class TBaseMainForm;

// The main window's items that open the editors of this folder. The main
// window (core/) cannot link them, so the program installs them on its
// actions at start-up.
namespace UtentiMenu {

// "Gestione Utenti" and "Gestione Profili Sicurezza": the users editor and
// the profiles editor, owned by the main window and given its archive
// object's variable, shown modally and freed.
void Installa(TBaseMainForm &finestra);

} // namespace UtentiMenu
