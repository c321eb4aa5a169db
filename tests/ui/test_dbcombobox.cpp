#include "dbcombobox.h"
#include "memorydata.h"

#include <QLineEdit>
#include <QSignalSpy>
#include <QTest>
#include <gtest/gtest.h>

// The editable combo: the list offers, the field decides what is shown.
TEST(BoundComboBox, ShowsAnyStoredValueAndWritesTypedOrChosenText)
{
    TRxMemoryData t;
    t.FieldDefs.Add("CODICE", ftSmallint);
    t.FieldDefs.Add("TIPO", ftString, 6);
    t.Open();
    t.AppendRecord({1, "Guest"});
    t.AppendRecord({2, "Ospite"});
    t.AppendRecord({3, QVariant()});
    t.First();

    TDBComboBox combo;
    combo.addItems({"Admin", "Guest"});
    QSignalSpy changes(&combo, &TDBComboBox::Change);
    combo.bind(&t, "TIPO");
    EXPECT_EQ(combo.currentText(), "Guest");
    t.Next();
    // Not in the list: shown as stored, and the list is not extended.
    EXPECT_EQ(combo.currentText(), "Ospite");
    EXPECT_EQ(combo.count(), 2);
    t.Next();
    EXPECT_EQ(combo.currentText(), "");
    EXPECT_EQ(changes.count(), 3);

    // Typing begins the edit, no more than the column holds.
    combo.lineEdit()->selectAll();
    QTest::keyClicks(combo.lineEdit(), "Operatore");
    EXPECT_EQ(t.State(), dsEdit);
    EXPECT_EQ(t.FieldByName("TIPO")->AsString(), "Operat");
    EXPECT_EQ(combo.count(), 2);
    // Choosing from the list writes the item.
    combo.setCurrentIndex(0);
    emit combo.textActivated("Admin");
    EXPECT_EQ(t.FieldByName("TIPO")->AsString(), "Admin");
    t.Cancel();
    EXPECT_EQ(combo.currentText(), "");
    t.Close();
    EXPECT_EQ(combo.currentText(), "");
}
