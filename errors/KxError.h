#pragma once

#include <QString>

#include <exception>
#include <stdexcept>

namespace kx {

// The base of every error the program raises. what() is the technical text
// (UTF-8, often English, for logs and tests); userMessage() is what a user
// reads: Russian, naming the file, the technical text in parentheses.
class Error : public std::runtime_error {
public:
    explicit Error(const QString &message) : std::runtime_error(message.toStdString()) {}

    QString message() const { return QString::fromUtf8(what()); }
    virtual QString userMessage() const { return message(); }

protected:
    // "lead (technical text)", or the lead alone when they are the same.
    QString withDetail(const QString &lead) const
    {
        const QString detail = message();
        return detail.isEmpty() || detail == lead ? lead : lead + QStringLiteral(" (") + detail + u')';
    }
};

// The text to show for any error caught at a window's or action's edge.
inline QString userMessage(const std::exception &error)
{
    if (const auto *own = dynamic_cast<const Error *>(&error))
        return own->userMessage();
    return QString::fromUtf8(error.what());
}

} // namespace kx
