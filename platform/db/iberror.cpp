#include "iberror.h"

EIBError::EIBError(const QString &message, QVector<long> codes, int osErrno)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_codes(std::move(codes))
    , m_osErrno(osErrno)
{
}

bool EIBError::isLockConflict() const
{
    using namespace IBErrorCodes;
    for (long c : m_codes) {
        if (c == Deadlock || c == UpdateConflict || c == ConcurrentTransaction ||
            c == LockConflict || c == LockTimeout)
            return true;
    }
    return false;
}

bool EIBError::isFileOpenFailure() const
{
    // A file held by another engine instance (a server, another process) is
    // there all the same: an I/O error that carries the in-use code is a lock.
    return hasCode(IBErrorCodes::IoError) && !hasCode(IBErrorCodes::DatabaseInUse);
}

bool EIBError::isHeldElsewhere() const
{
    return hasCode(IBErrorCodes::DatabaseInUse);
}

bool EIBError::isMissingFile() const
{
    if (!hasCode(IBErrorCodes::IoError))
        return false;
    // Embedded engine: errno 2; through a server the OS text comes back instead.
    return m_osErrno == 2 || m_message.contains(QLatin1String("No such file or directory"));
}
