#include "ibsql.h"

#include "fbapi.h"
#include "ibblob.h"
#include "sqlparams.h"
#include "win1252.h"

#include <ibase.h>

#include <cstring>
#include <vector>

using namespace Firebird;

bool TSQLField::isBlob() const
{
    return SQLType == SQL_BLOB;
}

TIBValue &TSQLParams::ByName(const QString &name)
{
    if (TIBValue *p = FindParam(name))
        return *p;
    throw EIBError(QStringLiteral("Parameter %1 not found").arg(name));
}

TIBValue *TSQLParams::FindParam(const QString &name)
{
    for (TIBValue &p : m_params) {
        if (p.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &p;
    }
    return nullptr;
}

void TSQLParams::setNames(const QStringList &names)
{
    QVector<TIBValue> next;
    for (const QString &n : names) {
        bool seen = false;
        for (const TIBValue &p : next)
            seen |= !n.isEmpty() && p.Name == n;
        if (seen)
            continue;
        // A value set before the text changed survives under the same name.
        const TIBValue *old = n.isEmpty() ? nullptr : FindParam(n);
        next.append(old ? *old : TIBValue(n));
    }
    m_params = next;
}

void TSQLParams::ClearValues()
{
    for (TIBValue &p : m_params)
        p.Clear();
}

// ---------------------------------------------------------------------------

struct TIBSQL::Impl
{
    QString preparedText;
    QStringList positionalNames; // name of each "?" in order
    IStatement *statement = nullptr;
    IMessageMetadata *inMeta = nullptr;
    IMessageMetadata *outMeta = nullptr;
    IResultSet *cursor = nullptr;
    unsigned type = 0;
    std::vector<unsigned char> outBuffer;

    void closeCursor()
    {
        if (!cursor)
            return;
        Fb::Status st;
        try {
            st.run([&] { cursor->close(&st); });
        } catch (const EIBError &) {
            cursor->release();
        }
        cursor = nullptr;
    }

    void release()
    {
        closeCursor();
        if (inMeta)
            inMeta->release();
        if (outMeta)
            outMeta->release();
        if (statement)
            statement->release();
        inMeta = outMeta = nullptr;
        statement = nullptr;
        preparedText.clear();
    }
};

// Changing the database drops the prepared statement, changing the
// transaction the open cursor.
TIBSQL::TIBSQL(QObject *owner)
    : QObject(owner)
    , m_binding(
          this, [this] { freeStatement(); }, [this] { Close(); })
    , d(std::make_unique<Impl>())
{
}

TIBSQL::~TIBSQL()
{
    d->release();
}

bool TIBSQL::Open() const
{
    return d->cursor != nullptr;
}

bool TIBSQL::Prepared() const
{
    return d->statement != nullptr;
}

void TIBSQL::syncParams()
{
    const QString text = SQL.join(QLatin1Char('\n'));
    if (text == m_scannedText)
        return;
    m_scannedText = text;
    if (ParamCheck)
        m_params.setNames(parseSqlParams(text).names);
}

TSQLParams &TIBSQL::Params()
{
    syncParams();
    return m_params;
}

void TIBSQL::freeStatement()
{
    d->release();
    m_eof = true;
}

void TIBSQL::Prepare()
{
    m_binding.checkReady();
    const QString text = SQL.join(QLatin1Char('\n'));
    if (d->statement && text == d->preparedText)
        return;
    freeStatement();

    ParsedSql parsed = ParamCheck ? parseSqlParams(text) : ParsedSql{text, {}};
    const QByteArray bytes = Win1252::encode(parsed.text);
    Transaction()->ensureStarted();

    Fb::Status st;
    st.run([&] {
        d->statement = Database()->attachment()->prepare(
            &st, Transaction()->handle(), unsigned(bytes.size()), bytes.constData(),
            unsigned(Database()->SQLDialect), IStatement::PREPARE_PREFETCH_METADATA);
        d->type = d->statement->getType(&st);
        d->inMeta = d->statement->getInputMetadata(&st);
        d->outMeta = d->statement->getOutputMetadata(&st);

        const unsigned inCount = d->inMeta->getCount(&st);
        if (!ParamCheck) {
            parsed.names.clear();
            for (unsigned i = 0; i < inCount; ++i)
                parsed.names.append(QString());
        }
        d->positionalNames = parsed.names;
        m_params.setNames(parsed.names);

        const unsigned outCount = d->outMeta->getCount(&st);
        d->outBuffer.assign(d->outMeta->getMessageLength(&st), 0);
        m_fields.clear();
        for (unsigned i = 0; i < outCount; ++i) {
            TSQLField f(Win1252::decode(QByteArray(d->outMeta->getAlias(&st, i))));
            f.SQLType = int(d->outMeta->getType(&st, i) & ~1u);
            f.SubType = d->outMeta->getSubType(&st, i);
            f.Size = int(d->outMeta->getLength(&st, i));
            f.Scale = d->outMeta->getScale(&st, i);
            f.RelationName = QString::fromLatin1(d->outMeta->getRelation(&st, i));
            m_fields.append(f);
        }
    });
    d->preparedText = text;
}

namespace {

// Writes one parameter value into the input message, choosing a message type
// from the value so the engine does the conversion to the column's type.
class InputMessage
{
public:
    InputMessage(IMessageMetadata *declared, IAttachment *att, ITransaction *tra)
        : m_declared(declared)
        , m_att(att)
        , m_tra(tra)
    {
    }

    void build(const QVector<const TIBValue *> &values)
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
            m_meta.reset(b->getMetadata(&st));
            m_buffer.assign(m_meta->getMessageLength(&st), 0);
            for (unsigned i = 0; i < n; ++i) {
                const TIBValue *v = i < unsigned(values.size()) ? values[i] : nullptr;
                auto *nullFlag =
                    reinterpret_cast<short *>(&m_buffer[m_meta->getNullOffset(&st, i)]);
                if (!v || v->IsNull()) {
                    *nullFlag = -1;
                    continue;
                }
                *nullFlag = 0;
                write(&st, i, *v, texts[i]);
            }
        });
    }

    IMessageMetadata *meta() const { return m_meta.p; }
    unsigned char *buffer() { return m_buffer.data(); }

private:
    static void setType(ThrowStatusWrapper *st, IMetadataBuilder *b, unsigned i, unsigned type,
                        unsigned length, unsigned charset = 0)
    {
        b->setType(st, i, type | 1);
        b->setSubType(st, i, 0);
        b->setScale(st, i, 0);
        b->setLength(st, i, length);
        b->setCharSet(st, i, charset);
    }

    void write(ThrowStatusWrapper *st, unsigned i, const TIBValue &v, const QByteArray &text)
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

    static ISC_TIME encodeTime(const QTime &t)
    {
        return Fb::util()->encodeTime(t.hour(), t.minute(), t.second(), t.msec() * 10);
    }

    IMessageMetadata *m_declared;
    IAttachment *m_att;
    ITransaction *m_tra;
    Fb::Ref<IMessageMetadata> m_meta;
    std::vector<unsigned char> m_buffer;
};

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

} // namespace

void TIBSQL::ExecQuery()
{
    Prepare();
    Close();
    Transaction()->ensureStarted();
    IAttachment *att = Database()->attachment();
    ITransaction *tra = Transaction()->handle();

    QVector<const TIBValue *> values;
    for (int i = 0; i < d->positionalNames.size(); ++i) {
        const QString &name = d->positionalNames.at(i);
        values.append(name.isEmpty() ? &m_params[i] : m_params.FindParam(name));
    }
    InputMessage input(d->inMeta, att, tra);
    input.build(values);

    Fb::Status st;
    st.run([&] {
        const bool select =
            d->type == isc_info_sql_stmt_select || d->type == isc_info_sql_stmt_select_for_upd;
        if (select) {
            d->cursor =
                d->statement->openCursor(&st, tra, input.meta(), input.buffer(), d->outMeta, 0);
            m_rowsAffected = -1;
        } else {
            const bool hasOutput = d->outMeta->getCount(&st) > 0;
            d->statement->execute(&st, tra, input.meta(), input.buffer(),
                                  hasOutput ? d->outMeta : nullptr,
                                  hasOutput ? d->outBuffer.data() : nullptr);
            m_rowsAffected = qint64(d->statement->getAffectedRecords(&st));
            if (hasOutput) {
                for (int i = 0; i < m_fields.size(); ++i)
                    m_fields[i].setValue(
                        readColumn(&st, d->outMeta, unsigned(i), d->outBuffer.data(), att, tra));
                m_eof = false;
            }
        }
    });
    if (d->cursor)
        fetch();
}

void TIBSQL::fetch()
{
    Fb::Status st;
    st.run([&] {
        if (d->cursor->fetchNext(&st, d->outBuffer.data()) != IStatus::RESULT_OK) {
            m_eof = true;
            return;
        }
        m_eof = false;
        IAttachment *att = Database()->attachment();
        for (int i = 0; i < m_fields.size(); ++i)
            m_fields[i].setValue(readColumn(&st, d->outMeta, unsigned(i), d->outBuffer.data(), att,
                                            Transaction()->handle()));
    });
}

void TIBSQL::Next()
{
    if (!d->cursor || m_eof)
        return;
    fetch();
}

void TIBSQL::Close()
{
    d->closeCursor();
    m_eof = true;
}

TSQLField *TIBSQL::FindField(const QString &name)
{
    for (TSQLField &f : m_fields) {
        if (f.Name.compare(name, Qt::CaseInsensitive) == 0)
            return &f;
    }
    return nullptr;
}

TSQLField &TIBSQL::FieldByName(const QString &name)
{
    if (TSQLField *f = FindField(name))
        return *f;
    throw EIBError(QStringLiteral("Field '%1' not found").arg(name));
}

void TIBSQL::transactionEnding(TIBTransaction *)
{
    Close();
}

void TIBSQL::databaseClosing(TIBDatabase *)
{
    freeStatement();
}
