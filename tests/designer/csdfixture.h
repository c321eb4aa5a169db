#pragma once

#include "archivefixture.h"
#include "testdb.h"

#include <QStringList>

// A signed-in archive object with a CSD projects database made by the
// archive object itself, and the other administrator's reads and writes
// through connections of their own.
class CsdTest : public ArchiveTest
{
protected:
    void SetUp() override
    {
        ArchiveTest::SetUp();
        rec.allowAny();
        tab->ConnettiIBCSDProgetti(cartella() + "csd.fdb");
        rec.allowAny(false);
        rec.clear();
        ASSERT_TRUE(tab->IBCSDProgetti->Connected());
    }
    QString csdPath() const { return tab->IBCSDProgetti->DatabaseName; }
    // Committed by another administrator.
    void altro(const QString &sql) { OtherConnection(csdPath()).exec(sql); }
    // What another administrator sees: the first column of every row.
    QStringList visti(const QString &sql)
    {
        OtherConnection o(csdPath());
        return firstColumn(&o.db, {sql});
    }
    QString valore(const QString &sql) { return OtherConnection(csdPath()).scalar(sql); }
};
