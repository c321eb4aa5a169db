#include "inifile.h"
#include "win1252.h"

#include <QFile>
#include <QMap>
#include <QRegularExpression>
#include <QTemporaryDir>
#include <gtest/gtest.h>
#include <random>

// Random files and random writes: every call either does what it says, with
// the rest of the file untouched, or refuses and leaves the file as it was.
namespace {

const char *const kPieces[] = {"[",    "]",    "=",  ";",   " ",   "\t",   "\r",   "\n",
                               "\r\n", "a",    "B",  "k",   "S",   "\"",   "'",    "\xE8",
                               "\x81", "\x1A", "k=", "[S]", "[s]", "\r\r", "\n\n", "x=1"};
const char *const kSections[] = {"S", "s", " S ", "a", "[x", "a]b", ";c", "T\r"};
const char *const kKeys[] = {"k", "K", " k ", ";k", "[k", "a=b", "x\ny", "", "\xE8", "b;[c]"};

class Fuzz
{
public:
    explicit Fuzz(unsigned seed)
        : m_rng(seed)
    {
    }
    int below(int n) { return std::uniform_int_distribution<int>(0, n - 1)(m_rng); }
    QByteArray bytes(int maxPieces)
    {
        QByteArray out;
        for (int i = below(maxPieces + 1); i > 0; --i)
            out += kPieces[below(int(std::size(kPieces)))];
        return out;
    }
    // Whole lines, their ends mixed, with blank lines among them.
    QByteArray lines(int maxLines)
    {
        static const char *const kLines[] = {"[S]", "[s]", "[T]", "k=1", " K = 2", "",
                                             "",    "",    ";c",  "x",   "=v",     "\x1A"};
        static const char *const kEnds[] = {"\r\n", "\n", "\r"};
        QByteArray out;
        for (int i = below(maxLines + 1); i > 0; --i) {
            out += below(5) ? QByteArray(kLines[below(int(std::size(kLines)))]) : bytes(3);
            if (i > 1 || below(2))
                out += kEnds[below(3)];
        }
        return out;
    }
    template <size_t N> QString pick(const char *const (&pool)[N])
    {
        return Win1252::decode(QByteArray(pool[below(int(N))]));
    }
    QString text(int maxPieces)
    {
        // Now and then a character that Windows-1252 cannot hold.
        QString t = Win1252::decode(bytes(maxPieces));
        if (below(10) == 0)
            t += QChar(0x65E5);
        return t;
    }

private:
    std::mt19937 m_rng;
};

QByteArray fileBytes(const QString &path)
{
    QFile f(path);
    return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
}

QStringList linesOf(const QByteArray &bytes)
{
    static const QRegularExpression eol(QStringLiteral("\r\n|\r|\n"));
    QStringList lines = QString::fromLatin1(bytes).split(eol);
    if (!lines.isEmpty() && lines.last().isEmpty())
        lines.removeLast(); // after the last line end
    return lines;
}

bool isSubsequence(const QStringList &part, const QStringList &whole)
{
    int j = 0;
    for (const QString &line : whole) {
        if (j < part.size() && part[j] == line)
            ++j;
    }
    return j == part.size();
}

// Names and values lose these at both ends, the end-of-file mark included.
QString trimBlanks(const QString &text)
{
    auto blank = [](QChar c) {
        return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') ||
               c == QLatin1Char('\f') || c == QChar(0x1A);
    };
    int from = 0, to = text.size();
    while (from < to && blank(text[from]))
        ++from;
    while (to > from && blank(text[to - 1]))
        --to;
    return text.mid(from, to - from);
}

// What the reader gives for a written value: blanks trimmed, one pair of
// matching quotes dropped.
QString readBack(const QString &value)
{
    QString v = trimBlanks(value);
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

// Every value the file gives through the first section of each name, as
// "section|key=value" lines (readable in a failure).
std::string shown(const QMap<QString, QString> &values)
{
    QString out;
    for (auto it = values.begin(); it != values.end(); ++it)
        out += it.key() + QLatin1Char('=') + it.value() + QLatin1Char('\n');
    return QString::fromLatin1(out.toLatin1().toPercentEncoding("|=\n ")).toStdString();
}

QMap<QString, QString> everyValue(const TIniFile &ini)
{
    QMap<QString, QString> values;
    QStringList sections, keys;
    ini.ReadSections(sections);
    for (const QString &section : sections) {
        ini.ReadSection(section, keys);
        for (const QString &key : keys) {
            values.insert(section.toLower() + QLatin1Char('|') + key.toLower(),
                          ini.ReadString(section, key, QStringLiteral("\x01")));
        }
    }
    return values;
}

} // namespace

TEST(IniFileFuzz, WritesReadBackAndTouchNothingElse)
{
    QTemporaryDir dir;
    const QString path = dir.path() + QStringLiteral("/dati.ini");
    Fuzz fuzz(1107);
    int written = 0, refused = 0;
    for (int round = 0; round < 300; ++round) {
        {
            QFile f(path);
            ASSERT_TRUE(f.open(QIODevice::WriteOnly));
            f.write(round % 2 ? fuzz.bytes(40) : fuzz.lines(12));
        }
        TIniFile ini(path);
        for (int op = 0; op < 8; ++op) {
            const QByteArray before = fileBytes(path);
            const QStringList linesBefore = linesOf(before);
            const QString section = fuzz.pick(kSections);
            const QString key = fuzz.below(3) ? fuzz.pick(kKeys) : fuzz.text(3);
            const QString trace =
                QStringLiteral("round %1 op %2, file \"%3\", [%4] %5")
                    .arg(round)
                    .arg(op)
                    .arg(QString::fromLatin1(before.toPercentEncoding()), section, key);
            SCOPED_TRACE(trace.toStdString());
            switch (fuzz.below(4)) {
            case 0: { // reads only
                QStringList list;
                ini.ReadSectionValues(section, list);
                ini.ReadInteger(section, key, 0);
                ini.ValueExists(section, key);
                EXPECT_EQ(fileBytes(path), before);
                break;
            }
            case 1:
            case 2: {
                const QString value = fuzz.text(6);
                QMap<QString, QString> others = everyValue(ini);
                QStringList headers;
                ini.ReadSections(headers);
                const int expectAdded = ini.ValueExists(section, key) ? 0
                                        : headers.contains(trimBlanks(section), Qt::CaseInsensitive)
                                            ? 1
                                            : 2;
                try {
                    ini.WriteString(section, key, value);
                } catch (const EIniFileException &) {
                    ++refused;
                    EXPECT_EQ(fileBytes(path), before);
                    break;
                } catch (const Win1252::EncodingError &) {
                    ++refused;
                    EXPECT_EQ(fileBytes(path), before);
                    break;
                }
                ++written;
                EXPECT_EQ(ini.ReadString(section, key, QStringLiteral("\x01")), readBack(value));
                // Every other value reads as before; the written one as written.
                QMap<QString, QString> after = everyValue(ini);
                const QString name =
                    trimBlanks(section).toLower() + QLatin1Char('|') + trimBlanks(key).toLower();
                others.remove(name);
                after.remove(name);
                EXPECT_EQ(shown(after), shown(others))
                    << QString(name).toLatin1().toPercentEncoding().constData();
                // One line changed, one key line added, or a header and its key
                // added at the end; every other line stays.
                const QStringList linesAfter = linesOf(fileBytes(path));
                ASSERT_EQ(linesAfter.size() - linesBefore.size(), expectAdded);
                if (expectAdded == 0) {
                    int changed = 0;
                    for (int i = 0; i < linesAfter.size(); ++i)
                        changed += linesAfter[i] != linesBefore[i];
                    EXPECT_LE(changed, 1);
                } else if (expectAdded == 1) {
                    EXPECT_TRUE(isSubsequence(linesBefore, linesAfter));
                } else {
                    EXPECT_EQ(linesAfter.mid(0, linesBefore.size()), linesBefore);
                }
                break;
            }
            case 3: {
                const bool oneKey = fuzz.below(2);
                if (oneKey)
                    ini.DeleteKey(section, key);
                else
                    ini.EraseSection(section);
                const QStringList linesAfter = linesOf(fileBytes(path));
                EXPECT_TRUE(isSubsequence(linesAfter, linesBefore));
                if (oneKey) {
                    EXPECT_LE(linesBefore.size() - linesAfter.size(), 1);
                }
                break;
            }
            }
        }
    }
    // The seed reaches both outcomes often.
    EXPECT_GT(written, 100);
    EXPECT_GT(refused, 100);
}
