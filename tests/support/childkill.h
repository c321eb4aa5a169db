#pragma once

#include "messagerecorder.h"
#include "tabform.h"

#include <QProcessEnvironment>
#include <QString>
#include <memory>

// Tests that kill a program in the middle of its work. The test program is
// started again as a child that runs one disabled case; the child says it is
// ready at the point to be killed and waits there.

// In the child: the program folder the parent named in `variable`, and the
// archive object signed in to its user database, every message box accepted.
struct KillChild
{
    QString cartella;
    MessageRecorder rec;
    // Made once the folder is set: the archive object reads it when made.
    std::unique_ptr<TTabForm> tab;
    // False, with a failure, when there is no folder or no sign-in.
    bool start(const char *variable);
};

// In the child: says it is ready and waits for ever.
[[noreturn]] void announceAndWaitForKill();

// Runs DISABLED_ case `test` ("Suite.DISABLED_Child") of this program as a
// child with `env` added to its environment and the engine's lock files in a
// folder of its own, waits for its announcement and kills it (SIGKILL). Fails
// the calling test (fatally) when the child ends first or outlives the kill;
// call it under ASSERT_NO_FATAL_FAILURE.
void killChildWhenReady(const QString &test, const QProcessEnvironment &env);
