#pragma once

#include <QApplication>

#include <exception>

namespace platform {

// The program's application object. An exception that escapes an event
// handler ends that handler only: its message is shown by the error report
// and the event loop goes on.
class ErrorReportingApplication : public QApplication {
public:
    ErrorReportingApplication(int &argc, char **argv);

    bool notify(QObject *receiver, QEvent *event) override;

    // The program-wide error report, for errors caught outside the event loop too.
    static void reportError(const std::exception &error);
    static void reportUnknownError();
};

} // namespace platform
