#pragma once

#include <QString>
#include <QStringList>

// A dynamic library opened by file name at the moment of a call, so the tool
// runs without any of the suite's libraries installed.
//
// Where a name is looked for: a bare name first in the search folder (the
// program's folder unless told otherwise), then through the system's loader;
// a name with a folder only where it points. The name is kept as it is
// ("Norvak.dll" is a file of that name here too); a name without an extension
// ("Tolq") is also tried as "Tolq.so" and "libTolq.so".
//
// Libraries are opened with RTLD_NODELETE: a library may leave a window or a
// thread running after its function returns, and releasing it must never
// unmap that code.
class TLibrary
{
public:
    TLibrary() = default;
    explicit TLibrary(const QString &name) { load(name); }
    ~TLibrary() { release(); }
    TLibrary(const TLibrary &) = delete;
    TLibrary &operator=(const TLibrary &) = delete;

    // Releases any library held, then opens the first candidate that loads.
    bool load(const QString &name);
    bool loaded() const { return m_handle != nullptr; }
    // The address of an export, or null when the library lacks it.
    void *resolve(const char *symbol) const;
    // The typed form of resolve, for a plain C function.
    template <typename Fn> Fn function(const char *symbol) const
    {
        return reinterpret_cast<Fn>(resolve(symbol));
    }
    void release();
    // Lets go of the handle without closing it: the library stays loaded for
    // the rest of the run.
    void keep() { m_handle = nullptr; }

    // The file that was opened, or the loader's last complaint when none was.
    QString fileName() const { return m_fileName; }
    QString errorString() const { return m_error; }

    // The files tried for a name, in order; a bare file name in the list is
    // left to the system's loader.
    static QStringList candidates(const QString &name, const QString &folder);

    // The folder searched before the system's loader; empty restores the
    // program's folder (tests point it at their own libraries).
    static void setSearchFolder(const QString &folder);
    static QString searchFolder();

private:
    void *m_handle = nullptr;
    QString m_fileName;
    QString m_error;
};
