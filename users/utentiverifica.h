#pragma once

#include <QString>
#include <QStringList>

class TIBSQL;
class TTabXForm;

// What the users editor checks and shows about a user, apart from its
// window: the validation before a save, its help text, the password as the
// grid draws it and the rebuild of every user's parameter text.
namespace Utenti {

// The boxes the validation reads, as the editor shows them.
struct TDatiUtente
{
    QString profilo;
    bool mantieniStdMin = false;
    QString progetto;
    QString nomeUtente;
    QString ditta;
    QString pravlin;
};

// The warning of the first failing step among the first four (profile,
// project, user name, company); empty when they all pass.
QString AnomaliaDati(const TDatiUtente &dati);
// The seven steps in order; the first failure shows its warning and answers
// false. The last three are the checks of the parameter text.
bool Verifica(const TDatiUtente &dati);

// The lines of the help box beside "Verifica Dati", in order.
QStringList RigheHelpVerifica();

// One "*" per character: a password never reaches a view in clear.
QString Asterischi(const QString &password);

// Rebuilds every user's parameter text from the user's rows: one
// ScriviPravlin, committed on the table-services object's own connection,
// for each code of UTENTI whose stored text the rows no longer make. A user
// whose rebuild fails is reported and the others follow. `codici` reads the
// codes in the caller's transaction, which should see the users there are.
void RicostruisciPravlin(TTabXForm &tabx, TIBSQL &codici);

} // namespace Utenti
