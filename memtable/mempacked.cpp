#include "mempacked.h"

#include <QDataStream>
#include <QIODevice>
#include <cstring>

namespace MemPacked {
namespace {

enum Tag : char {
    Invalid,
    Int,
    Latin1,
    Utf16,
    Bytes,
    NullString,
    Other // anything else, through QDataStream
};

void appendLength(QByteArray &out, qsizetype n)
{
    const quint32 len = quint32(n);
    out.append(reinterpret_cast<const char *>(&len), sizeof len);
}

quint32 lengthAt(const char *p)
{
    quint32 len;
    std::memcpy(&len, p, sizeof len);
    return len;
}

bool fitsLatin1(const QString &s)
{
    for (const QChar c : s) {
        if (c.unicode() > 0xFF)
            return false;
    }
    return true;
}

// The bytes the value at p takes after its tag.
qsizetype payloadSize(Tag tag, const char *p)
{
    switch (tag) {
    case Invalid:
    case NullString:
        return 0;
    case Int:
        return sizeof(qint32);
    case Utf16:
        return sizeof(quint32) + qsizetype(lengthAt(p)) * 2;
    case Latin1:
    case Bytes:
    case Other:
        return sizeof(quint32) + qsizetype(lengthAt(p));
    }
    return 0;
}

} // namespace

QByteArray pack(const TRecordBuffer &values)
{
    QByteArray out;
    for (const QVariant &v : values) {
        const int type = v.isValid() ? v.typeId() : QMetaType::UnknownType;
        if (type == QMetaType::UnknownType) {
            out.append(Invalid);
        } else if (type == QMetaType::Int) {
            const qint32 n = v.toInt();
            out.append(Int);
            out.append(reinterpret_cast<const char *>(&n), sizeof n);
        } else if (type == QMetaType::QString) {
            const QString s = v.toString();
            if (s.isNull()) {
                out.append(NullString);
            } else if (fitsLatin1(s)) {
                out.append(Latin1);
                appendLength(out, s.size());
                out.append(s.toLatin1());
            } else {
                out.append(Utf16);
                appendLength(out, s.size());
                out.append(reinterpret_cast<const char *>(s.utf16()), s.size() * 2);
            }
        } else if (type == QMetaType::QByteArray) {
            const QByteArray b = v.toByteArray();
            out.append(Bytes);
            appendLength(out, b.size());
            out.append(b);
        } else {
            QByteArray streamed;
            QDataStream stream(&streamed, QIODevice::WriteOnly);
            stream << v;
            out.append(Other);
            appendLength(out, streamed.size());
            out.append(streamed);
        }
    }
    out.squeeze();
    return out;
}

QVariant unpack(const QByteArray &packed, int fieldNo)
{
    const char *p = packed.constData();
    const char *end = p + packed.size();
    for (int i = 0; i < fieldNo && p < end; ++i) {
        const Tag tag = Tag(*p++);
        p += payloadSize(tag, p);
    }
    if (p >= end)
        return QVariant();
    const Tag tag = Tag(*p++);
    switch (tag) {
    case Invalid:
        return QVariant();
    case NullString:
        return QVariant(QString());
    case Int: {
        qint32 n;
        std::memcpy(&n, p, sizeof n);
        return QVariant(int(n));
    }
    case Latin1:
        return QVariant(QString::fromLatin1(p + sizeof(quint32), lengthAt(p)));
    case Utf16: {
        QString s(qsizetype(lengthAt(p)), Qt::Uninitialized);
        std::memcpy(s.data(), p + sizeof(quint32), size_t(s.size()) * 2);
        return QVariant(s);
    }
    case Bytes:
        return QVariant(QByteArray(p + sizeof(quint32), lengthAt(p)));
    case Other: {
        QDataStream stream(QByteArray::fromRawData(p + sizeof(quint32), lengthAt(p)));
        QVariant v;
        stream >> v;
        return v;
    }
    }
    return QVariant();
}

} // namespace MemPacked
