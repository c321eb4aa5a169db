#pragma once

#include <QString>
#include <QStringList>
#include <QVector>

// The statements that create the two databases' tables, line by line, each
// with the message shown when it fails.
struct SchemaStatement
{
    QString name; // table or generator
    QStringList lines;
    QString errorText;
};

namespace Schema {

// The user database's first schema, in the order it is created.
const QVector<SchemaStatement> &userDatabase();

// Program settings table, ensured at every connection.
QStringList impostazioniVelmoUser();

// The named values' table of the suite's programs, created by whoever needs
// it first, and the generator of its codes. The column order is the one
// the table-services object reads by position.
QStringList tabx();
QStringList codiceTabxCounter();

// The CSD projects database: PROGETTI, its generator, SITUAZIONI, its generator.
struct CsdObject
{
    QString name;
    bool generator;
    QStringList lines;
};
const QVector<CsdObject> &csdProgetti();

} // namespace Schema
