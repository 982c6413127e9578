#pragma once

#include "errors/KxError.h"

#include <QString>

namespace tables {

// What went wrong, for the text a user reads.
enum class TableErrorKind { General, Missing, Damaged, Io, Locked, ReadOnly, NoField, BadValue, BadExpression, Index };

// Every failure of the table engine; what() is the technical text (UTF-8).
class TableError : public kx::Error {
public:
    explicit TableError(const QString &message) : kx::Error(message) {}
    TableError(TableErrorKind kind, const QString &file, const QString &message)
        : kx::Error(message), kind_(kind), file_(file)
    {
    }

    TableErrorKind kind() const { return kind_; }
    // The table or index file concerned; empty when none is known.
    const QString &file() const { return file_; }
    // Russian, naming the file; the technical text follows in parentheses.
    QString userMessage() const override;

private:
    TableErrorKind kind_ = TableErrorKind::General;
    QString file_;
};

} // namespace tables
