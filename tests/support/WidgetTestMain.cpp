#include "platform_widgets/ErrorReportingApplication.h"

#include <gtest/gtest.h>

// Widget tests need the program's application object; without a display
// they run on the offscreen platform.
int main(int argc, char **argv)
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    ::testing::InitGoogleTest(&argc, argv);
    platform::ErrorReportingApplication app(argc, argv);
    return RUN_ALL_TESTS();
}
