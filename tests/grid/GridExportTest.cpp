// The grid's XLS export, read back by xlrd (an independent reader).
#include "GridTestTables.h"

#include "grid/GridExport.h"
#include "tests/support/XlrdReader.h"
#include "xls/XlsWriter.h"

#include <QFile>
#include <QJsonArray>

#include <map>

using namespace grid_testing;

namespace {

constexpr int XlrdText = 1;
constexpr int XlrdNumber = 2;

// (row, column) -> value as xlrd read it; numbers stay numbers.
struct ReadBack {
    std::map<std::pair<int, int>, QJsonValue> cells;
    std::map<std::pair<int, int>, int> types;
    std::set<int> boldRows;
    int rows = 0;
};

ReadBack readBack(const QString &path)
{
    const QJsonObject book = kx::testsupport::readWithXlrd({QStringLiteral("book"), path});
    EXPECT_EQ(book[QStringLiteral("log")].toString(), QString());
    const QJsonObject sheet = book[QStringLiteral("sheets")].toArray().first().toObject();
    ReadBack out;
    out.rows = sheet[QStringLiteral("nrows")].toInt();
    for (const QJsonValue &item : sheet[QStringLiteral("cells")].toArray()) {
        const QJsonArray cell = item.toArray();
        const std::pair<int, int> at{cell[0].toInt(), cell[1].toInt()};
        out.types[at] = cell[2].toInt();
        out.cells[at] = cell[3];
        if (cell[4].toBool())
            out.boldRows.insert(at.first);
    }
    return out;
}

QStringList rowTexts(const ReadBack &book, int row, int columns)
{
    QStringList out;
    for (int c = 0; c < columns; ++c) {
        const auto it = book.cells.find({row, c});
        out << (it == book.cells.end()      ? QString()
                    : it->second.isDouble() ? QString::number(it->second.toDouble())
                                            : it->second.toString());
    }
    return out;
}

class GridExport : public GridFixture {
protected:
    QString out() const { return dir.filePath(QStringLiteral("export.xls")); }
};

TEST_F(GridExport, VisibleColumnsWithTitlesNumbersAsNumbers)
{
    openGrid();
    table->field(u"QNT").setVisible(false);
    table->field(u"NAME").setDisplayLabel(QStringLiteral("Наименование"));
    table->field(u"ZAK").setDisplayLabel(QStringLiteral("Кол-во"));
    grid->fieldsChanged();
    grid->moveColumn(2, 0); // PRICE first
    ASSERT_EQ(grid->exportToXls(out()), 6);
    const ReadBack book = readBack(out());
    EXPECT_EQ(book.rows, 7);
    EXPECT_EQ(rowTexts(book, 0, 3), QStringList({"PRICE", "Наименование", "Кол-во"}));
    EXPECT_EQ(book.boldRows, (std::set<int>{0}));
    EXPECT_EQ(rowTexts(book, 1, 3), QStringList({"12.5", "Аспирин", ""}));
    EXPECT_EQ(rowTexts(book, 6, 3), QStringList({"20", "Корвалол", "4"}));
    EXPECT_EQ(book.types.at({3, 0}), XlrdNumber);
    EXPECT_EQ(book.cells.at({3, 0}).toDouble(), 8.25);
    EXPECT_EQ(book.types.at({2, 2}), XlrdNumber);
    EXPECT_EQ(book.types.at({2, 1}), XlrdText);
}

struct RowsCase {
    const char *name;
    std::vector<int> selectRows; // ctrl+clicked
    bool filter;
    grid::DBGrid::ExportRows which;
    QStringList names;
};

TEST_F(GridExport, SelectedRowsOrTheWholeFilteredGrid)
{
    const std::vector<RowsCase> cases = {
        {"selected rows", {1, 4}, false, grid::DBGrid::ExportRows::SelectedOrAll, {"Бисептол", "Ивермектин"}},
        {"nothing selected: the whole grid",
         {},
         false,
         grid::DBGrid::ExportRows::SelectedOrAll,
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол"}},
        {"nothing selected, filtered: the rows in view",
         {},
         true,
         grid::DBGrid::ExportRows::SelectedOrAll,
         {"Бисептол", "Ибупрофен", "Корвалол"}},
        {"the whole grid despite a selection",
         {2},
         false,
         grid::DBGrid::ExportRows::All,
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол"}},
    };
    for (const RowsCase &c : cases) {
        SCOPED_TRACE(c.name);
        openGrid();
        grid->setOption(grid::DBGrid::MultiSelect);
        for (int row : c.selectRows)
            click(row, 0, Qt::ControlModifier);
        if (c.filter) {
            table->setFilter(QStringLiteral("ZAK<>0"));
            table->setFiltered(true);
        }
        EXPECT_EQ(grid->exportToXls(out(), c.which), c.names.size());
        const ReadBack book = readBack(out());
        QStringList exported;
        for (int r = 1; r < book.rows; ++r)
            exported << rowTexts(book, r, 1).first();
        EXPECT_EQ(exported, c.names);
        TearDown();
    }
}

TEST_F(GridExport, MultiLevelTitlesBecomeTitleRows)
{
    openGrid();
    table->field(u"QNT").setDisplayLabel(QStringLiteral("Количество|на складе"));
    table->field(u"ZAK").setDisplayLabel(QStringLiteral("Количество|в заказе"));
    grid->setOption(grid::DBGrid::MultiLevelTitles);
    grid->refreshTitles();
    grid->exportToXls(out());
    const ReadBack book = readBack(out());
    EXPECT_EQ(rowTexts(book, 0, 4), QStringList({"NAME", "Количество", "", "PRICE"}));
    EXPECT_EQ(rowTexts(book, 1, 4), QStringList({"", "на складе", "в заказе", ""}));
    EXPECT_EQ(book.boldRows, (std::set<int>{0, 1}));
    EXPECT_EQ(rowTexts(book, 2, 1), QStringList({"Аспирин"}));
}

TEST_F(GridExport, MoreRowsThanASheetHoldsAreRefusedBeforeWriting)
{
    openGrid();
    // One title row plus 65535 rows fit; one more does not.
    const std::vector<int> fits(xls::XlsWriter::MaxRows - 1, 0);
    const std::vector<int> tooMany(xls::XlsWriter::MaxRows, 0);
    EXPECT_THROW(grid::writeGridXls(*grid->tableModel(), tooMany, {}, false, out()), std::runtime_error);
    EXPECT_FALSE(QFile::exists(out()));
    try {
        grid::writeGridXls(*grid->tableModel(), tooMany, {}, false, out());
    } catch (const std::runtime_error &e) {
        EXPECT_TRUE(QString::fromUtf8(e.what()).contains(QStringLiteral("65536")));
    }
    grid::writeGridXls(*grid->tableModel(), fits, {}, false, out());
    EXPECT_TRUE(QFile::exists(out()));
}

} // namespace
