#pragma once

// Internal to the database layer: the input and output messages of a
// statement, converted between our values and Firebird's message buffers.

#include "valueconv.h"

#include <QStringList>
#include <QVariant>
#include <QVector>
#include <vector>

#include <firebird/Interface.h>

namespace IBMessage {

// Builds the input message for the values of a statement's parameters, in
// order (nullptr for a parameter without value, sent as NULL). Kept with its
// prepared statement: the message's layout is built again only when the
// values call for another one.
class InputMessage
{
public:
    explicit InputMessage(Firebird::IMessageMetadata *declared);
    ~InputMessage();
    InputMessage(const InputMessage &) = delete;
    InputMessage &operator=(const InputMessage &) = delete;

    // The engine's VARCHAR holds at most this many bytes: a longer text goes
    // only to a blob parameter; to any other the build raises, naming the
    // parameter (`names`, in order; empty for a positional one), before
    // anything is sent.
    static constexpr int MaxVarcharBytes = 32765;

    void build(const QVector<const TIBValue *> &values, const QStringList &names,
               Firebird::IAttachment *att, Firebird::ITransaction *tra);
    Firebird::IMessageMetadata *meta() const { return m_meta; }
    unsigned char *buffer() { return m_buffer.data(); }

private:
    struct Declared
    {
        unsigned type;
        unsigned length;
    };
    // How one parameter travels: a type of our choice, or (declared) the
    // statement's own type, for NULL and blobs.
    struct Slot
    {
        unsigned type = 0;
        unsigned length = 0;
        unsigned charset = 0;
        bool declared = false;
        bool operator==(const Slot &o) const
        {
            return type == o.type && length == o.length && charset == o.charset &&
                   declared == o.declared;
        }
        bool operator!=(const Slot &o) const { return !(*this == o); }
    };
    Slot slotFor(unsigned i, const TIBValue *v, QByteArray &text) const;
    void write(unsigned i, const TIBValue &v, const QByteArray &text, Firebird::IAttachment *att,
               Firebird::ITransaction *tra);

    Firebird::IMessageMetadata *m_declared;
    bool m_declaredRead = false;
    std::vector<Declared> m_declaredSlots;
    Firebird::IMessageMetadata *m_meta = nullptr;
    std::vector<Slot> m_slots;
    // Each run's texts and shape, kept so that a run allocates neither.
    std::vector<QByteArray> m_texts;
    std::vector<Slot> m_shape;
    std::vector<unsigned> m_offsets;
    std::vector<unsigned> m_nullOffsets;
    std::vector<unsigned char> m_buffer;
};

// Where one column of a fetched row lies in the message, learnt once after
// the prepare so that each row is read without asking the metadata again.
struct Column
{
    unsigned type = 0; // SQL_* without the nullable bit
    int subType = 0;
    int scale = 0;
    unsigned charset = 0;
    unsigned length = 0;
    unsigned offset = 0;
    unsigned nullOffset = 0;
};
Column describe(Firebird::ThrowStatusWrapper *st, Firebird::IMessageMetadata *meta, unsigned i);

// Whether the column is NULL in the row.
bool isNull(const Column &c, const unsigned char *buf);

// Where a non-NULL text column's bytes lie in the row; false for NULL and
// for every other type.
bool textOf(const Column &c, const unsigned char *buf, const char *&data, size_t &length);

// One column of a fetched row as a value: NULL, text, number, date, blob.
// With `blobIds` a blob comes back as its TIBBlobId, its contents unread.
QVariant readColumn(const Column &c, const unsigned char *buf, Firebird::IAttachment *att,
                    Firebird::ITransaction *tra, bool blobIds);

// The same for a non-NULL value whose bytes start at `p` (its place in a
// message or a copy of them), and how many bytes it takes there: a VARCHAR
// its length word and its text, any other type its whole width.
QVariant readValue(const Column &c, const unsigned char *p, Firebird::IAttachment *att,
                   Firebird::ITransaction *tra, bool blobIds);
unsigned storedLength(const Column &c, const unsigned char *p);

} // namespace IBMessage
