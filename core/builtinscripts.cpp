#include "builtinscripts.h"

namespace BuiltinScripts {
namespace {

// The forms library's own project code for these windows.
constexpr int CodiceProgetto = 514;

QString element(const QString &tag, const QString &value)
{
    return QLatin1Char('<') + tag + QLatin1Char('>') + value + QStringLiteral("</") + tag +
           QLatin1Char('>');
}

} // namespace

QString buildScript(const ScriptDefinition &d)
{
    QString s = QStringLiteral("<CSDForm>");
    s += element(QStringLiteral("NomeTabella"), d.nomeTabella);
    s += element(QStringLiteral("CodiceProgettoForm"), QString::number(CodiceProgetto));
    s += element(QStringLiteral("SituazioneForm"), QString::number(d.situazioneForm));
    s += element(QStringLiteral("CodiceProgetto"), QString::number(CodiceProgetto));
    s += element(QStringLiteral("SituazioneCSDGrid"), QString::number(d.situazioneCSDGrid));
    s += QStringLiteral("<CampiVis>");
    for (const ScriptColumn &c : d.campi) {
        s += QStringLiteral("<CampoVis>");
        s += element(QStringLiteral("Nome"), c.nome);
        s += element(QStringLiteral("Etichetta"), c.etichetta);
        s += QStringLiteral("</CampoVis>");
    }
    s += QStringLiteral("</CampiVis>");
    if (!d.generatoreNome.isEmpty()) {
        s += element(QStringLiteral("GeneratoreCampo"), d.generatoreCampo);
        s += element(QStringLiteral("GeneratoreNome"), d.generatoreNome);
    }
    s += QStringLiteral("</CSDForm>");
    return s;
}

QString pulsantoniScript()
{
    ScriptDefinition d;
    d.nomeTabella = QStringLiteral("PULSANTONI");
    d.situazioneForm = 1;
    d.situazioneCSDGrid = 2;
    d.campi = {{"ID", "ID"},
               {"NOME", "Nome"},
               {"PROGETTO", "Progetto"},
               {"POS_X", "Pos X"},
               {"POS_Y", "Pos Y"},
               {"LARGHEZZA", "Larghezza"},
               {"ALTEZZA", "Altezza"},
               {"NOMEIMMAGINE", "Immagine"},
               {"VISIBILE", "Visibile"},
               {"DLL", "Dll"},
               {"FUNZIONE", "Funzione"},
               {"LIVELLO2VERSIONE", "Livello 2 versione"},
               {"PARAMETRIBLOB", "Parametri"}};
    d.generatoreCampo = QStringLiteral("ID");
    d.generatoreNome = QStringLiteral("IDPULSANTONICOUNTER");
    return buildScript(d);
}

QString lingueComponentScript()
{
    ScriptDefinition d;
    d.nomeTabella = QStringLiteral("LINGUECOMPONENT");
    d.situazioneForm = 3;
    d.situazioneCSDGrid = 4;
    d.campi = {{"CODICEPROGETTO", "Codice Progetto"},
               {"CODICESITUAZIONE", "Codice Situazione"},
               {"COMPONENTNAME", "Component Name"},
               {"CODICELINGUA", "Codice Lingua"},
               {"TESTO", "Testo"},
               {"NOTE", "Note"}};
    return buildScript(d);
}

QString lingueMenuScript()
{
    ScriptDefinition d;
    d.nomeTabella = QStringLiteral("LINGUEMENU");
    d.situazioneForm = 5;
    d.situazioneCSDGrid = 6;
    d.campi = {{"PROGRAMMA", "Programma"}, {"MENU", "Menu"},
               {"MENUPREC", "Menu Prec."}, {"LIVELLOMENU", "Livello Menu"},
               {"LINGUA", "Lingua"},       {"DESCRIZIONE", "Descrizione"}};
    return buildScript(d);
}

QStringList pulsantoniProbeSql()
{
    return {"SELECT *", "FROM RDB$RELATIONS", "WHERE RDB$RELATION_NAME='PULSANTONI'"};
}

QStringList pulsantoniCreateSql()
{
    return {"CREATE TABLE PULSANTONI(",
            "ID INTEGER NOT NULL,",
            "PROGETTO INTEGER,",
            "NOME VARCHAR(32),",
            "POS_X INTEGER,",
            "POS_Y INTEGER,",
            "LARGHEZZA INTEGER,",
            "ALTEZZA INTEGER,",
            "NOMEIMMAGINE VARCHAR(128),",
            "VISIBILE SMALLINT,",
            "DLL VARCHAR(20),",
            "FUNZIONE VARCHAR(30),",
            "LIVELLO2VERSIONE SMALLINT,",
            "PARAMETRIBLOB BLOB,",
            "CONSTRAINT PULSANTONI_PK PRIMARY KEY (ID))"};
}

QStringList pulsantoniGeneratorProbeSql()
{
    return {"SELECT *", "FROM RDB$GENERATORS", "WHERE RDB$GENERATOR_NAME='IDPULSANTONICOUNTER'"};
}

QStringList pulsantoniGeneratorCreateSql()
{
    return {"CREATE GENERATOR IDPULSANTONICOUNTER"};
}

} // namespace BuiltinScripts
