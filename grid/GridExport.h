#pragma once

#include <QString>

#include <vector>

namespace grid {

class TableModel;

// Writes the model's columns with their titles and the given rows to an XLS
// file: numbers as numbers, everything else as shown. With multi-level titles
// every level gets a title row; a shared upper level is written over its
// first column. Widths are in characters. More rows than a sheet holds raise
// std::runtime_error before anything is written.
void writeGridXls(const TableModel &model, const std::vector<int> &rows, const std::vector<int> &widths,
                  bool multiLevelTitles, const QString &path);

} // namespace grid
