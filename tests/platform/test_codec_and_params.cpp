#include "sqlparams.h"
#include "valueconv.h"
#include "win1252.h"

#include <gtest/gtest.h>

TEST(Win1252, EveryHighByteRoundTripsThroughQtText)
{
    QByteArray all;
    for (int b = 0x80; b <= 0xFF; ++b)
        all.append(char(b));
    const QString text = Win1252::decode(all);
    EXPECT_EQ(Win1252::encode(text), all);
}

// Long texts are read and written several bytes at a time: every byte must
// come out the same wherever it stands against those blocks.
TEST(Win1252, EveryByteComesOutAlikeWhereverItStandsInALongText)
{
    for (int b = 0x01; b <= 0xFF; ++b) {
        const QString alone = Win1252::decode(QByteArray(1, char(b)));
        for (int at = 0; at < 19; ++at) {
            QByteArray bytes(20, 'a');
            bytes[at] = char(b);
            QString expected(20, QLatin1Char('a'));
            expected[at] = alone[0];
            const QString text = Win1252::decode(bytes);
            ASSERT_EQ(text, expected) << b << " at " << at;
            ASSERT_EQ(Win1252::encode(text), bytes) << b << " at " << at;
        }
    }
    QString outside(20, QLatin1Char('a'));
    outside[13] = QChar(0x3B1);
    EXPECT_THROW(Win1252::encode(outside), Win1252::EncodingError);
}

TEST(Win1252, DiffersFromLatin1WhereTheCodePageDoes)
{
    EXPECT_EQ(Win1252::decode(QByteArray("\x80")), QString(QChar(0x20AC)));
    EXPECT_EQ(Win1252::encode(QString(QChar(0x20AC))), QByteArray("\x80"));
    EXPECT_EQ(Win1252::encode(QStringLiteral("´")), QByteArray("\xB4"));
    EXPECT_EQ(Win1252::decode(QByteArray("perch\xE9")), QStringLiteral("perché"));
}

TEST(Win1252, RefusesCharactersOutsideTheCodePage)
{
    EXPECT_FALSE(Win1252::canEncode(QStringLiteral("αβ")));
    EXPECT_THROW(Win1252::encode(QStringLiteral("ok ✓")), Win1252::EncodingError);
    EXPECT_TRUE(Win1252::canEncode(QStringLiteral("Società €")));
}

TEST(SqlParams, NamesOutsideQuotesBecomeMarkers)
{
    const ParsedSql p = parseSqlParams(
        QStringLiteral("UPDATE T SET A = :a, B = ':NOTPARAM' WHERE \"X:Y\" = :Old_Id AND C = :A"));
    EXPECT_EQ(p.text,
              QStringLiteral("UPDATE T SET A = ?, B = ':NOTPARAM' WHERE \"X:Y\" = ? AND C = ?"));
    EXPECT_EQ(p.names, (QStringList{"A", "OLD_ID", "A"}));
}

TEST(SqlParams, CommentsAndDoubledQuotesAreSkipped)
{
    const ParsedSql p = parseSqlParams(
        QStringLiteral("SELECT 'it''s :no' -- :nor\nFROM T /* :neither */ WHERE A=:YES"));
    EXPECT_EQ(p.names, QStringList{"YES"});
    EXPECT_TRUE(p.text.contains(QLatin1String("'it''s :no' -- :nor\n")));
    EXPECT_TRUE(p.text.endsWith(QLatin1String("A=?")));
}

TEST(SqlParams, UnterminatedLiteralIsCopiedAsIs)
{
    const ParsedSql p = parseSqlParams(QStringLiteral("SELECT ':X"));
    EXPECT_EQ(p.text, QStringLiteral("SELECT ':X"));
    EXPECT_TRUE(p.names.isEmpty());
}

TEST(ValueConv, ItalianTextForms)
{
    EXPECT_EQ(ValueConv::toText(1.5), QStringLiteral("1,5"));
    EXPECT_EQ(ValueConv::toText(QDate(2012, 3, 9)), QStringLiteral("09/03/2012"));
    EXPECT_DOUBLE_EQ(ValueConv::toFloat(QStringLiteral("2,25")), 2.25);
    EXPECT_EQ(ValueConv::toInt(QStringLiteral(" 42 ")), 42);
    EXPECT_THROW(ValueConv::toInt(QStringLiteral("abc")), EConvertError);
    EXPECT_EQ(ValueConv::toText(QVariant()), QString());
}
