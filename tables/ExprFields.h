#pragma once

#include "ExprNode.h"
#include "FieldDef.h"

namespace tables::expr {

// The node that reads a field of the record with TDbf's expression rules:
// C = text without trailing blanks, N/F = integer or double (empty 0),
// D = date (empty or impossible 1899-12-30), L = true only for T/t.
// ExprError for memo and other fields expressions cannot read.
NodePtr makeFieldNode(const FieldDef &field);

} // namespace tables::expr
