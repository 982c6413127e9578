#include "ErrorReportingApplication.h"

#include "DesktopShell.h"
#include "QtFileDialogs.h"
#include "QtMessageService.h"
#include "WidgetKeyInput.h"

#include "errors/KxError.h"

#include "platform/MessageService.h"
#include "platform/Services.h"

namespace platform {

namespace {

// An error raised while the report itself is shown must not recurse.
bool &reporting()
{
    static bool active = false;
    return active;
}

void report(const QString &text)
{
    if (reporting())
        return;
    reporting() = true;
    try {
        messages().showError(text);
    } catch (...) {
    }
    reporting() = false;
}

} // namespace

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv)
    : QApplication(argc, argv), widgetServices_(Services{.messages = std::make_shared<QtMessageService>(),
                                                         .fileDialogs = std::make_shared<QtFileDialogs>(),
                                                         .shell = std::make_shared<DesktopShell>(),
                                                         .keyInput = std::make_shared<WidgetKeyInput>()})
{
}

bool ErrorReportingApplication::notify(QObject *receiver, QEvent *event)
{
    try {
        return QApplication::notify(receiver, event);
    } catch (const std::exception &error) {
        reportError(error);
    } catch (...) {
        reportUnknownError();
    }
    return false;
}

void ErrorReportingApplication::reportError(const std::exception &error) { report(kx::userMessage(error)); }

void ErrorReportingApplication::reportUnknownError() { report(QStringLiteral("Неизвестная ошибка")); }

} // namespace platform
