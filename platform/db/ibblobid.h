#pragma once

#include <QMetaType>
#include <QVariant>
#include <QtGlobal>

// A blob as a result column can hand it over before its contents are read:
// the engine's id of the blob, valid in the transaction that fetched it
// while that transaction lasts. Given back as a blob parameter in that
// transaction, the stored blob is reused instead of uploaded again.
struct TIBBlobId
{
    quint64 quad = 0;  // ISC_QUAD as its 8 bytes
    bool text = false; // contents are Windows-1252 text (a memo)

    bool operator==(const TIBBlobId &o) const { return quad == o.quad && text == o.text; }
};
Q_DECLARE_METATYPE(TIBBlobId)

inline bool holdsBlobId(const QVariant &v)
{
    return v.metaType() == QMetaType::fromType<TIBBlobId>();
}
