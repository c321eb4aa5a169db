#pragma once

#include "dataerrors.h"

#include <QApplication>
#include <QString>
#include <exception>
#include <functional>

// The application's default error report: an exception never unwinds through
// the event loop; its message is shown in an error box and the window that
// raised it stays as it was.
namespace Guard {

QString messageOf(const std::exception &e);
// Runs the action; answers false when it raised (after showing the error;
// an EAbort shows nothing).
bool run(const std::function<void()> &action);

} // namespace Guard

// Also installs the report of failures raised inside the datasets.
class TApplication : public QApplication
{
public:
    TApplication(int &argc, char **argv);
    bool notify(QObject *receiver, QEvent *event) override;
};
