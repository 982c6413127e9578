// The child window base: column set-up from properties.ini and back, the
// order sort, geometry under the caption, the last refresh date.
#include "tests/support/WindowTestSupport.h"

#include "config/ConfigError.h"
#include "grid/DBGrid.h"
#include "windows/uGridFrm.h"
#include "windows/uSChildFrm.h"

#include <QMdiSubWindow>

#include <memory>

using namespace kx::testsupport;
using K = tables::FieldKind;

namespace {

struct SortCase {
    std::vector<int> numbers;
    std::vector<int> sequence;
};

TEST(SortByOrder, ExchangeSortAsStoredLayoutsExpect)
{
    const std::vector<SortCase> cases = {
        {{2, 2, 0}, {2, 1, 0}}, // order numbers 3,3,1 (minus one): C, B, A
        {{0, 1, 2}, {0, 1, 2}},
        {{2, 0, 1}, {1, 2, 0}},
        {{0, 0, 0}, {0, 1, 2}},
        {{4, 3, 3, 2}, {3, 2, 1, 0}}, // a stable sort would give 3, 1, 2, 0
        {{99, 49, 0, 3}, {2, 3, 1, 0}},
        {{}, {}},
        {{7}, {0}},
    };
    for (const SortCase &c : cases) {
        std::vector<int> numbers = c.numbers;
        windows::TSaveChildFrm::SortByOrder(numbers);
        EXPECT_EQ(numbers, c.sequence);
    }
}

// A frame with a grid over price.dbf (NAME, QNT, ZAK, PRICE).
class Columns : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        createTable(file("price.dbf"),
                    {{"NAME", K::String}, {"QNT", K::Integer}, {"ZAK", K::Float}, {"PRICE", K::Float}},
                    {{{"NAME", QStringLiteral("Аспирин")}, {"QNT", 5}}});
    }
    void open()
    {
        table = std::make_unique<tables::Table>(file("price.dbf"));
        table->open();
        grid = std::make_unique<grid::DBGrid>();
        grid->setTable(table.get());
    }
    void TearDown() override
    {
        if (grid)
            grid->setTable(nullptr);
        grid.reset();
        table.reset();
        ProgramFolderFixture::TearDown();
    }
    void entries(const std::vector<std::pair<const char *, const char *>> &items)
    {
        for (const auto &[key, value] : items)
            properties().writeString(QStringLiteral("price.dbf"), QString::fromUtf8(key), QString::fromUtf8(value));
    }
    QStringList columnNames() const
    {
        QStringList out;
        for (int c = 0; c < grid->columnCount(); ++c)
            out << grid->columnFieldName(c);
        return out;
    }
    QStringList titles() const
    {
        QStringList out;
        for (int c = 0; c < grid->columnCount(); ++c)
            out << grid->columnTitle(c);
        return out;
    }

    windows::TSaveChildFrm frm;
    std::unique_ptr<tables::Table> table;
    std::unique_ptr<grid::DBGrid> grid;
};

struct ApplyCase {
    const char *name;
    std::vector<std::pair<const char *, const char *>> entries;
    QStringList columns;
    QStringList titles;
    std::vector<int> widths; // 0: the grid's own width
    QStringList editable;
};

TEST_F(Columns, ApplyColumnsFromEntries)
{
    const std::vector<ApplyCase> cases = {
        {"no entries: every field, read-only, titled by name, in table order",
         {},
         {"NAME", "QNT", "ZAK", "PRICE"},
         {"NAME", "QNT", "ZAK", "PRICE"},
         {0, 0, 0, 0},
         {}},
        {"Zak second among stored entries",
         {{"NAME", "NAME;1;Наименование;Y;Y;N;200"},
          {"QNT", "QNT;3;Остаток;Y;Y;N;0"},
          {"PRICE", "PRICE;4;Цена;Y;Y;N;0"},
          {"Zak", "Zak;2;Кол-во;Y;N;N;60"}},
         {"NAME", "ZAK", "QNT", "PRICE"},
         {"Наименование", "Кол-во", "Остаток", "Цена"},
         {200, 60, 0, 0},
         {"ZAK"}},
        {"a lone Zak;2 ties with the default of the second column and stays behind it",
         {{"Zak", "Zak;2;Кол-во;Y;N;N;60"}},
         {"NAME", "QNT", "ZAK", "PRICE"},
         {"NAME", "QNT", "Кол-во", "PRICE"},
         {0, 0, 60, 0},
         {"ZAK"}},
        {"order numbers 3,3,1 give C, B, A",
         {{"NAME", "NAME;3;A;Y;Y;N;0"},
          {"QNT", "QNT;3;B;Y;Y;N;0"},
          {"ZAK", "ZAK;1;C;Y;Y;N;0"},
          {"PRICE", "PRICE;4;D;Y;Y;N;0"}},
         {"ZAK", "QNT", "NAME", "PRICE"},
         {"C", "B", "A", "D"},
         {0, 0, 0, 0},
         {}},
        {"large order numbers sort last",
         {{"NAME", "NAME;100;A;Y;Y;N;0"}, {"QNT", "QNT;50;B;Y;Y;N;0"}, {"ZAK", "ZAK;1;C;Y;Y;N;0"}},
         {"ZAK", "PRICE", "QNT", "NAME"},
         {"C", "PRICE", "B", "A"},
         {0, 0, 0, 0},
         {}},
        {"a hidden field has no column",
         {{"QNT", "QNT;2;Остаток;N;N;N;80"}},
         {"NAME", "ZAK", "PRICE"},
         {"NAME", "ZAK", "PRICE"},
         {0, 0, 0},
         {}},
        {"a quoted title with a space, letter case of Y ignored",
         {{"name", "NAME;1;\"Полное имя\";y;n;N;250"}},
         {"NAME", "QNT", "ZAK", "PRICE"},
         {"Полное имя", "QNT", "ZAK", "PRICE"},
         {250, 0, 0, 0},
         {"NAME"}},
        {"editable fields listed in column order before the reordering",
         {{"PRICE", "PRICE;1;Цена;Y;N;N;0"}, {"QNT", "QNT;2;Q;Y;N;N;0"}, {"NAME", "NAME;3;N;Y;Y;N;0"}},
         {"PRICE", "QNT", "ZAK", "NAME"},
         {"Цена", "Q", "ZAK", "N"},
         {0, 0, 0, 0},
         {"QNT", "PRICE"}},
    };
    for (const ApplyCase &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(config::propertiesFileName());
        entries(c.entries);
        open();
        std::vector<tables::Field> editable;
        frm.ApplyColumns(*table, *grid, &editable);
        EXPECT_EQ(columnNames(), c.columns);
        EXPECT_EQ(titles(), c.titles);
        for (int col = 0; col < grid->columnCount() && col < int(c.widths.size()); ++col) {
            if (c.widths[size_t(col)])
                EXPECT_EQ(grid->columnWidth(col), c.widths[size_t(col)]) << col;
            else
                EXPECT_GT(grid->columnWidth(col), 0) << col;
            EXPECT_EQ(grid->titleAlignment(col), Qt::AlignCenter);
            EXPECT_EQ(grid->columnField(col).isReadOnly(), !c.editable.contains(grid->columnFieldName(col)));
        }
        QStringList editableNames;
        for (const tables::Field &f : editable)
            editableNames << f.name();
        EXPECT_EQ(editableNames, c.editable);
        TearDown();
        SetUp();
    }
}

TEST_F(Columns, MalformedEntriesRaiseAndTheWindowIsNotOpened)
{
    for (const char *bad : {"Zak;2;Кол-во;Y;N;N", "Zak;x;Кол-во;Y;N;N;60", "Zak;2;Кол-во;Y;N;N;6O", ""}) {
        SCOPED_TRACE(bad);
        QFile::remove(config::propertiesFileName());
        entries({{"ZAK", bad}});
        open();
        EXPECT_THROW(frm.ApplyColumns(*table, *grid), config::ConfigError);
        grid->setTable(nullptr);
        EXPECT_THROW(windows::TGridFrm(nullptr, QStringLiteral("Прайс"), file("price.dbf"), nullptr),
                     config::ConfigError);
        for (QWidget *w : QApplication::topLevelWidgets())
            EXPECT_EQ(qobject_cast<windows::TGridFrm *>(w), nullptr);
        EXPECT_FALSE(settings().sectionExists(QStringLiteral("Прайс"))); // no geometry of a window never opened
    }
}

TEST_F(Columns, SaveColumnsWritesOnlyWhatChanged)
{
    const auto openWindow = [&] {
        return std::make_unique<windows::TGridFrm>(nullptr, QStringLiteral("Прайс"), file("price.dbf"), nullptr);
    };
    // First close: an entry for every visible column, with the defaults.
    entries({{"QNT", "QNT;2;Остаток;N;Y;N;80"}, {"GONE", "GONE;9;Нет;Y;Y;N;10"}});
    {
        auto w = openWindow();
        w->dbGrid()->setColumnWidth(1, 70);
    }
    const QString section = QStringLiteral("price.dbf");
    EXPECT_TRUE(
        properties().readString(section, QStringLiteral("NAME")).startsWith(QStringLiteral("NAME;1;NAME;Y;Y;N;")));
    EXPECT_EQ(properties().readString(section, QStringLiteral("ZAK")), QStringLiteral("ZAK;2;ZAK;Y;Y;N;70"));
    EXPECT_TRUE(properties().readString(section, QStringLiteral("PRICE")).startsWith(QStringLiteral("PRICE;3;")));
    // Hidden and vanished fields keep their entries.
    EXPECT_EQ(properties().readString(section, QStringLiteral("QNT")), QStringLiteral("QNT;2;Остаток;N;Y;N;80"));
    EXPECT_EQ(properties().readString(section, QStringLiteral("GONE")), QStringLiteral("GONE;9;Нет;Y;Y;N;10"));

    // Unchanged: nothing written at all.
    const QByteArray before = fileBytes(config::propertiesFileName());
    openWindow().reset();
    EXPECT_EQ(fileBytes(config::propertiesFileName()), before);

    // The user moves PRICE first and widens NAME: those entries follow, the
    // other items of each entry stay.
    properties().writeString(section, QStringLiteral("NAME"), QStringLiteral("NAME;1;\"Полное имя\";Y;N;Y;100"));
    {
        auto w = openWindow();
        w->dbGrid()->moveColumn(2, 0);
        w->dbGrid()->setColumnWidth(1, 140);
    }
    EXPECT_EQ(properties().readString(section, QStringLiteral("PRICE")).section(u';', 1, 1), QStringLiteral("1"));
    EXPECT_EQ(properties().readString(section, QStringLiteral("NAME")),
              QStringLiteral("NAME;2;\"Полное имя\";Y;N;Y;140"));
    EXPECT_EQ(properties().readString(section, QStringLiteral("ZAK")), QStringLiteral("ZAK;3;ZAK;Y;Y;N;70"));
    EXPECT_EQ(properties().readString(section, QStringLiteral("QNT")), QStringLiteral("QNT;2;Остаток;N;Y;N;80"));

    // The layout comes back in the next window.
    auto w = openWindow();
    EXPECT_EQ(w->dbGrid()->columnFieldName(0), QStringLiteral("PRICE"));
    EXPECT_EQ(w->dbGrid()->columnWidth(1), 140);
    EXPECT_EQ(w->dbGrid()->columnTitle(1), QStringLiteral("Полное имя"));
}

TEST_F(Columns, MalformedEntryAtCloseIsReportedAndGeometryNotSaved)
{
    auto w = std::make_unique<windows::TGridFrm>(nullptr, QStringLiteral("Прайс"), file("price.dbf"), nullptr);
    w->show();
    properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("NAME"), QStringLiteral("NAME;1;x"));
    w.reset();
    ASSERT_EQ(fake.messages().errors().size(), 1);
    EXPECT_TRUE(fake.messages().errors().first().contains(QStringLiteral("NAME")));
    EXPECT_FALSE(settings().sectionExists(QStringLiteral("Прайс")));
}

// --- geometry ---

class Geometry : public ProgramFolderFixture {
protected:
    // A window that restores its place, shown in the main window's MDI area.
    windows::TSaveChildFrm *openChild(const QString &caption)
    {
        auto *w = new windows::TSaveChildFrm(&main.area);
        w->setWindowTitle(caption);
        w->FormCreate();
        main.showChild(w);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    QRect stored(const QString &section) const
    {
        const config::IniFile s = settings();
        return QRect(
            s.readInteger(section, QStringLiteral("Left"), 0), s.readInteger(section, QStringLiteral("Top"), 0),
            s.readInteger(section, QStringLiteral("Width"), 0), s.readInteger(section, QStringLiteral("Height"), 0));
    }
    FakeMainFrm main;
};

TEST_F(Geometry, RestoredFromAndSavedUnderTheCaption)
{
    const QRect place(20, 10, 300, 200);
    for (const auto &[key, value] :
         std::vector<std::pair<const char *, int>>{{"Top", 10}, {"Left", 20}, {"Width", 300}, {"Height", 200}})
        settings().writeInteger(QStringLiteral("Архив"), QString::fromUtf8(key), value);
    windows::TSaveChildFrm *w = openChild(QStringLiteral("Архив"));
    EXPECT_EQ(w->frame()->geometry(), place);
    EXPECT_TRUE(w->isMdiChild());

    // Moved, renamed, closed: stored under the later caption only.
    w->frame()->setGeometry(30, 40, 350, 250);
    w->setWindowTitle(QStringLiteral("Архив 2"));
    w->closeWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(main.area.subWindowList().isEmpty());
    EXPECT_EQ(stored(QStringLiteral("Архив 2")), QRect(30, 40, 350, 250));
    EXPECT_EQ(stored(QStringLiteral("Архив")), place);
}

TEST_F(Geometry, TopMinusTwoKeepsTheDefaultPlacement)
{
    const config::IniFile s = settings();
    s.writeInteger(QStringLiteral("Дозвон"), QStringLiteral("Top"), -2);
    s.writeInteger(QStringLiteral("Дозвон"), QStringLiteral("Left"), 333);
    s.writeInteger(QStringLiteral("Дозвон"), QStringLiteral("Width"), 222);
    windows::TSaveChildFrm *plain = openChild(QStringLiteral("Без записи"));
    windows::TSaveChildFrm *minusTwo = openChild(QStringLiteral("Дозвон"));
    EXPECT_NE(minusTwo->frame()->geometry().left(), 333);
    EXPECT_NE(minusTwo->frame()->geometry().width(), 222);
    EXPECT_EQ(minusTwo->frame()->size(), plain->frame()->size());
    main.area.closeAllSubWindows();
}

TEST_F(Geometry, TableWindowSavesButDoesNotRestore)
{
    createTable(file("ref.dbf"), {{"NAME", K::String}}, {});
    settings().writeInteger(QStringLiteral("Справочник"), QStringLiteral("Top"), 5);
    settings().writeInteger(QStringLiteral("Справочник"), QStringLiteral("Left"), 6);
    auto *w = new windows::TGridFrm(&main.area, QStringLiteral("Справочник"), file("ref.dbf"), &main);
    main.showChild(w);
    ASSERT_TRUE(QTest::qWaitForWindowExposed(w));
    EXPECT_NE(w->frame()->geometry().topLeft(), QPoint(6, 5));
    const QRect now = w->frame()->geometry();
    w->closeWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(stored(QStringLiteral("Справочник")), now);
}

TEST_F(Geometry, LastRefreshDate)
{
    windows::TSaveChildFrm w;
    EXPECT_EQ(w.GetLastRefresh(), QDateTime(QDate(1900, 1, 1), QTime(0, 0)));
    const QDateTime when(QDate(2026, 3, 14), QTime(9, 30, 5));
    settings().writeDateTime(QStringLiteral("FTP"), QStringLiteral("LastRefresh"), when);
    EXPECT_EQ(w.GetLastRefresh(), when);
}

} // namespace
