#pragma once

#include <QString>

#include <stdexcept>

namespace transfer {

// A step of a transfer that failed; the message is the progress line (Russian).
class TransferFailure : public std::runtime_error {
public:
    explicit TransferFailure(const QString &message) : std::runtime_error(message.toStdString()) {}
    QString message() const { return QString::fromUtf8(what()); }
};

} // namespace transfer
