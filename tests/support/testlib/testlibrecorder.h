#pragma once

#include "win1252.h"

#include <QString>
#include <dlfcn.h>

// Reads back what one of the test libraries received. The library is opened
// by the same file the tool's loader opens, so both share one instance.
class TestLibRecorder
{
public:
    explicit TestLibRecorder(const QString &file)
        : m_handle(dlopen(file.toLocal8Bit().constData(), RTLD_NOW | RTLD_NODELETE))
    {
        if (m_handle) {
            m_last = reinterpret_cast<const char *(*)()>(dlsym(m_handle, "TestLibLastCall"));
            m_count = reinterpret_cast<int (*)()>(dlsym(m_handle, "TestLibCallCount"));
            m_reset = reinterpret_cast<void (*)()>(dlsym(m_handle, "TestLibReset"));
        }
    }
    ~TestLibRecorder()
    {
        if (m_handle)
            dlclose(m_handle);
    }
    TestLibRecorder(const TestLibRecorder &) = delete;
    TestLibRecorder &operator=(const TestLibRecorder &) = delete;

    bool valid() const { return m_last && m_count && m_reset; }
    // The last call as "Export|argument|argument...", texts decoded.
    QString lastCall() const { return m_last ? Win1252::decode(QByteArray(m_last())) : QString(); }
    int calls() const { return m_count ? m_count() : -1; }
    void reset()
    {
        if (m_reset)
            m_reset();
    }

private:
    void *m_handle;
    const char *(*m_last)() = nullptr;
    int (*m_count)() = nullptr;
    void (*m_reset)() = nullptr;
};

inline QString testLibsDir()
{
    return QStringLiteral(TESTLIBS_DIR);
}
