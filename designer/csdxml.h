#pragma once

#include <QString>
#include <memory>
#include <stdexcept>
#include <vector>

// The element tree a window script is read into and written from: elements
// and their text only. Attributes, comments and processing instructions are
// not kept; a script never has them.

// The one failure of reading a script: the text is not XML, or not an XML a
// script can be. The message is the user's, in Italian, with the place.
class EScriptXMLError : public std::runtime_error
{
public:
    EScriptXMLError(const QString &message, qint64 line, qint64 column);
    QString message() const { return m_message; }
    qint64 line() const { return m_line; }
    qint64 column() const { return m_column; }

private:
    QString m_message;
    qint64 m_line;
    qint64 m_column;
};

class XmlElement
{
public:
    explicit XmlElement(const QString &name, qint64 line = 0, qint64 column = 0);
    XmlElement(const XmlElement &) = delete;
    XmlElement &operator=(const XmlElement &) = delete;

    QString name;
    // The element's own text and CDATA, in document order; the text inside
    // child elements is theirs.
    QString text;
    // Where the element starts in the text it was read from (0 when built).
    qint64 line;
    qint64 column;

    const std::vector<std::unique_ptr<XmlElement>> &children() const { return m_children; }
    XmlElement &addChild(const QString &name);
    // A child holding only the given text.
    XmlElement &addText(const QString &name, const QString &value);
    // The first direct child of that name, or null.
    const XmlElement *child(const QString &name) const;
    // The text of the first direct child of that name; empty when missing.
    QString childText(const QString &name) const;

private:
    std::vector<std::unique_ptr<XmlElement>> m_children;
};

struct XmlDocument
{
    std::unique_ptr<XmlElement> root;
};

namespace ScriptXml {

// A script nests far less; deeper text is refused before it can exhaust the
// stack of a recursive reader or writer.
constexpr int MaxDepth = 64;

// Reads the text into a document or raises EScriptXMLError. A DOCTYPE is
// refused (so no entity is ever declared or expanded), as is nesting deeper
// than MaxDepth. Line ends read back as LF, as in every XML reader.
XmlDocument parse(const QString &text);

// The root's markup on one line, without declaration. Only "&", "<" and ">"
// are escaped, never with a character reference; characters that XML cannot
// carry (controls other than tab, LF and CR, unpaired surrogates, U+FFFE and
// U+FFFF) are left out, so what is written always reads back. Nesting deeper
// than MaxDepth raises the EScriptXMLError the reader would give the text.
QString serialize(const XmlElement &root);

// A whole number in decimal, with an optional sign and blanks around it;
// anything else, overflow included, is 0.
qint32 readInteger(const QString &text);

} // namespace ScriptXml
