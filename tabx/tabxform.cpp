#include "tabxform.h"

#include "databaselocation.h"
#include "messages.h"
#include "pathutil.h"

#include <QDir>
#include <QWidget>
#include <exception>

namespace {

const QString kErroreApertura = QStringLiteral("Errore apertura archivio");

// A database path cut after its last "\", "/" or ":": the folder keeps its
// separator, so "srv:alias" and "C:\dati\a.fdb" split as the suite wrote them.
int fineCartella(const QString &percorso)
{
    return qMax(qMax(percorso.lastIndexOf(QLatin1Char('\\')),
                     percorso.lastIndexOf(QLatin1Char('/'))),
                percorso.lastIndexOf(QLatin1Char(':'))) +
           1;
}

void collega(TIBDatabase *db, TIBTransaction *tr, const QStringList &parametri = {})
{
    db->SQLDialect = 3;
    db->DefaultTransaction = tr;
    tr->Params = parametri;
    tr->setDefaultDatabase(db);
}

} // namespace

TTabXForm::TTabXForm(QWidget *AOwner, quint8 modo)
    : QObject(AOwner)
    , MemTabX(new TRxMemoryData(this))
    , IBDatabase1(new TIBDatabase(this))
    , IBTransaction1(new TIBTransaction(this))
    , IBDatabase2(new TIBDatabase(this))
    , IBDatabase3(new TIBDatabase(this))
    , IBDatabase4(new TIBDatabase(this))
    , IBTransaction2(new TIBTransaction(this))
    , IBTransaction3(new TIBTransaction(this))
    , IBTransaction4(new TIBTransaction(this))
    , IBDatabaseUser(new TIBDatabase(this))
    , QueryPravlin(new TIBQuery(this))
    , TransazioneUser(new TIBTransaction(this))
    , IBDatabase5(new TIBDatabase(this))
    , IBTransaction5(new TIBTransaction(this))
    , Modo(modo)
    , m_owner(AOwner)
    , m_directoryProgramma(programFolder())
{
    TFieldDefs &campi = MemTabX->FieldDefs;
    campi.Add(QStringLiteral("Codice"), ftAutoInc);
    campi.Add(QStringLiteral("Tipo"), ftString, 10);
    campi.Add(QStringLiteral("Nome"), ftString, 64);
    campi.Add(QStringLiteral("Numero"), ftLargeint);
    campi.Add(QStringLiteral("Testo"), ftString, 128);
    campi.Add(QStringLiteral("Data"), ftDate);
    campi.Add(QStringLiteral("Memo"), ftMemo);
    campi.Add(QStringLiteral("Livello1"), ftSmallint);
    campi.Add(QStringLiteral("Livello2"), ftSmallint);
    campi.Add(QStringLiteral("Utente"), ftSmallint);

    // Only the first transaction refuses to wait for a lock: the row lock
    // before an edit answers at once instead of hanging the window.
    collega(IBDatabase1, IBTransaction1,
            {QStringLiteral("isc_tpb_concurrency"), QStringLiteral("isc_tpb_nowait")});
    collega(IBDatabase2, IBTransaction2);
    collega(IBDatabase3, IBTransaction3);
    collega(IBDatabase4, IBTransaction4);
    collega(IBDatabaseUser, TransazioneUser);
    collega(IBDatabase5, IBTransaction5);
    QueryPravlin->setDatabase(IBDatabaseUser);
    QueryPravlin->setTransaction(TransazioneUser);

    if (!m_directoryProgramma.endsWith(QLatin1Char('/')))
        m_directoryProgramma += QLatin1Char('/');

    if (Modo != 3) {
        SetVerde(m_directoryProgramma + QStringLiteral("Grafica/Verde.bmp"));
        SetRosso(m_directoryProgramma + QStringLiteral("Grafica/Rosso.bmp"));
        QDir(m_directoryProgramma).mkdir(QStringLiteral("user"));
        if (!ApriDatabase(IBDatabaseUser, m_directoryProgramma + QStringLiteral("user/"),
                          QStringLiteral("user.fdb"), QString(), QString(), m_owner))
            Messages::error(QStringLiteral("Errore inizializzazione database utenti"));
        // Without the user database the probe raises, and the object is not
        // made: its children go with the half-built object.
        creaTabScript();
    }
    MemTabX->Open();
}

TTabXForm::~TTabXForm() = default;

void TTabXForm::creaTabScript()
{
    QueryPravlin->Close();
    QueryPravlin->SQL = QStringList{QStringLiteral("SELECT RDB$RELATION_NAME FROM RDB$RELATIONS"),
                                    QStringLiteral("WHERE RDB$RELATION_NAME='TABSCRIPT'")};
    QueryPravlin->Open();
    if (!QueryPravlin->IsEmpty())
        return;
    QueryPravlin->Close();
    QueryPravlin->SQL = QStringList{QStringLiteral("CREATE TABLE TABSCRIPT("),
                                    QStringLiteral("PROGETTO VARCHAR(15) NOT NULL,"),
                                    QStringLiteral("SCRIPTFORM VARCHAR(15) NOT NULL,"),
                                    QStringLiteral("CONTESTO SMALLINT NOT NULL,"),
                                    QStringLiteral("UTENTE VARCHAR(15) NOT NULL,"),
                                    QStringLiteral("DESCRIZIONESITUAZIONE BLOB,"),
                                    QStringLiteral("SCRIPT BLOB,"),
                                    QStringLiteral("MODIFICATODAUTENTE SMALLINT,"),
                                    QStringLiteral("DATAULTIMAMODIFICA DATE,"),
                                    QStringLiteral("STATUS SMALLINT,"),
                                    QStringLiteral("CONSTRAINT KIVTAB_CHIAVEPRIMARIA PRIMARY KEY "
                                                   "(PROGETTO,SCRIPTFORM,CONTESTO,UTENTE));")};
    try {
        QueryPravlin->ExecSQL();
        TransazioneUser->Commit();
    } catch (const std::exception &) {
        // Nothing of the failed definition may reach a later commit.
        if (TransazioneUser->InTransaction()) {
            try {
                TransazioneUser->Rollback();
            } catch (const std::exception &) {
            }
        }
        Messages::error(
            QStringLiteral("Errore interno di CREATE: impossibile creare la tabella TABSCRIPT"));
    }
}

QString TTabXForm::GetV(const QString &Nome)
{
    if (!MemTabX->Locate(QStringLiteral("Nome"), Nome))
        return QString();
    return MemTabX->FieldByName(QStringLiteral("Testo"))->AsString();
}

void TTabXForm::connettiPerNome(TIBDatabase *database, const QString &percorso)
{
    // An empty path would send the search to the working folder and the
    // first-run prompt, and leave a dati.ini there.
    if (percorso.isEmpty()) {
        Messages::error(kErroreApertura);
        return;
    }
    const int taglio = fineCartella(percorso);
    if (!ApriDatabase(database, percorso.left(taglio), percorso.mid(taglio), QString(), QString(),
                      m_owner))
        Messages::error(kErroreApertura);
}

void TTabXForm::ConnettiDatabase0(const QString &Percorso)
{
    connettiPerNome(IBDatabase1, Percorso);
}

void TTabXForm::ConnettiDatabase1(const QString &Nome)
{
    connettiPerNome(IBDatabase1, GetV(Nome));
}

void TTabXForm::ConnettiDatabase2(const QString &Nome)
{
    connettiPerNome(IBDatabase2, GetV(Nome));
}

void TTabXForm::ConnettiDatabase3(const QString &Nome)
{
    connettiPerNome(IBDatabase3, GetV(Nome));
}

void TTabXForm::ConnettiDatabase4(const QString &Nome)
{
    connettiPerNome(IBDatabase4, GetV(Nome));
}

void TTabXForm::ConnettiDatabase5(const QString &Nome)
{
    connettiPerNome(IBDatabase5, GetV(Nome));
}
