#pragma once

// Qt's own windows and controls (file dialogs, the edit boxes' context menu)
// speak the tool's language: Qt's Italian catalogue is installed on the
// application once. False when the catalogue is not on this machine; Qt's
// texts then stay English.
bool loadQtItalian();

// Dates Qt writes on its own (the file dialogs' "Data modifica") and every
// QLocale() in Italian, whatever the desktop's language. Called before the
// application object exists: Qt reads the system locale from the
// environment once. An explicit LC_ALL is the user's choice and stays.
void useItalianLocale();
