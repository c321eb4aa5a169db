#include "tabxform.h"

#include "ibsql.h"
#include "messages.h"
#include "suitelibraries.h"

#include <QDate>
#include <exception>

// The script store in TABSCRIPT of the user database, and the calls into the
// suite's libraries. Keys and scripts are bound, and a script goes in as a
// blob of any length holding any character.

namespace {

const QStringList &condizioneScript()
{
    static const QStringList righe = {QStringLiteral("WHERE (PROGETTO=:PROGETTO)AND"),
                                      QStringLiteral("(SCRIPTFORM=:SCRIPTFORM)AND"),
                                      QStringLiteral("(CONTESTO=:CONTESTO)AND"),
                                      QStringLiteral("(UTENTE=:UTENTE)")};
    return righe;
}

} // namespace

void TTabXForm::IniScriptForm(const QString &Progetto, const QString &ScriptForm,
                              const QString &Contesto, const QString &Utente, const QString &Script,
                              const QString &Flag)
{
    TIBSQL q;
    q.setDatabase(IBDatabaseUser);
    q.setTransaction(TransazioneUser);
    const auto legaChiave = [&] {
        q.ParamByName(QStringLiteral("PROGETTO")).setAsString(Progetto);
        q.ParamByName(QStringLiteral("SCRIPTFORM")).setAsString(ScriptForm);
        q.ParamByName(QStringLiteral("CONTESTO")).setAsString(Contesto);
        q.ParamByName(QStringLiteral("UTENTE")).setAsString(Utente);
    };
    q.SQL = QStringList{QStringLiteral("SELECT SCRIPT FROM TABSCRIPT")} + condizioneScript();
    q.Prepare();
    legaChiave();
    q.ExecQuery();
    const bool esiste = !q.Eof();
    const bool vuoto = !esiste || q.Fields(0).AsBytes().isEmpty();
    q.Close();
    if (esiste && !vuoto && Flag != QLatin1String("1"))
        return;

    if (esiste) {
        q.SQL =
            QStringList{QStringLiteral("UPDATE TABSCRIPT"), QStringLiteral("SET SCRIPT=:SCRIPT,"),
                        QStringLiteral("DATAULTIMAMODIFICA=:DATAULTIMAMODIFICA")} +
            condizioneScript();
    } else {
        q.SQL = QStringList{
            QStringLiteral("INSERT INTO TABSCRIPT"),
            QStringLiteral("VALUES (:PROGETTO,:SCRIPTFORM,:CONTESTO,:UTENTE,NULL,:SCRIPT,NULL,"
                           ":DATAULTIMAMODIFICA,NULL);")};
    }
    q.Prepare();
    legaChiave();
    q.ParamByName(QStringLiteral("SCRIPT")).setAsString(Script);
    q.ParamByName(QStringLiteral("DATAULTIMAMODIFICA")).setAsDate(QDate::currentDate());
    q.ExecQuery();
    q.Close();
    TransazioneUser->Commit();
}

void TTabXForm::LanciaStampaConDll(const QString &Titolo, const QString &NomeReport,
                                   TDataSet *DataSet)
{
    SetV(QStringLiteral("TitoloStampa"), Titolo);
    SetV(QStringLiteral("NomeReport"), NomeReport);
    // The library reaches this object through a variable of the caller's.
    TTabXForm *oggetto = this;
    try {
        SuiteLibraries::ShowTolqPrint(DataSet, &oggetto);
    } catch (...) {
        Messages::error(QStringLiteral("Errore nell'accesso alla DLL Tolq delle stampe"));
    }
}

qint32 TTabXForm::AvviaFunzXDll(const QString &Dll, const QString &Funzione, qint32 Parametro)
{
    SuiteLibraries::CallMenuEntry(Dll, Funzione, Parametro);
    return 0;
}

bool TTabXForm::ScritturaHandleDiApertura(qint32 IdFinestra, qint32 Handle)
{
    try {
        if (TransazioneUser->InTransaction())
            TransazioneUser->Rollback();
        TransazioneUser->StartTransaction();
        QueryPravlin->Close();
        QueryPravlin->SQL =
            QStringList{QStringLiteral("UPDATE VELMOLOGFUNZ SET HANDLEFINESTRA=:HANDLEFINESTRA"),
                        QStringLiteral("WHERE IDFINESTRA=:IDFINESTRA")};
        QueryPravlin->ParamByName(QStringLiteral("HANDLEFINESTRA")).setAsInteger(Handle);
        QueryPravlin->ParamByName(QStringLiteral("IDFINESTRA")).setAsInteger(IdFinestra);
        QueryPravlin->ExecSQL();
        TransazioneUser->CommitRetaining();
        return true;
    } catch (const std::exception &) {
        return false;
    }
}
