#include "databasecreation.h"

#include "databaselocation.h"
#include "guard.h"
#include "ibdatabase.h"
#include "messages.h"

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

namespace {

QString osError(int err)
{
    return QString::fromLocal8Bit(std::strerror(err));
}

// Whether another process has the file open as a database: the engine keeps
// an exclusive lock on every file it has open.
bool heldByAnotherProcess(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return false;
    const bool held = ::flock(fd, LOCK_EX | LOCK_NB) != 0 && errno == EWOULDBLOCK;
    ::close(fd);
    return held;
}

// fsync of a file or folder, so that a power loss cannot undo what follows.
void syncPath(const QString &path, int flags)
{
    const int fd = ::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

// Gives the finished file its name in one step, never over a file that
// appeared there meanwhile.
bool renameNoReplace(const QString &from, const QString &to, QString &why)
{
    const QByteArray src = QFile::encodeName(from), dst = QFile::encodeName(to);
    int rc = ::renameat2(AT_FDCWD, src.constData(), AT_FDCWD, dst.constData(), RENAME_NOREPLACE);
    if (rc != 0 && (errno == EINVAL || errno == ENOSYS)) {
        // A file system without the flag: the name was checked free just now.
        if (QFileInfo::exists(to)) {
            errno = EEXIST;
        } else {
            rc = ::rename(src.constData(), dst.constData());
        }
    }
    if (rc != 0) {
        why = osError(errno);
        return false;
    }
    syncPath(QFileInfo(to).absolutePath(), O_RDONLY | O_DIRECTORY);
    return true;
}

} // namespace

QString causeOf(const EIBError &e)
{
    return e.isHeldElsewhere() ? DbLocationText::heldElsewhere() : e.message();
}

// A new local database, all or nothing: whatever interrupts its creation or
// its first schema leaves no file under the final name, only the temporary
// one, which the next creation removes.
bool createAllOrNothing(TIBDatabase *database, const QStringList &connectLines,
                        const QStringList &createLines, DbOpening &opening)
{
    const QString finalName = database->DatabaseName;
    // A file that is there but cannot be opened is never replaced; the
    // reason stays the one its opening gave.
    if (QFileInfo::exists(finalName))
        return false;
    const QString temp = DbLocationText::creationName(finalName);
    if (QFileInfo::exists(temp)) {
        if (heldByAnotherProcess(temp)) {
            opening.cause = DbLocationText::heldElsewhere();
            return false;
        }
        if (::unlink(QFile::encodeName(temp).constData()) != 0) {
            opening.cause = temp + QStringLiteral(": ") + osError(errno);
            return false;
        }
    }

    database->DatabaseName = temp;
    database->Params = createLines;
    database->SQLDialect = 3;
    try {
        database->CreateDatabase();
    } catch (const EIBError &e) {
        database->DatabaseName = finalName;
        database->Params = connectLines;
        opening.cause = causeOf(e);
        return false;
    }
    database->Params = connectLines;
    opening.created = true;
    Messages::plain(QStringLiteral("Effettuata creazione data base"));

    QString why;
    bool done = false;
    try {
        done = opening.buildNew(why);
        if (done) {
            database->Close();
            syncPath(temp, O_RDONLY);
            done = renameNoReplace(temp, finalName, why);
        }
    } catch (const std::exception &e) {
        done = false;
        why = Guard::messageOf(e);
    }
    if (!done) {
        try {
            database->Close();
        } catch (const EIBError &) {
            // Dropped all the same; the file goes next.
        }
        ::unlink(QFile::encodeName(temp).constData());
        database->DatabaseName = finalName;
        opening.cause = why;
        opening.abandoned = true;
        return false;
    }
    database->DatabaseName = finalName;
    try {
        database->Open();
    } catch (const EIBError &e) {
        opening.cause = causeOf(e);
        opening.abandoned = true;
        return false;
    }
    return true;
}
