#include "rawsql.h"

#include "ibdatabase.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <cstring>
#include <firebird/Interface.h>

using namespace Firebird;

namespace BenchSupport {

QString memoryFolder()
{
    const QFileInfo shm(QStringLiteral("/dev/shm"));
    return shm.isDir() && shm.isWritable() ? shm.filePath() : QDir::tempPath();
}

QString diskFolder()
{
    const QString chosen = qEnvironmentVariable("BENCH_DISK_DIR");
    return chosen.isEmpty() ? QCoreApplication::applicationDirPath() : chosen;
}

std::vector<Place> places()
{
    return {{QStringLiteral("memory"), memoryFolder()}, {QStringLiteral("disk"), diskFolder()}};
}

RawStatement::RawStatement(TIBDatabase *db, TIBTransaction *tr, const QByteArray &sql)
    : m_tr(tr)
    , m_status(new ThrowStatusWrapper(fb_get_master_interface()->getStatus()))
    , m_db(db)
{
    tr->ensureStarted();
    m_statement = db->attachment()->prepare(m_status, tr->handle(), 0, sql.constData(), 3,
                                            IStatement::PREPARE_PREFETCH_METADATA);
    m_inMeta = m_statement->getInputMetadata(m_status);
    m_outMeta = m_statement->getOutputMetadata(m_status);
    m_in.assign(m_inMeta->getMessageLength(m_status), 0);
    m_out.assign(m_outMeta->getMessageLength(m_status), 0);
    for (unsigned i = 0; i < parameterCount(); ++i)
        setNull(i);
}

RawStatement::~RawStatement()
{
    close();
    m_inMeta->release();
    m_outMeta->release();
    m_statement->free(m_status);
    m_status->dispose();
    delete m_status;
}

unsigned RawStatement::parameterCount() const
{
    return m_inMeta->getCount(m_status);
}

unsigned char *RawStatement::in(unsigned i, unsigned &type)
{
    type = m_inMeta->getType(m_status, i) & ~1u;
    *reinterpret_cast<short *>(&m_in[m_inMeta->getNullOffset(m_status, i)]) = 0;
    return &m_in[m_inMeta->getOffset(m_status, i)];
}

void RawStatement::setNull(unsigned i)
{
    *reinterpret_cast<short *>(&m_in[m_inMeta->getNullOffset(m_status, i)]) = -1;
}

void RawStatement::setInteger(unsigned i, int64_t value)
{
    unsigned type = 0;
    unsigned char *p = in(i, type);
    switch (type) {
    case SQL_SHORT:
        *reinterpret_cast<int16_t *>(p) = int16_t(value);
        break;
    case SQL_LONG:
        *reinterpret_cast<int32_t *>(p) = int32_t(value);
        break;
    case SQL_INT64:
        *reinterpret_cast<int64_t *>(p) = value;
        break;
    default:
        setText(i, QByteArray::number(qlonglong(value)));
    }
}

void RawStatement::setText(unsigned i, const QByteArray &bytes)
{
    unsigned type = 0;
    unsigned char *p = in(i, type);
    const unsigned length = m_inMeta->getLength(m_status, i);
    if (type == SQL_VARYING) {
        const unsigned n = std::min<unsigned>(unsigned(bytes.size()), length);
        *reinterpret_cast<uint16_t *>(p) = uint16_t(n);
        std::memcpy(p + 2, bytes.constData(), n);
    } else if (type == SQL_TEXT) {
        const unsigned n = std::min<unsigned>(unsigned(bytes.size()), length);
        std::memcpy(p, bytes.constData(), n);
        std::memset(p + n, ' ', length - n);
    } else if (type == SQL_BLOB) {
        IBlob *blob = m_db->attachment()->createBlob(m_status, m_tr->handle(),
                                                     reinterpret_cast<ISC_QUAD *>(p), 0, nullptr);
        for (int at = 0; at < bytes.size(); at += 32768)
            blob->putSegment(m_status, unsigned(std::min(32768, int(bytes.size()) - at)),
                             bytes.constData() + at);
        blob->close(m_status);
    } else {
        setInteger(i, bytes.toLongLong());
    }
}

void RawStatement::execute()
{
    m_statement->execute(m_status, m_tr->handle(), m_inMeta, m_in.data(), nullptr, nullptr);
}

void RawStatement::open()
{
    close();
    m_cursor =
        m_statement->openCursor(m_status, m_tr->handle(), m_inMeta, m_in.data(), m_outMeta, 0);
}

bool RawStatement::next()
{
    return m_cursor->fetchNext(m_status, m_out.data()) == IStatus::RESULT_OK;
}

void RawStatement::close()
{
    if (!m_cursor)
        return;
    m_cursor->close(m_status);
    m_cursor = nullptr;
}

bool RawStatement::isNull(unsigned column) const
{
    return *reinterpret_cast<const short *>(&m_out[m_outMeta->getNullOffset(m_status, column)]) !=
           0;
}

int64_t RawStatement::integer(unsigned column) const
{
    const unsigned char *p = &m_out[m_outMeta->getOffset(m_status, column)];
    switch (m_outMeta->getType(m_status, column) & ~1u) {
    case SQL_SHORT:
        return *reinterpret_cast<const int16_t *>(p);
    case SQL_LONG:
        return *reinterpret_cast<const int32_t *>(p);
    case SQL_INT64:
        return *reinterpret_cast<const int64_t *>(p);
    default:
        return text(column).trimmed().toLongLong();
    }
}

QByteArray RawStatement::text(unsigned column) const
{
    const unsigned char *p = &m_out[m_outMeta->getOffset(m_status, column)];
    const char *c = reinterpret_cast<const char *>(p);
    switch (m_outMeta->getType(m_status, column) & ~1u) {
    case SQL_VARYING:
        return QByteArray(c + 2, *reinterpret_cast<const uint16_t *>(p));
    case SQL_TEXT:
        return QByteArray(c, int(m_outMeta->getLength(m_status, column)));
    default:
        return QByteArray::number(qlonglong(integer(column)));
    }
}

QByteArray RawStatement::blob(unsigned column) const
{
    if (isNull(column))
        return QByteArray();
    ISC_QUAD id =
        *reinterpret_cast<const ISC_QUAD *>(&m_out[m_outMeta->getOffset(m_status, column)]);
    IBlob *blob = m_db->attachment()->openBlob(m_status, m_tr->handle(), &id, 0, nullptr);
    QByteArray bytes;
    char buffer[32768];
    for (;;) {
        unsigned read = 0;
        const int r = blob->getSegment(m_status, sizeof buffer, buffer, &read);
        if (r != IStatus::RESULT_OK && r != IStatus::RESULT_SEGMENT)
            break;
        bytes.append(buffer, int(read));
    }
    blob->close(m_status);
    return bytes;
}

unsigned RawStatement::column(const char *name) const
{
    for (unsigned i = 0; i < m_outMeta->getCount(m_status); ++i) {
        if (std::strcmp(m_outMeta->getAlias(m_status, i), name) == 0)
            return i;
    }
    qFatal("no column %s", name);
}

void rawExecute(TIBDatabase *db, TIBTransaction *tr, const QByteArray &sql)
{
    RawStatement(db, tr, sql).execute();
}

} // namespace BenchSupport
