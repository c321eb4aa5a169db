#pragma once

#include <QString>
#include <functional>
#include <optional>

class QWidget;

// The class library's InputBox: a caption, a prompt and a start value; the
// typed text on OK, nothing on Cancel. Through a seam like the message
// boxes, so tests can answer it.
struct TInputRequest
{
    QString caption;
    QString prompt;
    QString value;
};

namespace InputBox {

std::optional<QString> ask(const QString &caption, const QString &prompt,
                           const QString &value = QString(), QWidget *owner = nullptr);

using Responder = std::function<std::optional<QString>(const TInputRequest &)>;
// Replaces the real box (tests); an empty responder restores it.
void setResponder(Responder responder);

} // namespace InputBox
