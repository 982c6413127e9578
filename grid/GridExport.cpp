#include "GridExport.h"

#include "CellText.h"
#include "MultiLevelHeader.h"
#include "TableModel.h"
#include "xls/XlsWriter.h"

#include <QFileInfo>

#include <stdexcept>

namespace grid {

namespace {

std::vector<QStringList> titleRows(const TableModel &model, bool multiLevel)
{
    const int columns = model.columnCount();
    std::vector<QStringList> levels;
    int depth = 1;
    for (int c = 0; c < columns; ++c) {
        const QString title = model.headerData(c, Qt::Horizontal, Qt::DisplayRole).toString();
        levels.push_back(multiLevel ? MultiLevelHeader::titleLevels(title) : QStringList{title});
        depth = std::max(depth, int(levels.back().size()));
    }
    const QStringList blank(qsizetype{columns}, QString{});
    std::vector<QStringList> rows(size_t(depth), blank);
    for (int c = 0; c < columns; ++c) {
        const QStringList &parts = levels[size_t(c)];
        for (int level = 0; level < parts.size(); ++level) {
            const bool last = level == parts.size() - 1;
            // An upper level shared with the column before is written once.
            bool shared = false;
            if (!last && c > 0) {
                const QStringList &before = levels[size_t(c) - 1];
                shared = before.size() > level + 1;
                for (int i = 0; shared && i <= level; ++i)
                    shared = before[i] == parts[i];
            }
            if (!shared)
                rows[size_t(level)][c] = parts[level];
        }
    }
    return rows;
}

} // namespace

void writeGridXls(const TableModel &model, const std::vector<int> &rows, const std::vector<int> &widths,
                  bool multiLevelTitles, const QString &path)
{
    const std::vector<QStringList> titles = titleRows(model, multiLevelTitles);
    const int columns = model.columnCount();
    const qsizetype needed = qsizetype(titles.size()) + qsizetype(rows.size());
    if (needed > xls::XlsWriter::MaxRows)
        throw std::runtime_error(
            QStringLiteral("Экспорт невозможен: в листе XLS помещается %1 строк, а выбрано %2 строк с заголовком. "
                           "Выделите часть строк или сузьте отбор.")
                .arg(xls::XlsWriter::MaxRows)
                .arg(needed)
                .toStdString());
    if (columns > xls::XlsWriter::MaxColumns)
        throw std::runtime_error(QStringLiteral("Экспорт невозможен: в листе XLS помещается %1 столбцов, а их %2.")
                                     .arg(xls::XlsWriter::MaxColumns)
                                     .arg(columns)
                                     .toStdString());
    xls::XlsWriter book(QFileInfo(path).completeBaseName());
    int out = 0;
    for (const QStringList &line : titles) {
        for (int c = 0; c < columns; ++c)
            book.setCell(out, c, line[c]);
        book.setRowBold(out);
        ++out;
    }
    for (int c = 0; c < columns && c < int(widths.size()); ++c)
        book.setColumnWidth(c, widths[size_t(c)]);
    for (int row : rows) {
        model.withRow(row, [&] {
            for (int c = 0; c < columns; ++c) {
                const QVariant v = exportValue(model.columnField(c));
                if (v.typeId() == QMetaType::Double)
                    book.setCell(out, c, v.toDouble());
                else
                    book.setCell(out, c, v.toString());
            }
        });
        ++out;
    }
    book.save(path);
}

} // namespace grid
