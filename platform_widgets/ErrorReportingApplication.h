#pragma once

#include "platform/Services.h"

#include <QApplication>

#include <exception>

namespace platform {

// The program's application object. An exception that escapes an event
// handler ends that handler only: its message is shown by the error report
// and the event loop goes on. For its lifetime the services that need
// widgets (message boxes, file dialogs, the desktop, key input) are the
// widget toolkit's.
class ErrorReportingApplication : public QApplication {
public:
    ErrorReportingApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The program-wide error report, for errors caught outside the event loop too.
    static void reportError(const std::exception &error);
    static void reportUnknownError();

private:
    ServicesOverride widgetServices_;
};

} // namespace platform
