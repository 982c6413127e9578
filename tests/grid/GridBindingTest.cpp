// The grid bound to a table: columns from the fields, and rows that follow
// what happens to the table.
#include "GridTestTables.h"

#include "tables/TableError.h"

#include <QHeaderView>
#include <QSignalSpy>

#include <functional>

using namespace grid_testing;

namespace {

class GridBinding : public GridFixture {};

QStringList columnNames(const grid::DBGrid &grid)
{
    QStringList out;
    for (int c = 0; c < grid.columnCount(); ++c)
        out << grid.columnFieldName(c);
    return out;
}

QStringList titles(const grid::DBGrid &grid)
{
    QStringList out;
    for (int c = 0; c < grid.columnCount(); ++c)
        out << grid.columnTitle(c);
    return out;
}

TEST_F(GridBinding, ColumnsFollowVisibilityLabelsAndOrder)
{
    openGrid();
    EXPECT_EQ(columnNames(*grid), QStringList({"NAME", "QNT", "ZAK", "PRICE"}));
    EXPECT_EQ(titles(*grid), QStringList({"NAME", "QNT", "ZAK", "PRICE"}));

    table->field(u"QNT").setVisible(false);
    table->field(u"ZAK").setDisplayLabel(QStringLiteral("Кол-во"));
    grid->fieldsChanged();
    EXPECT_EQ(columnNames(*grid), QStringList({"NAME", "ZAK", "PRICE"}));
    EXPECT_EQ(titles(*grid), QStringList({"NAME", "Кол-во", "PRICE"}));

    grid->moveColumn(2, 0);
    EXPECT_EQ(columnNames(*grid), QStringList({"PRICE", "NAME", "ZAK"}));
    // A field shown again joins after the column of the field before it.
    table->field(u"QNT").setVisible(true);
    grid->fieldsChanged();
    EXPECT_EQ(columnNames(*grid), QStringList({"PRICE", "NAME", "QNT", "ZAK"}));
    EXPECT_EQ(grid->findColumn(QStringLiteral("zak")), 3);
    EXPECT_EQ(grid->findColumn(QStringLiteral("Missing")), -1);

    // Widths survive the column changes and reach the header.
    grid->setColumnWidth(1, 123);
    grid->moveColumn(1, 3);
    EXPECT_EQ(grid->columnWidth(3), 123);
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(3), 123);
    grid->setTitleAlignment(0, Qt::AlignCenter);
    EXPECT_EQ(grid->titleAlignment(0), Qt::AlignCenter);
    EXPECT_EQ(grid->tableModel()->headerData(0, Qt::Horizontal, Qt::TextAlignmentRole).toInt(), int(Qt::AlignCenter));
}

TEST_F(GridBinding, ColumnBatchIsShownOnce)
{
    openGrid();
    QSignalSpy resets(grid->tableModel(), &QAbstractItemModel::modelReset);
    grid->beginColumnsUpdate();
    grid->moveColumn(3, 0);
    grid->moveColumn(3, 1);
    grid->setColumnWidth(0, 77);
    grid->setTitleAlignment(1, Qt::AlignCenter);
    grid->endColumnsUpdate();
    EXPECT_EQ(resets.count(), 1);
    EXPECT_EQ(columnNames(*grid), QStringList({"PRICE", "ZAK", "NAME", "QNT"}));
    EXPECT_EQ(grid->horizontalHeader()->sectionSize(0), 77);
}

TEST_F(GridBinding, OnlyEditableFieldsCanBeEdited)
{
    openGrid();
    table->field(u"NAME").setReadOnly(true);
    grid::TableModel *m = grid->tableModel();
    EXPECT_FALSE(m->flags(m->index(0, 0)).testFlag(Qt::ItemIsEditable));
    EXPECT_TRUE(m->flags(m->index(0, 2)).testFlag(Qt::ItemIsEditable));
    grid->setAllowedOperations(grid::DBGrid::AllowInsert);
    EXPECT_FALSE(m->flags(m->index(0, 2)).testFlag(Qt::ItemIsEditable));
}

struct FollowCase {
    const char *name;
    std::function<void(tables::Table &, const QString &path)> act;
    QStringList names;
    int resets; // whole rereads of the rows the change may cost
};

TEST_F(GridBinding, RowsFollowTheTable)
{
    const auto locate = [](tables::Table &t, const char *name) {
        ASSERT_TRUE(t.locate(QStringLiteral("NAME"), QString::fromUtf8(name)));
    };
    const std::vector<FollowCase> cases = {
        {"a post changes the row in place",
         [&](tables::Table &t, const QString &) {
             locate(t, "Валидол");
             t.edit();
             t.field(u"NAME").setString(QStringLiteral("Валидол форте"));
             t.post();
         },
         {"Аспирин", "Бисептол", "Валидол форте", "Ибупрофен", "Ивермектин", "Корвалол"},
         0},
        {"a filter narrows the rows",
         [](tables::Table &t, const QString &) {
             t.setFilter(QStringLiteral("ZAK<>0"));
             t.setFiltered(true);
         },
         {"Бисептол", "Ибупрофен", "Корвалол"},
         1},
        {"a posted record that leaves the filter leaves the rows",
         [&](tables::Table &t, const QString &) {
             t.setFilter(QStringLiteral("ZAK<>0"));
             t.setFiltered(true);
             locate(t, "Ибупрофен");
             t.edit();
             t.field(u"ZAK").clear();
             t.post();
         },
         {"Бисептол", "Корвалол"},
         1},
        {"a deleted record leaves the rows",
         [&](tables::Table &t, const QString &) {
             locate(t, "Валидол");
             t.deleteRecord();
         },
         {"Аспирин", "Бисептол", "Ибупрофен", "Ивермектин", "Корвалол"},
         0},
        {"an appended record joins at the end",
         [](tables::Table &t, const QString &) {
             t.append();
             t.field(u"NAME").setString(QStringLiteral("Янтарь"));
             t.post();
         },
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол", "Янтарь"},
         0},
        {"a record being inserted shows as a pending row",
         [&](tables::Table &t, const QString &) {
             locate(t, "Валидол");
             t.append();
             t.field(u"NAME").setString(QStringLiteral("Янтарь"));
         },
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол", "Янтарь"},
         0},
        {"a cancelled insertion leaves nothing",
         [](tables::Table &t, const QString &) {
             t.append();
             t.field(u"NAME").setString(QStringLiteral("Янтарь"));
             t.cancel();
         },
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол"},
         0},
        {"a change by another table object shows after a refresh",
         [](tables::Table &t, const QString &path) {
             tables::Table other(path);
             other.open();
             other.last();
             other.edit();
             other.field(u"NAME").setString(QStringLiteral("Корвалол капли"));
             other.post();
             t.refresh();
         },
         {"Аспирин", "Бисептол", "Валидол", "Ибупрофен", "Ивермектин", "Корвалол капли"},
         1},
        {"changes while controls are disabled show once at the end",
         [](tables::Table &t, const QString &) {
             t.disableControls();
             for (t.first(); !t.eof(); t.next()) {
                 t.edit();
                 t.field(u"NAME").setString(t.field(u"NAME").asString().left(3));
                 t.post();
             }
             t.enableControls();
         },
         {"Асп", "Бис", "Вал", "Ибу", "Иве", "Кор"},
         1},
    };
    for (const FollowCase &c : cases) {
        SCOPED_TRACE(c.name);
        openGrid();
        QSignalSpy resets(grid->tableModel(), &QAbstractItemModel::modelReset);
        c.act(*table, path);
        EXPECT_EQ(columnTexts(*grid, 0), c.names);
        EXPECT_EQ(resets.count(), c.resets);
        // The row the cursor is on is the grid's current row (a record that
        // left the view keeps the cursor until it moves on).
        if (grid->tableModel()->cursorRow() >= 0) {
            EXPECT_EQ(currentRow(), grid->tableModel()->cursorRow());
        }
        TearDown();
    }
}

TEST_F(GridBinding, InsertedRecordDoesNotHideTheRowItStartedFrom)
{
    openGrid();
    ASSERT_TRUE(table->locate(QStringLiteral("NAME"), QStringLiteral("Валидол")));
    table->append();
    grid::TableModel *m = grid->tableModel();
    EXPECT_TRUE(m->isPendingRow(6));
    EXPECT_EQ(m->index(2, 0).data().toString(), QStringLiteral("Валидол"));
    EXPECT_EQ(m->index(6, 0).data().toString(), QString());
    EXPECT_EQ(currentRow(), 6);
    table->field(u"NAME").setString(QStringLiteral("Янтарь"));
    EXPECT_EQ(m->index(6, 0).data().toString(), QStringLiteral("Янтарь"));
    table->post();
    EXPECT_FALSE(m->isPendingRow(6));
    EXPECT_EQ(m->recordAt(6), 7u);
    EXPECT_EQ(currentRow(), 6);
}

TEST_F(GridBinding, CurrentRowAndTableCursorFollowEachOther)
{
    openGrid();
    EXPECT_EQ(currentRow(), 0);
    ASSERT_TRUE(table->locate(QStringLiteral("NAME"), QStringLiteral("Ибупрофен")));
    EXPECT_EQ(currentRow(), 3);
    press(Qt::Key_Down);
    EXPECT_EQ(currentName(), QStringLiteral("Ивермектин"));
    click(1, 1);
    EXPECT_EQ(currentName(), QStringLiteral("Бисептол"));
    table->last();
    EXPECT_EQ(currentRow(), 5);
    press(Qt::Key_Home, Qt::ControlModifier);
    EXPECT_EQ(currentName(), QStringLiteral("Аспирин"));
    // The column stays when the row changes from the table side.
    press(Qt::Key_Right);
    const int column = grid->currentIndex().column();
    EXPECT_GT(column, 0);
    table->last();
    EXPECT_EQ(grid->currentIndex().column(), column);
    EXPECT_EQ(currentRow(), 5);
}

TEST_F(GridBinding, RowsAreReadOnDemandFromALargeTable)
{
    std::vector<PriceRow> many;
    for (int i = 0; i < 3000; ++i)
        many.push_back({QStringLiteral("Товар %1").arg(i), i, 0, i / 4.0});
    openGrid(many);
    grid::TableModel *m = grid->tableModel();
    EXPECT_EQ(m->rowCount(), 3000);
    press(Qt::Key_End, Qt::ControlModifier);
    EXPECT_EQ(currentName(), QStringLiteral("Товар 2999"));
    EXPECT_EQ(m->index(2999, 3).data().toString(), QLocale().toString(749.75, 'g', 15));
    EXPECT_EQ(m->index(17, 0).data().toString(), QStringLiteral("Товар 17"));
    // A closed table leaves an empty grid without a data source; bound again
    // after reopening it shows again. Destroying a bound table is safe.
    table->close();
    EXPECT_EQ(m->rowCount(), 0);
    EXPECT_FALSE(grid->hasDataSource());
    table->open();
    grid->setTable(table.get());
    EXPECT_EQ(m->rowCount(), 3000);
    table.reset();
    EXPECT_FALSE(grid->hasDataSource());
    grid.reset();
}

} // namespace
