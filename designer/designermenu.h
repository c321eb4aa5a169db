#pragma once

class TBaseMainForm;

// The main window's items that open the windows of this folder, installed by
// the program at start-up as the other folders install theirs.
namespace DesignerMenu {

// "Progetti CSD", "Situazioni Form" and "Situazioni CSDGrid": past the check
// that the CSD projects database is connected, each editor is owned by the
// main window, given its archive object, shown modally and freed.
void Installa(TBaseMainForm &finestra);

} // namespace DesignerMenu
