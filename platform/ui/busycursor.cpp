#include "busycursor.h"

#include <QApplication>
#include <QCursor>

namespace {
int s_depth = 0;
} // namespace

BusyCursor::BusyCursor()
{
    ++s_depth;
    QApplication::setOverrideCursor(QCursor(Qt::WaitCursor));
}

BusyCursor::~BusyCursor()
{
    QApplication::restoreOverrideCursor();
    --s_depth;
}

int BusyCursor::depth()
{
    return s_depth;
}

BusyCursor::Interrupted::Interrupted()
    : m_pushed(s_depth > 0)
{
    if (m_pushed)
        QApplication::setOverrideCursor(QCursor(Qt::ArrowCursor));
}

BusyCursor::Interrupted::~Interrupted()
{
    if (m_pushed)
        QApplication::restoreOverrideCursor();
}
