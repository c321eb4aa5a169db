#include "schemaupgrade.h"

#include "guard.h"
#include "ibsql.h"
#include "messages.h"

#include <QStringList>
#include <QVector>

namespace SchemaUpgrade {
namespace {

struct RequiredTable
{
    const char *name;
    QStringList columns;
};

const QVector<RequiredTable> &requiredTables()
{
    static const QVector<RequiredTable> tables = {
        {"DETTMENU",
         {"PROGRAMMA", "MENU", "MENUPREC", "LIVELLOMENU", "DESCRIZIONE", "DLL", "FUNZIONE", "NOTE",
          "LIVELLO2VERSIONE", "PARAMETRI", "VISIBILE", "VOCERAPIDA"}},
        {"DETTPROF", {"PROFILO", "PROGRAMMA", "MENU", "LIVELLO"}},
        {"DETTPROGETTI", {"PROGETTO", "PROGRAMMA"}},
        {"VELMOLOG",
         {"CODICESESSIONE", "DATAAPERTURA", "ORAAPERTURA", "CODICEUTENTE", "DATACHIUSURA",
          "ORACHIUSURA"}},
        {"VELMOLOGFUNZ",
         {"CODICESESSIONE", "DATACHIAMATAFUNZIONE", "ORACHIAMATAFUNZIONE", "FUNZIONECHIAMATA"}},
        {"PROFILI", {"CODICE", "DESCRIZIONE", "LIVELLOPREDEFINITO", "NOTE", "TIPO"}},
        {"PROGETTI", {"CODICE", "NOME", "DESCRIZIONE"}},
        {"PROGRAMMI", {"CODICE", "NOME", "DESCRIZIONE", "ICONA"}},
        {"TABSCRIPT",
         {"PROGETTO", "SCRIPTFORM", "CONTESTO", "UTENTE", "DESCRIZIONESITUAZIONE", "SCRIPT",
          "MODIFICATODAUTENTE", "DATAULTIMAMODIFICA", "STATUS"}},
        {"TABPRAVLIN", {"UTENTE", "INTESTAZIONE", "PARAMETRO", "VALORE", "PROGRESSIVO"}},
        {"UTENTI",
         {"CODICE", "NOMEUTENTE", "PWDUTENTE", "PROFILOSICUREZZA", "PROGETTO", "DESCRIZIONE",
          "EMAIL", "NOTE", "INFO1", "INFO2", "PRAVLIN", "DITTA", "MANTIENISTDMIN",
          "ABILITASCELTADISCO", "ULTIMODISCOSCELTO", "ACCESSOPRAVLIN"}},
    };
    return tables;
}

void open(TIBSQL *q, const QStringList &lines)
{
    q->Close();
    q->SQL = lines;
    q->ExecQuery();
}

// One upgrade run: probes and statements on the auxiliary statement, with the
// success flag that decides between commit and rollback at the end.
class Run
{
public:
    explicit Run(TIBSQL *q)
        : m_q(q)
    {
    }

    // A probe that fails is reported in its step's words and the step's
    // statement is not tried; the run ends in a rollback.
    bool probe(const QStringList &lines, bool counting, const QString &errorText)
    {
        try {
            open(m_q, lines);
            const bool found = !m_q->Eof() && (!counting || m_q->Fields(0).AsInteger() != 0);
            m_q->Close();
            return found;
        } catch (const std::exception &) {
            m_ok = false;
            Messages::error(errorText);
            return true;
        }
    }
    bool anyRow(const QStringList &lines, const QString &errorText)
    {
        return probe(lines, false, errorText);
    }
    bool counted(const QStringList &lines, const QString &errorText)
    {
        return probe(lines, true, errorText);
    }

    void execute(const QStringList &statement, const QString &errorText, bool withDetail = false)
    {
        try {
            open(m_q, statement);
            m_q->Close();
        } catch (const std::exception &e) {
            m_ok = false;
            Messages::error(withDetail ? errorText + QLatin1Char('\r') + Guard::messageOf(e)
                                       : errorText);
        }
    }

    void finish()
    {
        TIBTransaction *tr = m_q->Transaction();
        if (!tr || !tr->InTransaction())
            return;
        Guard::run([&] { m_ok ? tr->CommitRetaining() : tr->RollbackRetaining(); });
    }

private:
    TIBSQL *m_q;
    bool m_ok = true;
};

QStringList fieldProbe(const QString &table, const QString &field)
{
    return {"SELECT *", "FROM RDB$RELATION_FIELDS", "WHERE (RDB$RELATION_NAME='" + table + "')",
            "AND(RDB$FIELD_NAME='" + field + "')"};
}

QStringList fieldCount(const QString &table, const QString &field)
{
    return {"SELECT", "  COUNT(*)",
            "FROM",   "  RDB$RELATION_FIELDS",
            "WHERE",  "  RDB$RELATION_NAME='" + table + "'",
            "  AND",  "  RDB$FIELD_NAME='" + field + "'"};
}

QStringList tableCount(const QString &table)
{
    return {"SELECT",          "  COUNT(*)", "FROM",
            "  RDB$RELATIONS", "WHERE",      "  RDB$RELATION_NAME='" + table + "'"};
}

QString addFieldError(const QString &field, const QString &table)
{
    return QStringLiteral("Errore interno durante l'aggiunta del campo %1 alla tabella %2")
        .arg(field, table);
}

// A column announced before it is added.
void addAnnouncedField(Run &run, const QString &table, const QString &field, const QString &type)
{
    if (run.anyRow(fieldProbe(table, field), addFieldError(field, table)))
        return;
    Messages::warning(
        QStringLiteral("Manca il campo %1 alla tabella %2. Verrà ora aggiunto").arg(field, table));
    run.execute({"ALTER TABLE " + table, "ADD " + field + " " + type}, addFieldError(field, table));
}

// A column added without a word.
void addSilentField(Run &run, const QString &table, const QString &field, const QString &type)
{
    if (run.counted(fieldCount(table, field), addFieldError(field, table)))
        return;
    run.execute({"ALTER TABLE " + table, "ADD " + field + " " + type}, addFieldError(field, table));
}

} // namespace

bool CheckTabellePravlin(TIBSQL *q)
{
    for (const RequiredTable &t : requiredTables()) {
        const QString name = QString::fromLatin1(t.name);
        open(q, {"SELECT RDB$RELATION_NAME FROM RDB$RELATIONS",
                 "WHERE RDB$RELATION_NAME='" + name + "'"});
        const bool exists = !q->Eof();
        q->Close();
        if (!exists)
            return false;
        open(q, {"SELECT * FROM " + name});
        for (const QString &column : t.columns) {
            if (!q->FindField(column)) {
                q->Close();
                return false;
            }
        }
        q->Close();
    }
    return true;
}

void AggiornaTracciati12072012(TIBSQL *q)
{
    Run run(q);

    addAnnouncedField(run, "UTENTI", "UTENTEINATTIVO", "SMALLINT");

    const QString generatorError = QStringLiteral(
        "Errore interno durante la creazione del generatore IDFINESTRAVELMOLOGFUNZCOUNTER");
    if (!run.anyRow({"SELECT *", "FROM RDB$GENERATORS",
                     "WHERE RDB$GENERATOR_NAME='IDFINESTRAVELMOLOGFUNZCOUNTER'"},
                    generatorError)) {
        Messages::warning(QStringLiteral(
            "Manca il generatore IDFINESTRAVELMOLOGFUNZCOUNTER. Verrà ora aggiunto"));
        run.execute({"CREATE GENERATOR IDFINESTRAVELMOLOGFUNZCOUNTER"}, generatorError);
    }

    addAnnouncedField(run, "VELMOLOGFUNZ", "HANDLEFINESTRA", "INTEGER");
    addAnnouncedField(run, "VELMOLOGFUNZ", "IDFINESTRA", "INTEGER");
    addSilentField(run, "UTENTI", "LINGUA1", "INTEGER");
    addSilentField(run, "UTENTI", "LINGUA2", "INTEGER");

    const QString componentError =
        QStringLiteral("Errore interno durante la creazione della tabella LINGUECOMPONENT");
    if (!run.counted(tableCount("LINGUECOMPONENT"), componentError)) {
        run.execute({"CREATE TABLE LINGUECOMPONENT(", "CODICEPROGETTO INTEGER NOT NULL,",
                     "CODICESITUAZIONE INTEGER NOT NULL,", "COMPONENTNAME VARCHAR(128) NOT NULL,",
                     "CODICELINGUA INTEGER NOT NULL,", "TESTO VARCHAR(128),", "NOTE VARCHAR(128),",
                     "CONSTRAINT LINGUECOMPONENT_PK PRIMARY "
                     "KEY(CODICEPROGETTO,CODICESITUAZIONE,COMPONENTNAME,CODICELINGUA)",
                     ")"},
                    componentError);
    }
    const QString menuError =
        QStringLiteral("Errore interno durante la creazione della tabella LINGUEMENU");
    if (!run.counted(tableCount("LINGUEMENU"), menuError)) {
        run.execute({"CREATE TABLE LINGUEMENU(", "PROGRAMMA SMALLINT NOT NULL,",
                     "MENU SMALLINT NOT NULL,", "MENUPREC SMALLINT,", "LIVELLOMENU SMALLINT,",
                     "LINGUA INTEGER NOT NULL,", "DESCRIZIONE VARCHAR(64),",
                     "CONSTRAINT LINGUEMENU_PK PRIMARY KEY(PROGRAMMA,MENU,LINGUA)", ")"},
                    menuError, true);
    }

    addSilentField(run, "PROGETTI", "MODOMENUSISTEMA", "SMALLINT");

    // Databases made before parameters kept their order lack PROGRESSIVO.
    if (run.counted(tableCount("TABPRAVLIN"), addFieldError("PROGRESSIVO", "TABPRAVLIN")))
        addSilentField(run, "TABPRAVLIN", "PROGRESSIVO", "INTEGER");

    run.finish();
}

} // namespace SchemaUpgrade
