#pragma once

// Internal to the database layer: the input and output messages of a
// statement, converted between our values and Firebird's message buffers.

#include "valueconv.h"

#include <QVariant>
#include <QVector>
#include <vector>

#include <firebird/Interface.h>

namespace IBMessage {

// Builds the input message for the values of a statement's parameters, in
// order (nullptr for a parameter without value, sent as NULL).
class InputMessage
{
public:
    InputMessage(Firebird::IMessageMetadata *declared, Firebird::IAttachment *att,
                 Firebird::ITransaction *tra);
    ~InputMessage();
    void build(const QVector<const TIBValue *> &values);
    Firebird::IMessageMetadata *meta() const { return m_meta; }
    unsigned char *buffer() { return m_buffer.data(); }

private:
    void write(Firebird::ThrowStatusWrapper *st, unsigned i, const TIBValue &v,
               const QByteArray &text);

    Firebird::IMessageMetadata *m_declared;
    Firebird::IAttachment *m_att;
    Firebird::ITransaction *m_tra;
    Firebird::IMessageMetadata *m_meta = nullptr;
    std::vector<unsigned char> m_buffer;
};

// One column of a fetched row as a value: NULL, text, number, date, blob.
QVariant readColumn(Firebird::ThrowStatusWrapper *st, Firebird::IMessageMetadata *meta, unsigned i,
                    const unsigned char *buf, Firebird::IAttachment *att,
                    Firebird::ITransaction *tra);

} // namespace IBMessage
