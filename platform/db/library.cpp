#include "library.h"

#include "pathutil.h"

#include <QFile>
#include <QFileInfo>
#include <dlfcn.h>

namespace {

QString &searchFolderOverride()
{
    static QString folder;
    return folder;
}

bool hasFolder(const QString &name)
{
    return name.contains(QLatin1Char('/')) || name.contains(QLatin1Char('\\'));
}

// The names a library may go by: as given, and for a name without an
// extension the usual shared-object spellings too.
QStringList spellings(const QString &fileName)
{
    QStringList names{fileName};
    if (!fileName.contains(QLatin1Char('.'))) {
        names << fileName + QStringLiteral(".so");
        names << QStringLiteral("lib") + fileName + QStringLiteral(".so");
    }
    return names;
}

} // namespace

QStringList TLibrary::candidates(const QString &name, const QString &folder)
{
    if (name.trimmed().isEmpty())
        return {};
    if (hasFolder(name)) {
        const QString local = toLocalPath(name);
        const int slash = local.lastIndexOf(QLatin1Char('/'));
        const QString dir = local.left(slash + 1);
        QStringList out;
        for (const QString &n : spellings(local.mid(slash + 1)))
            out << resolvePath(dir + n);
        return out;
    }
    QString dir = folder;
    if (!dir.isEmpty() && !dir.endsWith(QLatin1Char('/')))
        dir += QLatin1Char('/');
    QStringList out;
    // The suite's names come from Windows, where case did not matter.
    for (const QString &n : spellings(name))
        out << resolvePath(dir + n);
    out << spellings(name);
    return out;
}

void TLibrary::setSearchFolder(const QString &folder)
{
    searchFolderOverride() = folder;
}

QString TLibrary::searchFolder()
{
    const QString &folder = searchFolderOverride();
    return folder.isEmpty() ? programFolder() : folder;
}

bool TLibrary::load(const QString &name)
{
    release();
    m_error.clear();
    for (const QString &file : candidates(name, searchFolder())) {
        // A path is opened only when the file is there; a bare name goes to
        // the system's loader.
        const bool isPath = file.contains(QLatin1Char('/'));
        if (isPath && !QFileInfo(file).isFile())
            continue;
        const QByteArray encoded = QFile::encodeName(file);
        dlerror();
        m_handle = dlopen(encoded.constData(), RTLD_NOW | RTLD_LOCAL | RTLD_NODELETE);
        if (m_handle) {
            m_fileName = file;
            return true;
        }
        if (const char *why = dlerror())
            m_error = QString::fromLocal8Bit(why);
    }
    if (m_error.isEmpty())
        m_error = QStringLiteral("%1: not found").arg(name);
    return false;
}

void *TLibrary::resolve(const char *symbol) const
{
    if (!m_handle)
        return nullptr;
    return dlsym(m_handle, symbol);
}

void TLibrary::release()
{
    if (m_handle)
        dlclose(m_handle);
    m_handle = nullptr;
    m_fileName.clear();
}
