#include "stringroutines.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <gtest/gtest.h>

TEST(EstraiCampo, CountsFieldsFromOne)
{
    const QString line = QStringLiteral("a#b#c#d");
    const QString sep = QStringLiteral("#");
    EXPECT_EQ(EstraiCampo(line, 1, sep), "a");
    EXPECT_EQ(EstraiCampo(line, 3, sep), "c");
    EXPECT_EQ(EstraiCampo(line, 4, sep), "d");
    EXPECT_EQ(EstraiCampo(line, 5, sep), "");
    EXPECT_EQ(EstraiCampo(line, 0, sep), "");
    EXPECT_EQ(EstraiCampo(QStringLiteral("intera riga"), 1, sep), "intera riga");
    EXPECT_EQ(EstraiCampo(QStringLiteral("a#b#"), 3, sep), "");
    EXPECT_EQ(EstraiCampo(QStringLiteral("a##c"), 2, sep), "");
    EXPECT_EQ(EstraiCampo(QStringLiteral("a##c"), 3, sep), "c");
}

TEST(EstraiCampo, BlanksStayUnlessRemovalIsAsked)
{
    const QString line = QStringLiteral("a# b c #d");
    EXPECT_EQ(EstraiCampo(line, 2, QStringLiteral("#")), " b c ");
    EXPECT_EQ(EstraiCampoEx(line, 2, QStringLiteral("#"), true), "bc");
    EXPECT_EQ(TogliSpazi(QStringLiteral(" a\tb  c ")), "a\tbc");
}

TEST(EstraiCampo, EmptySeparatorIsNeverFound)
{
    EXPECT_EQ(EstraiCampo(QStringLiteral("abc"), 1, QString()), "abc");
    EXPECT_EQ(EstraiCampo(QStringLiteral("abc"), 2, QString()), "");
}

TEST(CaricaNomiUtentiDaIni, ListsSectionsInFileOrderAndReplacesTheList)
{
    QTemporaryDir dir;
    const QString folder = dir.path() + QLatin1Char('/');
    QStringList list{QStringLiteral("vecchio")};
    CaricaNomiUtentiDaIni(list, folder);
    EXPECT_TRUE(list.isEmpty());

    ASSERT_TRUE(QDir(dir.path()).mkpath(QStringLiteral("Nomidit")));
    QFile f(folder + QStringLiteral("Nomidit/utenti.ini"));
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[02 Zeta]\r\nPassword=x\r\n[01 Rossi]\r\n[10 Bianchi]\r\n");
    f.close();
    list = QStringList{QStringLiteral("vecchio")};
    CaricaNomiUtentiDaIni(list, folder);
    EXPECT_EQ(list, QStringList({"02 Zeta", "01 Rossi", "10 Bianchi"}));
}
