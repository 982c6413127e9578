#include "app/ProgramLook.h"

#include "platform_widgets/ErrorReportingApplication.h"

#include <gtest/gtest.h>

// The main window needs the program's application object, on a screen that
// needs no display unless one is asked for.
int main(int argc, char **argv)
{
    ::testing::InitGoogleTest(&argc, argv);
    if (GTEST_FLAG_GET(list_tests))
        return RUN_ALL_TESTS();
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    platform::ErrorReportingApplication application(argc, argv);
    app::setUpProgram(application);
    return RUN_ALL_TESTS();
}
