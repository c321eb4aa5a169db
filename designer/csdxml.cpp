#include "csdxml.h"

#include <QXmlStreamReader>

EScriptXMLError::EScriptXMLError(const QString &message, qint64 line, qint64 column)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_line(line)
    , m_column(column)
{
}

XmlElement::XmlElement(const QString &name, qint64 line, qint64 column)
    : name(name)
    , line(line)
    , column(column)
{
}

XmlElement &XmlElement::addChild(const QString &childName)
{
    m_children.push_back(std::make_unique<XmlElement>(childName));
    return *m_children.back();
}

XmlElement &XmlElement::addText(const QString &childName, const QString &value)
{
    XmlElement &e = addChild(childName);
    e.text = value;
    return e;
}

const XmlElement *XmlElement::child(const QString &childName) const
{
    for (const auto &c : m_children) {
        if (c->name == childName)
            return c.get();
    }
    return nullptr;
}

QString XmlElement::childText(const QString &childName) const
{
    const XmlElement *c = child(childName);
    return c ? c->text : QString();
}

namespace ScriptXml {
namespace {

[[noreturn]] void fail(const QString &reason, qint64 line, qint64 column)
{
    throw EScriptXMLError(QStringLiteral("Script XML non valido alla riga %1, colonna %2: %3")
                              .arg(line)
                              .arg(column)
                              .arg(reason),
                          line, column);
}

QString readerReason(const QXmlStreamReader &reader)
{
    if (reader.error() == QXmlStreamReader::PrematureEndOfDocumentError)
        return QStringLiteral("il testo finisce prima della fine del documento");
    return QStringLiteral("il testo non è XML ben formato");
}

void appendEscaped(QString &out, const QString &text)
{
    const int n = text.size();
    for (int i = 0; i < n; ++i) {
        const QChar c = text.at(i);
        const char16_t u = c.unicode();
        if (u == '&') {
            out += QLatin1String("&amp;");
        } else if (u == '<') {
            out += QLatin1String("&lt;");
        } else if (u == '>') {
            out += QLatin1String("&gt;");
        } else if (u < 0x20) {
            if (u == '\t' || u == '\n' || u == '\r')
                out += c;
        } else if (c.isHighSurrogate()) {
            if (i + 1 < n && text.at(i + 1).isLowSurrogate()) {
                out += c;
                out += text.at(++i);
            }
        } else if (c.isLowSurrogate() || u == 0xFFFE || u == 0xFFFF) {
            // Not a character XML can carry.
        } else {
            out += c;
        }
    }
}

// False when an element lies deeper than the reader takes: the text then
// ends with that element's start tag, where the reader stops.
bool write(const XmlElement &e, QString &out, int livello)
{
    if (livello > MaxDepth) {
        out += QLatin1Char('<') + e.name + QLatin1Char('>');
        return false;
    }
    out += QLatin1Char('<');
    out += e.name;
    if (e.text.isEmpty() && e.children().empty()) {
        out += QLatin1String("/>");
        return true;
    }
    out += QLatin1Char('>');
    appendEscaped(out, e.text);
    for (const auto &c : e.children()) {
        if (!write(*c, out, livello + 1))
            return false;
    }
    out += QLatin1String("</");
    out += e.name;
    out += QLatin1Char('>');
    return true;
}

} // namespace

XmlDocument parse(const QString &text)
{
    QXmlStreamReader reader(text);
    reader.setNamespaceProcessing(false);
    XmlDocument document;
    std::vector<XmlElement *> open;
    while (!reader.atEnd()) {
        switch (reader.readNext()) {
        case QXmlStreamReader::DTD:
            fail(QStringLiteral("una dichiarazione DOCTYPE non è ammessa"), reader.lineNumber(),
                 reader.columnNumber());
        case QXmlStreamReader::EntityReference:
            fail(QStringLiteral("il riferimento all'entità \"%1\" non è ammesso")
                     .arg(reader.name().toString()),
                 reader.lineNumber(), reader.columnNumber());
        case QXmlStreamReader::StartElement: {
            if (open.size() >= std::size_t(MaxDepth))
                fail(QStringLiteral("elementi annidati oltre %1 livelli").arg(MaxDepth),
                     reader.lineNumber(), reader.columnNumber());
            const QString name = reader.qualifiedName().toString();
            XmlElement *e;
            if (open.empty()) {
                document.root =
                    std::make_unique<XmlElement>(name, reader.lineNumber(), reader.columnNumber());
                e = document.root.get();
            } else {
                e = &open.back()->addChild(name);
                e->line = reader.lineNumber();
                e->column = reader.columnNumber();
            }
            open.push_back(e);
            break;
        }
        case QXmlStreamReader::EndElement:
            open.pop_back();
            break;
        case QXmlStreamReader::Characters:
            // CDATA is text like any other; blanks outside the root are no
            // one's.
            if (!open.empty())
                open.back()->text += reader.text();
            break;
        default:
            break;
        }
    }
    if (reader.hasError())
        fail(readerReason(reader), reader.lineNumber(), reader.columnNumber());
    if (!document.root)
        fail(QStringLiteral("nessun elemento"), reader.lineNumber(), reader.columnNumber());
    return document;
}

QString serialize(const XmlElement &root)
{
    QString out;
    if (!write(root, out, 1)) {
        // The reader's own refusal, with its place, for the text up to there.
        parse(out);
        fail(QStringLiteral("elementi annidati oltre %1 livelli").arg(MaxDepth), 1, out.size());
    }
    return out;
}

qint32 readInteger(const QString &text)
{
    const QString t = text.trimmed();
    int i = 0;
    if (i < t.size() && (t.at(i) == QLatin1Char('+') || t.at(i) == QLatin1Char('-')))
        ++i;
    if (i == t.size())
        return 0;
    for (int k = i; k < t.size(); ++k) {
        if (t.at(k) < QLatin1Char('0') || t.at(k) > QLatin1Char('9'))
            return 0;
    }
    bool ok = false;
    const qint32 value = t.toInt(&ok, 10);
    return ok ? value : 0;
}

} // namespace ScriptXml
