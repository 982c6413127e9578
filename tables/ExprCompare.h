#pragma once

#include "ExprNode.h"

namespace tables::expr {

enum class CompareOp { Equal, NotEqual, Less, Greater, LessEqual, GreaterEqual };

// A comparison: numbers of any kind with each other, texts with texts (byte
// order, case folded when the options say so), dates with dates. With '=' a
// right-hand text literal that starts and/or ends with '*' is a prefix, suffix
// or contains pattern unless the options turn patterns off. ExprError on
// other types.
NodePtr makeComparison(CompareOp op, NodePtr left, NodePtr right, const BuildContext &build);

} // namespace tables::expr
