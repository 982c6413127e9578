#pragma once

#include <QString>

namespace tables::expr {

// A compile-time fault in an expression; Expression::compile turns it into a
// TableError that names the whole expression text.
struct ExprError {
    QString detail;
};

} // namespace tables::expr
