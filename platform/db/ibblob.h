#pragma once

// Internal to the database layer: whole-blob reads and writes.

#include "ibblobid.h"

#include <QByteArray>
#include <QVariant>

#include <firebird/Interface.h>

namespace IBBlob {

QByteArray read(Firebird::IAttachment *att, Firebird::ITransaction *tra, ISC_QUAD id);
// A blob's contents as a column value: QString for a memo, else QByteArray.
QVariant contents(Firebird::IAttachment *att, Firebird::ITransaction *tra, const TIBBlobId &id);
ISC_QUAD write(Firebird::IAttachment *att, Firebird::ITransaction *tra, const QByteArray &bytes);

} // namespace IBBlob
