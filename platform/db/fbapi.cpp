#include "fbapi.h"

#include "win1252.h"

#include <ibase.h>

using namespace Firebird;

namespace Fb {

IMaster *master()
{
    static IMaster *m = fb_get_master_interface();
    return m;
}

IUtil *util()
{
    static IUtil *u = master()->getUtilInterface();
    return u;
}

EIBError toError(const IStatus *constStatus)
{
    auto *status = const_cast<IStatus *>(constStatus);
    char buffer[2048];
    const unsigned len = util()->formatStatus(buffer, sizeof(buffer) - 1, status);
    buffer[len] = '\0';
    // The message comes in the connection's character set.
    QString message = Win1252::decode(buffer, int(len)).trimmed();

    QVector<long> codes;
    int osErrno = 0;
    const intptr_t *v = status->getErrors();
    while (v && *v != isc_arg_end) {
        const intptr_t tag = *v++;
        switch (tag) {
        case isc_arg_gds:
            codes.append(long(*v++));
            break;
        case isc_arg_cstring:
            v += 2; // length, pointer
            break;
        case isc_arg_unix:
            osErrno = int(*v++);
            break;
        default: // numbers, strings, interpreted texts, SQL state: one word each
            ++v;
            break;
        }
    }
    return EIBError(message, codes, osErrno);
}

Status::Status()
    : m_status(master()->getStatus())
    , m_wrapper(m_status)
{
}

Status::~Status()
{
    m_status->dispose();
}

} // namespace Fb
