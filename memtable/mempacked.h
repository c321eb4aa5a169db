#pragma once

#include "dataset.h"

#include <QByteArray>

// A record's values packed in one block of bytes, for the compact in-memory
// table: a tag per value, then its bytes (numbers as themselves, texts in one
// byte a character when they can be). Every value comes back with its own
// type, a null or invalid one included.
namespace MemPacked {

QByteArray pack(const TRecordBuffer &values);
QVariant unpack(const QByteArray &packed, int fieldNo);
// Every value in one walk, fieldCount of them (invalid past the packed ones).
TRecordBuffer unpackAll(const QByteArray &packed, int fieldCount);

} // namespace MemPacked
