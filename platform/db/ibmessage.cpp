#include "ibmessage.h"

#include "fbapi.h"
#include "ibblob.h"
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
InputMessage::InputMessage(IMessageMetadata *declared, IAttachment *att, ITransaction *tra)
    : m_declared(declared)
    , m_att(att)
    , m_tra(tra)
{
}

InputMessage::~InputMessage()
{
    if (m_meta)
        m_meta->release();
}

void InputMessage::build(const QVector<const TIBValue *> &values)
{
    Fb::Status st;
    st.run([&] {
        const unsigned n = m_declared->getCount(&st);
        Fb::Ref<IMetadataBuilder> b(m_declared->getBuilder(&st));
        std::vector<QByteArray> texts(n);
        for (unsigned i = 0; i < n; ++i) {
            const TIBValue *v = i < unsigned(values.size()) ? values[i] : nullptr;
            const unsigned declaredType = m_declared->getType(&st, i) & ~1u;
            if (!v || v->IsNull() || declaredType == SQL_BLOB) {
                b->setType(&st, i, declaredType | 1);
                continue;
            }
            const QVariant val = v->Value();
            switch (val.typeId()) {
            case QMetaType::Int:
            case QMetaType::UInt:
            case QMetaType::LongLong:
            case QMetaType::ULongLong:
            case QMetaType::Bool:
                setType(&st, b.p, i, SQL_INT64, 8);
                break;
            case QMetaType::Double:
            case QMetaType::Float:
                setType(&st, b.p, i, SQL_DOUBLE, 8);
                break;
            case QMetaType::QDate:
                setType(&st, b.p, i, SQL_TYPE_DATE, 4);
                break;
            case QMetaType::QTime:
                setType(&st, b.p, i, SQL_TYPE_TIME, 4);
                break;
            case QMetaType::QDateTime:
                setType(&st, b.p, i, SQL_TIMESTAMP, 8);
                break;
            case QMetaType::QByteArray:
                texts[i] = val.toByteArray();
                setType(&st, b.p, i, SQL_VARYING, unsigned(qMax(1, texts[i].size())),
                        Fb::CharsetNone);
                break;
            default:
                texts[i] = Win1252::encode(v->AsString());
                setType(&st, b.p, i, SQL_VARYING, unsigned(qMax(1, texts[i].size())),
                        Fb::CharsetWin1252);
                break;
            }
        }
        m_meta = b->getMetadata(&st);
        m_buffer.assign(m_meta->getMessageLength(&st), 0);
        for (unsigned i = 0; i < n; ++i) {
            const TIBValue *v = i < unsigned(values.size()) ? values[i] : nullptr;
            auto *nullFlag = reinterpret_cast<short *>(&m_buffer[m_meta->getNullOffset(&st, i)]);
            if (!v || v->IsNull()) {
                *nullFlag = -1;
                continue;
            }
            *nullFlag = 0;
            write(&st, i, *v, texts[i]);
        }
    });
}

void InputMessage::write(ThrowStatusWrapper *st, unsigned i, const TIBValue &v,
                         const QByteArray &text)
{
    unsigned char *p = &m_buffer[m_meta->getOffset(st, i)];
    const QVariant val = v.Value();
    switch (m_meta->getType(st, i) & ~1u) {
    case SQL_BLOB: {
        const QByteArray bytes = v.AsBytes();
        const ISC_QUAD id = IBBlob::write(m_att, m_tra, bytes);
        std::memcpy(p, &id, sizeof id);
        break;
    }
    case SQL_INT64: {
        const ISC_INT64 n =
            val.typeId() == QMetaType::Bool ? (val.toBool() ? 1 : 0) : val.toLongLong();
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

QVariant readColumn(ThrowStatusWrapper *st, IMessageMetadata *meta, unsigned i,
                    const unsigned char *buf, IAttachment *att, ITransaction *tra)
{
    if (*reinterpret_cast<const short *>(buf + meta->getNullOffset(st, i)))
        return QVariant();
    const unsigned char *p = buf + meta->getOffset(st, i);
    const unsigned len = meta->getLength(st, i);
    const int scale = meta->getScale(st, i);
    const unsigned charset = meta->getCharSet(st, i);
    auto scaled = [scale](qint64 n) -> QVariant {
        if (scale >= 0)
            return QVariant(n);
        double d = double(n);
        for (int k = 0; k < -scale; ++k)
            d /= 10;
        return QVariant(d);
    };
    auto text = [charset](const char *data, int size) -> QVariant {
        if (charset == Fb::CharsetOctets)
            return QByteArray(data, size);
        return Win1252::decode(data, size);
    };
    switch (meta->getType(st, i) & ~1u) {
    case SQL_TEXT:
        return text(reinterpret_cast<const char *>(p), int(len));
    case SQL_VARYING: {
        unsigned short n;
        std::memcpy(&n, p, sizeof n);
        return text(reinterpret_cast<const char *>(p + sizeof n), int(n));
    }
    case SQL_SHORT: {
        short n;
        std::memcpy(&n, p, sizeof n);
        return scale < 0 ? scaled(n) : QVariant(int(n));
    }
    case SQL_LONG: {
        ISC_LONG n;
        std::memcpy(&n, p, sizeof n);
        return scale < 0 ? scaled(n) : QVariant(int(n));
    }
    case SQL_INT64: {
        ISC_INT64 n;
        std::memcpy(&n, p, sizeof n);
        return scaled(n);
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
        ISC_QUAD id;
        std::memcpy(&id, p, sizeof id);
        const QByteArray bytes = IBBlob::read(att, tra, id);
        if (meta->getSubType(st, i) == 1 && charset != Fb::CharsetOctets)
            return Win1252::decode(bytes);
        return bytes;
    }
    case SQL_NULL:
        return QVariant();
    default:
        throw EIBError(QStringLiteral("Tipo di colonna non gestito: %1").arg(meta->getType(st, i)));
    }
}

} // namespace IBMessage
