#include "dbwait.h"

namespace DbWait {
namespace {
std::function<void()> s_begin;
std::function<void()> s_end;
} // namespace

void setIndicator(std::function<void()> begin, std::function<void()> end)
{
    s_begin = std::move(begin);
    s_end = std::move(end);
}

Scope::Scope(bool mayWait)
    : m_shown(mayWait && s_begin && s_end)
{
    if (m_shown)
        s_begin();
}

Scope::~Scope()
{
    if (m_shown)
        s_end();
}

} // namespace DbWait
