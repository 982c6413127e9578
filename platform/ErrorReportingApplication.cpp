#include "ErrorReportingApplication.h"

#include "errors/KxError.h"

#include "MessageService.h"
#include "Services.h"

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

ErrorReportingApplication::ErrorReportingApplication(int &argc, char **argv) : QApplication(argc, argv) {}

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
