#include "messages.h"

#include "busycursor.h"
#include "screenfit.h"

#include <QApplication>
#include <QDialog>
#include <QMessageBox>
#include <QPushButton>

namespace Messages {
namespace {

Responder &responder()
{
    static Responder r;
    return r;
}

QMessageBox::Icon iconOf(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::Warning:
        return QMessageBox::Warning;
    case TMsgDlgType::Information:
        return QMessageBox::Information;
    case TMsgDlgType::Confirmation:
        return QMessageBox::Question;
    case TMsgDlgType::Error:
        return QMessageBox::Critical;
    case TMsgDlgType::None:
        break;
    }
    return QMessageBox::NoIcon;
}

QString captionOf(TMsgDlgType kind)
{
    switch (kind) {
    case TMsgDlgType::Warning:
        return QStringLiteral("Attenzione");
    case TMsgDlgType::Information:
        return QStringLiteral("Informazione");
    case TMsgDlgType::Confirmation:
        return QStringLiteral("Conferma");
    case TMsgDlgType::Error:
        return QStringLiteral("Errore");
    case TMsgDlgType::None:
        break;
    }
    // The program's title, as the class library's ShowMessage has it.
    return QCoreApplication::applicationName();
}

int showBox(const TMessage &m)
{
    // The suite's texts break lines with a bare CR, which Qt would not show.
    QString shown = m.text;
    shown.replace(QLatin1String("\r\n"), QLatin1String("\n"))
        .replace(QLatin1Char('\r'), QLatin1Char('\n'));
    QMessageBox box(iconOf(m.kind), captionOf(m.kind), shown, QMessageBox::NoButton,
                    QApplication::activeWindow());
    struct Choice
    {
        const char *text;
        int result;
        QMessageBox::ButtonRole role;
    };
    QVector<Choice> choices;
    switch (m.buttons) {
    case TMsgDlgButtons::Ok:
        choices = {{"OK", mrOk, QMessageBox::AcceptRole}};
        break;
    case TMsgDlgButtons::YesNo:
        choices = {{"Sì", mrYes, QMessageBox::YesRole}, {"No", mrNo, QMessageBox::NoRole}};
        break;
    case TMsgDlgButtons::YesNoCancel:
        choices = {{"Sì", mrYes, QMessageBox::YesRole},
                   {"No", mrNo, QMessageBox::NoRole},
                   {"Annulla", mrCancel, QMessageBox::RejectRole}};
        break;
    case TMsgDlgButtons::OkCancel:
        choices = {{"OK", mrOk, QMessageBox::AcceptRole},
                   {"Annulla", mrCancel, QMessageBox::RejectRole}};
        break;
    }
    QVector<QAbstractButton *> buttons;
    for (const Choice &c : choices)
        buttons.append(box.addButton(QString::fromUtf8(c.text), c.role));
    box.setDefaultButton(qobject_cast<QPushButton *>(buttons.first()));
    box.exec();
    for (int i = 0; i < buttons.size(); ++i) {
        if (box.clickedButton() == buttons[i])
            return choices[i].result;
    }
    // Closed with Esc or the close box.
    return m.buttons == TMsgDlgButtons::Ok      ? mrOk
           : m.buttons == TMsgDlgButtons::YesNo ? mrNo
                                                : mrCancel;
}

} // namespace

int show(TMsgDlgType kind, const QString &text, TMsgDlgButtons buttons)
{
    const TMessage m{kind, text, buttons};
    const BusyCursor::Interrupted userTurn;
    if (responder())
        return responder()(m);
    return showBox(m);
}

void plain(const QString &text)
{
    show(TMsgDlgType::None, text, TMsgDlgButtons::Ok);
}

void warning(const QString &text)
{
    show(TMsgDlgType::Warning, text, TMsgDlgButtons::Ok);
}

void information(const QString &text)
{
    show(TMsgDlgType::Information, text, TMsgDlgButtons::Ok);
}

void error(const QString &text)
{
    show(TMsgDlgType::Error, text, TMsgDlgButtons::Ok);
}

bool confirm(const QString &text)
{
    return show(TMsgDlgType::Confirmation, text, TMsgDlgButtons::YesNo) == mrYes;
}

void setResponder(Responder r)
{
    responder() = std::move(r);
}

} // namespace Messages

namespace Modal {
namespace {

Runner &runner()
{
    static Runner r;
    return r;
}

} // namespace

int exec(QDialog *dialog)
{
    const BusyCursor::Interrupted userTurn;
    // Every window keeps to the screen and reads in order with Tab.
    ScreenFit::keepOnScreen(dialog);
    ScreenFit::orderTabsOnShow(dialog);
    const int result = runner() ? runner()(dialog) : dialog->exec();
    // A modal window of the class library never ends without a result: closed
    // with its close box (Qt's rejected, 0) it answers Cancel.
    return result == QDialog::Rejected ? int(mrCancel) : result;
}

void setRunner(Runner r)
{
    runner() = std::move(r);
}

} // namespace Modal
