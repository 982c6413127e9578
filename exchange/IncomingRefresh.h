#pragma once

#include "CarryReport.h"

#include <QString>

namespace exchange {

class ExchangeFeedback;

enum class CarryMode {
    Overwrite, // a fresh table from the distributor: every entered value is carried
    FillEmpty, // finishing an interrupted refresh: values entered since then stay
};

// Carries the entered values of the price folder's table `tableName` from its
// ".old" copy into it: key and carried columns from properties.ini; the new
// table gains the carried columns it lacks (the old column's type, the
// engine's default size), the copy the restructure leaves behind is removed;
// each old record with a value goes to the first new record matching its keys
// (text without regard to case, the last text key by its beginning). Status
// line: "Обновляю структуру таблицы..." before a restructure, "Информация
// перенесена - " + table after, and the number of values dropped. The ".old"
// file is removed after the new table has been written to disk, also when
// nothing was to be carried. A table without ".old" is left alone. Engine and
// settings errors go on to the caller with every table closed and the ".old"
// file kept.
CarryReport refreshTable(const QString &priceFolder, const QString &tableName, const QString &propertiesFile,
                         ExchangeFeedback &feedback, CarryMode mode = CarryMode::Overwrite);

// refreshTable for every ".dbf" file of the price folder, in name order.
CarryReport RefreshIncomingTables(const QString &priceFolder, const QString &propertiesFile,
                                  ExchangeFeedback &feedback);

// The old copy of a price table: its ".old" file, letter case ignored.
QString oldTablePath(const QString &tablePath);

} // namespace exchange
