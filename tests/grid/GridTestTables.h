#pragma once

// Price-like tables built on disk at run time, and helpers to drive a grid
// with real key presses and clicks.
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QApplication>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

#include <memory>
#include <vector>

// Readable strings in failure messages.
inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

namespace grid_testing {

struct PriceRow {
    QString name;
    int qnt = 0;
    double zak = 0;
    double price = 0;
};

// NAME C30, QNT N10, ZAK N12.2, PRICE N12.2, stored in that order.
inline QString createPriceTable(const QString &path, const std::vector<PriceRow> &rows)
{
    using K = tables::FieldKind;
    tables::createTable(path, 4,
                        {{QStringLiteral("NAME"), K::String, 30},
                         {QStringLiteral("QNT"), K::Integer, 10},
                         {QStringLiteral("ZAK"), K::Float, 12, 2},
                         {QStringLiteral("PRICE"), K::Float, 12, 2}},
                        {.overwrite = true});
    tables::Table t(path);
    t.open();
    for (const PriceRow &r : rows) {
        t.append();
        t.field(u"NAME").setString(r.name);
        t.field(u"QNT").setInteger(r.qnt);
        if (r.zak != 0)
            t.field(u"ZAK").setFloat(r.zak);
        t.field(u"PRICE").setFloat(r.price);
        t.post();
    }
    return path;
}

inline std::vector<PriceRow> drugs()
{
    return {{QStringLiteral("Аспирин"), 10, 0, 12.5},   {QStringLiteral("Бисептол"), 5, 2, 30},
            {QStringLiteral("Валидол"), 0, 0, 8.25},    {QStringLiteral("Ибупрофен"), 7, 1, 55},
            {QStringLiteral("Ивермектин"), 3, 0, 99.9}, {QStringLiteral("Корвалол"), 1, 4, 20}};
}

// The texts a column shows, row by row.
inline QStringList columnTexts(const grid::DBGrid &grid, int column)
{
    QStringList out;
    for (int r = 0; r < grid.tableModel()->rowCount(); ++r)
        out << grid.tableModel()->index(r, column).data().toString();
    return out;
}

inline QStringList names(const std::vector<PriceRow> &rows)
{
    QStringList out;
    for (const PriceRow &r : rows)
        out << r.name;
    return out;
}

// Characters typed into a widget, Cyrillic ones too.
inline void typeInto(QWidget *target, const QString &text)
{
    for (QChar c : text) {
        if (c.unicode() < 128)
            QTest::keyClick(target, char(c.unicode()));
        else
            QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

// A grid over a fresh table, shown and focused.
class GridFixture : public ::testing::Test {
protected:
    void openGrid(const std::vector<PriceRow> &rows = drugs())
    {
        path = createPriceTable(dir.filePath(QStringLiteral("price.dbf")), rows);
        table = std::make_unique<tables::Table>(path);
        table->open();
        grid = std::make_unique<grid::DBGrid>();
        grid->resize(600, 300);
        grid->setTable(table.get());
        grid->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(grid.get()));
        QApplication::setActiveWindow(grid.get());
        grid->setFocus();
        ASSERT_TRUE(QTest::qWaitForWindowActive(grid.get()));
    }

    void TearDown() override
    {
        if (grid)
            grid->setTable(nullptr);
        grid.reset();
        table.reset();
    }

    // Keys go where the user's keys go: the focused widget (a cell editor
    // while one is open).
    void press(int key, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : grid.get();
        QTest::keyClick(target, Qt::Key(key), modifiers);
    }
    void type(const QString &text)
    {
        for (QChar c : text)
            typeInto(QApplication::focusWidget() ? QApplication::focusWidget() : grid.get(), QString(c));
    }
    QPoint cellCentre(int row, int column) const
    {
        return grid->visualRect(grid->tableModel()->index(row, column)).center();
    }
    void click(int row, int column, Qt::KeyboardModifiers modifiers = Qt::NoModifier)
    {
        QTest::mouseClick(grid->viewport(), Qt::LeftButton, modifiers, cellCentre(row, column));
    }
    int currentRow() const { return grid->currentIndex().row(); }
    QString currentName() { return table->field(u"NAME").asString(); }

    QTemporaryDir dir;
    QString path;
    std::unique_ptr<tables::Table> table;
    std::unique_ptr<grid::DBGrid> grid;
};

} // namespace grid_testing
