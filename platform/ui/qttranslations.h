#pragma once

// Qt's own windows and controls (file dialogs, the edit boxes' context menu)
// speak the tool's language: Qt's Italian catalogue is installed on the
// application once. False when the catalogue is not on this machine; Qt's
// texts then stay English.
bool loadQtItalian();
