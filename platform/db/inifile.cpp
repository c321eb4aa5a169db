#include "inifile.h"

#include "pathutil.h"
#include "win1252.h"

#include <QFile>
#include <QSaveFile>
#include <QVector>
#include <algorithm>
#include <limits>

EIniFileException::EIniFileException(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {

// One line of the file with its own line end ("\r\n", "\n", "\r", or empty
// for a last line without one), so that untouched lines go back unchanged.
struct Line
{
    QString text;
    QString eol;
};

struct IniText
{
    QVector<Line> lines;
    bool exists = false;

    // A new line at index `at` ends as the nearest line before it does (then
    // the nearest after it): the file's own convention where it goes, also in
    // a file whose lines end in different ways. CR LF for a new file.
    QString eolNear(int at) const
    {
        for (int i = std::min<int>(at, lines.size()) - 1; i >= 0; --i) {
            if (!lines[i].eol.isEmpty())
                return lines[i].eol;
        }
        for (int i = std::max(at, 0); i < lines.size(); ++i) {
            if (!lines[i].eol.isEmpty())
                return lines[i].eol;
        }
        return QStringLiteral("\r\n");
    }
};

enum class Kind { Blank, Comment, Section, Entry, Other };

struct Parsed
{
    Kind kind = Kind::Other;
    QString name; // section name or key, trimmed
    int eq = -1;  // position of the first "=" of an entry
};

bool isBlank(QChar c)
{
    return c == QLatin1Char(' ') || c == QLatin1Char('\t') || c == QLatin1Char('\v') ||
           c == QLatin1Char('\f') || c == QChar(0x1A);
}

QString trimBlanks(const QString &s)
{
    int from = 0;
    int to = s.size();
    while (from < to && isBlank(s.at(from)))
        ++from;
    while (to > from && isBlank(s.at(to - 1)))
        --to;
    return s.mid(from, to - from);
}

Parsed parse(const QString &text)
{
    Parsed p;
    const QString t = trimBlanks(text);
    if (t.isEmpty()) {
        p.kind = Kind::Blank;
    } else if (t.startsWith(QLatin1Char(';'))) {
        p.kind = Kind::Comment;
    } else if (t.startsWith(QLatin1Char('[')) && t.lastIndexOf(QLatin1Char(']')) > 0) {
        p.kind = Kind::Section;
        p.name = trimBlanks(t.mid(1, t.lastIndexOf(QLatin1Char(']')) - 1));
    } else if ((p.eq = text.indexOf(QLatin1Char('='))) >= 0) {
        p.kind = Kind::Entry;
        p.name = trimBlanks(text.left(p.eq));
    }
    return p;
}

QString valueOf(const Line &line, const Parsed &p)
{
    QString v = trimBlanks(line.text.mid(p.eq + 1));
    if (v.size() >= 2 && (v.front() == QLatin1Char('"') || v.front() == QLatin1Char('\'')) &&
        v.back() == v.front())
        v = v.mid(1, v.size() - 2);
    return v;
}

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

QVector<Line> splitLines(const QString &text)
{
    QVector<Line> lines;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c != QLatin1Char('\n') && c != QLatin1Char('\r'))
            continue;
        QString eol(c);
        if (c == QLatin1Char('\r') && i + 1 < text.size() && text.at(i + 1) == QLatin1Char('\n'))
            eol += text.at(++i);
        lines.append({text.mid(start, i + 1 - eol.size() - start), eol});
        start = i + 1;
    }
    if (start < text.size())
        lines.append({text.mid(start), QString()});
    return lines;
}

// A missing file reads as empty. An existing file that cannot be read reads
// as empty too, except before a write, which would otherwise replace it.
IniText load(const QString &path, bool forWrite)
{
    IniText ini;
    QFile file(path);
    if (!file.exists())
        return ini;
    ini.exists = true;
    if (!file.open(QIODevice::ReadOnly)) {
        if (forWrite)
            throw EIniFileException(QStringLiteral("Impossibile leggere il file %1").arg(path));
        return ini;
    }
    ini.lines = splitLines(Win1252::decode(file.readAll()));
    return ini;
}

void save(const QString &path, IniText ini)
{
    // A lone CR followed by a blank line ending in LF would read back as one
    // CR LF, swallowing the blank line (after a removal brought the two
    // together): that blank line takes the CR of the line before it.
    for (int i = 1; i < ini.lines.size(); ++i) {
        Line &l = ini.lines[i];
        if (ini.lines[i - 1].eol == QLatin1String("\r") && l.text.isEmpty() &&
            l.eol.startsWith(QLatin1Char('\n')))
            l.eol = QStringLiteral("\r");
    }
    QString text;
    for (const Line &l : ini.lines)
        text += l.text + l.eol;
    const QByteArray bytes = Win1252::encode(text); // refuses before the file is touched
    QSaveFile file(path);
    file.setDirectWriteFallback(true);
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        throw EIniFileException(QStringLiteral("Impossibile scrivere nel file %1").arg(path));
}

// Header line of the first section of that name, -1 when none.
int findSection(const IniText &ini, const QString &section, int from = 0)
{
    const QString name = trimBlanks(section);
    for (int i = from; i < ini.lines.size(); ++i) {
        const Parsed p = parse(ini.lines[i].text);
        if (p.kind == Kind::Section && sameName(p.name, name))
            return i;
    }
    return -1;
}

// First line after the section's lines: the next header, or the end.
int sectionEnd(const IniText &ini, int header)
{
    for (int i = header + 1; i < ini.lines.size(); ++i) {
        if (parse(ini.lines[i].text).kind == Kind::Section)
            return i;
    }
    return ini.lines.size();
}

int findKey(const IniText &ini, int header, const QString &key)
{
    const QString name = trimBlanks(key);
    const int end = sectionEnd(ini, header);
    for (int i = header + 1; i < end; ++i) {
        const Parsed p = parse(ini.lines[i].text);
        if (p.kind == Kind::Entry && sameName(p.name, name))
            return i;
    }
    return -1;
}

struct Entry
{
    QString key;
    QString value;
};

QVector<Entry> entriesOf(const IniText &ini, const QString &section)
{
    QVector<Entry> entries;
    const int header = findSection(ini, section);
    if (header < 0)
        return entries;
    const int end = sectionEnd(ini, header);
    for (int i = header + 1; i < end; ++i) {
        const Parsed p = parse(ini.lines[i].text);
        if (p.kind == Kind::Entry)
            entries.append({p.name, valueOf(ini.lines[i], p)});
    }
    return entries;
}

void appendLine(IniText &ini, const QString &text)
{
    const QString eol = ini.eolNear(ini.lines.size());
    if (!ini.lines.isEmpty() && ini.lines.last().eol.isEmpty())
        ini.lines.last().eol = eol;
    ini.lines.append({text, eol});
}

// An inserted line ends as the line before it does, which never merges with
// the line that follows (a line ending in a lone CR is never followed by LF).
void insertLine(IniText &ini, int at, const QString &text)
{
    ini.lines.insert(at, Line{text, ini.eolNear(at)});
}

bool hasLineBreak(const QString &s)
{
    return s.contains(QLatin1Char('\n')) || s.contains(QLatin1Char('\r'));
}

// A key line beginning so reads as a comment (";") or, for the suite's
// Windows programs, as a section header ("[").
bool readsAsCommentOrHeader(const QString &key)
{
    const QString t = trimBlanks(key);
    return t.startsWith(QLatin1Char(';')) || t.startsWith(QLatin1Char('['));
}

// Names and values that would read back as something else, or split the line.
void checkWritable(const QString &path, const QString &section, const QString &key,
                   const QString &value)
{
    QString bad;
    if (hasLineBreak(section) || section.contains(QLatin1Char(']')))
        bad = section;
    else if (hasLineBreak(key) || key.contains(QLatin1Char('=')) || readsAsCommentOrHeader(key))
        bad = key;
    else if (hasLineBreak(value))
        bad = value;
    else
        return;
    throw EIniFileException(
        QStringLiteral("Impossibile scrivere nel file %1: testo non valido \"%2\"").arg(path, bad));
}

bool parseInteger(const QString &text, int &out)
{
    int i = 0;
    bool negative = false;
    if (i < text.size() && (text[i] == QLatin1Char('+') || text[i] == QLatin1Char('-')))
        negative = text[i++] == QLatin1Char('-');
    int base = 10;
    if (text.mid(i, 1) == QLatin1String("$")) {
        base = 16;
        i += 1;
    } else if (text.mid(i, 2).compare(QLatin1String("0x"), Qt::CaseInsensitive) == 0) {
        base = 16;
        i += 2;
    }
    if (i >= text.size())
        return false;
    qint64 value = 0;
    for (; i < text.size(); ++i) {
        const char16_t c = text[i].unicode();
        int digit;
        if (c >= u'0' && c <= u'9')
            digit = c - u'0';
        else if (base == 16 && c >= u'a' && c <= u'f')
            digit = c - u'a' + 10;
        else if (base == 16 && c >= u'A' && c <= u'F')
            digit = c - u'A' + 10;
        else
            return false;
        value = value * base + digit;
        if (value > 0xFFFFFFFFLL)
            return false;
    }
    if (base == 16) {
        // Eight hex digits cover the whole 32 bits, sign included.
        value = static_cast<qint32>(static_cast<quint32>(value));
    } else if (value > (negative ? -qint64(std::numeric_limits<int>::min())
                                 : qint64(std::numeric_limits<int>::max()))) {
        return false;
    }
    out = static_cast<int>(negative ? -value : value);
    return true;
}

} // namespace

TIniFile::TIniFile(const QString &fileName)
    : m_fileName(fileName)
{
}

QString TIniFile::ReadString(const QString &section, const QString &key,
                             const QString &defaultValue) const
{
    const IniText ini = load(resolvePath(m_fileName), false);
    const int header = findSection(ini, section);
    if (header < 0)
        return defaultValue;
    const int line = findKey(ini, header, key);
    if (line < 0)
        return defaultValue;
    return valueOf(ini.lines[line], parse(ini.lines[line].text));
}

void TIniFile::WriteString(const QString &section, const QString &key, const QString &value)
{
    const QString path = resolvePath(m_fileName);
    checkWritable(path, section, key, value);
    IniText ini = load(path, true);
    const QString newEntry = trimBlanks(key) + QLatin1Char('=') + value;
    const int header = findSection(ini, section);
    if (header < 0) {
        appendLine(ini, QLatin1Char('[') + trimBlanks(section) + QLatin1Char(']'));
        appendLine(ini, newEntry);
    } else if (const int line = findKey(ini, header, key); line >= 0) {
        // Keep the key as the file spells it and the blanks after "=".
        QString &text = ini.lines[line].text;
        int valueStart = text.indexOf(QLatin1Char('=')) + 1;
        while (valueStart < text.size() && isBlank(text.at(valueStart)))
            ++valueStart;
        text = text.left(valueStart) + value;
    } else {
        int at = sectionEnd(ini, header);
        while (at - 1 > header && parse(ini.lines[at - 1].text).kind == Kind::Blank)
            --at;
        if (at == ini.lines.size())
            appendLine(ini, newEntry);
        else
            insertLine(ini, at, newEntry);
    }
    save(path, ini);
}

int TIniFile::ReadInteger(const QString &section, const QString &key, int defaultValue) const
{
    int value = defaultValue;
    return parseInteger(ReadString(section, key, QString()), value) ? value : defaultValue;
}

void TIniFile::WriteInteger(const QString &section, const QString &key, int value)
{
    WriteString(section, key, QString::number(value));
}

void TIniFile::ReadSections(QStringList &sections) const
{
    sections.clear();
    const IniText ini = load(resolvePath(m_fileName), false);
    for (const Line &l : ini.lines) {
        const Parsed p = parse(l.text);
        if (p.kind == Kind::Section && !p.name.isEmpty())
            sections.append(p.name);
    }
}

void TIniFile::ReadSection(const QString &section, QStringList &keys) const
{
    keys.clear();
    const IniText ini = load(resolvePath(m_fileName), false);
    for (const Entry &e : entriesOf(ini, section))
        keys.append(e.key);
}

void TIniFile::ReadSectionValues(const QString &section, QStringList &values) const
{
    values.clear();
    const IniText ini = load(resolvePath(m_fileName), false);
    const QVector<Entry> entries = entriesOf(ini, section);
    for (const Entry &e : entries) {
        // A repeated key shows the value that reading it would give: the first.
        auto first = std::find_if(entries.begin(), entries.end(),
                                  [&](const Entry &o) { return sameName(o.key, e.key); });
        values.append(e.key + QLatin1Char('=') + first->value);
    }
}

bool TIniFile::SectionExists(const QString &section) const
{
    QStringList keys;
    ReadSection(section, keys);
    return !keys.isEmpty();
}

bool TIniFile::ValueExists(const QString &section, const QString &key) const
{
    QStringList keys;
    ReadSection(section, keys);
    const QString name = trimBlanks(key);
    return std::any_of(keys.begin(), keys.end(),
                       [&](const QString &k) { return sameName(k, name); });
}

void TIniFile::EraseSection(const QString &section)
{
    const QString path = resolvePath(m_fileName);
    IniText ini = load(path, true);
    int header = findSection(ini, section);
    if (header < 0)
        return;
    while (header >= 0) {
        ini.lines.remove(header, sectionEnd(ini, header) - header);
        header = findSection(ini, section, header);
    }
    save(path, ini);
}

void TIniFile::DeleteKey(const QString &section, const QString &key)
{
    const QString path = resolvePath(m_fileName);
    IniText ini = load(path, true);
    const int header = findSection(ini, section);
    if (header < 0)
        return;
    const int line = findKey(ini, header, key);
    if (line < 0)
        return;
    ini.lines.remove(line);
    save(path, ini);
}
