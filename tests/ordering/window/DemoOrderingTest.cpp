// Ordering over the demo installation through the program's main window:
// its actions open the order windows, choices are made and quantities typed
// with key presses only.
#include "tests/support/OrderFixtures.h"
#include "tests/support/WindowTestSupport.h"

#include "app/uMainFrm.h"
#include "config/ProgramFiles.h"
#include "demo/DemoInstallation.h"
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "ordering_windows/uOrderFrm.h"
#include "platform/fake/FakePlatform.h"
#include "settings_windows/ToolsWindow.h"
#include "settings_windows/uToolsFrm.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QTabWidget>
#include <QTableWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolButton>

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <map>
#include <set>

namespace {

// A row of the demo price list as the file holds it.
struct StoredRow {
    std::uint32_t recno;
    double price3; // the price column of the markup 12
    bool isNew;
};

class DemoOrdering : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo::DemoOptions options;
        options.priceRows = 300;
        demo::createDemoInstallation(dir.path(), options);
        config::setProgramFolder(dir.path());
        tables::setDefaultOpenCodePage(866);
        tables::Table price(pricePath());
        price.setReadOnly(true);
        price.open();
        for (price.first(); !price.eof(); price.next())
            rows.push_back({price.recNo(), price.field(u"PRICE3").asFloat(), price.field(u"NEWFLG").asInteger() == 1});
        price.close();
        startMainWindow();
    }
    void TearDown() override
    {
        frm.reset();
        config::setProgramFolder(QString());
    }

    QString pricePath() const { return dir.path() + QStringLiteral("/IN/price.dbf"); }
    void startMainWindow()
    {
        frm = std::make_unique<app::TMainFrm>();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        QApplication::setActiveWindow(frm.get());
        frm->ActionList1Update();
    }

    // Triggers a main window action and gives the order window it opened.
    ordering::TOrderFrm *openBy(QAction *action, const QString &caption)
    {
        frm->ActionList1Update();
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
        auto *w = qobject_cast<ordering::TOrderFrm *>(frm->findChildByCaption(caption));
        EXPECT_NE(w, nullptr) << caption.toStdString();
        if (!w)
            return nullptr;
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        frm->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w->frame()));
        w->dbGrid()->setFocus();
        QTest::qWait(1);
        EXPECT_TRUE(w->hasTable()) << fake.messages().texts().join(u'|').toStdString();
        return w;
    }
    void closeWindows()
    {
        frm->mdiArea().closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    void press(Qt::Key key, ordering::TOrderFrm *w)
    {
        QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid(), key);
    }
    void type(const QString &digits, ordering::TOrderFrm *w)
    {
        for (QChar c : digits)
            QTest::keyClick(QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid(), char(c.unicode()));
    }
    // Down `times` in the combo, as a user picks with the keyboard.
    void pick(QComboBox *combo, int times)
    {
        combo->setFocus();
        for (int i = 0; i < times; ++i)
            QTest::keyClick(combo, Qt::Key_Down);
    }
    QString selected(ordering::TOrderFrm *w)
    {
        const tables::Field field = w->dbGrid()->selectedField();
        return field.isValid() ? field.name().toUpper() : QString();
    }
    std::vector<std::uint32_t> recordsInView(ordering::TOrderFrm *w)
    {
        std::vector<std::uint32_t> out;
        const grid::TableModel *model = w->dbGrid()->tableModel();
        for (int row = 0; row < model->rowCount(); ++row)
            out.push_back(model->recordAt(row));
        return out;
    }
    // "Наценка" of the first rows as the grid shows them; the demo's ConstA
    // and ConstB give the markup back from every price column.
    QStringList extraTexts(ordering::TOrderFrm *w, int rowCount = 5)
    {
        const int column = w->dbGrid()->findColumn(QStringLiteral("Extra"));
        const grid::TableModel *model = w->dbGrid()->tableModel();
        QStringList out;
        for (int row = 0; row < rowCount && column >= 0; ++row)
            out << model->data(model->index(row, column)).toString().trimmed();
        return out;
    }
    std::map<std::uint32_t, double> storedQuantities()
    {
        tables::Table price(pricePath());
        price.setReadOnly(true);
        price.open();
        std::map<std::uint32_t, double> out;
        for (price.first(); !price.eof(); price.next())
            if (const tables::Field zak = price.field(u"ZAK"); !zak.isNull() && zak.asFloat() != 0)
                out[price.recNo()] = zak.asFloat();
        return out;
    }

    kx::testsupport::LocaleScope locale{QLocale::c()};
    QTemporaryDir dir;
    platform::fake::FakePlatform fake;
    std::vector<StoredRow> rows;
    std::unique_ptr<app::TMainFrm> frm;
};

TEST_F(DemoOrdering, QuantitiesTypedInTheFullPriceListMakeTheOrderAndSurviveReopening)
{
    const QString priceCaption = QStringLiteral("ПРАЙС");
    ordering::TOrderFrm *w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), priceCaption);
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isOrderPageVisible());
    ASSERT_EQ(kx::testsupport::named<QTabWidget>(w, "PageControl1")->currentWidget(),
              kx::testsupport::named<QWidget>(w, "tsHeader"));
    ASSERT_GE(kx::testsupport::named<QComboBox>(w, "cbPODR")->count(), 2);
    ASSERT_EQ(kx::testsupport::named<QComboBox>(w, "cbPay")->count(), 5);
    EXPECT_EQ(extraTexts(w), QStringList(5, QStringLiteral("10"))); // no markup chosen: Price1
    pick(kx::testsupport::named<QComboBox>(w, "cbPODR"), 2); // the first consignee after the pharmacy itself
    pick(kx::testsupport::named<QComboBox>(w, "cbPay"), 3); // 10, 11, 12 %: Price3 with DeltaEx 9
    const QString consignee = kx::testsupport::named<QComboBox>(w, "cbPODR")->currentText();
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbPODR")->currentIndex(), 1);
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbPay")->currentText(), QStringLiteral("12"));
    EXPECT_EQ(w->PriceField().toUpper(), QStringLiteral("PRICE3"));
    EXPECT_EQ(extraTexts(w), QStringList(5, QStringLiteral("12")));

    struct Entry {
        int downs; // rows to move down before typing
        const char *quantity;
    };
    const std::vector<Entry> entries = {{0, "3"}, {4, "12"}, {1, "1"}, {30, "7"}};
    w->dbGrid()->setFocus();
    ASSERT_EQ(selected(w), QStringLiteral("NAME"));
    int row = 0;
    double sum = 0;
    std::map<std::uint32_t, double> ordered;
    for (const Entry &e : entries) {
        SCOPED_TRACE(e.quantity);
        for (int i = 0; i < e.downs; ++i)
            press(Qt::Key_Down, w);
        row += e.downs;
        press(Qt::Key_Return, w);
        ASSERT_EQ(selected(w), QStringLiteral("ZAK"));
        type(QString::fromLatin1(e.quantity), w);
        press(Qt::Key_Return, w);
        EXPECT_EQ(selected(w), QStringLiteral("NAME"));
        const double quantity = QString::fromLatin1(e.quantity).toDouble();
        sum += quantity * rows.at(std::size_t(row)).price3;
        ordered[rows.at(std::size_t(row)).recno] = quantity;
        const double cents = std::round(sum * 100) / 100;
        EXPECT_EQ(w->orderBarText(3), QString::number(cents, 'g', 15));
        EXPECT_EQ(w->orderBarText(5), QString::number(ordered.size()));
    }
    const QString sumText = w->orderBarText(3);
    closeWindows();
    EXPECT_EQ(storedQuantities(), ordered);

    // The order: exactly the rows with a quantity.
    w = openBy(kx::testsupport::named<QAction>(frm, "acnOrder"), QStringLiteral("ЗАКАЗ"));
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(w->isOrderPageVisible());
    std::vector<std::uint32_t> expected;
    for (const auto &[recno, quantity] : ordered)
        expected.push_back(recno);
    EXPECT_EQ(recordsInView(w), expected);
    EXPECT_EQ(w->orderBarText(3), sumText);
    closeWindows();

    // A new start of the program finds the choices and the quantities again.
    frm.reset();
    startMainWindow();
    w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), priceCaption);
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbPODR")->currentText(), consignee);
    EXPECT_EQ(kx::testsupport::named<QComboBox>(w, "cbPay")->currentText(), QStringLiteral("12"));
    EXPECT_EQ(w->PriceField().toUpper(), QStringLiteral("PRICE3"));
    EXPECT_EQ(extraTexts(w), QStringList(5, QStringLiteral("12")));
    EXPECT_EQ(w->orderBarText(3), sumText);
    EXPECT_EQ(w->orderBarText(5), QString::number(ordered.size()));
    closeWindows();
    EXPECT_EQ(storedQuantities(), ordered);
}

TEST_F(DemoOrdering, NewArrivalsShowTheFlaggedRowsInBlue)
{
    std::vector<std::uint32_t> flagged;
    for (const StoredRow &r : rows)
        if (r.isNew)
            flagged.push_back(r.recno);
    ASSERT_GE(flagged.size(), 3u) << "the demo price list needs new arrivals";
    ASSERT_LT(flagged.size(), rows.size());

    ordering::TOrderFrm *w =
        openBy(kx::testsupport::named<QAction>(frm, "acnNewPrice"), QStringLiteral("НОВЫЕ ПОСТУПЛЕНИЯ"));
    ASSERT_NE(w, nullptr);
    EXPECT_FALSE(w->isOrderPageVisible());
    EXPECT_EQ(recordsInView(w), flagged);
    const grid::TableModel *model = w->dbGrid()->tableModel();
    const QColor blue(0, 0, 255);
    for (int row = 0; row < model->rowCount(); ++row)
        EXPECT_EQ(model->data(model->index(row, 0), Qt::ForegroundRole).value<QColor>(), blue) << row;

    // On screen: the name of a row other than the current one has blue text.
    const int nameColumn = w->dbGrid()->findColumn(QStringLiteral("NAME"));
    ASSERT_GE(nameColumn, 0);
    const QRect cell = w->dbGrid()->visualRect(model->index(1, nameColumn));
    const QImage image = w->dbGrid()->viewport()->grab(cell).toImage();
    int bluePixels = 0, otherInk = 0;
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x) {
            const QColor c = image.pixelColor(x, y);
            if (c.blue() > 180 && c.red() < 90 && c.green() < 90)
                ++bluePixels;
            else if (c.blue() < 120 && c.red() < 120 && c.green() < 120)
                ++otherInk; // dark ink that is not blue
        }
    EXPECT_GT(bluePixels, 10);
    EXPECT_EQ(otherInk, 0);
}

// A damaged pharmacy table on the demo installation: the program starts,
// the price list opens and takes quantities, "Сформировать" stays off with
// the reason in the status line, and the idle hooks never end the program.
TEST_F(DemoOrdering, DamagedPharmacyTableLeavesThePriceListUsable)
{
    const QString subCustomers = dir.path() + QStringLiteral("/Reference/SubCustomer.dbf");
    const struct {
        QByteArray damage; // empty: a sound table without IDRow
        QString lead;
    } cases[] = {{"not a table at all", QStringLiteral("Файл таблицы ")}, {{}, QStringLiteral("В таблице ")}};
    for (const auto &[damage, lead] : cases) {
        SCOPED_TRACE(damage.isEmpty() ? "no IDRow" : "damaged");
        frm.reset();
        if (damage.isEmpty()) {
            tables::createTable(subCustomers, 4, {{QStringLiteral("NAME"), tables::FieldKind::String, 40}},
                                {.overwrite = true});
            tables::Table table(subCustomers);
            table.open();
            table.append();
            table.field(QStringLiteral("NAME")).setString(QStringLiteral("Аптека"));
            table.post();
        } else {
            QFile file(subCustomers);
            ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
            file.write(damage);
        }
        QFile::remove(dir.path() + QStringLiteral("/Reference/SubCustomer.mdx"));
        startMainWindow();
        ordering::TOrderFrm *w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), QStringLiteral("ПРАЙС"));
        ASSERT_NE(w, nullptr);
        for (int i = 0; i < 3; ++i) {
            QEventLoop loop; // blocks as an idle program does, so every idle hook runs
            QTimer::singleShot(20, &loop, &QEventLoop::quit);
            loop.exec();
        }
        EXPECT_FALSE(kx::testsupport::named<QAction>(w, "acnCreateOrder")->isEnabled());
        EXPECT_TRUE(frm->statusText().contains(QStringLiteral("SubCustomer.dbf"))) << frm->statusText().toStdString();
        EXPECT_TRUE(frm->statusText().startsWith(lead)) << frm->statusText().toStdString();
        w->dbGrid()->setFocus();
        press(Qt::Key_Return, w);
        type(QStringLiteral("2"), w);
        press(Qt::Key_Return, w);
        closeWindows();
        EXPECT_EQ(storedQuantities().size(), 1u);
    }
}

// The demo is set up as a pharmacy would set it: every column titled in Russian.
TEST_F(DemoOrdering, PriceListColumnsCarryRussianTitles)
{
    ordering::TOrderFrm *w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), QStringLiteral("ПРАЙС"));
    ASSERT_NE(w, nullptr);
    grid::DBGrid *g = w->dbGrid();
    EXPECT_EQ(g->columnTitle(g->findColumn(QStringLiteral("Extra"))), QStringLiteral("Наценка"));
    for (int c = 0; c < g->columnCount(); ++c) {
        const QString title = g->columnTitle(c);
        EXPECT_TRUE(std::any_of(title.begin(), title.end(), [](QChar ch) {
            return ch.script() == QChar::Script_Cyrillic;
        })) << title.toStdString();
    }
    closeWindows();
}

// The settings window on the demo: a folder and the modem account survive a
// restart; an administrator's new column title shows in the price list.
TEST_F(DemoOrdering, SettingsChangedInTheSettingsWindowAreKept)
{
    const QString orders = dir.path() + QStringLiteral("/Orders2/");
    fake.fileDialogs().folders.push_back(orders);
    frm->ActionList1Update();
    kx::testsupport::named<QAction>(frm, "acnTools")->trigger();
    auto *tools = qobject_cast<settings::TToolsFrm *>(frm->findChildByCaption(QStringLiteral("Настройки")));
    ASSERT_NE(tools, nullptr);
    QTest::mouseClick(tools->pathRow(windows::WorkFolder::Orders).button, Qt::LeftButton);
    kx::testsupport::named<QTabWidget>(tools, "pcTools")
        ->setCurrentWidget(kx::testsupport::named<QWidget>(tools, "tsInternet"));
    kx::testsupport::named<QLineEdit>(tools, "edPhone")->setFocus();
    QTest::keyClicks(kx::testsupport::named<QLineEdit>(tools, "edPhone"), QStringLiteral("88001234567"));
    QTest::keyClicks(kx::testsupport::named<QLineEdit>(tools, "edUserName"), QStringLiteral("apteka12"));
    closeWindows();
    frm.reset();
    startMainWindow();
    EXPECT_EQ(frm->folder(windows::WorkFolder::Orders), orders);
    tools = settings::OpenToolsWindow(*frm, {QStringLiteral("kvt")});
    EXPECT_EQ(kx::testsupport::named<QLineEdit>(tools, "edPhone")->text(), QStringLiteral("88001234567"));
    EXPECT_EQ(kx::testsupport::named<QLineEdit>(tools, "edUserName")->text(), QStringLiteral("apteka12"));

    // The administrator's page: the price list's name column gets another title.
    kx::testsupport::named<QTabWidget>(tools, "pcTools")
        ->setCurrentWidget(kx::testsupport::named<QWidget>(tools, "tsStructure"));
    ASSERT_EQ(kx::testsupport::named<QListWidget>(tools, "lbInTables")->currentItem()->text().toLower(),
              QStringLiteral("price.dbf"));
    QTableWidget *grid = kx::testsupport::named<QTableWidget>(tools, "sgTableProperties");
    int nameRow = -1;
    for (int r = 0; r < grid->rowCount(); ++r)
        if (grid->item(r, 0)->text().compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0)
            nameRow = r;
    ASSERT_GE(nameRow, 0);
    grid->item(nameRow, 2)->setText(QStringLiteral("Препарат"));
    closeWindows();
    ordering::TOrderFrm *w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), QStringLiteral("ПРАЙС"));
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(w->dbGrid()->columnTitle(w->dbGrid()->findColumn(QStringLiteral("Name"))), QStringLiteral("Препарат"));
    closeWindows();
}

// Ctrl+F in the price list: what the pharmacist types, on either layout,
// finds the drug; Escape goes back to the grid.
TEST_F(DemoOrdering, FindByAnyWordOnEitherLayout)
{
    ordering::TOrderFrm *w = openBy(kx::testsupport::named<QAction>(frm, "acnPriceFull"), QStringLiteral("ПРАЙС"));
    ASSERT_NE(w, nullptr);
    QTest::keyClick(w->dbGrid(), Qt::Key_F, Qt::ControlModifier);
    QLineEdit *find = w->findChild<QLineEdit *>(QStringLiteral("edFind"));
    ASSERT_NE(find, nullptr);
    ASSERT_TRUE(find->hasFocus());
    const auto current = [&] { return w->table()->field(QStringLiteral("Name")).asString(); };
    const struct {
        const char *typed;
        const char *found;
    } cases[] = {
        {"кардио", "Кардиомагнил табл. п/о 75мг №30"},
        {"rfhlbj", "Кардиомагнил табл. п/о 75мг №30"},
        {"кардио аспирин", "Аспирин кардио табл. п/о 100мг №28"},
        {"fcgbhby rfhlbj", "Аспирин кардио табл. п/о 100мг №28"},
    };
    for (const auto &c : cases) {
        find->selectAll();
        for (QChar ch : QString::fromUtf8(c.typed)) {
            if (ch.unicode() < 128)
                QTest::keyClick(find, char(ch.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, find, Qt::Key_unknown, QString(ch), Qt::NoModifier);
        }
        EXPECT_EQ(current(), QString::fromUtf8(c.found)) << c.typed;
    }
    QTest::keyClick(find, Qt::Key_Escape);
    EXPECT_TRUE(w->dbGrid()->hasFocus());
    closeWindows();
}

} // namespace
