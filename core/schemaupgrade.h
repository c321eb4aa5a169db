#pragma once

class TIBSQL;

// The schema check and the additive upgrade run at every sign-in, both on the
// main window's auxiliary statement bound to the user database and its
// shared transaction.
namespace SchemaUpgrade {

// True when every table the editors need exists with every column they read.
// Shows nothing.
bool CheckTabellePravlin(TIBSQL *queryAux);

// Adds what later versions introduced; reports each problem itself. One failed
// statement discards every addition of the run.
void AggiornaTracciati12072012(TIBSQL *queryAux);

} // namespace SchemaUpgrade
