#include "guard.h"
#include "qttranslations.h"

#include <gtest/gtest.h>
#include <ibase.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    // As the tool starts: Qt's own texts in Italian.
    loadQtItalian();
    const int result = RUN_ALL_TESTS();
    // The engine's and the client's threads end here, not while the leak
    // check at exit walks the threads.
    fb_shutdown(0, fb_shutrsn_app_stopped);
    return result;
}
