#include "win1252.h"

#include <array>

namespace Win1252 {
namespace {

// Code points for 0x80..0x9F; 0 marks the five bytes the code page leaves
// undefined, which round-trip as the matching C1 control character.
constexpr std::array<char16_t, 32> kHigh = {
    0x20AC, 0,      0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021, 0x02C6, 0x2030, 0x0160,
    0x2039, 0x0152, 0,      0x017D, 0,      0,      0x2018, 0x2019, 0x201C, 0x201D, 0x2022,
    0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0,      0x017E, 0x0178};

inline char16_t toUnicode(unsigned char b)
{
    if (b >= 0x80 && b <= 0x9F) {
        const char16_t u = kHigh[b - 0x80];
        return u ? u : char16_t(b);
    }
    return char16_t(b);
}

bool toByte(char16_t u, char &out)
{
    if (u < 0x80 || (u >= 0xA0 && u <= 0xFF)) {
        out = char(u);
        return true;
    }
    for (int i = 0; i < 32; ++i) {
        if (kHigh[i] == u || (kHigh[i] == 0 && u == 0x80 + i)) {
            out = char(0x80 + i);
            return true;
        }
    }
    return false;
}

} // namespace

EncodingError::EncodingError(QChar ch, const QString &text)
    : std::runtime_error(
          QStringLiteral("Il carattere \"%1\" (U+%2) non è rappresentabile nel testo \"%3\"")
              .arg(ch)
              .arg(ch.unicode(), 4, 16, QLatin1Char('0'))
              .arg(text.left(80))
              .toStdString())
    , m_char(ch)
{
}

QString decode(const char *data, int length)
{
    QString out(length, Qt::Uninitialized);
    QChar *dst = out.data();
    for (int i = 0; i < length; ++i) {
        // Most bytes stand for themselves; only 0x80..0x9F need the table.
        const unsigned char b = static_cast<unsigned char>(data[i]);
        dst[i] = QChar(b < 0x80 || b > 0x9F ? char16_t(b) : toUnicode(b));
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QByteArray encode(const QString &text)
{
    QByteArray out(text.size(), Qt::Uninitialized);
    char *dst = out.data();
    const QChar *src = text.constData();
    for (int i = 0; i < text.size(); ++i) {
        const char16_t u = src[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            dst[i] = char(u);
        else if (!toByte(u, dst[i]))
            throw EncodingError(text.at(i), text);
    }
    return out;
}

bool canEncode(const QString &text)
{
    char dummy;
    for (QChar c : text) {
        if (!toByte(c.unicode(), dummy))
            return false;
    }
    return true;
}

} // namespace Win1252
