#pragma once

#include <functional>

// A statement that may wait for another transaction's lock keeps the window
// from answering until the lock is freed or its timeout runs out. The layer
// has no widgets: the application installs what the user sees meanwhile (the
// busy cursor; its end may come later than the scope's), and the statements
// of a waiting transaction run inside a Scope.
namespace DbWait {

void setIndicator(std::function<void()> begin, std::function<void()> end);

class Scope
{
public:
    explicit Scope(bool mayWait);
    ~Scope();
    Scope(const Scope &) = delete;
    Scope &operator=(const Scope &) = delete;

private:
    bool m_shown;
};

} // namespace DbWait
