#pragma once

#include "messages.h"

#include <QList>
#include <QString>

// Answers message boxes in tests. Each expected box is checked for its kind
// and exact text and answered; a box nobody expected fails the test instead
// of blocking it.
class MessageRecorder
{
public:
    MessageRecorder();
    ~MessageRecorder();
    MessageRecorder(const MessageRecorder &) = delete;
    MessageRecorder &operator=(const MessageRecorder &) = delete;

    MessageRecorder &expect(TMsgDlgType kind, const QString &text, int answer = mrOk);
    // Accept any further box, answering OK/Yes (for set-up steps of a test).
    void allowAny(bool allow = true) { m_allowAny = allow; }

    const QList<TMessage> &seen() const { return m_seen; }
    QStringList texts() const;
    void clear() { m_seen.clear(); }
    int pending() const { return m_expected.size(); }

private:
    struct Expected
    {
        TMsgDlgType kind;
        QString text;
        int answer;
    };
    int answer(const TMessage &m);

    QList<Expected> m_expected;
    QList<TMessage> m_seen;
    bool m_allowAny = false;
};

const char *kindName(TMsgDlgType kind);
