#pragma once

#include <QString>
#include <QVector>
#include <stdexcept>

// The one exception raised by the database layer. It keeps Firebird's own
// message text and the whole list of error codes, so callers can tell a lock
// conflict from a missing file without parsing text.
class EIBError : public std::runtime_error
{
public:
    explicit EIBError(const QString &message, QVector<long> codes = {}, int osErrno = 0);

    QString message() const { return m_message; }
    const QVector<long> &codes() const { return m_codes; }
    bool hasCode(long code) const { return m_codes.contains(code); }
    // The operating-system error number the engine reported, 0 when none.
    int osErrno() const { return m_osErrno; }

    // Another transaction holds the row or the table, or changed the row since
    // this one began, or a wait for it outlasted the lock timeout.
    bool isLockConflict() const;
    // The database file does not exist or cannot be opened; as opposed to a
    // login, network or lock failure, after which creating a new file is wrong.
    bool isFileOpenFailure() const;
    bool isMissingFile() const;
    // Another engine instance (a server, another program with the database
    // in process) has the file open.
    bool isHeldElsewhere() const;

private:
    QString m_message;
    QVector<long> m_codes;
    int m_osErrno;
};

namespace IBErrorCodes {
constexpr long Deadlock = 335544336;              // isc_deadlock
constexpr long LockConflict = 335544345;          // isc_lock_conflict
constexpr long IoError = 335544344;               // isc_io_error
constexpr long UpdateConflict = 335544451;        // isc_update_conflict
constexpr long LockTimeout = 335544510;           // isc_lock_timeout
constexpr long ConcurrentTransaction = 335544878; // isc_concurrent_transaction
constexpr long UniqueKeyViolation = 335544665;    // isc_unique_key_violation
constexpr long NetworkError = 335544721;          // isc_network_error
constexpr long ConnectRejected = 335544421;       // isc_connect_reject
constexpr long LoginFailed = 335544472;           // isc_login
constexpr long DatabaseInUse = 335545107;         // isc_lock_dir_access / exclusive use
} // namespace IBErrorCodes
