#pragma once

// The wait cursor for the length of a scope: a database opening, a sign-in,
// anything that can keep the window from answering for more than a second.
// Scopes nest. A message box or modal window shown meanwhile gets the normal
// cursor back while it is up (Messages and Modal see to it).
class BusyCursor
{
public:
    BusyCursor();
    ~BusyCursor();
    BusyCursor(const BusyCursor &) = delete;
    BusyCursor &operator=(const BusyCursor &) = delete;

    // How many busy scopes are open now.
    static int depth();

    // The normal cursor for the length of a scope inside a busy one (a box
    // waiting for the user); does nothing outside busy scopes.
    class Interrupted
    {
    public:
        Interrupted();
        ~Interrupted();
        Interrupted(const Interrupted &) = delete;
        Interrupted &operator=(const Interrupted &) = delete;

    private:
        bool m_pushed;
    };
};
