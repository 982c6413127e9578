#pragma once

#include <QString>

namespace prescriptions {

// The drug table's filter for a search text of components separated by ";":
// every non-empty piece, exactly as typed, must occur in the component list
// (INSTR is case-sensitive). Apostrophes are doubled inside the quotes, so a
// piece is always matched literally. Empty when no piece is left: then no
// filter applies.
QString componentFilter(const QString &searchText);

} // namespace prescriptions
