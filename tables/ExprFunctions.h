#pragma once

#include "ExprNode.h"

#include <vector>

namespace tables::expr {

// A call of a built-in function, name in any case: DTOS, STR, LEFT, SUBSTR,
// UPPER/UPPERCASE, LOWER/LOWERCASE, INSTR. ExprError for an unknown name or
// wrong arguments.
NodePtr makeFunction(const QString &name, std::vector<NodePtr> args, BuildContext &build);

} // namespace tables::expr
