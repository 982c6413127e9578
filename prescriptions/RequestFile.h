#pragma once

#include <QDate>
#include <QString>

#include <cstdint>
#include <functional>
#include <optional>
#include <vector>

namespace tables {
class Table;
}

namespace prescriptions {

// "P" + the pharmacy's code + "_" + the request number + ".dbf".
QString requestFileName(int pharmacyCode, int number);

// Appends a copy of each of the prescriptions' records (physical record
// numbers) to the request file at `path`, every field into its same-named
// field; a missing file is created with the prescriptions' layout. With
// `dateSnd` the copies carry that send date instead of their own.
//
// The file is made under a work name beside it and put in place by a rename
// once complete and on disk: afterwards it holds every copy, or it is as it
// was and the work file is gone. `beforePlacing` runs just before the rename
// (an error it raises leaves the file as it was); `notPlaced` runs when the
// rename itself fails. Errors of the engine or the file system are raised as
// they come.
void writeRequestFile(const QString &path, tables::Table &prescriptions, const std::vector<std::uint32_t> &records,
                      const std::optional<QDate> &dateSnd, const std::function<void()> &beforePlacing = {},
                      const std::function<void()> &notPlaced = {});

// The work name writeRequestFile uses for `path`; no ".dbf", so a left-over
// work file is never taken for a prepared file.
QString requestWorkName(const QString &path);

} // namespace prescriptions
