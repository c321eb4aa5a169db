#pragma once

#include <QString>
#include <QStringList>
#include <memory>

class TDataSet;
class TField;
class TIBQuery;
class TIBSQL;

// What the table-services object's editing operations share.
namespace TabXScratch {

// The query an operation on the dataset's database needs; any other dataset
// raises EDatabaseError naming the operation, before anything is touched.
TIBQuery *queryOf(TDataSet *dataSet, const char *operazione);

// The key: the dataset's first field (EDatabaseError when it has none).
TField *keyOf(TDataSet *dataSet);

// A statement on the query's database and that database's default
// transaction, freed with the pointer.
std::unique_ptr<TIBSQL> statement(TIBQuery *query, const QStringList &sql);

} // namespace TabXScratch
