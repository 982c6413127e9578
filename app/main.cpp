#include "ProgramLook.h"
#include "uMainFrm.h"

#include "platform_widgets/ErrorReportingApplication.h"

int main(int argc, char **argv)
{
    platform::ErrorReportingApplication application(argc, argv);
    app::setUpProgram(application);
    try {
        app::TMainFrm mainFrm;
        mainFrm.show();
        return QApplication::exec();
    } catch (const std::exception &error) {
        platform::ErrorReportingApplication::reportError(error);
        return 1;
    }
}
