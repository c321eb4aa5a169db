#include "messagerecorder.h"

#include <gtest/gtest.h>

const char *kindName(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::None:
        return "plain";
    case TMsgDlgType::Warning:
        return "warning";
    case TMsgDlgType::Information:
        return "information";
    case TMsgDlgType::Confirmation:
        return "confirmation";
    case TMsgDlgType::Error:
        return "error";
    }
    return "?";
}

MessageRecorder::MessageRecorder()
{
    Messages::setResponder([this](const TMessage &m) { return answer(m); });
}

MessageRecorder::~MessageRecorder()
{
    Messages::setResponder({});
    for (const Expected &e : m_expected)
        ADD_FAILURE() << "expected " << kindName(e.kind)
                      << " box never shown: " << e.text.toStdString();
}

MessageRecorder &MessageRecorder::expect(TMsgDlgType kind, const QString &text, int answer)
{
    m_expected.append({kind, text, answer});
    return *this;
}

QStringList MessageRecorder::texts() const
{
    QStringList out;
    for (const TMessage &m : m_seen)
        out << m.text;
    return out;
}

int MessageRecorder::answer(const TMessage &m)
{
    m_seen.append(m);
    if (!m_expected.isEmpty()) {
        const Expected e = m_expected.takeFirst();
        EXPECT_EQ(kindName(e.kind), std::string(kindName(m.kind))) << m.text.toStdString();
        EXPECT_EQ(e.text.toStdString(), m.text.toStdString());
        return e.answer;
    }
    if (m_allowAny)
        return m.buttons == TMsgDlgButtons::Ok || m.buttons == TMsgDlgButtons::OkCancel ? mrOk
                                                                                        : mrYes;
    ADD_FAILURE() << "unexpected " << kindName(m.kind) << " box: " << m.text.toStdString();
    return m.buttons == TMsgDlgButtons::Ok ? mrOk : mrCancel;
}
