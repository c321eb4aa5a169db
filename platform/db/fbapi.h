#pragma once

// Internal to the database layer: access to the Firebird client's master
// interface and the translation of its errors into EIBError.

#include "iberror.h"

#include <firebird/Interface.h>

namespace Fb {

Firebird::IMaster *master();
Firebird::IUtil *util();

// Character set id of WIN1252 in Firebird's catalogue.
constexpr unsigned CharsetNone = 0;
constexpr unsigned CharsetOctets = 1;
constexpr unsigned CharsetWin1252 = 53;

EIBError toError(const Firebird::IStatus *status);

// Owns a status object and throws EIBError from FbException, so that every
// call into the client reads as one line.
class Status
{
public:
    Status();
    ~Status();
    Status(const Status &) = delete;
    Status &operator=(const Status &) = delete;

    Firebird::ThrowStatusWrapper *operator&() { return &m_wrapper; }

    template <typename F> auto run(F &&f) -> decltype(f())
    {
        try {
            return f();
        } catch (const Firebird::FbException &e) {
            throw toError(e.getStatus());
        }
    }

private:
    Firebird::IStatus *m_status;
    Firebird::ThrowStatusWrapper m_wrapper;
};

// Client objects are freed either by reference count or by disposal.
template <typename T> void free(T *p)
{
    p->release();
}
inline void free(Firebird::IXpbBuilder *p)
{
    p->dispose();
}

// Frees a client object at scope end.
template <typename T> struct Ref
{
    T *p = nullptr;
    Ref() = default;
    explicit Ref(T *ptr)
        : p(ptr)
    {
    }
    ~Ref() { reset(); }
    Ref(const Ref &) = delete;
    Ref &operator=(const Ref &) = delete;
    void reset(T *ptr = nullptr)
    {
        if (p)
            Fb::free(p);
        p = ptr;
    }
    T *operator->() const { return p; }
    explicit operator bool() const { return p != nullptr; }
};

} // namespace Fb
