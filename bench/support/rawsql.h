#pragma once

// The floors' side of every benchmark: statements run straight through the
// Firebird client's interfaces, with none of our statement layer between.
// Parameters are positional ("?") and written in the statement's own input
// layout; text goes and comes as the connection's bytes (Windows-1252), and
// a blob column is handed back as its id, its contents never read.

#include <QByteArray>
#include <QString>
#include <cstdint>
#include <vector>

namespace Firebird {
class IMessageMetadata;
class IResultSet;
class IStatement;
class ThrowStatusWrapper;
} // namespace Firebird

class TIBDatabase;
class TIBTransaction;

namespace BenchSupport {

// Where the benchmarks keep their databases: in memory (/dev/shm, or TMPDIR
// when there is none), where commits cost no flush, and on disk (the
// folder the program lies in), where they do.
QString memoryFolder();
QString diskFolder();

// "memory" and "disk" with their folders, in that order.
struct Place
{
    QString name;
    QString folder;
};
std::vector<Place> places();

class RawStatement
{
public:
    // Prepared on `tr`'s database, the transaction started when needed.
    RawStatement(TIBDatabase *db, TIBTransaction *tr, const QByteArray &sql);
    ~RawStatement();
    RawStatement(const RawStatement &) = delete;
    RawStatement &operator=(const RawStatement &) = delete;

    unsigned parameterCount() const;
    void setNull(unsigned i);
    void setInteger(unsigned i, int64_t value);
    // Windows-1252 bytes: into a text parameter, or a blob written now.
    void setText(unsigned i, const QByteArray &bytes);

    void execute();

    // The result set, row by row; false after the last.
    void open();
    bool next();
    void close();
    bool isNull(unsigned column) const;
    int64_t integer(unsigned column) const;
    QByteArray text(unsigned column) const; // text columns only
    QByteArray blob(unsigned column) const; // its contents, read now
    unsigned column(const char *name) const;

private:
    unsigned char *in(unsigned i, unsigned &type);

    TIBTransaction *m_tr;
    Firebird::ThrowStatusWrapper *m_status;
    Firebird::IStatement *m_statement = nullptr;
    Firebird::IMessageMetadata *m_inMeta = nullptr;
    Firebird::IMessageMetadata *m_outMeta = nullptr;
    Firebird::IResultSet *m_cursor = nullptr;
    std::vector<unsigned char> m_in, m_out;
    TIBDatabase *m_db;
};

// Runs `sql` once with no parameters.
void rawExecute(TIBDatabase *db, TIBTransaction *tr, const QByteArray &sql);

} // namespace BenchSupport
