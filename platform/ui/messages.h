#pragma once

#include <QString>
#include <functional>

class QDialog;
class QWidget;

// Every message box and every modal window of the tool goes through here, so
// that tests can read exactly what the user would see and answer it.

enum class TMsgDlgType { None, Warning, Information, Confirmation, Error };
enum class TMsgDlgButtons { Ok, YesNo, YesNoCancel, OkCancel };

// The class library's modal results; windows answer 1 for OK and 2 for Cancel.
enum TModalResult { mrNone = 0, mrOk = 1, mrCancel = 2, mrYes = 6, mrNo = 7 };

struct TMessage
{
    TMsgDlgType kind = TMsgDlgType::None;
    QString text;
    TMsgDlgButtons buttons = TMsgDlgButtons::Ok;
};

namespace Messages {

// Shows a box and answers with the modal result of the button pressed.
int show(TMsgDlgType kind, const QString &text, TMsgDlgButtons buttons);

// A plain box without kind, with OK (the class library's ShowMessage).
void plain(const QString &text);
void warning(const QString &text);
void information(const QString &text);
void error(const QString &text);
// A confirmation with Yes and No; true for Yes.
bool confirm(const QString &text);

using Responder = std::function<int(const TMessage &)>;
// Replaces the real boxes (tests); an empty responder restores them.
void setResponder(Responder responder);

} // namespace Messages

namespace Modal {

// Runs the dialog modally and answers its result; a dialog closed with its
// close box answers mrCancel (2). Value dialogs keep their own outcome field.
int exec(QDialog *dialog);

using Runner = std::function<int(QDialog *)>;
// Replaces the modal loop (tests): the runner drives the dialog and answers.
void setRunner(Runner runner);

} // namespace Modal
