#pragma once

#include "errors/KxError.h"

#include <QString>

namespace ordering {

// An order could not be created; the message tells the user what exists and
// what does not. what() is UTF-8.
class OrderError : public kx::Error {
public:
    explicit OrderError(const QString &message) : kx::Error(message) {}
};

} // namespace ordering
