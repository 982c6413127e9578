#pragma once

#include <QString>

#include <stdexcept>

namespace platform {

// Failure of a platform service; what() is UTF-8.
class PlatformError : public std::runtime_error {
public:
    explicit PlatformError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

// "RAS Error code: <code>." and, on the next line, the error text in quotes:
// the message of every failing dial-up call.
QString rasErrorMessage(int code, const QString &text);

} // namespace platform
