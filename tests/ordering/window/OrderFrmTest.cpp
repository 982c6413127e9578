// The order window driven headless through its grid and the keyboard, over
// price tables written at run time.
#include "tests/ordering/OrderFixtures.h"
#include "tests/windows/WindowTestSupport.h"

#include "grid/DBGrid.h"
#include "ordering/OrderWindows.h"
#include "ordering/uOrderFrm.h"
#include "platform/WidgetKeyInput.h"
#include "tables/TableCreate.h"

#include <QAction>
#include <QComboBox>
#include <QEventLoop>
#include <QImage>
#include <QPixmap>
#include <QScreen>
#include <QFile>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace windows_testing;
using ordering::test::PriceRow;

namespace {

// The main window with the pharmacy's own record in SubCustomer.dbf or without it.
class OrderMainFrm : public FakeMainFrm {
public:
    QVariant lookupSubCustomer(const QString &) override { return subCustomerId; }
    int subCustomerId = -1;
};

class OrderWindow : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        main.folderPath = dir.path() + u'/';
        pricePath = file(QStringLiteral("price.dbf"));
        // Only Zak is editable; Price2 stays hidden.
        properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("ZAK"),
                                 QStringLiteral("ZAK;2;Заказ;Y;N;N;0"));
        properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("NAME"),
                                 QStringLiteral("NAME;1;Наименование;Y;Y;N;0"));
    }
    void TearDown() override
    {
        closeAll();
        ProgramFolderFixture::TearDown();
    }

    ordering::TOrderFrm *open(ordering::OrderWindowMode mode = ordering::OrderWindowMode::Price)
    {
        return activated(main.area, ordering::OpenOrderWindow(main, mode, pricePath));
    }
    void idle() { QTest::qWait(1); }
    void press(ordering::TOrderFrm *w, int key)
    {
        QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid();
        QTest::keyClick(target, Qt::Key(key));
        idle();
    }
    void type(ordering::TOrderFrm *w, const QString &text)
    {
        for (QChar c : text) {
            QWidget *target = QApplication::focusWidget() ? QApplication::focusWidget() : w->dbGrid();
            if (c.unicode() < 128)
                QTest::keyClick(target, char(c.unicode()));
            else
                QTest::sendKeyEvent(QTest::Click, target, Qt::Key_unknown, QString(c), Qt::NoModifier);
        }
        idle();
    }
    void closeAll()
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    QString selected(ordering::TOrderFrm *w)
    {
        const tables::Field field = w->dbGrid()->selectedField();
        return field.isValid() ? field.name() : QString();
    }
    // A price list as the distributor sends it: names short enough for the "Name" tag.
    void createPrices(const std::vector<PriceRow> &rows)
    {
        QFile::remove(pricePath);
        ordering::test::createPriceTable(pricePath, rows);
        tables::FieldSpecs specs = ordering::test::priceFields();
        for (tables::FieldSpec &fieldSpec : specs)
            if (fieldSpec.name.compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0)
                fieldSpec.size = 60;
        QFile::remove(tables::restructureTable(pricePath, specs));
        QFile::remove(file(QStringLiteral("price.mdx")));
    }
    std::vector<QVariant> zakColumn()
    {
        tables::Table t(pricePath);
        t.open();
        std::vector<QVariant> out;
        for (t.first(); !t.eof(); t.next())
            out.push_back(t.field(QStringLiteral("Zak")).value());
        return out;
    }

    ordering::test::LocaleScope locale{QLocale::c()};
    OrderMainFrm main;
    QString pricePath;
};

struct QuantityCase {
    const char *typed;
    double sum;
    int positions;
    const char *sumText;
};

TEST_F(OrderWindow, TypedQuantityPostedByEnterUpdatesTotalsAndPanels)
{
    const std::vector<QuantityCase> cases = {
        {"1", 0.12, 1, "0.12"}, // the half cent goes to the even neighbour
        {"3", 0.38, 1, "0.38"},
        {"0.4", 0.05, 0, "0.05"}, // part of the sum, no position
    };
    for (const QuantityCase &c : cases) {
        SCOPED_TRACE(c.typed);
        createPrices( {{.name = QStringLiteral("АНАЛЬГИН"), .price1 = 0.125},
                                                     {.name = QStringLiteral("БИНТ"), .price1 = 10}});
        ordering::TOrderFrm *w = open();
        ASSERT_TRUE(w->hasTable()) << fake.messages().texts().join(u'|').toStdString();
        ASSERT_EQ(selected(w), QStringLiteral("NAME"));
        press(w, Qt::Key_Return); // to the quantity
        EXPECT_EQ(selected(w), QStringLiteral("ZAK"));
        type(w, QString::fromLatin1(c.typed));
        press(w, Qt::Key_Return); // posts and goes back
        EXPECT_EQ(selected(w), QStringLiteral("NAME"));
        EXPECT_DOUBLE_EQ(w->OrderSum(), c.sum);
        EXPECT_EQ(w->PositionCount(), c.positions);
        EXPECT_EQ(w->orderBarText(3), QString::fromLatin1(c.sumText));
        EXPECT_EQ(w->orderBarText(5), QString::number(c.positions));
        EXPECT_EQ(w->lbSymRem->text(), QString::number(50 * c.positions));
        closeAll();
        EXPECT_DOUBLE_EQ(zakColumn().at(0).toDouble(), QString::fromLatin1(c.typed).toDouble());
    }
}

TEST_F(OrderWindow, CancelledEditGivesTheRowBack)
{
    createPrices( {{.name = QStringLiteral("А"), .zak = 2, .price1 = 5}});
    ordering::TOrderFrm *w = open();
    EXPECT_DOUBLE_EQ(w->OrderSum(), 10);
    press(w, Qt::Key_Return);
    type(w, QStringLiteral("7"));
    press(w, Qt::Key_Escape); // closes the editor
    if (w->table()->isEditing())
        press(w, Qt::Key_Escape);
    EXPECT_FALSE(w->table()->isEditing());
    EXPECT_DOUBLE_EQ(w->OrderSum(), 10);
    EXPECT_EQ(w->PositionCount(), 1);
}

TEST_F(OrderWindow, DeleteEmptiesTheQuantityAndKeepsTheRow)
{
    struct Case {
        const char *name;
        ordering::OrderWindowMode mode;
        int rowsInViewAfter;
    };
    const std::vector<Case> cases = {
        {"browsing the price list", ordering::OrderWindowMode::Price, 3},
        {"in the order the row leaves the view", ordering::OrderWindowMode::Order, 1},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        createPrices( {{.name = QStringLiteral("А"), .zak = 2, .price1 = 5},
                                                     {.name = QStringLiteral("Б"), .zak = 1, .price1 = 4},
                                                     {.name = QStringLiteral("В"), .price1 = 3}});
        ordering::TOrderFrm *w = open(c.mode);
        if (c.mode == ordering::OrderWindowMode::Order) {
            EXPECT_TRUE(w->isOrderPageVisible());
        }
        EXPECT_DOUBLE_EQ(w->OrderSum(), 14);
        press(w, Qt::Key_Delete);
        EXPECT_DOUBLE_EQ(w->OrderSum(), 4);
        EXPECT_EQ(w->PositionCount(), 1);
        EXPECT_EQ(int(w->table()->visibleRecords().size()), c.rowsInViewAfter);
        press(w, Qt::Key_Insert); // consumed: no row appears
        EXPECT_EQ(w->table()->recordCount(), 3u);
        closeAll();
        const std::vector<QVariant> zak = zakColumn();
        ASSERT_EQ(zak.size(), 3u);
        EXPECT_TRUE(zak[0].isNull());
        EXPECT_DOUBLE_EQ(zak[1].toDouble(), 1);
    }
}

TEST_F(OrderWindow, MarkupSwitchesThePriceColumn)
{
    struct Case {
        const char *markup;
        const char *priceField;
        const char *status;
        double sum;
    };
    const std::vector<Case> cases = {
        {"12", "PRICE3", "", 2 * 30.0},
        {"9", "PRICE1", "Нет цены с такой наценкой", 2 * 10.0},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.markup);
        QFile::remove(config::settingsFileName());
        QFile::remove(config::propertiesFileName());
        SetUp();
        createPrices(
                                         {{.name = QStringLiteral("А"), .zak = 2, .price1 = 10, .price3 = 30}});
        windows_testing::createTable(file(QStringLiteral("WorkScheme.dbf")),
                                     {{"IDROW", tables::FieldKind::Integer}, {"PROCENT", tables::FieldKind::String}},
                                     {{{"IDROW", 1}, {"PROCENT", QStringLiteral("9")}},
                                      {{"IDROW", 2}, {"PROCENT", QStringLiteral("12")}}});
        ordering::TOrderFrm *w = open();
        EXPECT_EQ(w->PriceField(), QStringLiteral("PRICE1"));
        const int priceColumn = w->dbGrid()->findColumn(QStringLiteral("PRICE1"));
        main.status.clear();
        w->cbPay->setCurrentIndex(w->cbPay->findText(QString::fromLatin1(c.markup)));
        emit w->cbPay->activated(w->cbPay->currentIndex());
        EXPECT_EQ(w->PriceField(), QString::fromLatin1(c.priceField));
        EXPECT_EQ(w->dbGrid()->findColumn(QString::fromLatin1(c.priceField)), priceColumn);
        EXPECT_DOUBLE_EQ(w->OrderSum(), c.sum);
        EXPECT_EQ(main.status, QString::fromUtf8(c.status));
        EXPECT_EQ(settings().readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("DeltaEx")), QStringLiteral("9"));
        EXPECT_EQ(settings().readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercent")),
                  QString::fromLatin1(c.markup));
        closeAll();
        // The saved layout has the default price column where the shown one was.
        const QString saved = properties().readString(QStringLiteral("price.dbf"), QStringLiteral("PRICE1"));
        EXPECT_TRUE(saved.startsWith(QStringLiteral("PRICE1;%1;").arg(priceColumn + 1))) << saved.toStdString();
    }
}

TEST_F(OrderWindow, TableWithoutZakOrIndexIsPrepared)
{
    tables::FieldSpecs specs;
    for (const tables::FieldSpec &s : ordering::test::priceFields())
        if (s.name.compare(QStringLiteral("Zak"), Qt::CaseInsensitive) != 0)
            specs.push_back(s);
    for (tables::FieldSpec &fieldSpec : specs)
        if (fieldSpec.name.compare(QStringLiteral("Name"), Qt::CaseInsensitive) == 0)
            fieldSpec.size = 60;
    tables::createTable(pricePath, 4, specs, {.overwrite = true});
    {
        tables::Table t(pricePath);
        t.open();
        for (const char *name : {"ВТОРОЙ", "ПЕРВЫЙ"}) {
            t.append();
            t.field(QStringLiteral("Name")).setString(QString::fromUtf8(name));
            t.field(QStringLiteral("Price1")).setFloat(1);
            t.post();
        }
    }
    QFile::remove(file(QStringLiteral("price.mdx")));
    ordering::TOrderFrm *w = open();
    ASSERT_TRUE(w->hasTable());
    const tables::FieldDef &zak = w->table()->fieldDef(w->table()->fieldIndex(QStringLiteral("Zak")));
    EXPECT_EQ(zak.type, 'N');
    EXPECT_EQ(zak.size, 18);
    EXPECT_EQ(zak.decimals, 8);
    // The engine's copy of the old table goes, with the index it took along.
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("price_2.dbf"))));
    EXPECT_FALSE(QFile::exists(file(QStringLiteral("price_2.mdx"))));
    EXPECT_TRUE(QFile::exists(file(QStringLiteral("price.mdx"))));
    EXPECT_TRUE(w->table()->indexTagNames().contains(QStringLiteral("NAME"), Qt::CaseInsensitive));
    // Stored order, not the order of the tag.
    w->table()->first();
    EXPECT_EQ(w->table()->field(QStringLiteral("Name")).asString().trimmed(), QStringLiteral("ВТОРОЙ"));
    EXPECT_EQ(w->table()->field(QStringLiteral("Extra")).displayLabel(), QStringLiteral("EXTRA"));
}

TEST_F(OrderWindow, MissingTableOffersNoTableActions)
{
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
    EXPECT_FALSE(w->hasTable());
    EXPECT_EQ(main.status, QStringLiteral("Не найден файл ") + pricePath);
    EXPECT_FALSE(w->isOrderPageVisible());
    EXPECT_FALSE(w->cbPay->isEnabled());
    EXPECT_FALSE(w->acnCreateOrder->isEnabled());
    EXPECT_FALSE(w->btClearOrder->isEnabled());
    EXPECT_EQ(w->lbOrder->text(), QStringLiteral("ЗАКАЗ ОТ :"));
    press(w, Qt::Key_Delete);
    press(w, Qt::Key_Return);
    w->btClearOrderClick();
    w->ApplyMarkup();
    EXPECT_EQ(w->OrderSum(), 0);
}

TEST_F(OrderWindow, SearchOnReadOnlyColumnShowsTypedTextAsTitle)
{
    createPrices( {{.name = QStringLiteral("БИНТ"), .price1 = 1},
                                                 {.name = QStringLiteral("аспирин"), .price1 = 1},
                                                 {.name = QStringLiteral("АСКОРБИНКА"), .price1 = 1}});
    ordering::TOrderFrm *w = open();
    ASSERT_EQ(selected(w), QStringLiteral("NAME"));
    type(w, QStringLiteral("ас"));
    const int column = w->dbGrid()->findColumn(QStringLiteral("NAME"));
    EXPECT_EQ(w->dbGrid()->columnTitle(column), QStringLiteral("АС"));
    EXPECT_EQ(w->table()->recNo(), 2u);
    press(w, Qt::Key_Escape);
    EXPECT_EQ(w->dbGrid()->columnTitle(column), QStringLiteral("Наименование"));
}

TEST_F(OrderWindow, MessageQuotaIsFiftyCharactersPerPosition)
{
    struct Case {
        const char *name;
        std::vector<PriceRow> rows;
        int accepted;
    };
    const std::vector<Case> cases = {
        {"no positions", {{.name = QStringLiteral("А"), .price1 = 1}}, 0},
        {"three positions",
         {{.name = QStringLiteral("А"), .zak = 1, .price1 = 1},
          {.name = QStringLiteral("Б"), .zak = 2, .price1 = 1},
          {.name = QStringLiteral("В"), .zak = 3, .price1 = 1}},
         150},
    };
    // The removal goes through the memo's own event queue.
    platform::ServicesOverride keys(platform::Services{.keyInput = std::make_shared<platform::WidgetKeyInput>()});
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        createPrices( c.rows);
        ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
        w->setOrderPageVisible(true);
        w->PageControl1->setCurrentIndex(1);
        w->mmMail->setFocus();
        idle();
        type(w, QString(c.accepted + 1, u'x'));
        QTest::qWait(10);
        EXPECT_EQ(w->mmMail->toPlainText().size(), c.accepted);
        EXPECT_EQ(w->lbSymRem->text(), QStringLiteral("0"));
        EXPECT_EQ(w->lbSymCount->text(), QString::number(c.accepted));
        closeAll();
    }
}

TEST_F(OrderWindow, SavedConsigneeNoLongerListedLeavesNoSelection)
{
    createPrices( {{.name = QStringLiteral("А"), .price1 = 1}});
    windows_testing::createTable(file(QStringLiteral("SubCustomer.dbf")),
                                 {{"IDROW", tables::FieldKind::Integer}, {"NAME", tables::FieldKind::String}},
                                 {{{"IDROW", 7}, {"NAME", QStringLiteral("Аптека 1")}}});
    settings().writeString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer"), QStringLiteral("Аптека 9"));
    ordering::TOrderFrm *w = open();
    EXPECT_EQ(w->cbPODR->count(), 1);
    EXPECT_EQ(w->cbPODR->currentIndex(), -1);
    EXPECT_EQ(w->CustomerIds, std::vector<int>{7});
    EXPECT_EQ(settings().readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer")),
              QStringLiteral("Аптека 9"));
    // The markup reference is missing.
    EXPECT_EQ(w->cbPay->count(), 0);
}

TEST_F(OrderWindow, ClearingInNewArrivalsEmptiesEveryNewRowOnce)
{
    createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 5, .newFlag = 1},
                  {.name = QStringLiteral("Б"), .zak = 1, .price1 = 4},
                  {.name = QStringLiteral("В"), .zak = 3, .price1 = 3, .newFlag = 1},
                  {.name = QStringLiteral("Г"), .price1 = 3, .newFlag = 1}});
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::NewArrivals);
    EXPECT_TRUE(w->isOrderPageVisible()); // the first new arrival is ordered
    EXPECT_DOUBLE_EQ(w->OrderSum(), 23);   // the whole order, counted before the filter
    w->btClearOrderClick();
    EXPECT_EQ(w->orderBarText(3), QStringLiteral("0.00"));
    EXPECT_FALSE(w->isOrderPageVisible());
    EXPECT_DOUBLE_EQ(w->OrderSum(), 4);
    EXPECT_EQ(w->PositionCount(), 1);
    closeAll();
    const std::vector<QVariant> zak = zakColumn();
    ASSERT_EQ(zak.size(), 4u);
    EXPECT_TRUE(zak[0].isNull());
    EXPECT_DOUBLE_EQ(zak[1].toDouble(), 1);
    EXPECT_TRUE(zak[2].isNull());
    EXPECT_TRUE(zak[3].isNull());
}

TEST_F(OrderWindow, HeaderPairsStandInColumnsAndFollowTheCursor)
{
    createPrices({{.name = QStringLiteral("ПЕРВЫЙ"), .price1 = 1}, {.name = QStringLiteral("ВТОРОЙ"), .price1 = 2}});
    const config::IniFile layout(file(QStringLiteral("NoGridElm.ini")));
    const QStringList names = {QStringLiteral("Name"), QStringLiteral("Nothing"), QStringLiteral("Firm"),
                               QStringLiteral("Cntr"), QStringLiteral("Qnt"), QStringLiteral("Price1")};
    for (int i = 0; i < names.size(); ++i)
        layout.writeString(QStringLiteral("Objects"), QStringLiteral("F%1").arg(i), names[i]);
    ordering::TOrderFrm *w = open();
    const auto child = [&](const QString &name) -> QLabel * {
        for (QLabel *label : w->tsHeader->findChildren<QLabel *>())
            if (label->objectName().compare(name, Qt::CaseInsensitive) == 0)
                return label;
        return nullptr;
    };
    EXPECT_EQ(child(QStringLiteral("edNothing")), nullptr);
    QLabel *fifth = child(QStringLiteral("edPrice1"));
    ASSERT_NE(fifth, nullptr);
    EXPECT_EQ(fifth->pos(), QPoint(400 + 83, 45));
    EXPECT_EQ(child(QStringLiteral("edQnt"))->pos(), QPoint(16 + 83, 45 + 3 * 18));
    QLabel *name = child(QStringLiteral("edName"));
    ASSERT_NE(name, nullptr);
    EXPECT_EQ(name->text().trimmed(), QStringLiteral("ПЕРВЫЙ"));
    EXPECT_EQ(fifth->text(), QStringLiteral("1"));
    press(w, Qt::Key_Down);
    EXPECT_EQ(name->text().trimmed(), QStringLiteral("ВТОРОЙ"));
    EXPECT_EQ(fifth->text(), QStringLiteral("2"));
}

TEST_F(OrderWindow, CreateOrderNeedsPharmacyMarkupAndConsignee)
{
    struct Case {
        const char *name;
        int subCustomerId, markupId, consigneeId;
        bool enabled;
    };
    const std::vector<Case> cases = {
        {"SubCustomer.dbf missing", -1, 2, 7, false},
        {"no markup chosen", 1, -1, 7, false},
        {"no consignee chosen", 1, 2, -1, false},
        {"everything chosen", 1, 2, 7, true},
    };
    createPrices({{.name = QStringLiteral("А"), .zak = 1, .price1 = 1}});
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        main.subCustomerId = c.subCustomerId;
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), c.markupId);
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), c.consigneeId);
        w->acnCreateOrderUpdate();
        EXPECT_EQ(w->acnCreateOrder->isEnabled(), c.enabled);
    }
}

// The window keeps "Сформировать" in step by itself whenever the application
// waits for input; nothing here calls the update.
TEST_F(OrderWindow, CreateOrderFollowsTheChoicesWhenTheApplicationWaits)
{
    createPrices({{.name = QStringLiteral("А"), .zak = 1, .price1 = 1}});
    windows_testing::createTable(file(QStringLiteral("SubCustomer.dbf")),
                                 {{"IDROW", tables::FieldKind::Integer}, {"NAME", tables::FieldKind::String}},
                                 {{{"IDROW", 7}, {"NAME", QStringLiteral("Аптека 1")}},
                                  {{"IDROW", 8}, {"NAME", QStringLiteral("Аптека 2")}}});
    windows_testing::createTable(file(QStringLiteral("WorkScheme.dbf")),
                                 {{"IDROW", tables::FieldKind::Integer}, {"PROCENT", tables::FieldKind::String}},
                                 {{{"IDROW", 1}, {"PROCENT", QStringLiteral("9")}},
                                  {{"IDROW", 2}, {"PROCENT", QStringLiteral("12")}}});
    main.subCustomerId = 1;
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
    w->PageControl1->setCurrentWidget(w->tsHeader);
    // Until the event loop has nothing left to do and blocks, as an idle program does.
    const auto waitForInput = [] {
        QEventLoop loop;
        QTimer::singleShot(20, &loop, &QEventLoop::quit);
        loop.exec();
    };
    const auto pickNext = [](QComboBox *combo) {
        combo->setFocus();
        QTest::keyClick(combo, Qt::Key_Down);
    };
    struct Step {
        const char *name;
        std::function<void()> act;
        bool enabled;
        // Nothing but the idle hook notices the change: the state stays until the loop blocks.
        bool onlyIdleNotices;
    };
    const std::vector<Step> steps = {
        {"nothing chosen yet", [] {}, false, false},
        {"a consignee picked", [&] { pickNext(w->cbPODR); }, false, false},
        {"a markup picked too", [&] { pickNext(w->cbPay); }, true, false},
        {"the pharmacy's own record gone", [&] { main.subCustomerId = -1; }, false, true},
        {"the record back", [&] { main.subCustomerId = 1; }, true, true},
        {"the consignee dropped from the settings",
         [&] { settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), -1); }, false, true},
        {"another consignee picked", [&] { pickNext(w->cbPODR); }, true, false},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        const bool before = w->acnCreateOrder->isEnabled();
        s.act();
        if (s.onlyIdleNotices) {
            QCoreApplication::processEvents(); // does not wait, so the idle hook stays quiet
            EXPECT_EQ(w->acnCreateOrder->isEnabled(), before);
        }
        waitForInput();
        EXPECT_EQ(w->acnCreateOrder->isEnabled(), s.enabled);
        EXPECT_EQ(w->Button1->isEnabled(), s.enabled);
    }
    EXPECT_EQ(w->cbPODR->currentText(), QStringLiteral("Аптека 2"));
    EXPECT_EQ(settings().readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), -1), 8);
}

// The screen after each step is what a full repaint draws: the grid repaints
// only what the step changed, and nothing stale stays on screen.
TEST_F(OrderWindow, ScreenAfterEachStepMatchesAFullRepaint)
{
    createPrices({{.name = QStringLiteral("А"), .price1 = 5},
                  {.name = QStringLiteral("Б"), .zak = 1, .price1 = 4},
                  {.name = QStringLiteral("В"), .price1 = 3, .newFlag = 1}});
    ordering::TOrderFrm *w = open();
    // The offscreen screen gives what was painted into the window so far.
    const auto shown = [&] { return QGuiApplication::primaryScreen()->grabWindow(main.area.winId()).toImage(); };
    const auto repaintedInFull = [&] {
        for (QWidget *widget : main.area.findChildren<QWidget *>())
            widget->repaint();
        idle();
        return shown();
    };
    struct Step {
        const char *name;
        std::function<void()> act;
    };
    const std::vector<Step> steps = {
        {"to the quantity", [&] { press(w, Qt::Key_Return); }},
        {"a digit opens the editor", [&] { type(w, QStringLiteral("7")); }},
        {"Enter posts and goes back", [&] { press(w, Qt::Key_Return); }},
        {"the next row", [&] { press(w, Qt::Key_Down); }},
        {"a quantity typed there", [&] {
             press(w, Qt::Key_Return);
             type(w, QStringLiteral("2"));
         }},
        {"the focus leaves for the consignee", [&] {
             w->PageControl1->setCurrentWidget(w->tsHeader);
             w->cbPODR->setFocus();
             idle();
         }},
        {"and comes back", [&] {
             w->dbGrid()->setFocus();
             idle();
         }},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        s.act();
        const QImage before = shown();
        const QImage full = repaintedInFull();
        ASSERT_EQ(before.size(), full.size());
        int differing = 0;
        for (int y = 0; y < full.height(); ++y)
            for (int x = 0; x < full.width(); ++x)
                differing += before.pixel(x, y) != full.pixel(x, y);
        EXPECT_EQ(differing, 0) << "pixels not painted again";
    }
    press(w, Qt::Key_Return); // the quantity left in the editor is posted
    EXPECT_DOUBLE_EQ(w->OrderSum(), 7 * 5 + 2 * 4);
}

} // namespace
