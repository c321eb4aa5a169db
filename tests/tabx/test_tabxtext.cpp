#include "tabxtext.h"
#include "valueconv.h"

#include <QDate>
#include <gtest/gtest.h>

TEST(TabXText, ValuesAsTabXStoresThem)
{
    EXPECT_EQ(TabXText::apostrofi("l'a'b´"), "l´a´b´");
    EXPECT_FALSE(TabXText::testo("").isValid());
    EXPECT_EQ(TabXText::testo("d'oro"), QVariant(QString("d´oro")));
    EXPECT_FALSE(TabXText::numero("").isValid());
    EXPECT_EQ(TabXText::numero("3,5"), QVariant(QString("3.5")));
    EXPECT_EQ(TabXText::numero("-12"), QVariant(QString("-12")));
    EXPECT_FALSE(TabXText::data("").isValid());
    EXPECT_EQ(TabXText::data("25/12/2024"), QVariant(QDate(2024, 12, 25)));
    EXPECT_EQ(TabXText::data("5/1/2024"), QVariant(QDate(2024, 1, 5)));
    for (const char *errato : {"abc", "1,2,3", "x1", "3,5e"})
        EXPECT_THROW(TabXText::numero(errato), EConvertError) << errato;
    for (const char *errata : {"31/02/2024", "12/13/2024", "2024-12-25", "oggi"})
        EXPECT_THROW(TabXText::data(errata), EConvertError) << errata;
}
