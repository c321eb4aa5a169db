#include "inputbox.h"

#include "messages.h"

#include <QApplication>
#include <QInputDialog>

namespace InputBox {
namespace {

Responder &responder()
{
    static Responder r;
    return r;
}

} // namespace

std::optional<QString> ask(const QString &caption, const QString &prompt, const QString &value,
                           QWidget *owner)
{
    const TInputRequest request{caption, prompt, value};
    if (responder())
        return responder()(request);
    QInputDialog dialog(owner ? owner : QApplication::activeWindow());
    dialog.setWindowTitle(caption);
    dialog.setLabelText(prompt);
    dialog.setTextValue(value);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Annulla"));
    if (Modal::exec(&dialog) != mrOk)
        return std::nullopt;
    return dialog.textValue();
}

void setResponder(Responder r)
{
    responder() = std::move(r);
}

} // namespace InputBox
