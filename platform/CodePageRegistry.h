#pragma once

#include <QString>

#include <optional>

namespace platform {

// The operating system's table of code page files (the "1252" entry that an
// administrator may point at the Cyrillic table).
class CodePageRegistry {
public:
    virtual ~CodePageRegistry() = default;
    // The value of the named entry; nothing when the registry key cannot be
    // opened for reading and writing (absent, or no rights).
    virtual std::optional<QString> readValue(const QString &name) = 0;
    virtual void writeValue(const QString &name, const QString &value) = 0;
};

// Linux has no such registry: it always reports the key as absent.
class AbsentCodePageRegistry : public CodePageRegistry {
public:
    std::optional<QString> readValue(const QString &) override { return std::nullopt; }
    void writeValue(const QString &, const QString &) override {}
};

} // namespace platform
