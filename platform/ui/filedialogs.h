#pragma once

#include <QString>
#include <functional>

class QWidget;

// Open and save dialogs, through one seam like the message boxes, so tests can
// answer them. Filters are given in the class library's form
// ("Description|*.a;*.b|Other|*.c").
struct FileDialogRequest
{
    enum Kind { Open, Save, Folder } kind = Open;
    QString filter;
    QString initialDir;
    QString fileName;
    // Open only: whether a name typed for a file that does not exist is
    // refused.
    bool mustExist = false;
};

namespace FileDialogs {

// As the class library's open dialog: a typed name of a file that does not
// exist yet is taken too, unless the caller says that the file must exist.
enum class OpenOption { AcceptNewName, FileMustExist };

// The chosen full path, or empty when the dialog was cancelled.
QString open(QWidget *owner, const QString &filter, const QString &initialDir = QString(),
             OpenOption option = OpenOption::AcceptNewName);
QString save(QWidget *owner, const QString &filter, const QString &fileName = QString());
QString folder(QWidget *owner, const QString &initialDir = QString());

// "Archivi (*.gdb;*.fdb)|*.gdb;*.fdb" as Qt writes it: "Archivi (*.gdb *.fdb)".
QString qtFilter(const QString &filter);

using Responder = std::function<QString(const FileDialogRequest &)>;
void setResponder(Responder responder);

} // namespace FileDialogs
