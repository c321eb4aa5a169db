#pragma once

#include <QString>
#include <QtGlobal>

class QObject;

// Calls into the suite's function libraries. Each call loads its library by
// file name, finds the export, calls it and goes on; the tool never links
// them and copes with any of them missing. Texts are passed as NUL-terminated
// Windows-1252 bytes, numbers as 32-bit integers; the exports' results carry
// nothing for the tool and are ignored.
namespace SuiteLibraries {

// The forms library and the print library, as the suite names them.
extern const char *const FormsLibrary; // "Norvak.dll"
extern const char *const PrintLibrary; // "Tolq"

// Shows the window that the script describes for the user (0 when no user was
// chosen). The library is released after the call. A missing library or
// export is reported in a warning and answers false; true once the export was
// called.
bool ShowCSDFormY(qint32 codiceUtente, const QString &script);

// Shows the ready-made editing window of a script on the given database
// connection. The library stays loaded; a missing library or export is
// silent. True when the export was called.
bool ShowCSDFormStatic(const QString &databaseName, const QString &script);

// Prints a dataset through the print library: "ShowTolq11FormD" for a
// TIBQuery, "ShowTolq11MemFormD" for any other dataset. The library receives
// the dataset's QObject pointer and the address of the caller's variable that
// holds the table-services object. Released after the call; silent when
// missing. True when an export was called.
bool ShowTolqPrint(QObject *dataset, void *tabXVariable);

// Runs a menu entry's function (library file and export as stored in the
// entry) with its one parameter. The library stays loaded; silent when
// missing. True when the export was called.
bool CallMenuEntry(const QString &library, const QString &function, qint32 parameter);

} // namespace SuiteLibraries
