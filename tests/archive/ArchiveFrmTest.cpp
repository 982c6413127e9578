// The archive window driven headless through its combo boxes, grids and tool
// buttons, over archive tables written at run time.
#include "tests/support/OrderFixtures.h"
#include "tests/support/WindowTestSupport.h"

#include "archive/ArchiveWindow.h"
#include "archive/uDblGrid.h"
#include "config/SettingsAccessors.h"
#include "grid/DBGrid.h"
#include "printing/CurrentPrinter.h"
#include "printing/PdfPrinter.h"
#include "printing/fake/FakePrintPreview.h"

#include <QComboBox>
#include <QDir>
#include <QProcess>
#include <QToolButton>

using namespace kx::testsupport;
using kx::testsupport::ArchiveHeader;

namespace {

struct Position {
    int parent;
    int drug;
    double quantity;
    QString name = QStringLiteral("Позиция");
    double price = 1;
};

// The main window with its own archive and orders folders and pharmacy 5.
class ArchiveMainFrm : public FakeMainFrm {
public:
    QString folder(windows::WorkFolder which) const override
    {
        return which == windows::WorkFolder::Orders ? ordersPath : folderPath;
    }
    QVariant lookupSubCustomer(const QString &field) override
    {
        return field == QStringLiteral("IDRow") ? QVariant(subCustomerId) : QVariant(QStringLiteral("Аптека №5"));
    }
    QString ordersPath;
    int subCustomerId = 5;
};

class ArchiveWindow : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        QDir(dir.path()).mkdir(QStringLiteral("Archiv"));
        QDir(dir.path()).mkdir(QStringLiteral("Out"));
        main.folderPath = file(QStringLiteral("Archiv/"));
        main.ordersPath = file(QStringLiteral("Out/"));
        kx::testsupport::createTemplate(dir.path());
    }
    void TearDown() override
    {
        for (QMdiSubWindow *sub : main.area.subWindowList())
            delete sub;
        ProgramFolderFixture::TearDown();
    }

    void writeArchive(const std::vector<ArchiveHeader> &headers, const std::vector<Position> &positions)
    {
        for (const char *name : {"Archiv.dbf", "ArchivPos.dbf", "ArchivPos.mdx"})
            QFile::remove(main.folderPath + QString::fromLatin1(name));
        kx::testsupport::createArchive(main.folderPath, headers);
        tables::Table t(main.folderPath + QStringLiteral("ArchivPos.dbf"));
        t.open();
        int id = 0;
        for (const Position &p : positions) {
            t.append();
            t.field(QStringLiteral("IDRow")).setInteger(++id);
            t.field(QStringLiteral("Parent")).setInteger(p.parent);
            t.field(QStringLiteral("Drug")).setInteger(p.drug);
            t.field(QStringLiteral("Qnt")).setFloat(p.quantity);
            t.field(QStringLiteral("Price")).setFloat(p.price);
            t.field(QStringLiteral("Name")).setString(p.name);
            t.post();
        }
    }

    windows::TDblGridFrm *open()
    {
        windows::TDblGridFrm *w = windows::OpenArchiveWindow(main, main.folderPath + QStringLiteral("Archiv.dbf"),
                                                             main.folderPath + QStringLiteral("ArchivPos.dbf"));
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    // Chooses a year and a month as the user does: the list's keys.
    void choose(windows::TDblGridFrm *w, int yearItem, int month)
    {
        pick(kx::testsupport::named<QComboBox>(w, "cbYears"), yearItem);
        pick(kx::testsupport::named<QComboBox>(w, "cbMonth"), month - 1);
    }
    static void pick(QComboBox *combo, int item)
    {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Home);
        for (int i = 0; i < item; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
        ASSERT_EQ(combo->currentIndex(), item);
    }
    static QStringList items(const QComboBox *combo)
    {
        QStringList out;
        for (int i = 0; i < combo->count(); ++i)
            out << combo->itemText(i);
        return out;
    }
    static QStringList column(grid::DBGrid *grid, const QString &field)
    {
        return kx::testsupport::columnTexts(*grid, grid->findColumn(field));
    }
    static std::pair<QString, QString> statistics(const windows::TDblGridFrm *w)
    {
        return {w->statusPanelText(1), w->statusPanelText(3)};
    }

    ArchiveMainFrm main;
};

TEST_F(ArchiveWindow, YearsInOrderOfAppearanceAndAMonthWithoutOrders)
{
    writeArchive(
        {{1, 1, QDate(2007, 5, 1)}, {2, 2, QDate(2007, 6, 1)}, {3, 1, QDate(2008, 1, 9)}, {4, 3, QDate(2007, 7, 1)}},
        {{1, 100, 2}});
    windows::TDblGridFrm *w = open();
    EXPECT_EQ(w->windowTitle(), QStringLiteral("Архив"));
    EXPECT_EQ(items(kx::testsupport::named<QComboBox>(w, "cbYears")), QStringList({"2007", "2008", "2007"}));
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbMonth")->count(), 12);
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbMonth")->itemText(2), QStringLiteral("Март"));
    // This year is not in the archive: nothing chosen, nothing shown.
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbYears")->currentIndex(), -1);
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbMonth")->currentIndex(), QDate::currentDate().month() - 1);
    EXPECT_EQ(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->model()->rowCount(), 0);
    EXPECT_EQ(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail")->model()->rowCount(), 0);
    EXPECT_EQ(statistics(w), std::pair(QStringLiteral("0"), QStringLiteral("0")));
    // Changing the month without a year builds no broken filter.
    pick(kx::testsupport::named<QComboBox>(w, "cbMonth"), 4);
    EXPECT_EQ(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->model()->rowCount(), 0);
    EXPECT_TRUE(fake.messages().shown.empty());

    choose(w, 0, 5);
    EXPECT_EQ(w->archive()->filter(), QStringLiteral("Year = 2007 and Month = 5"));
    EXPECT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster"), QStringLiteral("IDRow")),
              QStringList({"1"}));
    EXPECT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), QStringLiteral("Drug")),
              QStringList({"100"}));
}

TEST_F(ArchiveWindow, StatisticsCoverTheWholeArchiveAndFollowTheDrug)
{
    // Drug 100 ordered in three orders of two months with 2, 5 and 1.
    writeArchive({{1, 1, QDate(2008, 3, 1)}, {2, 2, QDate(2008, 3, 5)}, {3, 3, QDate(2008, 4, 2)}},
                 {{1, 100, 2}, {1, 200, 7}, {2, 300, 4}, {2, 100, 5}, {3, 100, 1}, {3, 400, 3}, {3, 400, 2}});
    windows::TDblGridFrm *w = open();
    choose(w, 0, 3);
    ASSERT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster"), QStringLiteral("IDRow")),
              QStringList({"1", "2"}));
    ASSERT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), QStringLiteral("Drug")),
              QStringList({"100", "200"}));
    EXPECT_EQ(statistics(w), std::pair(QStringLiteral("3"), QStringLiteral("8")));

    const struct {
        grid::DBGrid *grid;
        int drug;
        const char *count;
        const char *quantity;
    } steps[] = {
        {kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), 200, "1", "7"},
        {kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster"), 300, "1", "4"}, // order 2 begins with drug 300
        {kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), 100, "3", "8"},
    };
    for (const auto &step : steps) {
        step.grid->setFocus();
        QTest::keyClick(step.grid, Qt::Key_Down);
        EXPECT_EQ(w->lastDrug(), step.drug);
        EXPECT_EQ(statistics(w), std::pair(QString::fromLatin1(step.count), QString::fromLatin1(step.quantity)))
            << step.drug;
    }

    // Another month: moving between two positions of drug 400 does not recompute.
    pick(kx::testsupport::named<QComboBox>(w, "cbMonth"), 3);
    ASSERT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), QStringLiteral("Drug")),
              QStringList({"100", "400", "400"}));
    EXPECT_EQ(statistics(w), std::pair(QStringLiteral("3"), QStringLiteral("8")));
    kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail")->setFocus();
    QTest::keyClick(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), Qt::Key_Down);
    EXPECT_EQ(statistics(w), std::pair(QStringLiteral("2"), QStringLiteral("5")));
    const int runs = w->statisticsRuns();
    QTest::keyClick(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), Qt::Key_Down);
    EXPECT_EQ(w->statisticsRuns(), runs);
    // The cursor kept its place in the order's positions.
    EXPECT_EQ(w->positions()->field(QStringLiteral("IDRow")).asInteger(), 7);
}

// The chart beside the statistics: the drug's quantity in each of the last 12
// months, following the cursor with the statistics; older orders stay out.
TEST_F(ArchiveWindow, DrugHistoryShowsTheLastTwelveMonths)
{
    const QDate thisMonth(QDate::currentDate().year(), QDate::currentDate().month(), 1);
    writeArchive({{1, 1, thisMonth.addMonths(-13)},
                  {2, 2, thisMonth.addMonths(-11)},
                  {3, 3, thisMonth.addMonths(-1)},
                  {4, 4, thisMonth.addMonths(-1)},
                  {5, 5, thisMonth}},
                 {{5, 100, 4}, {5, 200, 9}, {1, 100, 50}, {2, 100, 2}, {3, 100, 3}, {4, 100, 1}});
    windows::TDblGridFrm *w = open();
    const int currentYearItem =
        int(items(kx::testsupport::named<QComboBox>(w, "cbYears")).indexOf(QString::number(thisMonth.year())));
    ASSERT_GE(currentYearItem, 0);
    choose(w, currentYearItem, thisMonth.month());
    ASSERT_EQ(column(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), QStringLiteral("Drug")),
              QStringList({"100", "200"}));
    const auto monthly = [&] {
        const windows::DrugHistory &h = kx::testsupport::named<windows::DrugHistoryChart>(w, "DrugChart")->history();
        EXPECT_EQ(h.lastMonth, thisMonth);
        return std::vector<double>(h.quantities.begin(), h.quantities.end());
    };
    std::vector<double> expected(12, 0);
    expected[0] = 2; // eleven months ago
    expected[10] = 4; // last month, two orders
    expected[11] = 4; // this month
    EXPECT_EQ(monthly(), expected);
    kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail")->setFocus();
    QTest::keyClick(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail"), Qt::Key_Down); // drug 200
    std::vector<double> other(12, 0);
    other[11] = 9;
    EXPECT_EQ(monthly(), other);
}

TEST_F(ArchiveWindow, RecreatesTheOrderAsItsOrderFileReplacingTheOldOne)
{
    const QDate date(2008, 3, 2);
    writeArchive({{1, 16, QDate(2008, 3, 1)}, {2, 17, date}},
                 {{1, 100, 9}, {2, 200, 2, QStringLiteral("Бинт"), 1.5}, {2, 300, 3, QStringLiteral("Йод"), 0.25}});
    {
        tables::Table headers(main.folderPath + QStringLiteral("Archiv.dbf"));
        headers.open();
        headers.last();
        headers.edit();
        headers.field(QStringLiteral("Podr")).setString(QStringLiteral("Аптека №2"));
        headers.post();
    }
    config::SettingsAccessors settings(config::settingsFileName());
    settings.SetActivePercentID(12);
    settings.SetActiveCustomerID(34);
    const QString target = main.ordersPath + QStringLiteral("Z5_17.dbf");
    QFile old(target);
    ASSERT_TRUE(old.open(QIODevice::WriteOnly));
    old.write("an order file sent before");
    old.close();

    windows::TDblGridFrm *w = open();
    choose(w, 0, 3);
    kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->setFocus();
    QTest::keyClick(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster"), Qt::Key_Down);
    ASSERT_EQ(w->archive()->field(QStringLiteral("NumZ")).asInteger(), 17);
    QTest::mouseClick(kx::testsupport::named<QToolButton>(w, "tbCreateOrder"), Qt::LeftButton);

    EXPECT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
    EXPECT_EQ(main.status, QStringLiteral("Заказ № 17 сформирован повторно"));
    const std::vector<kx::testsupport::StoredRecord> rows = kx::testsupport::readAll(target);
    ASSERT_EQ(rows.size(), 2u);
    const struct {
        int drug;
        double quantity, price;
        QString comment;
    } expected[] = {{200, 2, 1.5, QStringLiteral("Заказ № 17 сформирован повторно")}, {300, 3, 0.25, QString()}};
    for (std::size_t i = 0; i < rows.size(); ++i) {
        const kx::testsupport::StoredRecord &r = rows[i];
        EXPECT_EQ(r.at("NUMZ").toInt(), 17);
        EXPECT_EQ(r.at("DATEZ").toDate(), date);
        EXPECT_EQ(r.at("CODEPST").toInt(), expected[i].drug);
        EXPECT_EQ(r.at("PAYID").toInt(), 12);
        EXPECT_EQ(r.at("PODRCD").toInt(), 34);
        EXPECT_EQ(r.at("DATE").toDate(), QDate::currentDate());
        EXPECT_EQ(r.at("PODR").toString(), QStringLiteral("Аптека №2"));
        EXPECT_DOUBLE_EQ(r.at("QNT").toDouble(), expected[i].quantity);
        EXPECT_DOUBLE_EQ(r.at("PRICE").toDouble(), expected[i].price);
        EXPECT_EQ(r.at("COMMENT").toString().trimmed(), expected[i].comment);
    }
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("orderN.dbf"))));
    // Nothing was added to the archive.
    EXPECT_EQ(kx::testsupport::readAll(main.folderPath + QStringLiteral("Archiv.dbf")).size(), 2u);
    EXPECT_EQ(kx::testsupport::readAll(main.folderPath + QStringLiteral("ArchivPos.dbf")).size(), 3u);
}

TEST_F(ArchiveWindow, RecreationThatCannotBeDoneSaysWhyAndKeepsTheOldFile)
{
    const QString target = QStringLiteral("Z5_1.dbf");
    const struct {
        const char *what;
        std::function<void()> breakIt;
        bool inStatusLine;
    } cases[] = {
        {"no order in the month", [] {}, true},
        {"no template", [this] { QFile::remove(file(QStringLiteral("order.dbf"))); }, false},
        {"a template without Comment",
         [this] {
             tables::FieldSpecs fields = kx::testsupport::templateFields();
             std::erase_if(fields, [](const tables::FieldSpec &f) { return f.name == QStringLiteral("Comment"); });
             QFile::remove(file(QStringLiteral("order.dbf")));
             kx::testsupport::createTemplate(dir.path(), fields);
         },
         false},
        {"no pharmacy code", [this] { main.subCustomerId = -1; }, false},
        // An earlier order whose file was never moved away is not overwritten.
        {"a filled orderN.dbf left behind",
         [this] { QFile::copy(main.folderPath + QStringLiteral("ArchivPos.dbf"), file(QStringLiteral("orderN.dbf"))); },
         false},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.what);
        writeArchive({{1, 1, QDate(2008, 3, 1)}}, {{1, 100, 2}});
        QFile old(main.ordersPath + target);
        ASSERT_TRUE(old.open(QIODevice::WriteOnly));
        old.write("kept");
        old.close();
        c.breakIt();
        const QByteArray workCopyBefore = fileBytes(file(QStringLiteral("orderN.dbf")));
        fake.messages().shown.clear();
        main.status.clear();

        windows::TDblGridFrm *w = open();
        if (std::string(c.what) != "no order in the month")
            choose(w, 0, 3);
        QTest::mouseClick(kx::testsupport::named<QToolButton>(w, "tbCreateOrder"), Qt::LeftButton);
        if (c.inStatusLine) {
            EXPECT_TRUE(main.status.contains(QStringLiteral("Нет заказа"))) << main.status.toStdString();
            EXPECT_TRUE(fake.messages().shown.empty());
        } else {
            ASSERT_EQ(fake.messages().errors().size(), 1);
            EXPECT_TRUE(fake.messages().errors().front().contains(QStringLiteral("Заказ не сформирован")));
            EXPECT_TRUE(main.status.isEmpty());
        }
        EXPECT_EQ(fileBytes(main.ordersPath + target), QByteArray("kept"));
        const QString workCopy = file(QStringLiteral("orderN.dbf"));
        if (std::string(c.what) == "a filled orderN.dbf left behind") {
            EXPECT_EQ(fileBytes(workCopy), workCopyBefore);
            QFile::remove(workCopy);
        }
        EXPECT_FALSE(QFile::exists(workCopy));
        delete w->frame();
        main.subCustomerId = 5;
        QFile::remove(file(QStringLiteral("order.dbf")));
        kx::testsupport::createTemplate(dir.path());
    }
}

TEST_F(ArchiveWindow, AnArchiveThatCannotBeOpenedIsReportedAndNoWindowOpens)
{
    const struct {
        const char *file;
        QByteArray bytes; // empty: the file is missing
        const char *message;
    } cases[] = {
        {"ArchivPos.dbf", {}, "Не найден файл"},
        {"Archiv.dbf", {}, "Не найден файл"},
        {"Archiv.dbf", QByteArray("\x03\x7e\x0c\x0a garbage"), "Archiv.dbf"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.file);
        writeArchive({{1, 1, QDate(2008, 3, 1)}}, {{1, 100, 2}});
        const QString path = main.folderPath + QString::fromLatin1(c.file);
        QFile::remove(path);
        if (!c.bytes.isEmpty()) {
            QFile damaged(path);
            ASSERT_TRUE(damaged.open(QIODevice::WriteOnly));
            damaged.write(c.bytes);
        }
        fake.messages().shown.clear();
        EXPECT_EQ(windows::OpenArchiveWindow(main, main.folderPath + QStringLiteral("Archiv.dbf"),
                                             main.folderPath + QStringLiteral("ArchivPos.dbf")),
                  nullptr);
        EXPECT_TRUE(main.area.subWindowList().isEmpty());
        ASSERT_EQ(fake.messages().errors().size(), 1);
        EXPECT_TRUE(fake.messages().errors().front().contains(QString::fromUtf8(c.message)))
            << fake.messages().errors().front().toStdString();
    }
}

TEST_F(ArchiveWindow, ClosingKeepsBothGridsColumnsAndThePlace)
{
    writeArchive({{1, 1, QDate(2008, 3, 1)}}, {{1, 100, 2}});
    windows::TDblGridFrm *w = open();
    kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")
        ->setColumnWidth(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->findColumn(QStringLiteral("NumZ")),
                         77);
    kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail")
        ->setColumnWidth(kx::testsupport::named<grid::DBGrid>(w, "DBGridDetail")->findColumn(QStringLiteral("Name")),
                         155);
    w->frame()->move(31, 42);
    w->closeWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    ASSERT_TRUE(main.area.subWindowList().isEmpty());
    EXPECT_TRUE(properties().readString(QStringLiteral("Archiv.dbf"), QStringLiteral("NUMZ"), {}).endsWith(u";77"));
    EXPECT_TRUE(properties().readString(QStringLiteral("ArchivPos.dbf"), QStringLiteral("NAME"), {}).endsWith(u";155"));

    w = open();
    EXPECT_EQ(
        kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")
            ->columnWidth(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->findColumn(QStringLiteral("NumZ"))),
        77);
    EXPECT_EQ(w->frame()->pos(), QPoint(31, 42));
}

#ifdef KX_PDFTOTEXT
TEST_F(ArchiveWindow, PrintsTheCurrentOrderWithItsNumber)
{
    writeArchive({{1, 16, QDate(2008, 3, 1)}, {2, 17, QDate(2008, 3, 2)}},
                 {{1, 100, 9, QStringLiteral("Чужая позиция")},
                  {2, 200, 2, QStringLiteral("Бинт"), 1.5},
                  {2, 300, 3, QStringLiteral("Йод"), 0.25}});
    const kx::testsupport::LocaleScope locale(kx::testsupport::russian());
    const QString pdf = file(QStringLiteral("archive.pdf"));
    printing::PrinterOverride printer(std::make_shared<printing::PdfPrinter>(pdf));
    printing::PrintPreviewOverride preview(std::make_shared<printing::fake::PrintingPreview>());
    windows::TDblGridFrm *w = open();
    choose(w, 0, 3);
    kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster")->setFocus();
    QTest::keyClick(kx::testsupport::named<grid::DBGrid>(w, "DBGridMaster"), Qt::Key_Down);
    QTest::mouseClick(kx::testsupport::named<QToolButton>(w, "tbPrintOrder"), Qt::LeftButton);

    QProcess p;
    p.start(QStringLiteral(KX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    for (const QString &part : {QStringLiteral("Заказ № _17_ от"), QStringLiteral("Аптека №5"), QStringLiteral("Бинт"),
                                QStringLiteral("Йод"), QStringLiteral("Итого: 3,75")})
        EXPECT_TRUE(text.contains(part)) << part.toStdString() << "\n" << text.toStdString();
    EXPECT_FALSE(text.contains(QStringLiteral("Чужая")));
}
#endif

} // namespace
