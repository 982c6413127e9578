#pragma once

#include <QString>

namespace exchange {

class ExchangeFeedback;

// Whether CustomerN.dbf of the narcotics folder has a record with ID equal to
// the active customer id and Value1 equal to 1. A missing or unreadable table
// is the table engine's error.
bool NarcoticsAllowed(const QString &narcoticsFolder, int activeCustomerId);

// When the active customer may not receive narcotics, deletes every .dbf file
// of the narcotics folder, then every .mdx file; other files stay. A file that
// cannot be deleted is passed over and named in the status line.
void ClearNarcotics(const QString &narcoticsFolder, int activeCustomerId, ExchangeFeedback &feedback);

} // namespace exchange
