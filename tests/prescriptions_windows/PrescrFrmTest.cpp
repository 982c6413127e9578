// The prescriptions window: numbering, the two views, sending, sending
// again, copying and the export, driven through its tool bar and menus.
#include "PrescriptionWindowFixture.h"

#include "grid/TableModel.h"
#include "ordering/PharmacyCode.h"
#include "tests/support/XlrdReader.h"

#include <QJsonArray>
#include <QToolBar>

using namespace prescriptions_windows_testing;
using kx::testsupport::columnTexts;
using kx::testsupport::named;

namespace {

const QString kToday = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));

TEST_F(PrescriptionWindow, ToolBarAndContextMenuFollowTheBaseButtons)
{
    open();
    QStringList tools;
    for (QAction *a : window->findChild<QToolBar *>(QStringLiteral("GridToolBar"))->actions())
        tools << a->objectName() + u'=' + a->text() + u'/' + a->toolTip();
    EXPECT_EQ(tools.mid(tools.indexOf(QStringLiteral("acnClose=Закрыть/Закрыть")) + 1),
              (QStringList{QStringLiteral("ToolButton11=/"), QStringLiteral("acnOrder=Заказать/Сформировать"),
                           QStringLiteral("ToolButton13=/"), QStringLiteral("acnVSended=/Показать отправленные"),
                           QStringLiteral("acnExport=/Экспорт выделенных")}));
    QStringList items;
    for (QAction *a : named<QMenu>(window, "pmContext")->actions())
        items << a->text() + u'/' + a->statusTip();
    EXPECT_EQ(items,
              (QStringList{QStringLiteral("Заказать повторно/"),
                           QStringLiteral("Копировать/Копировать запись с новыми параметрами")}));
}

TEST_F(PrescriptionWindow, NewPrescriptionsAreNumberedOnFromTheLastStoredOne)
{
    const struct {
        const char *name;
        std::vector<Record> records;
        const char *number;
    } cases[] = {
        {"41", {{{"IDRow", 1}, {"Number", "41"}}}, "42"},
        {"12a", {{{"IDRow", 1}, {"Number", "12a"}}}, "13"},
        {"empty", {{{"IDRow", 1}, {"Number", ""}}}, "1"},
        {"no prescription", {}, "1"},
        {"the last one is sent and hidden",
         {{{"IDRow", 1}, {"Number", "7"}}, {{"IDRow", 2}, {"Number", "41"}, {"DateSnd", QDate(2026, 1, 5)}}},
         "42"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QFile::remove(prescrPath);
        schema::createPrescriptionTable(main.folderPath);
        addPrescriptions(c.records);
        open();
        clickTool("ToolButton4"); // Добавить
        clickTool("ToolButton10"); // Закрыть posts the new one
        closeAll();
        const int n = int(c.records.size());
        EXPECT_EQ(column(prescrPath, QStringLiteral("Number")).value(n), QString::fromUtf8(c.number));
        EXPECT_EQ(column(prescrPath, QStringLiteral("Qnt")).value(n), QStringLiteral("1"));
        EXPECT_EQ(column(prescrPath, QStringLiteral("DateCreate")).value(n), kToday);
        EXPECT_EQ(column(prescrPath, QStringLiteral("Provided")).value(n), QStringLiteral("F"));
        EXPECT_EQ(column(prescrPath, QStringLiteral("DateSnd")).value(n), QString());
        // The row counter starts at the last IDRow + 1 and is raised before the insertion.
        EXPECT_EQ(column(prescrPath, QStringLiteral("IDRow")).value(n), QString::number(n + 2));
    }
}

TEST_F(PrescriptionWindow, ShowingSentOnesAndAddingReturnsToTheUnsentView)
{
    addPrescriptions({complete("1"), complete("2")});
    markSent(1, QDate(2026, 1, 5));
    open();
    grid::DBGrid *grid = window->dbGrid();
    const int number = grid->findColumn(QStringLiteral("Number"));
    EXPECT_EQ(columnTexts(*grid, number), QStringList{QStringLiteral("2")});
    EXPECT_TRUE(named<QAction>(window, "acnVSended")->isChecked());
    clickTool("ToolButton14");
    EXPECT_EQ(columnTexts(*grid, number), (QStringList{QStringLiteral("1"), QStringLiteral("2")}));
    EXPECT_FALSE(named<QAction>(window, "acnVSended")->isChecked());
    clickTool("ToolButton4");
    EXPECT_TRUE(window->table()->isFiltered());
    EXPECT_TRUE(named<QAction>(window, "acnVSended")->isChecked());
    EXPECT_EQ(columnTexts(*grid, number), (QStringList{QStringLiteral("2"), QStringLiteral("3")}));
}

TEST_F(PrescriptionWindow, OrderSendsTheCompleteOnesAndReportsTheIncompleteOne)
{
    addPrescriptions({complete("1"), complete("2", ""), complete("3")});
    open();
    clickTool("ToolButton12"); // Заказать
    EXPECT_EQ(fake.messages().texts(), QStringList{QStringLiteral("Заполните данные в рецепте №2")});
    EXPECT_EQ(main.status,
              QStringLiteral("Заявка из 2 рецепта(ов) сформирована! ВНИМАНИЕ!!! Есть несформированные  рецепты: 1"));
    EXPECT_EQ(requestFiles(), QStringList{QStringLiteral("P5_0.dbf")});
    EXPECT_EQ(column(main.ordersFolder + QStringLiteral("P5_0.dbf"), QStringLiteral("Number")),
              (QStringList{QStringLiteral("1"), QStringLiteral("3")}));
    EXPECT_EQ(column(prescrPath, QStringLiteral("DateSnd")), (QStringList{kToday, QString(), kToday}));
    EXPECT_EQ(counter(), 1);
    EXPECT_EQ(columnTexts(*window->dbGrid(), window->dbGrid()->findColumn(QStringLiteral("Number"))),
              QStringList{QStringLiteral("2")});

    // Again: nothing complete is left; no file and no number spent.
    clickTool("ToolButton12");
    EXPECT_EQ(main.status,
              QStringLiteral("Нет не отправленных рецептов! ВНИМАНИЕ!!! Есть несформированные  рецепты: 1"));
    EXPECT_EQ(requestFiles(), QStringList{QStringLiteral("P5_0.dbf")});
    EXPECT_EQ(counter(), 1);
}

TEST_F(PrescriptionWindow, OrderTwiceFindsNothingTheSecondTime)
{
    addPrescriptions({complete("1")});
    settings().writeInteger(QStringLiteral("Prescription"), QStringLiteral("NumZ"), 7);
    open();
    clickTool("ToolButton12");
    EXPECT_EQ(main.status, QStringLiteral("Заявка из 1 рецепта(ов) сформирована!"));
    clickTool("ToolButton12");
    EXPECT_EQ(main.status, QStringLiteral("Нет не отправленных рецептов!"));
    EXPECT_EQ(requestFiles(), QStringList{QStringLiteral("P5_7.dbf")});
    EXPECT_EQ(counter(), 8);
    EXPECT_TRUE(fake.messages().shown.empty());
}

TEST_F(PrescriptionWindow, WithoutThePharmacysCodeNothingIsSent)
{
    main.pharmacyCode = QVariant();
    addPrescriptions({complete("1")});
    open();
    clickTool("ToolButton12");
    EXPECT_EQ(fake.messages().texts(),
              QStringList{ordering::noPharmacyCodeText() + QStringLiteral(" Заявка не сформирована.")});
    EXPECT_EQ(requestFiles(), QStringList());
    EXPECT_EQ(column(prescrPath, QStringLiteral("DateSnd")), QStringList{QString()});
    EXPECT_EQ(counter(), -99);
}

TEST_F(PrescriptionWindow, ARequestThatCannotBeWrittenIsReportedAndNothingIsStamped)
{
    addPrescriptions({complete("1")});
    main.ordersFolder = dir.path() + QStringLiteral("/Gone/");
    open();
    clickTool("ToolButton12");
    ASSERT_EQ(fake.messages().errors().size(), 1);
    EXPECT_TRUE(fake.messages().errors()[0].startsWith(QStringLiteral("Заявка ") + main.ordersFolder
                                                       + QStringLiteral("P5_0.dbf не сформирована, рецепты не "
                                                                        "отмечены как отправленные")))
        << fake.messages().errors()[0].toStdString();
    EXPECT_EQ(column(prescrPath, QStringLiteral("DateSnd")), QStringList{QString()});
    EXPECT_EQ(counter(), -99);
    EXPECT_EQ(columnTexts(*window->dbGrid(), window->dbGrid()->findColumn(QStringLiteral("Number"))),
              QStringList{QStringLiteral("1")});
}

TEST_F(PrescriptionWindow, SendingAgainCopiesOnlyASentPrescription)
{
    addPrescriptions({complete("1"), complete("2")});
    markSent(1, QDate(2026, 1, 5));
    open();
    grid::DBGrid *grid = window->dbGrid();
    const QString question = QStringLiteral("Выделенный рецепт будет сформирован повторно.\n\rПродолжить?");

    // The unsent one (the only one in view) cannot be sent again.
    fake.messages().answers = {true};
    contextMenuItem(grid, named<QMenu>(window, "pmContext"), named<QAction>(window, "N1"));
    ASSERT_EQ(fake.messages().shown.size(), 2u);
    EXPECT_EQ(fake.messages().shown[0].text, question);
    EXPECT_EQ(fake.messages().shown[0].title, QStringLiteral("Копирование рецептов"));
    EXPECT_EQ(fake.messages().shown[1].text,
              QStringLiteral("Рецепт нельзя сформировать повторно. Он еще не был отправлен."));
    EXPECT_EQ(requestFiles(), QStringList());
    EXPECT_EQ(counter(), -99);

    // The sent one, shown with the sent ones: "No" changes nothing, "Yes" sends a copy.
    clickTool("ToolButton14");
    clickTool("ToolButton1"); // Начало: the sent one
    fake.messages().answers = {false};
    contextMenuItem(grid, named<QMenu>(window, "pmContext"), named<QAction>(window, "N1"));
    EXPECT_EQ(requestFiles(), QStringList());
    fake.messages().answers = {true};
    contextMenuItem(grid, named<QMenu>(window, "pmContext"), named<QAction>(window, "N1"));
    EXPECT_EQ(requestFiles(), QStringList{QStringLiteral("P5_0.dbf")});
    EXPECT_EQ(column(main.ordersFolder + QStringLiteral("P5_0.dbf"), QStringLiteral("DateSnd")),
              QStringList{QStringLiteral("20260105")});
    EXPECT_EQ(counter(), 1);
}

TEST_F(PrescriptionWindow, CopyingMakesANewUnsentPrescription)
{
    Record sent = complete("5");
    sent.push_back({"AgeM", 3});
    sent.push_back({"DESC", QStringLiteral("срочно")});
    sent.push_back({"Component2", QStringLiteral("Сера: 1 г")});
    sent.push_back({"DateSnd", QDate(2026, 1, 5)});
    sent.push_back({"Provided", true});
    addPrescriptions({sent});
    open();
    clickTool("ToolButton14");
    fake.messages().answers = {true};
    contextMenuItem(window->dbGrid(), named<QMenu>(window, "pmContext"), named<QAction>(window, "N2"));
    EXPECT_EQ(fake.messages().shown.at(0).text,
              QStringLiteral("Выделенный рецепт будет скопирован как новый.\n\rПродолжить?"));
    closeAll();
    const QStringList fields = {"IDRow",      "Number", "FIO",     "CodePst",  "Name",
                                "AgeY",       "AgeM",   "DS",      "Qnt",      "Component1",
                                "Component2", "DESC",   "DateSnd", "Provided", "DateCreate"};
    QStringList copy;
    for (const QString &f : fields)
        copy << column(prescrPath, f).value(1);
    EXPECT_EQ(copy,
              (QStringList{"7", "6", "Иванов И.И.", "501", "Микстура", "40", "3", "Бронхит", "2", "Кофеин: 0,05 г",
                           "Сера: 1 г", "срочно", "", "F", kToday}));
}

struct ExportCase {
    const char *name;
    std::vector<int> ctrlClickedRows;
    QStringList numbers;
};

TEST_F(PrescriptionWindow, ExportWritesTheSelectedRowsOrTheWholeViewAndOpensTheFile)
{
    addPrescriptions({complete("1"), complete("2", "Петров П.П."), complete("3")});
    config::IniFile(config::propertiesFileName())
        .writeString(QStringLiteral("prescr.dbf"), QStringLiteral("AgeY"),
                     QStringLiteral("AgeY;1;Возраст|лет;Y;N;N;0"));
    const std::vector<ExportCase> cases = {
        {"no selection: the whole view", {}, {"1", "2", "3"}},
        {"two rows chosen with Ctrl", {0, 2}, {"1", "3"}},
    };
    for (const ExportCase &c : cases) {
        SCOPED_TRACE(c.name);
        open();
        grid::DBGrid *grid = window->dbGrid();
        for (int row : c.ctrlClickedRows)
            QTest::mouseClick(grid->viewport(), Qt::LeftButton, Qt::ControlModifier,
                              grid->visualRect(grid->tableModel()->index(row, 1)).center());
        const QString path = dir.filePath(QStringLiteral("рецепты"));
        fake.fileDialogs().files = {path};
        clickTool("ToolButton15");
        EXPECT_EQ(fake.shell().opened.value(0), path + QStringLiteral(".xls"));
        fake.shell().opened.clear();

        const QJsonObject book = kx::testsupport::readWithXlrd({QStringLiteral("book"), path + QStringLiteral(".xls")});
        const QJsonObject sheet = book[QStringLiteral("sheets")].toArray().first().toObject();
        QMap<std::pair<int, int>, QString> cells;
        for (const QJsonValue &item : sheet[QStringLiteral("cells")].toArray()) {
            const QJsonArray cell = item.toArray();
            cells[{cell[0].toInt(), cell[1].toInt()}] = cell[3].toVariant().toString();
        }
        // Two title rows (Возраст over лет), then one row per prescription.
        const int age = grid->findColumn(QStringLiteral("AgeY"));
        EXPECT_EQ(cells.value({0, age}), QStringLiteral("Возраст"));
        EXPECT_EQ(cells.value({1, age}), QStringLiteral("лет"));
        const int numberColumn = grid->findColumn(QStringLiteral("Number"));
        QStringList numbers;
        for (int row = 2; row < sheet[QStringLiteral("nrows")].toInt(); ++row)
            numbers << cells.value({row, numberColumn});
        EXPECT_EQ(numbers, c.numbers);
        closeAll();
    }
}

} // namespace
