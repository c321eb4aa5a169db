#include "filedialogs.h"

#include <QFileDialog>
#include <QRegularExpression>

namespace FileDialogs {
namespace {

Responder &responder()
{
    static Responder r;
    return r;
}

// The desktop's own dialogs (GTK's, for one) have no open mode that takes a
// name for a file still to be made, so this one is always Qt's.
QString openAcceptingNewName(QWidget *owner, const FileDialogRequest &request)
{
    QFileDialog dialog(owner, QString(), request.initialDir, qtFilter(request.filter));
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptOpen);
    dialog.setFileMode(QFileDialog::AnyFile);
    if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
        return {};
    return dialog.selectedFiles().constFirst();
}

QString ask(const FileDialogRequest &request, QWidget *owner)
{
    if (responder())
        return responder()(request);
    switch (request.kind) {
    case FileDialogRequest::Open:
        if (request.mustExist) {
            return QFileDialog::getOpenFileName(owner, QString(), request.initialDir,
                                                qtFilter(request.filter));
        }
        return openAcceptingNewName(owner, request);
    case FileDialogRequest::Save:
        return QFileDialog::getSaveFileName(owner, QString(), request.fileName,
                                            qtFilter(request.filter));
    case FileDialogRequest::Folder:
        return QFileDialog::getExistingDirectory(owner, QString(), request.initialDir);
    }
    return {};
}

} // namespace

QString qtFilter(const QString &filter)
{
    const QStringList parts = filter.split(QLatin1Char('|'));
    static const QRegularExpression trailingPatterns(QStringLiteral("\\s*\\([^()]*\\)\\s*$"));
    QStringList out;
    for (int i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts[i];
        description.remove(trailingPatterns);
        QString patterns = parts[i + 1];
        patterns.replace(QLatin1Char(';'), QLatin1Char(' '));
        out << description + QStringLiteral(" (") + patterns + QLatin1Char(')');
    }
    return out.join(QStringLiteral(";;"));
}

QString open(QWidget *owner, const QString &filter, const QString &initialDir, OpenOption option)
{
    return ask({FileDialogRequest::Open, filter, initialDir, QString(),
                option == OpenOption::FileMustExist},
               owner);
}

QString save(QWidget *owner, const QString &filter, const QString &fileName)
{
    return ask({FileDialogRequest::Save, filter, QString(), fileName}, owner);
}

QString folder(QWidget *owner, const QString &initialDir)
{
    return ask({FileDialogRequest::Folder, QString(), initialDir, QString()}, owner);
}

void setResponder(Responder r)
{
    responder() = std::move(r);
}

} // namespace FileDialogs
