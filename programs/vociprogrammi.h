#pragma once

class TBaseMainForm;

// The main menu's items whose windows live in this layer.
namespace VociProgrammi {

// Each item opens its window modally, owned by the main window and given the
// archive object's variable, and frees it when it closes.
void Installa(TBaseMainForm &main);

} // namespace VociProgrammi
