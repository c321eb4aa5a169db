#pragma once

#include <QList>
#include <QString>
#include <QStringList>

// The fixed window scripts that three menu items hand to the forms library,
// and the statements that make sure the PULSANTONI table is there first.
namespace BuiltinScripts {

struct ScriptColumn
{
    QString nome;
    QString etichetta;
};

struct ScriptDefinition
{
    QString nomeTabella;
    int situazioneForm = 0;
    int situazioneCSDGrid = 0;
    QList<ScriptColumn> campi;
    // Empty when the table has no generated key.
    QString generatoreCampo;
    QString generatoreNome;
};

// One line, no XML declaration, no blanks between elements.
QString buildScript(const ScriptDefinition &definition);

QString pulsantoniScript();
QString lingueComponentScript();
QString lingueMenuScript();

QStringList pulsantoniProbeSql();
QStringList pulsantoniCreateSql();
QStringList pulsantoniGeneratorProbeSql();
QStringList pulsantoniGeneratorCreateSql();

} // namespace BuiltinScripts
