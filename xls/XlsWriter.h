#pragma once

#include <QByteArray>
#include <QString>

#include <map>
#include <set>
#include <variant>
#include <vector>

namespace xls {

// A one-sheet Excel 97-2003 workbook (BIFF8 in an OLE2 compound file) of text
// and number cells, built in memory and saved in one go.
class XlsWriter {
public:
    static constexpr int MaxRows = 65536;
    static constexpr int MaxColumns = 256;
    static constexpr int MaxTextLength = 32767;
    static constexpr int MaxSheetNameLength = 31;
    static constexpr int MaxColumnWidth = 255;

    // Characters Excel forbids in a sheet name become '_', the name is cut to
    // 31 characters, and an empty one becomes "Лист1".
    explicit XlsWriter(const QString &sheetName);

    QString sheetName() const { return sheetName_; }

    // Rows and columns count from 0; outside the sheet throws std::out_of_range.
    // Empty text clears the cell; text over MaxTextLength is cut.
    void setCell(int row, int column, const QString &text);
    // NaN and infinities are written as the #NUM! error.
    void setCell(int row, int column, double number);
    void setRowBold(int row);
    // Width in characters of the default font, up to MaxColumnWidth.
    void setColumnWidth(int column, int characters);

    // The complete file.
    QByteArray toBytes() const;
    // Writes the file atomically: on failure std::runtime_error names the file,
    // and any earlier file at the path is left as it was.
    void save(const QString &path) const;

private:
    using Cell = std::variant<std::monostate, QString, double>;

    Cell &cellAt(int row, int column);
    QByteArray workbookStream() const;

    QString sheetName_;
    std::vector<std::vector<Cell>> rows_;
    std::set<int> boldRows_;
    std::map<int, int> columnWidths_;
};

} // namespace xls
