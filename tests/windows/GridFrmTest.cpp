// The table grid window driven through its tool bar, its grid and the keyboard.
#include "tests/support/WindowTestSupport.h"

#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "windows/TableWindows.h"
#include "windows/uGridFrm.h"

#include <QAction>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>
#include <QToolButton>

using namespace kx::testsupport;
using K = tables::FieldKind;

namespace {

class GridWindow : public ProgramFolderFixture {
protected:
    windows::TGridFrm *openMdi(const QString &caption, const QString &path)
    {
        return activated(main.area, windows::OpenTableWindow(main, caption, path));
    }
    void idle() { QTest::qWait(1); }
    void clickTool(windows::TGridFrm *w, const char *button)
    {
        auto *b = w->findChild<QToolButton *>(QString::fromUtf8(button));
        ASSERT_NE(b, nullptr) << button;
        QTest::mouseClick(b, Qt::LeftButton);
        idle();
    }
    QAction *action(windows::TGridFrm *w, const char *name) { return w->findChild<QAction *>(QString::fromUtf8(name)); }
    // Keys go where the user's keys go: the focused widget.
    void press(windows::TGridFrm *w, int key)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid();
        QTest::keyClick(target, Qt::Key(key));
    }
    void type(windows::TGridFrm *w, const QString &text)
    {
        for (QChar c : text) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid();
            if (c.unicode() < 128)
                QTest::keyClick(target, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
    }
    void closeAll()
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    std::vector<QVariant> column(const QString &path, const char *field)
    {
        tables::Table t(path);
        t.open();
        std::vector<QVariant> out;
        for (t.first(); !t.eof(); t.next())
            out.push_back(t.field(QString::fromUtf8(field)).value());
        return out;
    }
    FakeMainFrm main;
};

struct CounterCase {
    const char *name;
    bool withIDRow;
    int records;
    int added;
    std::vector<int> newIds; // IDRow of the added records; empty without the field
};

TEST_F(GridWindow, RowCounterStartsAtLastIDRowPlusTwo)
{
    const std::vector<CounterCase> cases = {
        {"IDRow 1..10", true, 10, 2, {12, 13}},
        {"an empty table with IDRow", true, 0, 1, {2}},
        {"no IDRow", false, 2, 1, {}},
    };
    for (const CounterCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QStringLiteral("ref.dbf"));
        std::vector<Record> records;
        for (int i = 1; i <= c.records; ++i)
            records.push_back(c.withIDRow ? Record{{"IDROW", i}, {"NAME", QStringLiteral("Запись %1").arg(i)}}
                                          : Record{{"NAME", QStringLiteral("Запись %1").arg(i)}});
        createTable(path,
                    c.withIDRow ? std::vector<Column>{{"IDROW", K::Integer}, {"NAME", K::String}}
                                : std::vector<Column>{{"NAME", K::String}},
                    records);
        windows::TGridFrm *w = openMdi(QStringLiteral("Справочник"), path);
        EXPECT_EQ(w->nextIDRow(), c.withIDRow ? c.records + 1 : -1);
        // A window over a table with IDRow opens on its last record.
        if (c.withIDRow && c.records > 0) {
            EXPECT_EQ(w->table()->recNo(), std::uint32_t(c.records));
            EXPECT_EQ(w->dbGrid()->currentIndex().row(), c.records - 1);
        }
        for (int i = 0; i < c.added; ++i)
            clickTool(w, "ToolButton4");
        clickTool(w, "ToolButton10"); // closing posts the last one
        closeAll();
        EXPECT_EQ(main.area.subWindowList().size(), 0);
        const std::vector<QVariant> names = column(path, "NAME");
        EXPECT_EQ(int(names.size()), c.records + c.added);
        if (c.withIDRow) {
            const std::vector<QVariant> ids = column(path, "IDROW");
            std::vector<int> added;
            for (size_t i = size_t(c.records); i < ids.size(); ++i)
                added.push_back(ids[i].toInt());
            EXPECT_EQ(added, c.newIds);
        }
    }
}

struct NavigationCase {
    const char *name;
    int records;
    std::vector<const char *> clicks;
    bool backward; // Начало and Назад
    bool forward; // Вперед and Конец
    int current; // record number afterwards
};

TEST_F(GridWindow, NavigationEnablingAtFirstLastAndSingleRecord)
{
    const std::vector<NavigationCase> cases = {
        {"opened on the first record", 3, {}, false, true, 1},
        {"Конец", 3, {"ToolButton8"}, true, false, 3},
        {"Вперед to the middle", 3, {"ToolButton7"}, true, true, 2},
        {"Назад from the last back to the middle", 3, {"ToolButton8", "ToolButton2"}, true, true, 2},
        {"Начало", 3, {"ToolButton8", "ToolButton1"}, false, true, 1},
        {"a single record", 1, {}, false, false, 1},
        {"an empty table", 0, {}, false, false, 0},
    };
    for (const NavigationCase &c : cases) {
        SCOPED_TRACE(c.name);
        const QString path = file(QStringLiteral("nav.dbf"));
        std::vector<Record> records;
        for (int i = 0; i < c.records; ++i)
            records.push_back({{"NAME", QStringLiteral("N%1").arg(i)}});
        createTable(path, {{"NAME", K::String}}, records);
        windows::TGridFrm *w = openMdi(QStringLiteral("Навигация"), path);
        for (const char *button : c.clicks)
            clickTool(w, button);
        EXPECT_EQ(w->table()->recNo(), std::uint32_t(c.current));
        EXPECT_EQ(action(w, "acnBackward1")->isEnabled(), c.backward);
        EXPECT_EQ(action(w, "acnBackward")->isEnabled(), c.backward);
        EXPECT_EQ(action(w, "acnForward")->isEnabled(), c.forward);
        EXPECT_EQ(action(w, "acnForward1")->isEnabled(), c.forward);
        EXPECT_TRUE(action(w, "acnAdd")->isEnabled());
        EXPECT_TRUE(action(w, "acnDel")->isEnabled());
        EXPECT_TRUE(action(w, "acnClose")->isEnabled());
        closeAll();
    }
}

TEST_F(GridWindow, DeletionIsConfirmed)
{
    const QString path = file(QStringLiteral("del.dbf"));
    createTable(path, {{"NAME", K::String}},
                {{{"NAME", QStringLiteral("Первая")}},
                 {{"NAME", QStringLiteral("Вторая")}},
                 {{"NAME", QStringLiteral("Третья")}}});
    windows::TGridFrm *w = openMdi(QStringLiteral("Удаление"), path);
    clickTool(w, "ToolButton7"); // onto Вторая
    fake.messages().answers = {false, true};
    clickTool(w, "ToolButton5");
    EXPECT_EQ(w->dbGrid()->tableModel()->rowCount(), 3);
    clickTool(w, "ToolButton5");
    EXPECT_EQ(w->dbGrid()->tableModel()->rowCount(), 2);
    ASSERT_EQ(fake.messages().shown.size(), 2u);
    for (const platform::fake::ShownMessage &m : fake.messages().shown) {
        EXPECT_EQ(m.kind, platform::fake::ShownMessage::Kind::Question);
        EXPECT_EQ(m.text, QStringLiteral("Вы уверены?"));
    }
    closeAll();
    const std::vector<QVariant> names = column(path, "NAME");
    ASSERT_EQ(names.size(), 2u);
    EXPECT_EQ(names[0].toString(), QStringLiteral("Первая"));
    EXPECT_EQ(names[1].toString(), QStringLiteral("Третья"));
}

TEST_F(GridWindow, IncrementalTitleSearchOnReadOnlyColumns)
{
    const QString path = file(QStringLiteral("drugs.dbf"));
    createTable(path, {{"NAME", K::String}, {"QNT", K::Integer}},
                {{{"NAME", QStringLiteral("Аспирин")}, {"QNT", 1}},
                 {{"NAME", QStringLiteral("Валидол")}, {"QNT", 2}},
                 {{"NAME", QStringLiteral("иван-чай")}, {"QNT", 3}},
                 {{"NAME", QStringLiteral("Ивермектин")}, {"QNT", 4}}});
    properties().writeString(QStringLiteral("drugs.dbf"), QStringLiteral("NAME"),
                             QStringLiteral("NAME;1;Название;Y;Y;N;0"));
    properties().writeString(QStringLiteral("drugs.dbf"), QStringLiteral("QNT"),
                             QStringLiteral("QNT;2;Кол-во;Y;N;N;0"));
    windows::TGridFrm *w = openMdi(QStringLiteral("Препараты"), path);
    grid::DBGrid *g = w->dbGrid();
    // Into the read-only column (entering it saves its title).
    press(w, Qt::Key_Right);
    press(w, Qt::Key_Left);
    ASSERT_EQ(g->selectedField().name(), QStringLiteral("NAME"));
    struct Step {
        QString typed;
        QString name; // the current record's NAME afterwards
        QString title; // the column's title afterwards
    };
    for (const Step &s : std::vector<Step>{{"И", "иван-чай", "И"},
                                           {"в", "иван-чай", "Ив"},
                                           {" ", "иван-чай", "Ив"}, // a space takes no part
                                           {"-", "иван-чай", "Ив"}, // nor a hyphen
                                           {"е", "Ивермектин", "Иве"},
                                           {"ю", "Ивермектин", "Ивею"}}) { // no match: the record stays
        SCOPED_TRACE(s.typed.toStdString());
        type(w, s.typed);
        EXPECT_EQ(w->table()->field(u"NAME").asString(), s.name);
        EXPECT_EQ(g->columnTitle(0), s.title);
    }
    // Another column gives the searched column its title back.
    press(w, Qt::Key_Right);
    EXPECT_EQ(g->columnTitle(0), QStringLiteral("Название"));
    EXPECT_FALSE(w->searchText().has_value());
    // Typing into the editable column edits and searches nothing.
    type(w, "7");
    press(w, Qt::Key_Return);
    EXPECT_EQ(g->columnTitle(1), QStringLiteral("Кол-во"));
    EXPECT_FALSE(w->searchText().has_value());
    EXPECT_EQ(w->table()->field(u"QNT").asInteger(), 7);
    // A search begun before any column was entered still restores the title.
    closeAll();
    w = openMdi(QStringLiteral("Препараты"), path);
    type(w, "В");
    EXPECT_EQ(w->table()->field(u"NAME").asString(), QStringLiteral("Валидол"));
    press(w, Qt::Key_Right);
    EXPECT_EQ(w->dbGrid()->columnTitle(0), QStringLiteral("Название"));
    closeAll();
}

// What the title search of the table grid window makes of each key: which
// characters start or extend it, and which keys leave it running.
struct TitleSearchCase {
    const char *name;
    std::vector<Stroke> strokes; // in the read-only column NAME
    const char *title; // NAME's title afterwards
    const char *current; // the current record's NAME afterwards
};

TEST_F(GridWindow, TitleSearchKeys)
{
    const QString path = file(QStringLiteral("drugs.dbf"));
    createTable(path, {{"NAME", K::String}, {"QNT", K::Integer}},
                {{{"NAME", QStringLiteral("Аспирин")}, {"QNT", 1}},
                 {{"NAME", QStringLiteral("Валидол")}, {"QNT", 2}},
                 {{"NAME", QStringLiteral("иван-чай")}, {"QNT", 3}},
                 {{"NAME", QStringLiteral("Ивермектин")}, {"QNT", 4}},
                 {{"NAME", QStringLiteral("7 трав")}, {"QNT", 5}},
                 {{"NAME", QStringLiteral(":колон")}, {"QNT", 6}},
                 {{"NAME", QStringLiteral("№1")}, {"QNT", 7}}});
    properties().writeString(QStringLiteral("drugs.dbf"), QStringLiteral("NAME"),
                             QStringLiteral("NAME;1;Название;Y;Y;N;0"));
    properties().writeString(QStringLiteral("drugs.dbf"), QStringLiteral("QNT"),
                             QStringLiteral("QNT;2;Кол-во;Y;N;N;0"));
    const std::vector<TitleSearchCase> cases = {
        // Characters from '0' on in code page 1251 start a search, as typed.
        {"a lower-case letter", {typed("в")}, "в", "Валидол"},
        {"an upper-case letter", {typed("И")}, "И", "иван-чай"},
        {"a digit", {typed("7")}, "7", "7 трав"},
        {"a colon", {typed(":")}, ":", ":колон"},
        {"the number sign", {typed("№")}, "№", "№1"},
        {"a letter no name starts with", {typed("ю")}, "ю", "Аспирин"},
        // Below '0' nothing starts one.
        {"a space", {typed(" ")}, "Название", "Аспирин"},
        {"a hyphen", {typed("-")}, "Название", "Аспирин"},
        {"a full stop", {typed(".")}, "Название", "Аспирин"},
        {"a slash", {typed("/")}, "Название", "Аспирин"},
        {"a double quote", {typed("\"")}, "Название", "Аспирин"},
        {"an exclamation mark", {typed("!")}, "Название", "Аспирин"},
        {"a comma", {typed(",")}, "Название", "Аспирин"},
        // Extending: the same characters; the others are passed over.
        {"letters extend", {typed("Иве")}, "Иве", "Ивермектин"},
        {"a space is passed over", {typed("Ив"), typed(" "), typed("е")}, "Иве", "Ивермектин"},
        {"a hyphen is passed over", {typed("Ив-а")}, "Ива", "иван-чай"},
        {"no match keeps the record", {typed("Ивею")}, "Ивею", "Ивермектин"},
        // Keys that leave the search running.
        {"Backspace removes nothing", {typed("Ив"), key(Qt::Key_Backspace), typed("е")}, "Иве", "Ивермектин"},
        {"Escape", {typed("Ив"), key(Qt::Key_Escape), typed("е")}, "Иве", "Ивермектин"},
        {"Up", {typed("Ив"), key(Qt::Key_Up), typed("е")}, "Иве", "Ивермектин"},
        {"Down", {typed("Ив"), key(Qt::Key_Down), typed("е")}, "Иве", "Ивермектин"},
        {"Page Down", {typed("Ив"), key(Qt::Key_PageDown), typed("е")}, "Иве", "Ивермектин"},
        {"Enter", {typed("Ив"), key(Qt::Key_Return), typed("е")}, "Иве", "Ивермектин"},
        // Another column ends it and gives the title back.
        {"Right", {typed("Ив"), key(Qt::Key_Right)}, "Название", "иван-чай"},
        {"Right and back starts anew",
         {typed("Ив"), key(Qt::Key_Right), key(Qt::Key_Left), typed("в")},
         "в",
         "Валидол"},
        {"Tab", {typed("Ив"), key(Qt::Key_Tab)}, "Название", "иван-чай"},
        // The editable column edits and searches nothing.
        {"in the editable column", {key(Qt::Key_Right), typed("9"), key(Qt::Key_Escape)}, "Название", "Аспирин"},
    };
    for (const TitleSearchCase &c : cases) {
        SCOPED_TRACE(c.name);
        windows::TGridFrm *w = openMdi(QStringLiteral("Препараты"), path);
        grid::DBGrid *g = w->dbGrid();
        strike(g, {key(Qt::Key_Right), key(Qt::Key_Left)}); // into NAME, its title saved
        ASSERT_EQ(g->selectedField().name(), QStringLiteral("NAME"));
        strike(g, c.strokes);
        EXPECT_EQ(g->columnTitle(g->findColumn(QStringLiteral("NAME"))), QString::fromUtf8(c.title));
        EXPECT_EQ(w->table()->field(u"NAME").asString(), QString::fromUtf8(c.current));
        EXPECT_EQ(g->columnTitle(g->findColumn(QStringLiteral("QNT"))), QStringLiteral("Кол-во"));
        closeAll();
    }
    // Nothing was edited.
    const std::vector<QVariant> qnt = column(path, "QNT");
    for (size_t i = 0; i < qnt.size(); ++i)
        EXPECT_EQ(qnt[i].toInt(), int(i) + 1);
}

struct PickCase {
    const char *name;
    std::function<void(windows::TGridFrm *)> act;
    windows::TSaveChildFrm::ModalResult result;
};

TEST_F(GridWindow, PickingListClosesWithOkOnEnterOrDoubleClick)
{
    const QString path = file(QStringLiteral("PharmComP.dbf"));
    createTable(path, {{"NAME", K::String}},
                {{{"NAME", QStringLiteral("Кофеин")}}, {{"NAME", QStringLiteral("Парацетамол")}}});
    const auto cellCentre = [](windows::TGridFrm *w, int row) {
        return w->dbGrid()->visualRect(w->dbGrid()->tableModel()->index(row, 0)).center();
    };
    const std::vector<PickCase> cases = {
        {"Enter", [](windows::TGridFrm *w) { QTest::keyClick(w->dbGrid(), Qt::Key_Return); },
         windows::TSaveChildFrm::ModalResult::OK},
        {"double-click",
         [&](windows::TGridFrm *w) {
             QTest::mouseDClick(w->dbGrid()->viewport(), Qt::LeftButton, {}, cellCentre(w, 1));
         },
         windows::TSaveChildFrm::ModalResult::OK},
        {"Закрыть",
         [](windows::TGridFrm *w) {
             QTest::mouseClick(w->findChild<QToolButton *>(QStringLiteral("ToolButton10")), Qt::LeftButton);
         },
         windows::TSaveChildFrm::ModalResult::Cancel},
    };
    for (const PickCase &c : cases) {
        SCOPED_TRACE(c.name);
        auto w = std::make_unique<windows::TGridFrm>(nullptr, QStringLiteral("Компоненты"), path, nullptr);
        EXPECT_FALSE(w->isMdiChild());
        w->detachKeyPress();
        w->dbGrid()->setOption(grid::DBGrid::IncrementalSearch);
        QTimer::singleShot(0, w.get(), [&] {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
            c.act(w.get());
        });
        EXPECT_EQ(w->showModal(), c.result);
        EXPECT_FALSE(w->isVisible());
    }
    // The picked record is the current one; the list's own search found it.
    auto w = std::make_unique<windows::TGridFrm>(nullptr, QStringLiteral("Компоненты"), path, nullptr);
    w->detachKeyPress();
    w->dbGrid()->setOption(grid::DBGrid::IncrementalSearch);
    QTimer::singleShot(0, w.get(), [&] {
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w.get()));
        type(w.get(), "па");
        QTest::keyClick(w->dbGrid(), Qt::Key_Return);
    });
    ASSERT_EQ(w->showModal(), windows::TSaveChildFrm::ModalResult::OK);
    EXPECT_EQ(w->table()->field(u"NAME").asString(), QStringLiteral("Парацетамол"));
    EXPECT_EQ(w->dbGrid()->columnTitle(0), QStringLiteral("NAME")); // no title search here
}

TEST_F(GridWindow, InsideTheMainWindowEnterAndDoubleClickDoNotClose)
{
    const QString path = file(QStringLiteral("ref.dbf"));
    createTable(path, {{"NAME", K::String}}, {{{"NAME", QStringLiteral("Кофеин")}}});
    windows::TGridFrm *w = openMdi(QStringLiteral("Справочник"), path);
    QTest::keyClick(w->dbGrid(), Qt::Key_Return);
    QTest::mouseDClick(w->dbGrid()->viewport(), Qt::LeftButton, {},
                       w->dbGrid()->visualRect(w->dbGrid()->tableModel()->index(0, 0)).center());
    idle();
    EXPECT_EQ(main.area.subWindowList().size(), 1);
    EXPECT_TRUE(w->isVisible());
    EXPECT_EQ(w->modalResult(), windows::TSaveChildFrm::ModalResult::None);
    closeAll();
}

TEST_F(GridWindow, ClosingWhileEditingSavesTheRecord)
{
    const QString path = file(QStringLiteral("ref.dbf"));
    createTable(path, {{"NAME", K::String}, {"QNT", K::Integer}},
                {{{"NAME", QStringLiteral("Кофеин")}, {"QNT", 1}}, {{"NAME", QStringLiteral("Анальгин")}, {"QNT", 2}}});
    properties().writeString(QStringLiteral("ref.dbf"), QStringLiteral("NAME"), QStringLiteral("NAME;1;NAME;Y;N;N;0"));
    properties().writeString(QStringLiteral("ref.dbf"), QStringLiteral("QNT"), QStringLiteral("QNT;2;QNT;Y;N;N;0"));
    // Still typing in the cell, and after Enter (the record in edit state).
    windows::TGridFrm *w = openMdi(QStringLiteral("Справочник"), path);
    type(w, "Цитрамон");
    clickTool(w, "ToolButton10");
    closeAll();
    w = openMdi(QStringLiteral("Справочник"), path);
    press(w, Qt::Key_Down);
    press(w, Qt::Key_Right);
    type(w, "9");
    press(w, Qt::Key_Return);
    ASSERT_EQ(w->table()->state(), tables::TableState::Edit);
    w->closeWindow();
    closeAll();
    const std::vector<QVariant> names = column(path, "NAME");
    const std::vector<QVariant> qnt = column(path, "QNT");
    EXPECT_EQ(names[0].toString(), QStringLiteral("Цитрамон"));
    EXPECT_EQ(qnt[1].toInt(), 9);
}

TEST_F(GridWindow, MissingTableIsReportedAndOnlyClosingIsOffered)
{
    const QString path = file(QStringLiteral("nowhere.dbf"));
    windows::TGridFrm *w = openMdi(QStringLiteral("Накладные"), path);
    EXPECT_EQ(fake.messages().texts(), QStringList{QStringLiteral("Не найден файл ") + path});
    EXPECT_EQ(w->table(), nullptr);
    EXPECT_FALSE(w->dbGrid()->hasDataSource());
    for (const char *name : {"acnBackward1", "acnBackward", "acnAdd", "acnDel", "acnForward", "acnForward1"})
        EXPECT_FALSE(action(w, name)->isEnabled()) << name;
    EXPECT_TRUE(action(w, "acnClose")->isEnabled());
    EXPECT_EQ(w->FindColumn(QStringLiteral("NAME")), -1);
    type(w, "x");
    press(w, Qt::Key_Down);
    clickTool(w, "ToolButton10");
    closeAll();
    EXPECT_TRUE(main.area.subWindowList().isEmpty());
    EXPECT_FALSE(QFile::exists(config::propertiesFileName()));
}

TEST_F(GridWindow, FindColumnByFieldNameIgnoringCase)
{
    const QString path = file(QStringLiteral("prescr.dbf"));
    createTable(path, {{"FIO", K::String}, {"NAME", K::String}, {"QNT", K::Integer}}, {});
    properties().writeString(QStringLiteral("prescr.dbf"), QStringLiteral("FIO"), QStringLiteral("FIO;3;ФИО;Y;Y;N;0"));
    windows::TGridFrm *w = openMdi(QStringLiteral("Рецепты"), path);
    EXPECT_EQ(w->FindColumn(QStringLiteral("Name")), 0);
    EXPECT_EQ(w->FindColumn(QStringLiteral("fio")), 1); // FIO;3 ties with QNT's default and goes first
    EXPECT_EQ(w->FindColumn(QStringLiteral("Drug")), -1);
    closeAll();
}

// Closing posts what is typed in a cell; a value the field refuses keeps the
// window open with the text, so nothing is lost unseen.
TEST_F(GridWindow, ClosingPostsTheTypedValueOrStaysOpenWithIt)
{
    const struct Case {
        const char *typed;
        bool closes;
        QVariant stored;
    } cases[] = {{"7", true, 7}, {"12345678901", false, 1}}; // N(12,2) holds 9 digits before the point
    for (const Case &c : cases) {
        SCOPED_TRACE(c.typed);
        const QString path = file(QStringLiteral("ref.dbf"));
        createTable(path, {{"NAME", K::String}, {"QNT", K::Float}}, {{{"NAME", QStringLiteral("А")}, {"QNT", 1}}});
        properties().writeString(QStringLiteral("ref.dbf"), QStringLiteral("QNT"), QStringLiteral("QNT;2;QNT;Y;N;N;0"));
        windows::TGridFrm *w = openMdi(QStringLiteral("Справочник"), path);
        press(w, Qt::Key_Right);
        ASSERT_EQ(w->dbGrid()->selectedField().name(), QStringLiteral("QNT"));
        type(w, QString::fromLatin1(c.typed)); // the cell editor holds the text
        QPointer<windows::TGridFrm> alive(w);
        w->closeWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(alive.isNull(), c.closes);
        if (alive) {
            EXPECT_FALSE(fake.messages().errors().isEmpty());
            press(w, Qt::Key_Escape);
        }
        closeAll();
        EXPECT_TRUE(main.area.subWindowList().isEmpty());
        EXPECT_EQ(column(path, "QNT").at(0).toInt(), c.stored.toInt());
    }
}

} // namespace
