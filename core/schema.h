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

// Named values of the suite's programs and the generator of their codes.
// Not part of the first schema: made when a tool first needs them. The
// column order is the one the suite's positional inserts rely on.
QStringList tabX();
QStringList tabXGenerator();

// The CSD projects database: PROGETTI, its generator, SITUAZIONI, its generator.
struct CsdObject
{
    QString name;
    bool generator;
    QStringList lines;
};
const QVector<CsdObject> &csdProgetti();

} // namespace Schema
