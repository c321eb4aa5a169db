#include "guard.h"
#include "qttranslations.h"

#include <gtest/gtest.h>

int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    TApplication app(argc, argv);
    // As the tool starts: Qt's own texts in Italian.
    loadQtItalian();
    return RUN_ALL_TESTS();
}
