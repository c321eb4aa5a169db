#pragma once

// Internal to the database layer: whole-blob reads and writes.

#include <QByteArray>

#include <firebird/Interface.h>

namespace IBBlob {

QByteArray read(Firebird::IAttachment *att, Firebird::ITransaction *tra, ISC_QUAD id);
ISC_QUAD write(Firebird::IAttachment *att, Firebird::ITransaction *tra, const QByteArray &bytes);

} // namespace IBBlob
