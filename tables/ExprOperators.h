#pragma once

#include "ExprNode.h"

namespace tables::expr {

// '+', '-', '*', '/' on numbers (integer op integer stays integer; '/'
// truncates then) and '+' on texts (joins them). ExprError on other types.
NodePtr makeArithmetic(QChar op, NodePtr left, NodePtr right, BuildContext &build);
NodePtr makeNegation(NodePtr operand);

// AND, OR on logical values; NOT.
NodePtr makeLogical(bool isAnd, NodePtr left, NodePtr right);
NodePtr makeNot(NodePtr operand);

} // namespace tables::expr
