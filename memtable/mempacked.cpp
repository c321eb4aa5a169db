#include "mempacked.h"

#include <QDataStream>
#include <QIODevice>
#include <QVarLengthArray>
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
    // Tags and sizes first, so that the block is allocated once, at its size.
    const qsizetype n = values.size();
    QVarLengthArray<Tag, 32> tags(n);
    QVarLengthArray<QByteArray, 4> streamed;
    qsizetype size = n;
    for (qsizetype i = 0; i < n; ++i) {
        const QVariant &v = values[i];
        const int type = v.isValid() ? v.typeId() : QMetaType::UnknownType;
        Tag &tag = tags[i];
        if (type == QMetaType::UnknownType) {
            tag = Invalid;
        } else if (type == QMetaType::Int) {
            tag = Int;
            size += sizeof(qint32);
        } else if (type == QMetaType::QString) {
            const QString *s = static_cast<const QString *>(v.constData());
            if (s->isNull()) {
                tag = NullString;
            } else {
                tag = fitsLatin1(*s) ? Latin1 : Utf16;
                size += sizeof(quint32) + s->size() * (tag == Latin1 ? 1 : 2);
            }
        } else if (type == QMetaType::QByteArray) {
            tag = Bytes;
            size += sizeof(quint32) + static_cast<const QByteArray *>(v.constData())->size();
        } else {
            tag = Other;
            QByteArray &bytes = streamed.emplace_back();
            QDataStream stream(&bytes, QIODevice::WriteOnly);
            stream << v;
            size += sizeof(quint32) + bytes.size();
        }
    }

    QByteArray out(size, Qt::Uninitialized);
    char *p = out.data();
    const auto putLength = [&p](qsizetype len) {
        const quint32 l = quint32(len);
        std::memcpy(p, &l, sizeof l);
        p += sizeof l;
    };
    const auto putBytes = [&](const char *data, qsizetype len) {
        putLength(len);
        std::memcpy(p, data, size_t(len));
        p += len;
    };
    qsizetype nextStreamed = 0;
    for (qsizetype i = 0; i < n; ++i) {
        const QVariant &v = values[i];
        *p++ = tags[i];
        switch (tags[i]) {
        case Invalid:
        case NullString:
            break;
        case Int: {
            const qint32 x = *static_cast<const int *>(v.constData());
            std::memcpy(p, &x, sizeof x);
            p += sizeof x;
            break;
        }
        case Latin1: {
            const QString *s = static_cast<const QString *>(v.constData());
            putLength(s->size());
            for (const QChar c : *s)
                *p++ = char(c.unicode());
            break;
        }
        case Utf16: {
            const QString *s = static_cast<const QString *>(v.constData());
            putLength(s->size());
            std::memcpy(p, s->utf16(), size_t(s->size()) * 2);
            p += s->size() * 2;
            break;
        }
        case Bytes: {
            const QByteArray *b = static_cast<const QByteArray *>(v.constData());
            putBytes(b->constData(), b->size());
            break;
        }
        case Other: {
            const QByteArray &b = streamed[nextStreamed++];
            putBytes(b.constData(), b.size());
            break;
        }
        }
    }
    return out;
}

namespace {

// The value whose tag was just read, p at its payload.
QVariant valueAt(Tag tag, const char *p)
{
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

} // namespace

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
    return valueAt(tag, p);
}

TRecordBuffer unpackAll(const QByteArray &packed, int fieldCount)
{
    TRecordBuffer values(fieldCount);
    QVariant *out = values.data();
    const char *p = packed.constData();
    const char *end = p + packed.size();
    for (int i = 0; i < fieldCount && p < end; ++i) {
        const Tag tag = Tag(*p++);
        out[i] = valueAt(tag, p);
        p += payloadSize(tag, p);
    }
    return values;
}

} // namespace MemPacked
