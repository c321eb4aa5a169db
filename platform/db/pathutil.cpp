#include "pathutil.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStringList>

QString toLocalPath(const QString &path)
{
    QString local = path;
    local.replace(QLatin1Char('\\'), QLatin1Char('/'));
    return local;
}

namespace {

// The folder that the components collected so far name, for listing.
QString folderOf(const QStringList &done)
{
    if (done.isEmpty())
        return QStringLiteral(".");
    const QString joined = done.join(QLatin1Char('/'));
    return joined.isEmpty() ? QStringLiteral("/") : joined;
}

// The entry of the folder whose name equals the component ignoring case;
// empty when there is none. Entries are sorted so that the choice among names
// differing only in case does not depend on the order of the directory.
QString matchEntry(const QString &folder, const QString &component)
{
    const QStringList entries = QDir(folder).entryList(
        QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot, QDir::Name);
    for (const QString &entry : entries) {
        if (entry.compare(component, Qt::CaseInsensitive) == 0)
            return entry;
    }
    return QString();
}

} // namespace

QString resolvePath(const QString &path)
{
    const QString local = toLocalPath(path);
    if (local.isEmpty() || QFileInfo::exists(local))
        return local;

    const QStringList parts = local.split(QLatin1Char('/'));
    QStringList done;
    for (int i = 0; i < parts.size(); ++i) {
        const QString &part = parts[i];
        if (part.isEmpty() || part == QLatin1String(".") || part == QLatin1String("..")) {
            done << part;
            continue;
        }
        const QString folder = folderOf(done);
        QString found;
        const QString sep = folder.endsWith(QLatin1Char('/')) ? QString() : QStringLiteral("/");
        if (QFileInfo::exists(folder + sep + part))
            found = part;
        else
            found = matchEntry(folder, part);
        if (found.isEmpty()) {
            done << parts.mid(i);
            break;
        }
        done << found;
    }
    return done.join(QLatin1Char('/'));
}

namespace {
QString &programFolderOverride()
{
    static QString folder;
    return folder;
}
} // namespace

QString programFolder()
{
    const QString &folder = programFolderOverride();
    if (!folder.isEmpty())
        return folder.endsWith(QLatin1Char('/')) ? folder : folder + QLatin1Char('/');
    return QCoreApplication::applicationDirPath() + QLatin1Char('/');
}

void setProgramFolder(const QString &folder)
{
    programFolderOverride() = folder;
}
