#pragma once

#include <QString>

#include <stdexcept>

namespace tables {

// Every failure of the table engine; what() is UTF-8.
class TableError : public std::runtime_error {
public:
    explicit TableError(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace tables
