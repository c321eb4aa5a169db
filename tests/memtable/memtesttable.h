#pragma once

#include "memorydata.h"

#include <functional>
#include <gtest/gtest.h>

// A table like the ones the windows declare: an auto-increment row number,
// a code, a short name, a day and a note.
class MemTableTest : public ::testing::Test
{
protected:
    MemTableTest()
    {
        t.FieldDefs.Add(QStringLiteral("RIGA"), ftAutoInc, 0, true);
        t.FieldDefs.Add(QStringLiteral("CODICE"), ftInteger);
        t.FieldDefs.Add(QStringLiteral("NOME"), ftString, 10);
        t.FieldDefs.Add(QStringLiteral("GIORNO"), ftDate);
        t.FieldDefs.Add(QStringLiteral("NOTE"), ftMemo);
        t.FieldDefs.Add(QStringLiteral("DATI"), ftBlob);
    }

    TField *f(const char *name) { return t.FieldByName(QLatin1String(name)); }

    void add(int code, const QString &name)
    {
        t.Append();
        f("CODICE")->setValue(code);
        f("NOME")->setValue(name);
        t.Post();
    }

    // Opens the table with one record per letter, coded 1, 2, 3...
    void fill(const QString &letters)
    {
        if (!t.Active())
            t.Open();
        for (int i = 0; i < letters.size(); ++i)
            add(i + 1, letters.mid(i, 1));
        t.First();
    }

    QString names()
    {
        QString s;
        for (t.First(); !t.Eof(); t.Next())
            s += f("NOME")->AsString();
        return s;
    }

    QString current() { return f("NOME")->AsString(); }

    void keepOddCodes()
    {
        t.setOnFilterRecord([](TDataSet *ds, bool &accept) {
            accept = ds->FieldByName(QStringLiteral("CODICE"))->AsInteger() % 2 == 1;
        });
        t.setFiltered(true);
    }

    TRxMemoryData t;
};

// The message of the dataset error the action raised; empty when none.
inline QString errorOf(const std::function<void()> &action)
{
    try {
        action();
    } catch (const EDatabaseError &e) {
        return e.message();
    }
    return {};
}
