#include "win1252.h"

#include <array>
#include <cstring>

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

// True when one of the eight bytes is in 0x80..0x9F.
inline bool holdsC1(const char *p)
{
    quint64 eight;
    std::memcpy(&eight, p, sizeof eight);
    constexpr quint64 ones = 0x0101010101010101ULL;
    constexpr quint64 highs = 0x8080808080808080ULL;
    const quint64 y = (eight & 0xE0E0E0E0E0E0E0E0ULL) ^ highs; // a zero byte where 0x80..0x9F
    return ((y - ones) & ~y & highs) != 0;
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
    // Most bytes stand for themselves, as in Latin-1, which Qt widens
    // fast; only 0x80..0x9F need the table, and are looked for eight at a
    // time.
    if (length <= 0)
        return QString(0, Qt::Uninitialized);
    QString out = QString::fromLatin1(data, length);
    QChar *dst = nullptr;
    for (int i = 0; i < length;) {
        if (i + 8 <= length && !holdsC1(data + i)) {
            i += 8;
            continue;
        }
        const unsigned char b = static_cast<unsigned char>(data[i]);
        if (b >= 0x80 && b <= 0x9F) {
            if (!dst)
                dst = out.data();
            dst[i] = QChar(toUnicode(b));
        }
        ++i;
    }
    return out;
}

QString decode(const QByteArray &bytes)
{
    return decode(bytes.constData(), bytes.size());
}

QByteArray encode(const QString &text)
{
    QByteArray out;
    encode(text, out);
    return out;
}

void encode(const QString &text, QByteArray &out)
{
    out.resize(text.size());
    char *dst = out.data();
    const QChar *src = text.constData();
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        // Runs of ASCII, four characters at a time.
        while (i + 4 <= n) {
            quint64 four;
            std::memcpy(&four, src + i, sizeof four);
            if (four & 0xFF80FF80FF80FF80ULL)
                break;
            for (int k = i; k < i + 4; ++k)
                dst[k] = char(src[k].unicode());
            i += 4;
        }
        if (i == n)
            break;
        const char16_t u = src[i].unicode();
        if (u < 0x80 || (u >= 0xA0 && u <= 0xFF))
            dst[i] = char(u);
        else if (!toByte(u, dst[i]))
            throw EncodingError(text.at(i), text);
    }
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
