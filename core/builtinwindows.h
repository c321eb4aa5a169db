#pragma once

class TIBDatabase;
class TIBSQL;
class TIBTransaction;

// The menu items that show one of the fixed window scripts through the forms
// library, on the user database. Each answers true when the library was
// called; a missing library or export is silent.
namespace BuiltinWindows {

// Makes sure the table PULSANTONI and its key generator exist, creating what
// is missing on the given statement and transaction (committed retaining),
// then shows the table's window. A creation that fails is rolled back
// (retaining), reported in an error box, and nothing is shown. A failing
// probe raises as it is.
bool GestionePulsantoni(TIBSQL &query, TIBDatabase &database, TIBTransaction &transaction);

// The language tables are created at sign-in and are not checked here.
bool LingueComponent(const TIBDatabase &database);
bool LingueMenu(const TIBDatabase &database);

} // namespace BuiltinWindows
