#pragma once

#include "inputbox.h"

#include <QList>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

// Answers input boxes in tests, in order; each is checked for its caption and
// prompt. An answer may first act (as the administrator's other windows
// would). A box nobody expected fails the test and is cancelled.
class InputAnswers
{
public:
    InputAnswers()
    {
        InputBox::setResponder([this](const TInputRequest &r) { return answer(r); });
    }
    ~InputAnswers()
    {
        InputBox::setResponder({});
        for (const Expected &e : m_expected)
            ADD_FAILURE() << "expected input box never shown: " << e.caption.toStdString();
    }
    InputAnswers(const InputAnswers &) = delete;
    InputAnswers &operator=(const InputAnswers &) = delete;

    InputAnswers &expect(const QString &caption, const QString &prompt,
                         std::optional<QString> reply, std::function<void()> act = {})
    {
        m_expected.append({caption, prompt, std::move(reply), std::move(act)});
        return *this;
    }
    // The start values the boxes were shown with.
    const QStringList &values() const { return m_values; }
    int pending() const { return int(m_expected.size()); }

private:
    struct Expected
    {
        QString caption;
        QString prompt;
        std::optional<QString> reply;
        std::function<void()> act;
    };
    std::optional<QString> answer(const TInputRequest &r)
    {
        m_values.append(r.value);
        if (m_expected.isEmpty()) {
            ADD_FAILURE() << "unexpected input box: " << r.caption.toStdString();
            return std::nullopt;
        }
        const Expected e = m_expected.takeFirst();
        EXPECT_EQ(e.caption.toStdString(), r.caption.toStdString());
        EXPECT_EQ(e.prompt.toStdString(), r.prompt.toStdString());
        if (e.act)
            e.act();
        return e.reply;
    }
    QList<Expected> m_expected;
    QStringList m_values;
};
