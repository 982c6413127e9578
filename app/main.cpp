#include "ProgramLook.h"
#include "UserInstallation.h"
#include "uMainFrm.h"

#include "platform_widgets/ErrorReportingApplication.h"

int main(int argc, char **argv)
{
    platform::ErrorReportingApplication application(argc, argv);
    app::setUpProgram(application);
    if (!app::setUpInstallation(QCoreApplication::arguments()))
        return 1;
    try {
        app::TMainFrm mainFrm;
        mainFrm.show();
        return QApplication::exec();
    } catch (const std::exception &error) {
        platform::ErrorReportingApplication::reportError(error);
        return 1;
    }
}
