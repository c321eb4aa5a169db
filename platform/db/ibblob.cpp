#include "ibblob.h"

#include "fbapi.h"
#include "win1252.h"

#include <cstring>

using namespace Firebird;

namespace IBBlob {

namespace {
constexpr unsigned kSegment = 32768;
}

QByteArray read(IAttachment *att, ITransaction *tra, ISC_QUAD id)
{
    QByteArray out;
    Fb::Status st;
    st.run([&] {
        Fb::Ref<IBlob> blob(att->openBlob(&st, tra, &id, 0, nullptr));
        char buf[kSegment];
        for (;;) {
            unsigned got = 0;
            const int rc = blob->getSegment(&st, kSegment, buf, &got);
            if (rc == IStatus::RESULT_NO_DATA)
                break;
            out.append(buf, int(got));
        }
        blob->close(&st);
        blob.p = nullptr; // close released it
    });
    return out;
}

QVariant contents(IAttachment *att, ITransaction *tra, const TIBBlobId &id)
{
    ISC_QUAD quad;
    std::memcpy(&quad, &id.quad, sizeof quad);
    const QByteArray bytes = read(att, tra, quad);
    if (id.text)
        return Win1252::decode(bytes);
    return bytes;
}

ISC_QUAD write(IAttachment *att, ITransaction *tra, const QByteArray &bytes)
{
    ISC_QUAD id{};
    Fb::Status st;
    st.run([&] {
        Fb::Ref<IBlob> blob(att->createBlob(&st, tra, &id, 0, nullptr));
        for (int pos = 0; pos < bytes.size(); pos += int(kSegment)) {
            const unsigned n = unsigned(qMin<qsizetype>(kSegment, bytes.size() - pos));
            blob->putSegment(&st, n, bytes.constData() + pos);
        }
        blob->close(&st);
        blob.p = nullptr;
    });
    return id;
}

} // namespace IBBlob
