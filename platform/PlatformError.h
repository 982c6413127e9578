#pragma once

#include "errors/KxError.h"

#include <QString>

namespace platform {

// Failure of a platform service; what() is UTF-8.
class PlatformError : public kx::Error {
public:
    explicit PlatformError(const QString &message) : kx::Error(message) {}
};

// "RAS Error code: <code>." and, on the next line, the error text in quotes:
// the message of every failing dial-up call.
QString rasErrorMessage(int code, const QString &text);

} // namespace platform
