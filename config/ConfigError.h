#pragma once

#include <QString>

#include <stdexcept>

namespace config {

// Failure of a settings file operation; what() is UTF-8.
class ConfigError : public std::runtime_error {
public:
    explicit ConfigError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace config
