#pragma once

#include <QString>

#include <stdexcept>

namespace exchange {

// Failure of a package or refresh operation; what() is UTF-8.
class ExchangeError : public std::runtime_error {
public:
    explicit ExchangeError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace exchange
