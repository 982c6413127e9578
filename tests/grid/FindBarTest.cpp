// Finding drugs by what pharmacists type: any words of the name, in any
// order, any case, "ё" as "е", and on the wrong keyboard layout.
#include "GridTestTables.h"

#include "grid/DBGrid.h"
#include "grid/FindBar.h"
#include "grid/NameFinder.h"

#include <QLineEdit>
#include <QTemporaryDir>
#include <QVBoxLayout>

#include <gtest/gtest.h>

using namespace grid_testing;

namespace {

std::vector<PriceRow> names()
{
    return {{QStringLiteral("Аспирин кардио табл. 100мг №28")},
            {QStringLiteral("Кардиомагнил табл. 75мг")},
            {QStringLiteral("Ёршик для посуды")},
            {QStringLiteral("АСПИРИН УПСА шип. табл.")},
            {QStringLiteral("Но-шпа 40мг")},
            {QStringLiteral("Валидол")}};
}

TEST(NameFinder, WordsAnywhereInAnyOrderAndOnEitherLayout)
{
    QTemporaryDir dir;
    const QString path = createPriceTable(dir.filePath(QStringLiteral("p.dbf")), names());
    tables::Table table(path);
    table.open();
    const grid::NameFinder finder(table, QStringLiteral("NAME"));
    const struct {
        const char *typed;
        std::vector<std::uint32_t> found;
    } cases[] = {
        {"аспирин", {1, 4}},
        {"кардио", {1, 2}}, // a word's beginning, not only the name's
        {"кардио аспирин", {1}}, // every word, in any order
        {"АСП табл", {1, 4}}, // any case
        {"ершик", {3}}, // "ё" found by "е"
        {"fcgbhby", {1, 4}}, // аспирин typed on the Latin layout
        {"rfhlbj", {1, 2}}, // кардио
        {"шпа", {5}}, // after a hyphen
        {"40мг", {5}},
        {"ьп", {}}, // "mg" on the Cyrillic layout is no word here
        {"аспирин валидол", {}},
        {"   ", {}},
    };
    for (const auto &c : cases)
        EXPECT_EQ(finder.find(QString::fromUtf8(c.typed)), c.found) << c.typed;
    EXPECT_EQ(table.recNo(), 1u) << "the cursor stays where it was";
}

TEST(FindBar, TypingMovesToMatchesF3AndShiftF3StepThroughThem)
{
    QTemporaryDir dir;
    const QString path = createPriceTable(dir.filePath(QStringLiteral("p.dbf")), names());
    tables::Table table(path);
    table.open();
    QWidget window;
    auto *layout = new QVBoxLayout(&window);
    grid::DBGrid view(&window);
    view.setTable(&table);
    grid::FindBar bar(view, &window);
    layout->addWidget(&bar);
    layout->addWidget(&view);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    bar.activate();
    typeInto(bar.edit(), QStringLiteral("табл"));
    EXPECT_EQ(bar.matches(), (std::vector<std::uint32_t>{1, 2, 4}));
    EXPECT_EQ(table.recNo(), 1u);
    const struct {
        Qt::Key key;
        Qt::KeyboardModifiers modifiers;
        std::uint32_t recno;
    } steps[] = {
        {Qt::Key_Return, Qt::NoModifier, 2}, {Qt::Key_F3, Qt::NoModifier, 4},    {Qt::Key_F3, Qt::NoModifier, 1},
        {Qt::Key_F3, Qt::ShiftModifier, 4},  {Qt::Key_F3, Qt::ShiftModifier, 2},
    };
    for (const auto &s : steps) {
        QTest::keyClick(bar.edit(), s.key, s.modifiers);
        EXPECT_EQ(table.recNo(), s.recno);
    }
    // A filter hides a match: it is passed over.
    table.setFilter(QStringLiteral("NAME <> 'Кардиомагнил табл. 75мг'"));
    table.setFiltered(true);
    table.first();
    bar.edit()->clear();
    typeInto(bar.edit(), QStringLiteral("rfhlbj"));
    EXPECT_EQ(table.recNo(), 1u);
    QTest::keyClick(bar.edit(), Qt::Key_F3);
    EXPECT_EQ(table.recNo(), 1u);
    QTest::keyClick(bar.edit(), Qt::Key_Escape);
    EXPECT_TRUE(view.hasFocus());
    view.setTable(nullptr);
}

} // namespace
