#include "utentiverifica.h"

#include "guard.h"
#include "ibsql.h"
#include "messages.h"
#include "pravlinrows.h"
#include "tabxform.h"

#include <QVector>

namespace Utenti {

QString AnomaliaDati(const TDatiUtente &dati)
{
    // An empty profile is allowed only to a user kept at the minimum
    // standard.
    if (dati.profilo.isEmpty() && !dati.mantieniStdMin)
        return QStringLiteral("Si prega di specificare un profilo sicurezza");
    if (dati.progetto.isEmpty())
        return QStringLiteral("Si prega di specificare un progetto");
    if (dati.nomeUtente.isEmpty())
        return QStringLiteral("Si prega di specificare un nome utente");
    if (dati.ditta.isEmpty())
        return QStringLiteral("Si prega di specificare una ditta");
    return QString();
}

bool Verifica(const TDatiUtente &dati)
{
    const QString anomalia = AnomaliaDati(dati);
    if (!anomalia.isEmpty()) {
        Messages::warning(anomalia);
        return false;
    }
    return Pravlin::VerificaPravlin(dati.pravlin, dati.ditta);
}

QStringList RigheHelpVerifica()
{
    return {
        QStringLiteral("Controlli effettuati:"),
        QStringLiteral("- Deve essere specificato un \"Nome Utente\""),
        QStringLiteral("- Deve essere specificata una \"Ditta\""),
        QStringLiteral("- Deve essere specificato un \"Progetto\""),
        QStringLiteral("- Se non abilitato \"Mantieni Standard Minimo\", deve essere specificato "
                       "un \"Profilo Sicurezza\""),
        QStringLiteral("- Nel Pravlin deve essere presente almento la configurazione della "
                       "\"Ditta\" corrente specificata"),
        QStringLiteral("- Nel Pravlin il parametro \"Directory bin\", quando specificato, deve "
                       "terminare con lo slash \"\\\""),
    };
}

QString Asterischi(const QString &password)
{
    return QString(password.size(), QLatin1Char('*'));
}

void RicostruisciPravlin(TTabXForm &tabx, TIBSQL &codici)
{
    QVector<qint32> utenti;
    codici.Close();
    codici.SQL = QStringList{QStringLiteral("SELECT DISTINCT(CODICE) FROM UTENTI")};
    for (codici.ExecQuery(); !codici.Eof(); codici.Next())
        utenti.append(codici.Fields(0).AsInteger());
    codici.Close();

    // Only the users whose text the rows no longer make are written, each
    // committed on its own; when the one pass fails, every user goes
    // through its own rebuild, which shows its own failure.
    QVector<qint32> daRiscrivere;
    try {
        daRiscrivere = tabx.PravlinDaRiscrivere(utenti);
    } catch (const std::exception &) {
        daRiscrivere = utenti;
    }
    for (qint32 utente : daRiscrivere) {
        // A failed update is shown by ScriviPravlin itself; a failure it
        // lets through (reading the rows) is shown here. Either way the
        // next user follows.
        try {
            tabx.ScriviPravlin(utente);
        } catch (const std::exception &e) {
            Messages::error(Guard::messageOf(e));
        }
    }
}

} // namespace Utenti
