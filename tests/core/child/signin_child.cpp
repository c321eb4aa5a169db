// Another program for the core tests, run as a child process:
//   signin_child signin <program folder> <ms each box stays up>
//     the first sign-in of the tool in that folder, every box answered OK
//     after the given time; each box is announced on standard output
//     ("box <text>", then "answered") so that the parent can kill the
//     child at a chosen moment; ends with "signed-in" or "signed-out".
//   signin_child hold <database>
//     opens the database, says "ready" and keeps it open until killed.
//   signin_child edit <program folder>
//     the tool as it runs, signed in, with the programs editor open on its
//     first row and DESCRIZIONE changed, not saved; says "editing" and waits
//     for a signal; every box is announced and answered Cancel. Ends with
//     "ended" and the program's exit code.

#include "basemainform.h"
#include "field.h"
#include "guard.h"
#include "ibdatabase.h"
#include "ibquery.h"
#include "messages.h"
#include "pathutil.h"
#include "programmimenu.h"
#include "recordeditor.h"
#include "shutdownsignals.h"

#include <QAction>
#include <QApplication>
#include <QPushButton>
#include <QTimer>

#include <QDialog>
#include <QLineEdit>
#include <QThread>
#include <cstdio>
#include <cstring>

namespace {

void say(const QString &line)
{
    QString flat = line;
    flat.replace(QLatin1Char('\r'), QLatin1Char(' ')).replace(QLatin1Char('\n'), QLatin1Char(' '));
    std::printf("%s\n", flat.toUtf8().constData());
    std::fflush(stdout);
}

int signIn(int argc, char **argv)
{
    TApplication app(argc, argv);
    setProgramFolder(QString::fromLocal8Bit(argv[2]));
    const int boxMs = std::atoi(argv[3]);
    Messages::setResponder([boxMs](const TMessage &m) {
        say(QStringLiteral("box ") + m.text);
        QThread::msleep(boxMs);
        say(QStringLiteral("answered"));
        return int(mrOk);
    });
    // The prompt for a server, were it ever reached, is cancelled.
    Modal::setRunner([](QDialog *d) {
        d->reject();
        return int(mrCancel);
    });
    TBaseMainForm w;
    w.EditPassword->setText(QStringLiteral("corvex.5173"));
    w.ButtonOkClick();
    say(w.signedIn() ? QStringLiteral("signed-in") : QStringLiteral("signed-out"));
    return w.signedIn() ? 0 : 1;
}

int edit(int argc, char **argv)
{
    TApplication app(argc, argv);
    setProgramFolder(QString::fromLocal8Bit(argv[2]));
    Messages::setResponder([](const TMessage &m) {
        say(QStringLiteral("box ") + m.text);
        return int(mrCancel);
    });
    TBaseMainForm w;
    ProgrammiMenu::Installa(w);
    ShutdownSignals segnali;
    QObject::connect(&segnali, &ShutdownSignals::received, &w, &TBaseMainForm::ChiudiPerSegnale);
    w.show();
    w.EditPassword->setText(QStringLiteral("corvex.5173"));
    w.ButtonOkClick();
    if (!w.signedIn()) {
        say(QStringLiteral("signed-out"));
        return 1;
    }
    // Inside the editor's own loop, once it is up.
    const auto cambia = [] {
        auto *editor = qobject_cast<TRecordEditorForm *>(QApplication::activeModalWidget());
        if (!editor)
            return say(QStringLiteral("no editor"));
        editor->ButtonEdit->click();
        editor->MainQuery->FieldByName(QStringLiteral("DESCRIZIONE"))
            ->setAsString(QStringLiteral("cambiata"));
        say(QStringLiteral("editing"));
    };
    QTimer::singleShot(0, &w, [&w, cambia] {
        QTimer::singleShot(0, &w, cambia);
        w.GestioneProgrammi1->trigger();
    });
    const int rc = app.exec();
    say(QStringLiteral("ended"));
    return rc;
}

int hold(const char *path)
{
    TIBDatabase db;
    db.DatabaseName = QString::fromLocal8Bit(path);
    db.Params =
        QStringList{QStringLiteral("user_name=SYSDBA"), QStringLiteral("password=plumtree7")};
    db.Open();
    say(QStringLiteral("ready"));
    for (;;)
        QThread::sleep(1);
}

} // namespace

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    if (argc == 4 && std::strcmp(argv[1], "signin") == 0)
        return signIn(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "edit") == 0)
        return edit(argc, argv);
    if (argc == 3 && std::strcmp(argv[1], "hold") == 0)
        return hold(argv[2]);
    std::fprintf(stderr, "usage: signin_child signin <folder> <box ms> | hold <database> | "
                         "edit <folder>\n");
    return 2;
}
