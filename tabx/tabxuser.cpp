#include "tabxform.h"

#include "ibsql.h"
#include "inifile.h"
#include "stringroutines.h"

// Every value reaches the statements as a parameter, so a name holding an
// apostrophe is looked up like any other and cannot change the condition.
// Names are compared through a cast wider than any column: a text longer
// than NOMEUTENTE finds no user instead of failing with a truncation error.

namespace {

QString confrontoNome()
{
    return QStringLiteral("WHERE (NOMEUTENTE=CAST(:NOMEUTENTE AS VARCHAR(32765)))");
}

} // namespace

QString TTabXForm::primoValore(const QStringList &sql, const std::function<void(TIBQuery *)> &bind)
{
    QueryPravlin->Close();
    QueryPravlin->SQL = sql;
    bind(QueryPravlin);
    QueryPravlin->Open();
    if (QueryPravlin->IsEmpty())
        return QString();
    return QueryPravlin->Fields(0)->AsString();
}

QString TTabXForm::valoreUtentePerNome(const QString &colonna, const QString &nome)
{
    // Of two users with one name, the lowest code answers, whatever order
    // the server happens to return them in.
    return primoValore(
        {QStringLiteral("SELECT ") + colonna + QStringLiteral(" FROM UTENTI"), confrontoNome(),
         QStringLiteral("ORDER BY CODICE")},
        [&](TIBQuery *q) { q->ParamByName(QStringLiteral("NOMEUTENTE")).setAsString(nome); });
}

QString TTabXForm::valoreUtentePerCodice(const QString &colonna, qint32 codice)
{
    return primoValore(
        {QStringLiteral("SELECT ") + colonna + QStringLiteral(" FROM UTENTI"),
         QStringLiteral("WHERE (CODICE=:CODICE)")},
        [&](TIBQuery *q) { q->ParamByName(QStringLiteral("CODICE")).setAsInteger(codice); });
}

void TTabXForm::riavviaTransazioneUser()
{
    // A fresh snapshot: another program may have changed the user since.
    if (TransazioneUser->InTransaction())
        TransazioneUser->Commit();
    TransazioneUser->StartTransaction();
}

void TTabXForm::CaricaUser(QStringList &Lista)
{
    if (Modo == 1) {
        // The INI routine replaces its list; this one appends.
        QStringList nomi;
        CaricaNomiUtentiDaIni(nomi, m_directoryProgramma);
        Lista += nomi;
    } else if (Modo == 0) {
        QueryPravlin->Close();
        QueryPravlin->SQL = QStringList{QStringLiteral("SELECT NOMEUTENTE FROM UTENTI"),
                                        QStringLiteral("ORDER BY CODICE")};
        QueryPravlin->Open();
        TField *nome = QueryPravlin->Fields(0);
        for (QueryPravlin->First(); !QueryPravlin->Eof(); QueryPravlin->Next())
            Lista.append(nome->AsString());
    }
}

bool TTabXForm::VerificaPasswordUser(const QString &NomeUtente, const QString &Password)
{
    if (Modo != 0)
        return true;
    QueryPravlin->Close();
    QueryPravlin->SQL = QStringList{QStringLiteral("SELECT PWDUTENTE FROM UTENTI"), confrontoNome(),
                                    QStringLiteral("ORDER BY CODICE")};
    QueryPravlin->ParamByName(QStringLiteral("NOMEUTENTE")).setAsString(NomeUtente);
    QueryPravlin->Open();
    if (QueryPravlin->IsEmpty())
        return false;
    // A user without a stored password gets in with any.
    const QString salvata = QueryPravlin->Fields(0)->AsString();
    return salvata.isEmpty() || Password == salvata;
}

bool TTabXForm::SetUserPerNum(qint32 Numero)
{
    // Name, password and company from one fresh snapshot: the transaction
    // may have stood open since the object was made, blind to users added
    // by other programs since.
    if (Modo == 0)
        riavviaTransazioneUser();
    NumUser = Numero;
    NomeUser = NomeUserDaCodice(Numero);
    // By code, not by name: of two users with one name each must get its
    // own password and company.
    PwdUser = Modo == 0 ? valoreUtentePerCodice(QStringLiteral("PWDUTENTE"), Numero) : QString();
    if (Modo == 1) {
        Intestazione = TIniFile(fileIniUtente())
                           .ReadString(QStringLiteral("STATUS MACCHINA"),
                                       QStringLiteral("UltimaDitta"), QString());
    } else if (Modo == 0) {
        Intestazione = valoreUtentePerCodice(QStringLiteral("DITTA"), Numero);
        CaricaPravlin(Numero);
    }
    return !NomeUser.isEmpty();
}

bool TTabXForm::SetUserPerNome(const QString &Nome)
{
    return SetUserPerNum(CodiceUser(Nome));
}

QString TTabXForm::PasswordUser(const QString &Nome)
{
    if (Modo != 0)
        return QString();
    return valoreUtentePerNome(QStringLiteral("PWDUTENTE"), Nome);
}

qint32 TTabXForm::CodiceUser(const QString &Nome)
{
    if (Modo != 0)
        return 0;
    return valoreUtentePerNome(QStringLiteral("CODICE"), Nome).toInt();
}

QString TTabXForm::DittaUser(const QString &Nome)
{
    if (Modo != 0)
        return QString();
    riavviaTransazioneUser();
    return valoreUtentePerNome(QStringLiteral("DITTA"), Nome);
}

QString TTabXForm::NomeUserDaCodice(qint32 Numero)
{
    if (Modo == 1) {
        // The suite's programs name the per-user files by this very rule,
        // odd as it is ("12 VERDI" answers for user 1 too); another rule
        // would read and write other files than theirs.
        QStringList utenti;
        CaricaUser(utenti);
        const QString cifre = QString::number(Numero);
        QString nome;
        for (const QString &voce : utenti) {
            if (voce.contains(cifre))
                nome = voce.mid(2);
        }
        return nome;
    }
    if (Modo != 0)
        return QString();
    return valoreUtentePerCodice(QStringLiteral("NOMEUTENTE"), Numero);
}

QString TTabXForm::fileIniUtente() const
{
    return m_directoryProgramma + QStringLiteral("NOMIDIT/USERCFG/") + QString::number(NumUser) +
           QLatin1Char(' ') + NomeUser + QStringLiteral(".INI");
}

qint32 TTabXForm::ProfiloSicurezzaUtente()
{
    riavviaTransazioneUser();
    return primoValore(
               {QStringLiteral("SELECT PROFILOSICUREZZA"), QStringLiteral("FROM UTENTI"),
                QStringLiteral("WHERE CODICE=:CODICE")},
               [&](TIBQuery *q) { q->ParamByName(QStringLiteral("CODICE")).setAsInteger(NumUser); })
        .toInt();
}

QString TTabXForm::DecodificaNomeUser(qint32 Codice)
{
    // One-way and unscanned, as the suite runs it; the code goes in by
    // position.
    TIBSQL q;
    q.setDatabase(IBDatabaseUser);
    q.setTransaction(TransazioneUser);
    q.ParamCheck = false;
    q.SQL = QStringList{QStringLiteral("SELECT NOMEUTENTE"), QStringLiteral("FROM UTENTI"),
                        QStringLiteral("WHERE CODICE=?")};
    q.Prepare();
    q.Params()[0].setAsInteger(Codice);
    q.ExecQuery();
    const QString nome = q.Eof() ? QString() : q.Fields(0).AsString();
    q.Close();
    return nome;
}
