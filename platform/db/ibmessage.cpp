#include "ibmessage.h"

#include "fbapi.h"
#include "ibblob.h"
#include "iberror.h"
#include "win1252.h"

#include <ibase.h>

#include <cstring>

using namespace Firebird;

namespace IBMessage {
namespace {

void setType(ThrowStatusWrapper *st, IMetadataBuilder *b, unsigned i, unsigned type,
             unsigned length, unsigned charset = 0)
{
    b->setType(st, i, type | 1);
    b->setSubType(st, i, 0);
    b->setScale(st, i, 0);
    b->setLength(st, i, length);
    b->setCharSet(st, i, charset);
}

ISC_TIME encodeTime(const QTime &t)
{
    return Fb::util()->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
}

} // namespace

// The message type of each parameter is chosen from its value, so the engine
// does the conversion to the column's type.
InputMessage::InputMessage(IMessageMetadata *declared)
    : m_declared(declared)
{
}

InputMessage::~InputMessage()
{
    if (m_meta)
        m_meta->release();
}

InputMessage::Slot InputMessage::slotFor(unsigned i, const TIBValue *v, QByteArray &text) const
{
    const Declared &d = m_declaredSlots[i];
    if (!v || v->IsNull() || d.type == SQL_BLOB)
        return {d.type, 0, 0, true};
    const QVariant &val = v->ValueRef();
    // Text goes with room for the column's whole width, so that the message
    // keeps one shape from one row to the next.
    const auto textLength = [&] {
        unsigned n = unsigned(qMax(1, text.size()));
        if (d.type == SQL_VARYING || d.type == SQL_TEXT)
            n = qMax(n, d.length);
        return n;
    };
    switch (val.typeId()) {
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Bool:
        return {SQL_INT64, 8, 0, false};
    case QMetaType::Double:
    case QMetaType::Float:
        return {SQL_DOUBLE, 8, 0, false};
    case QMetaType::QDate:
        return {SQL_TYPE_DATE, 4, 0, false};
    case QMetaType::QTime:
        return {SQL_TYPE_TIME, 4, 0, false};
    case QMetaType::QDateTime:
        return {SQL_TIMESTAMP, 8, 0, false};
    case QMetaType::QByteArray:
        text = *static_cast<const QByteArray *>(val.constData());
        return {SQL_VARYING, textLength(), Fb::CharsetNone, false};
    case QMetaType::QString:
        Win1252::encode(*static_cast<const QString *>(val.constData()), text);
        return {SQL_VARYING, textLength(), Fb::CharsetWin1252, false};
    default:
        text = Win1252::encode(v->AsString());
        return {SQL_VARYING, textLength(), Fb::CharsetWin1252, false};
    }
}

void InputMessage::build(const QVector<const TIBValue *> &values, const QStringList &names,
                         IAttachment *att, ITransaction *tra)
{
    Fb::Status st;
    st.run([&] {
        if (!m_declaredRead) {
            const unsigned n = m_declared->getCount(&st);
            for (unsigned i = 0; i < n; ++i)
                m_declaredSlots.push_back(
                    {m_declared->getType(&st, i) & ~1u, m_declared->getLength(&st, i)});
            m_declaredRead = true;
        }
        const unsigned n = unsigned(m_declaredSlots.size());
        std::vector<QByteArray> &texts = m_texts;
        std::vector<Slot> &shape = m_shape;
        // A text keeps its room from one run to the next.
        texts.resize(n);
        shape.resize(n);
        for (unsigned i = 0; i < n; ++i) {
            shape[i] = slotFor(i, i < unsigned(values.size()) ? values[i] : nullptr, texts[i]);
            // The message's length word would carry the size modulo 65,536:
            // the engine would store a piece of the text without a word.
            if (shape[i].type == SQL_VARYING && texts[i].size() > MaxVarcharBytes) {
                const QString name = int(i) < names.size() && !names.at(int(i)).isEmpty()
                                         ? names.at(int(i))
                                         : QString::number(i + 1);
                throw EIBError(QStringLiteral("Il valore del parametro %1 è troppo lungo: %2 byte, "
                                              "al massimo %3")
                                   .arg(name)
                                   .arg(texts[i].size())
                                   .arg(MaxVarcharBytes));
            }
        }

        // The metadata is built again only when the shape changed.
        if (!m_meta || shape != m_slots) {
            Fb::Ref<IMetadataBuilder> b(m_declared->getBuilder(&st));
            for (unsigned i = 0; i < n; ++i) {
                if (shape[i].declared)
                    b->setType(&st, i, shape[i].type | 1);
                else
                    setType(&st, b.p, i, shape[i].type, shape[i].length, shape[i].charset);
            }
            IMessageMetadata *meta = b->getMetadata(&st);
            if (m_meta)
                m_meta->release();
            m_meta = meta;
            m_slots = shape;
            m_buffer.assign(m_meta->getMessageLength(&st), 0);
            m_offsets.clear();
            m_nullOffsets.clear();
            for (unsigned i = 0; i < n; ++i) {
                m_offsets.push_back(m_meta->getOffset(&st, i));
                m_nullOffsets.push_back(m_meta->getNullOffset(&st, i));
            }
        }
        for (unsigned i = 0; i < n; ++i) {
            const TIBValue *v = i < unsigned(values.size()) ? values[i] : nullptr;
            const short nullFlag = (!v || v->IsNull()) ? -1 : 0;
            std::memcpy(&m_buffer[m_nullOffsets[i]], &nullFlag, sizeof nullFlag);
            if (nullFlag == 0)
                write(i, *v, texts[i], att, tra);
        }
    });
}

void InputMessage::write(unsigned i, const TIBValue &v, const QByteArray &text, IAttachment *att,
                         ITransaction *tra)
{
    unsigned char *p = &m_buffer[m_offsets[i]];
    const QVariant &val = v.ValueRef();
    switch (m_slots[i].type) {
    case SQL_BLOB: {
        if (holdsBlobId(val)) {
            // A blob as fetched goes back as it is stored.
            const TIBBlobId id = val.value<TIBBlobId>();
            std::memcpy(p, &id.quad, sizeof id.quad);
            break;
        }
        const ISC_QUAD id =
            val.typeId() == QMetaType::QByteArray
                ? IBBlob::write(att, tra, *static_cast<const QByteArray *>(val.constData()))
                : IBBlob::write(att, tra, v.AsBytes());
        std::memcpy(p, &id, sizeof id);
        break;
    }
    case SQL_INT64: {
        ISC_INT64 n;
        switch (val.typeId()) {
        case QMetaType::Int:
            n = *static_cast<const int *>(val.constData());
            break;
        case QMetaType::Bool:
            n = val.toBool() ? 1 : 0;
            break;
        default:
            n = val.toLongLong();
        }
        std::memcpy(p, &n, sizeof n);
        break;
    }
    case SQL_DOUBLE: {
        const double dv = val.toDouble();
        std::memcpy(p, &dv, sizeof dv);
        break;
    }
    case SQL_TYPE_DATE: {
        const QDate dt = val.toDate();
        const ISC_DATE x = Fb::util()->encodeDate(dt.year(), dt.month(), dt.day());
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case SQL_TYPE_TIME: {
        const ISC_TIME x = encodeTime(val.toTime());
        std::memcpy(p, &x, sizeof x);
        break;
    }
    case SQL_TIMESTAMP: {
        const QDateTime dt = val.toDateTime();
        ISC_TIMESTAMP ts;
        ts.timestamp_date =
            Fb::util()->encodeDate(dt.date().year(), dt.date().month(), dt.date().day());
        ts.timestamp_time = encodeTime(dt.time());
        std::memcpy(p, &ts, sizeof ts);
        break;
    }
    case SQL_VARYING: {
        const unsigned short len = static_cast<unsigned short>(text.size());
        std::memcpy(p, &len, sizeof len);
        std::memcpy(p + sizeof len, text.constData(), size_t(len));
        break;
    }
    default:
        break;
    }
}

Column describe(ThrowStatusWrapper *st, IMessageMetadata *meta, unsigned i)
{
    Column c;
    c.type = meta->getType(st, i) & ~1u;
    c.subType = meta->getSubType(st, i);
    c.scale = meta->getScale(st, i);
    c.charset = meta->getCharSet(st, i);
    c.length = meta->getLength(st, i);
    c.offset = meta->getOffset(st, i);
    c.nullOffset = meta->getNullOffset(st, i);
    return c;
}

namespace {

QVariant scaled(qint64 n, int scale)
{
    if (scale >= 0)
        return QVariant(n);
    double d = double(n);
    for (int k = 0; k < -scale; ++k)
        d /= 10;
    return QVariant(d);
}

QVariant text(const Column &c, const char *data, int size)
{
    if (c.charset == Fb::CharsetOctets)
        return QByteArray(data, size);
    return Win1252::decode(data, size);
}

} // namespace

bool isNull(const Column &c, const unsigned char *buf)
{
    short mark;
    std::memcpy(&mark, buf + c.nullOffset, sizeof mark);
    return mark != 0;
}

bool textOf(const Column &c, const unsigned char *buf, const char *&data, size_t &length)
{
    if ((c.type != SQL_TEXT && c.type != SQL_VARYING) || isNull(c, buf))
        return false;
    const unsigned char *p = buf + c.offset;
    if (c.type == SQL_TEXT) {
        data = reinterpret_cast<const char *>(p);
        length = c.length;
        return true;
    }
    unsigned short n;
    std::memcpy(&n, p, sizeof n);
    data = reinterpret_cast<const char *>(p + sizeof n);
    length = n;
    return true;
}

QVariant readColumn(const Column &c, const unsigned char *buf, IAttachment *att, ITransaction *tra,
                    bool blobIds)
{
    if (isNull(c, buf))
        return QVariant();
    return readValue(c, buf + c.offset, att, tra, blobIds);
}

unsigned storedLength(const Column &c, const unsigned char *p)
{
    if (c.type != SQL_VARYING)
        return c.length;
    unsigned short n;
    std::memcpy(&n, p, sizeof n);
    return unsigned(sizeof n) + n;
}

QVariant readValue(const Column &c, const unsigned char *p, IAttachment *att, ITransaction *tra,
                   bool blobIds)
{
    switch (c.type) {
    case SQL_TEXT:
        return text(c, reinterpret_cast<const char *>(p), int(c.length));
    case SQL_VARYING: {
        unsigned short n;
        std::memcpy(&n, p, sizeof n);
        return text(c, reinterpret_cast<const char *>(p + sizeof n), int(n));
    }
    case SQL_SHORT: {
        short n;
        std::memcpy(&n, p, sizeof n);
        return c.scale < 0 ? scaled(n, c.scale) : QVariant(int(n));
    }
    case SQL_LONG: {
        ISC_LONG n;
        std::memcpy(&n, p, sizeof n);
        return c.scale < 0 ? scaled(n, c.scale) : QVariant(int(n));
    }
    case SQL_INT64: {
        ISC_INT64 n;
        std::memcpy(&n, p, sizeof n);
        return scaled(n, c.scale);
    }
    case SQL_FLOAT: {
        float f;
        std::memcpy(&f, p, sizeof f);
        return double(f);
    }
    case SQL_DOUBLE:
    case SQL_D_FLOAT: {
        double f;
        std::memcpy(&f, p, sizeof f);
        return f;
    }
    case SQL_BOOLEAN:
        return bool(*p);
    case SQL_TYPE_DATE: {
        ISC_DATE x;
        std::memcpy(&x, p, sizeof x);
        unsigned y, m, d;
        Fb::util()->decodeDate(x, &y, &m, &d);
        return QDate(int(y), int(m), int(d));
    }
    case SQL_TYPE_TIME: {
        ISC_TIME x;
        std::memcpy(&x, p, sizeof x);
        unsigned h, m, s, frac;
        Fb::util()->decodeTime(x, &h, &m, &s, &frac);
        return QTime(int(h), int(m), int(s), int(frac / 10));
    }
    case SQL_TIMESTAMP: {
        ISC_TIMESTAMP ts;
        std::memcpy(&ts, p, sizeof ts);
        unsigned y, mo, d, h, mi, s, frac;
        Fb::util()->decodeDate(ts.timestamp_date, &y, &mo, &d);
        Fb::util()->decodeTime(ts.timestamp_time, &h, &mi, &s, &frac);
        return QDateTime(QDate(int(y), int(mo), int(d)),
                         QTime(int(h), int(mi), int(s), int(frac / 10)));
    }
    case SQL_BLOB: {
        TIBBlobId id;
        std::memcpy(&id.quad, p, sizeof id.quad);
        id.text = c.subType == 1 && c.charset != Fb::CharsetOctets;
        if (blobIds)
            return QVariant::fromValue(id);
        return IBBlob::contents(att, tra, id);
    }
    case SQL_NULL:
        return QVariant();
    default:
        throw EIBError(QStringLiteral("Tipo di colonna non gestito: %1").arg(c.type));
    }
}

} // namespace IBMessage
