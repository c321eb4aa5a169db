#pragma once

// The two kinds of dataset the views stand on, filled alike: CODICE 10..50,
// NOME "A".."E", a memo NOTE and a binary DATI.

#include "dataset.h"
#include "ibquery.h"
#include "memorydata.h"
#include "testdb.h"

#include <QAbstractItemModelTester>
#include <QStringList>
#include <memory>

struct MemorySource
{
    MemorySource();
    TDataSet &ds() { return table; }
    // Closing drops an in-memory table's records: it is filled again.
    void reopen();
    TRxMemoryData table;
};

struct QuerySource
{
    QuerySource();
    TDataSet &ds() { return query; }
    void reopen();
    TestDatabase db;
    TIBUpdateSQL update;
    TIBQuery query;
};

// Attaches Qt's model tester; its findings (warnings of its own category)
// are collected instead of only printed.
class ModelCheck
{
public:
    explicit ModelCheck(QAbstractItemModel *model);
    ~ModelCheck();
    QStringList failures() const;

private:
    std::unique_ptr<QAbstractItemModelTester> m_tester;
};
