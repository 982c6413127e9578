#pragma once

#include <QString>

#include <stdexcept>

namespace ordering {

// An order could not be created; the message tells the user what exists and
// what does not. what() is UTF-8.
class OrderError : public std::runtime_error {
public:
    explicit OrderError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace ordering
