#pragma once

#include <QByteArray>
#include <QString>
#include <stdexcept>

// The suite stores text as Windows-1252 bytes. These two functions are the only
// place where such bytes become Qt text and back.
namespace Win1252 {

// Raised when a text holds a character that Windows-1252 cannot represent.
// Storing a "?" in its place would silently corrupt the data.
class EncodingError : public std::runtime_error
{
public:
    EncodingError(QChar ch, const QString &text);
    QChar character() const { return m_char; }

private:
    QChar m_char;
};

QString decode(const QByteArray &bytes);
QString decode(const char *data, int length);
QByteArray encode(const QString &text);
// The same into `out`, whose room is reused when it is its own.
void encode(const QString &text, QByteArray &out);
bool canEncode(const QString &text);

} // namespace Win1252
