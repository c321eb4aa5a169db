#pragma once

#include <QString>
#include <QStringList>
#include <stdexcept>

// Raised when an INI file cannot be written, or when a write would not read
// back as written (a line break in a name or value, "=" in a key or a key
// beginning with ";" or "[", "]" in a section name). The file is left as it
// was.
class EIniFileException : public std::runtime_error
{
public:
    explicit EIniFileException(const QString &message);
};

// An INI file read and written the way the Windows profile functions do it,
// which is what the suite's other programs expect of the files they share:
//
// - sections and keys match ignoring case; the first matching section and,
//   inside it, the first matching key count; names are trimmed of blanks;
// - a key line is "key=value": the value is the text after the first "=",
//   trimmed of blanks, and a value enclosed in a pair of matching quotes
//   reads without them; lines starting with ";" are comments;
// - a missing file, section or key reads as the default;
// - every write reads the file, changes the one line concerned and writes the
//   file back at once, keeping every other line byte for byte; a new key goes
//   at the end of its section (before the blank lines that close it), a new
//   section at the end of the file; new lines end as the lines around them;
// - the text is Windows-1252; a character outside that code page is refused
//   instead of being written as "?";
// - the file name may be in Windows form; it is resolved ignoring case.
//
// Nothing is cached: each call sees the file as it is on disk at that moment.
class TIniFile
{
public:
    explicit TIniFile(const QString &fileName);

    const QString &FileName() const { return m_fileName; }

    QString ReadString(const QString &section, const QString &key,
                       const QString &defaultValue) const;
    void WriteString(const QString &section, const QString &key, const QString &value);
    // A value that is not a whole number ("12", "-3", "$1F", "0x1F") reads as
    // the default.
    int ReadInteger(const QString &section, const QString &key, int defaultValue) const;
    void WriteInteger(const QString &section, const QString &key, int value);

    // The lists are replaced, not appended to.
    void ReadSections(QStringList &sections) const;
    void ReadSection(const QString &section, QStringList &keys) const;
    // Lines "key=value" of the section, in file order.
    void ReadSectionValues(const QString &section, QStringList &values) const;

    // As the class library has it: a section exists when it holds at least
    // one key; a bare header does not count.
    bool SectionExists(const QString &section) const;
    bool ValueExists(const QString &section, const QString &key) const;

    // Removes every section of that name with all its lines.
    void EraseSection(const QString &section);
    void DeleteKey(const QString &section, const QString &key);

private:
    QString m_fileName;
};
