// The grid driven like a user drives it: keys, clicks, editing, events,
// colours, selected rows, edit buttons and the searches.
#include "GridTestTables.h"

#include "grid/FindDialog.h"
#include "grid/GridDelegate.h"
#include "grid/MultiLevelHeader.h"
#include "platform/fake/FakePlatform.h"

#include <QComboBox>
#include <QImage>
#include <QLineEdit>
#include <QPushButton>
#include <QSignalSpy>

using namespace grid_testing;

namespace {

class GridInput : public GridFixture {
protected:
    void goTo(int row, int column)
    {
        grid->setCurrentIndex(grid->tableModel()->index(row, column));
        QApplication::processEvents();
    }
    double storedZak(int recno)
    {
        tables::Table fresh(path);
        fresh.open();
        double value = -1;
        fresh.withRecord(std::uint32_t(recno), [&] { value = fresh.field(u"ZAK").asFloat(); });
        return value;
    }
    platform::fake::FakePlatform fake;
};

struct EditCase {
    const char *name;
    int column;
    QString typed;
    int endKey;
    QString shown; // the cell after the keys
    tables::TableState state;
    QString stored; // the field as stored in the file afterwards
};

TEST_F(GridInput, TypingEditsEditableCellsInPlace)
{
    const std::vector<EditCase> cases = {
        {"a quantity with a decimal comma, Enter", 2, "12,5", Qt::Key_Return, QLocale().toString(12.5),
         tables::TableState::Edit, "2"},
        {"a quantity, Down posts it", 2, "3.25", Qt::Key_Down, QLocale().toString(3.25), tables::TableState::Browse,
         "3.25"},
        {"letters are refused in a number", 2, "abc", Qt::Key_Return, "2", tables::TableState::Browse, "2"},
        {"Escape gives the old value back", 2, "9", Qt::Key_Escape, "2", tables::TableState::Browse, "2"},
        {"text into a text field", 0, "Ж", Qt::Key_Down, "Ж", tables::TableState::Browse, "Ж"},
    };
    for (const EditCase &c : cases) {
        SCOPED_TRACE(c.name);
        openGrid();
        goTo(1, c.column);
        type(c.typed);
        press(c.endKey);
        EXPECT_EQ(grid->tableModel()->index(1, c.column).data().toString(), c.shown);
        EXPECT_EQ(table->state(), c.state);
        tables::Table fresh(path);
        fresh.open();
        QString stored;
        fresh.withRecord(2, [&] {
            stored = c.column == 0 ? fresh.field(u"NAME").asString() : QString::number(fresh.field(u"ZAK").asFloat());
        });
        EXPECT_EQ(stored, c.stored);
        TearDown();
    }
}

TEST_F(GridInput, ReadOnlyFieldsAndForbiddenEditingTakeNoText)
{
    openGrid();
    table->field(u"NAME").setReadOnly(true);
    goTo(0, 0);
    type("X");
    EXPECT_EQ(table->state(), tables::TableState::Browse);
    grid->setAllowedOperations({});
    goTo(0, 2);
    type("5");
    press(Qt::Key_Return);
    EXPECT_EQ(table->state(), tables::TableState::Browse);
    EXPECT_EQ(storedZak(1), 0.0);
    // Insert and Down on the last row add nothing either.
    press(Qt::Key_Insert);
    goTo(5, 2);
    press(Qt::Key_Down);
    EXPECT_EQ(table->state(), tables::TableState::Browse);
}

TEST_F(GridInput, InsertDownAndCtrlDeleteWorkTheTable)
{
    openGrid();
    goTo(5, 0);
    press(Qt::Key_Down); // appends
    EXPECT_EQ(table->state(), tables::TableState::Insert);
    EXPECT_EQ(currentRow(), 6);
    press(Qt::Key_Up); // nothing typed: abandoned
    EXPECT_EQ(table->state(), tables::TableState::Browse);
    EXPECT_EQ(grid->tableModel()->rowCount(), 6);

    fake.messages().answers = {false, true};
    goTo(2, 0);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(grid->tableModel()->rowCount(), 6);
    press(Qt::Key_Delete, Qt::ControlModifier);
    EXPECT_EQ(columnTexts(*grid, 0), QStringList({"Аспирин", "Бисептол", "Ибупрофен", "Ивермектин", "Корвалол"}));
    EXPECT_EQ(fake.messages().texts(), QStringList({"Удалить запись?", "Удалить запись?"}));
}

TEST_F(GridInput, EventsReachTheWindowBeforeTheGridActs)
{
    openGrid();
    std::vector<int> keys;
    QStringList chars;
    QString consume;
    QString replaceWith;
    double zakAtEnter = -1;
    QObject::connect(grid.get(), &grid::DBGrid::keyDown, grid.get(), [&](grid::GridKeyEvent *e) {
        keys.push_back(e->key);
        if (e->key == Qt::Key_Return)
            zakAtEnter = table->field(u"ZAK").asFloat();
    });
    QObject::connect(grid.get(), &grid::DBGrid::keyPress, grid.get(), [&](grid::GridCharEvent *e) {
        chars << e->text;
        if (e->text == consume)
            e->handled = true;
        else if (!replaceWith.isEmpty())
            e->text = replaceWith;
    });
    QSignalSpy colEnter(grid.get(), &grid::DBGrid::colEnter);
    QSignalSpy dblClick(grid.get(), &grid::DBGrid::dblClick);

    goTo(0, 2);
    colEnter.clear();
    press(Qt::Key_F5);
    type("ж");
    EXPECT_EQ(keys.front(), int(Qt::Key_F5));
    EXPECT_EQ(chars, QStringList({"ж"}));
    press(Qt::Key_Escape); // the editor the letter opened (a number takes no letters)

    // A consumed character opens no editor.
    consume = QStringLiteral("5");
    type("5");
    EXPECT_EQ(table->state(), tables::TableState::Browse);
    // A replaced character is what the cell gets; Enter, raised while
    // editing, comes after the value reached the field.
    consume.clear();
    replaceWith = QStringLiteral("7");
    type("x");
    replaceWith.clear();
    press(Qt::Key_Return);
    EXPECT_EQ(zakAtEnter, 7.0);
    EXPECT_TRUE(chars.contains(QStringLiteral("\r")));

    press(Qt::Key_Right);
    EXPECT_EQ(colEnter.count(), 1);
    EXPECT_EQ(grid->selectedField().name(), QStringLiteral("PRICE"));
    press(Qt::Key_Down);
    EXPECT_EQ(colEnter.count(), 1); // another row, same column
    QTest::mouseDClick(grid->viewport(), Qt::LeftButton, {}, cellCentre(3, 0));
    EXPECT_EQ(dblClick.count(), 1);
    EXPECT_EQ(colEnter.count(), 2);
}

TEST_F(GridInput, StyleHookColoursWholeRowsFromTheirOwnValues)
{
    openGrid();
    const QColor aqua(0, 255, 255);
    grid->setCellStyleHook([&](tables::Table &t, grid::CellStyle &style) {
        const double zak = t.field(u"ZAK").asFloat();
        if (zak != 0) {
            style.background = aqua;
            style.bold = true;
        }
        if (t.field(u"QNT").asFloat() < zak)
            style.font = QColor(255, 0, 0);
    });
    grid::TableModel *m = grid->tableModel();
    // The cursor stays on the first row while the others are drawn.
    for (int c = 0; c < 4; ++c) {
        EXPECT_FALSE(m->index(0, c).data(Qt::BackgroundRole).isValid());
        EXPECT_EQ(m->index(1, c).data(Qt::BackgroundRole).value<QColor>(), aqua);
        EXPECT_TRUE(m->index(1, c).data(Qt::FontRole).value<QFont>().bold());
        EXPECT_FALSE(m->index(1, c).data(Qt::ForegroundRole).isValid());
        EXPECT_EQ(m->index(5, c).data(Qt::ForegroundRole).value<QColor>(), QColor(255, 0, 0));
    }
    // A post recolours its row.
    ASSERT_TRUE(table->locate(QStringLiteral("NAME"), QStringLiteral("Аспирин")));
    table->edit();
    table->field(u"ZAK").setFloat(1);
    table->post();
    EXPECT_EQ(m->index(0, 0).data(Qt::BackgroundRole).value<QColor>(), aqua);

    // What is drawn: the coloured row, and the current cell in the highlight colour.
    goTo(3, 1);
    const QImage shot = grid->viewport()->grab().toImage();
    const QRect coloured = grid->visualRect(m->index(1, 0));
    EXPECT_EQ(QColor(shot.pixel(coloured.left() + 2, coloured.center().y())), aqua);
    const QRect current = grid->visualRect(m->index(3, 1));
    EXPECT_EQ(QColor(shot.pixel(current.left() + 2, current.center().y())),
              grid->palette().color(QPalette::Active, QPalette::Highlight));
}

TEST_F(GridInput, SeveralRowsAreSelectedAsBookmarks)
{
    openGrid();
    grid->setOption(grid::DBGrid::MultiSelect);
    click(0, 0);
    press(Qt::Key_Down, Qt::ShiftModifier);
    press(Qt::Key_Down, Qt::ShiftModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<tables::Bookmark>{1, 2, 3}));
    click(1, 0, Qt::ControlModifier);
    click(5, 0, Qt::ControlModifier);
    EXPECT_EQ(grid->selectedRows(), (std::vector<tables::Bookmark>{1, 3, 6}));
    EXPECT_TRUE(grid->isRowSelected(5));
    // The bookmarks outlive a filter; only rows in view are listed.
    table->setFilter(QStringLiteral("ZAK<>0"));
    table->setFiltered(true);
    EXPECT_EQ(grid->selectedRows(), (std::vector<tables::Bookmark>{6}));
    table->setFiltered(false);
    EXPECT_EQ(grid->selectedRows(), (std::vector<tables::Bookmark>{1, 3, 6}));
    click(2, 0);
    EXPECT_TRUE(grid->selectedRows().empty());
}

TEST_F(GridInput, EllipsisButtonRaisesItsClickEvent)
{
    openGrid();
    QSignalSpy clicks(grid.get(), &grid::DBGrid::editButtonClick);
    grid->setColumnEditButton(0, true, true);
    goTo(1, 0);
    const QRect cell = grid->visualRect(grid->tableModel()->index(1, 0));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid::GridDelegate::editButtonRect(cell).center());
    ASSERT_EQ(clicks.count(), 1);
    EXPECT_EQ(clicks.takeFirst().at(0).toInt(), 0);
    press(Qt::Key_F4);
    type("a"); // automatic drop-down: typing presses the button
    EXPECT_EQ(clicks.count(), 2);
    EXPECT_EQ(table->state(), tables::TableState::Browse);
    // Without automatic drop-down, typing edits; other columns have no button.
    grid->setColumnEditButton(0, true, false);
    type("b");
    press(Qt::Key_Escape);
    EXPECT_EQ(clicks.count(), 2);
    goTo(1, 1);
    const QRect other = grid->visualRect(grid->tableModel()->index(1, 1));
    QTest::mouseClick(grid->viewport(), Qt::LeftButton, {}, grid::GridDelegate::editButtonRect(other).center());
    EXPECT_EQ(clicks.count(), 2);
}

TEST_F(GridInput, OwnIncrementalSearchOnReadOnlyColumns)
{
    openGrid();
    grid->setOption(grid::DBGrid::IncrementalSearch);
    table->field(u"NAME").setReadOnly(true);
    table->field(u"QNT").setReadOnly(true);
    struct Step {
        QString typed;
        QString name;
        QString search;
    };
    goTo(0, 0);
    for (const Step &s : std::vector<Step>{{"и", "Ибупрофен", "и"},
                                           {"в", "Ивермектин", "ив"},
                                           {"х", "Ивермектин", "ив"}, // no match: nothing changes
                                           {"\b", "Ивермектин", "и"},
                                           {"б", "Ибупрофен", "иб"}}) {
        SCOPED_TRACE(s.typed.toStdString());
        if (s.typed == QLatin1String("\b"))
            press(Qt::Key_Backspace);
        else
            type(s.typed);
        EXPECT_EQ(currentName(), s.name);
        EXPECT_EQ(grid->incrementalSearchText(), s.search);
    }
    press(Qt::Key_Right); // another column ends the search
    EXPECT_EQ(grid->incrementalSearchText(), QString());
    type("1");
    EXPECT_EQ(currentName(), QStringLiteral("Аспирин")); // QNT 10 begins with 1
    // In an editable column typing edits instead.
    goTo(0, 2);
    type("4");
    press(Qt::Key_Return);
    EXPECT_EQ(table->state(), tables::TableState::Edit);
    EXPECT_EQ(grid->incrementalSearchText(), QString());
}

TEST_F(GridInput, FindDialogFindsNextAndWraps)
{
    openGrid();
    grid->setOption(grid::DBGrid::FindDialogKey);
    goTo(0, 0);
    press(Qt::Key_F, Qt::ControlModifier);
    auto *dialog = grid->findChild<grid::FindDialog *>(QStringLiteral("FindDialog"));
    ASSERT_NE(dialog, nullptr);
    ASSERT_TRUE(dialog->isVisible());
    auto *text = dialog->findChild<QLineEdit *>(QStringLiteral("edFindText"));
    auto *where = dialog->findChild<QComboBox *>(QStringLiteral("cbFindColumn"));
    auto *next = dialog->findChild<QPushButton *>(QStringLiteral("btFindNext"));
    ASSERT_TRUE(text && where && next);
    EXPECT_EQ(where->currentData().toInt(), 0);
    typeInto(text, QStringLiteral("вал"));
    for (const char *expected : {"Валидол", "Корвалол", "Валидол"}) {
        QTest::mouseClick(next, Qt::LeftButton);
        EXPECT_EQ(currentName(), QString::fromUtf8(expected));
    }
    text->setText(QStringLiteral("нет такого"));
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(currentName(), QStringLiteral("Валидол"));
    EXPECT_EQ(fake.messages().texts(), QStringList({"Текст \"нет такого\" не найден"}));
    // Every column, whole value: the price 55 is found in its column.
    text->setText(QStringLiteral("55"));
    where->setCurrentIndex(where->count() - 1);
    dialog->findChild<QComboBox *>(QStringLiteral("cbFindMatch"))->setCurrentIndex(2);
    QTest::mouseClick(next, Qt::LeftButton);
    EXPECT_EQ(currentName(), QStringLiteral("Ибупрофен"));
    EXPECT_EQ(grid->currentIndex().column(), 3);
}

TEST_F(GridInput, MultiLevelTitlesShareUpperLevels)
{
    openGrid();
    table->field(u"QNT").setDisplayLabel(QStringLiteral("Количество|на складе"));
    table->field(u"ZAK").setDisplayLabel(QStringLiteral("Количество|в заказе"));
    grid->refreshTitles();
    auto *header = static_cast<grid::MultiLevelHeader *>(grid->horizontalHeader());
    const int oneLevel = header->sizeHint().height();
    EXPECT_EQ(header->levelCount(), 1);
    grid->setOption(grid::DBGrid::MultiLevelTitles);
    EXPECT_EQ(header->levelCount(), 2);
    EXPECT_GT(header->sizeHint().height(), oneLevel);
    QApplication::processEvents();
    EXPECT_GE(header->height(), header->sizeHint().height());
    // The shared level is one cell over both columns; the last parts and a
    // one-level title reach down to the bottom of the header.
    const int h = header->height();
    const int x1 = header->sectionViewportPosition(1);
    const int x3 = header->sectionViewportPosition(3);
    EXPECT_EQ(header->levelRect(1, 0), QRect(x1, 0, x3 - x1, h / 2));
    EXPECT_EQ(header->levelRect(2, 0), header->levelRect(1, 0));
    EXPECT_EQ(header->levelRect(2, 1),
              QRect(header->sectionViewportPosition(2), h / 2, header->sectionSize(2), h - h / 2));
    EXPECT_EQ(header->levelRect(0, 0), QRect(0, 0, header->sectionSize(0), h));
    EXPECT_TRUE(header->levelRect(0, 1).isNull());
    // A different upper part is not shared.
    table->field(u"ZAK").setDisplayLabel(QStringLiteral("Заказ|кол-во"));
    grid->refreshTitles();
    EXPECT_EQ(header->levelRect(1, 0).width(), header->sectionSize(1));
    grid->setOption(grid::DBGrid::MultiLevelTitles, false);
    EXPECT_EQ(header->levelCount(), 1);
}

} // namespace

namespace {

TEST_F(GridInput, RowsFollowTheGridFont)
{
    openGrid();
    const int before = grid->rowHeight(0);
    QFont big = grid->font();
    big.setPointSize(big.pointSize() * 3);
    grid->setFont(big);
    EXPECT_GT(grid->rowHeight(0), before);
    EXPECT_EQ(grid->rowHeight(0), QFontMetrics(big).height() + 4);
}

} // namespace
