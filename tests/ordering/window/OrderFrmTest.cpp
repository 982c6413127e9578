// The order window driven headless through its grid and the keyboard, over
// price tables written at run time.
#include "tests/support/OrderFixtures.h"
#include "tests/support/WindowTestSupport.h"

#include "config/ProgramLocale.h"
#include "grid/DBGrid.h"
#include "ordering_windows/OrderWindows.h"
#include "ordering_windows/uOrderFrm.h"
#include "platform_widgets/WidgetKeyInput.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QAction>
#include <QComboBox>
#include <QDir>
#include <QEventLoop>
#include <QFile>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QPlainTextEdit>
#include <QPointer>
#include <QPrintPreviewDialog>
#include <QPrintPreviewWidget>
#include <QProcess>
#include <QPushButton>
#include <QScreen>
#include <QTabBar>
#include <QTabWidget>
#include <QTimer>
#include <QToolButton>

using namespace kx::testsupport;
using kx::testsupport::PriceRow;

namespace {

// The main window with the pharmacy's own record in SubCustomer.dbf or without it.
class OrderMainFrm : public FakeMainFrm {
public:
    QVariant lookupSubCustomer(const QString &field) override
    {
        return lookup ? lookup(field) : QVariant(subCustomerId);
    }
    void setStatusText(const QString &text) override
    {
        FakeMainFrm::setStatusText(text);
        statusTexts << text;
    }
    int subCustomerId = -1;
    std::function<QVariant(const QString &)> lookup; // replaces subCustomerId when set
    QStringList statusTexts;
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
        kx::testsupport::createPriceTable(pricePath, rows);
        tables::FieldSpecs specs = kx::testsupport::priceFields();
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

    kx::testsupport::LocaleScope locale{QLocale::c()};
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
        createPrices(
            {{.name = QStringLiteral("АНАЛЬГИН"), .price1 = 0.125}, {.name = QStringLiteral("БИНТ"), .price1 = 10}});
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
        EXPECT_EQ(named<QLabel>(w, "lbSymRem")->text(), QString::number(50 * c.positions));
        closeAll();
        EXPECT_DOUBLE_EQ(zakColumn().at(0).toDouble(), QString::fromLatin1(c.typed).toDouble());
    }
}

TEST_F(OrderWindow, CancelledEditGivesTheRowBack)
{
    createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 5}});
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
        createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 5},
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
        createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 10, .price3 = 30}});
        kx::testsupport::createTable(
            file(QStringLiteral("WorkScheme.dbf")),
            {{"IDROW", tables::FieldKind::Integer}, {"PROCENT", tables::FieldKind::String}},
            {{{"IDROW", 1}, {"PROCENT", QStringLiteral("9")}}, {{"IDROW", 2}, {"PROCENT", QStringLiteral("12")}}});
        ordering::TOrderFrm *w = open();
        EXPECT_EQ(w->PriceField(), QStringLiteral("PRICE1"));
        const int priceColumn = w->dbGrid()->findColumn(QStringLiteral("PRICE1"));
        main.status.clear();
        named<QComboBox>(w, "cbPay")
            ->setCurrentIndex(named<QComboBox>(w, "cbPay")->findText(QString::fromLatin1(c.markup)));
        emit named<QComboBox>(w, "cbPay")->activated(named<QComboBox>(w, "cbPay")->currentIndex());
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
    for (const tables::FieldSpec &s : kx::testsupport::priceFields())
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
    EXPECT_FALSE(named<QComboBox>(w, "cbPay")->isEnabled());
    EXPECT_FALSE(named<QAction>(w, "acnCreateOrder")->isEnabled());
    EXPECT_FALSE(named<QPushButton>(w, "btClearOrder")->isEnabled());
    EXPECT_EQ(named<QLabel>(w, "lbOrder")->text(), QStringLiteral("ЗАКАЗ ОТ :"));
    press(w, Qt::Key_Delete);
    press(w, Qt::Key_Return);
    w->btClearOrderClick();
    w->ApplyMarkup();
    EXPECT_EQ(w->OrderSum(), 0);
}

TEST_F(OrderWindow, SearchOnReadOnlyColumnShowsTypedTextAsTitle)
{
    createPrices({{.name = QStringLiteral("БИНТ"), .price1 = 1},
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

// What the title search of the order window makes of each key: which
// characters start or extend it, which keys end it and which columns take part.
struct TitleSearchCase {
    const char *name;
    std::vector<Stroke> strokes; // from the read-only column NAME
    const char *column; // a column clicked first, or none
    const char *title; // the searched column's title afterwards
    const char *current; // the current record's name afterwards
};

TEST_F(OrderWindow, TitleSearchKeys)
{
    createPrices({{.name = QStringLiteral("БИНТ"), .price1 = 1},
                  {.name = QStringLiteral("аспирин"), .price1 = 1},
                  {.name = QStringLiteral("АСКОРБИНКА"), .price1 = 1},
                  {.name = QStringLiteral("7-ЦВЕТОК"), .price1 = 1},
                  {.name = QStringLiteral("-ТЕСТ"), .price1 = 1},
                  {.name = QStringLiteral(".ТОЧКА"), .price1 = 1},
                  {.name = QStringLiteral("/СЛЭШ"), .price1 = 1},
                  {.name = QStringLiteral("\"ЗВЕЗДОЧКА\""), .price1 = 1},
                  {.name = QStringLiteral("ИВАН-ЧАЙ"), .price1 = 1},
                  {.name = QStringLiteral("ИВЕРМЕКТИН"), .price1 = 1},
                  {.name = QStringLiteral("ЛИСТ ЧАЯ"), .price1 = 1}});
    properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("EXTRA"),
                             QStringLiteral("EXTRA;3;Наценка;Y;Y;N;0"));
    properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("FIRM"),
                             QStringLiteral("FIRM;4;Фирма;Y;Y;N;0"));
    const std::vector<TitleSearchCase> cases = {
        // Characters from '-' on, the space and '"' start a search, in upper case.
        {"a lower-case letter", {typed("а")}, nullptr, "А", "аспирин"},
        {"an upper-case letter", {typed("Б")}, nullptr, "Б", "БИНТ"},
        {"a digit", {typed("7")}, nullptr, "7", "7-ЦВЕТОК"},
        {"a hyphen", {typed("-")}, nullptr, "-", "-ТЕСТ"},
        {"a full stop", {typed(".")}, nullptr, ".", ".ТОЧКА"},
        {"a slash", {typed("/")}, nullptr, "/", "/СЛЭШ"},
        {"a double quote", {typed("\"")}, nullptr, "\"", "\"ЗВЕЗДОЧКА\""},
        {"a space", {typed(" ")}, nullptr, " ", "БИНТ"},
        {"a colon", {typed(":")}, nullptr, ":", "БИНТ"},
        {"a letter no name starts with", {typed("ю")}, nullptr, "Ю", "БИНТ"},
        // The other characters below '-' take no part.
        {"an exclamation mark", {typed("!")}, nullptr, "Наименование", "БИНТ"},
        {"a comma", {typed(",")}, nullptr, "Наименование", "БИНТ"},
        {"a number sign", {typed("#")}, nullptr, "Наименование", "БИНТ"},
        {"a plus", {typed("+")}, nullptr, "Наименование", "БИНТ"},
        {"an apostrophe", {typed("'")}, nullptr, "Наименование", "БИНТ"},
        // Extending.
        {"letters extend", {typed("аск")}, nullptr, "АСК", "АСКОРБИНКА"},
        {"a hyphen extends", {typed("иван-")}, nullptr, "ИВАН-", "ИВАН-ЧАЙ"},
        {"a space extends", {typed("лист ч")}, nullptr, "ЛИСТ Ч", "ЛИСТ ЧАЯ"},
        {"a comma is passed over", {typed("ив,е")}, nullptr, "ИВЕ", "ИВЕРМЕКТИН"},
        {"no match keeps the record", {typed("ивею")}, nullptr, "ИВЕЮ", "ИВЕРМЕКТИН"},
        // Keys that leave the search running.
        {"Backspace removes nothing", {typed("ив"), key(Qt::Key_Backspace), typed("е")}, nullptr, "ИВЕ", "ИВЕРМЕКТИН"},
        {"Page Down", {typed("ив"), key(Qt::Key_PageDown), typed("е")}, nullptr, "ИВЕ", "ИВЕРМЕКТИН"},
        // Keys that end it: the title comes back, the next character starts anew.
        {"Escape", {typed("ив"), key(Qt::Key_Escape)}, nullptr, "Наименование", "ИВАН-ЧАЙ"},
        {"Escape, then a letter", {typed("ив"), key(Qt::Key_Escape), typed("е")}, nullptr, "Е", "ИВАН-ЧАЙ"},
        {"Up, then a letter", {typed("ив"), key(Qt::Key_Up), typed("е")}, nullptr, "Е", "\"ЗВЕЗДОЧКА\""},
        {"Down, then a letter", {typed("ив"), key(Qt::Key_Down), typed("е")}, nullptr, "Е", "ИВЕРМЕКТИН"},
        {"Enter goes to the quantity", {typed("ив"), key(Qt::Key_Return)}, nullptr, "Наименование", "ИВАН-ЧАЙ"},
        {"Right", {typed("ив"), key(Qt::Key_Right)}, nullptr, "Наименование", "ИВАН-ЧАЙ"},
        // Any read-only column takes part; the quantity and the calculated markup do not.
        {"another read-only column", {typed("ф")}, "FIRM", "Ф", "БИНТ"},
        {"the quantity", {typed("5"), key(Qt::Key_Escape)}, "ZAK", "Заказ", "БИНТ"},
        {"the calculated markup", {typed("1")}, "EXTRA", "Наценка", "БИНТ"},
    };
    for (const TitleSearchCase &c : cases) {
        SCOPED_TRACE(c.name);
        ordering::TOrderFrm *w = open();
        grid::DBGrid *g = w->dbGrid();
        ASSERT_EQ(selected(w), QStringLiteral("NAME"));
        const QString searched = c.column ? QString::fromLatin1(c.column) : QStringLiteral("NAME");
        if (c.column) {
            const QModelIndex cell = g->model()->index(g->currentIndex().row(), g->findColumn(searched));
            g->scrollTo(cell);
            QTest::mouseClick(g->viewport(), Qt::LeftButton, {}, g->visualRect(cell).center());
            idle();
            ASSERT_EQ(selected(w), searched);
        }
        strike(g, c.strokes);
        EXPECT_EQ(g->columnTitle(g->findColumn(searched)), QString::fromUtf8(c.title));
        EXPECT_EQ(w->table()->field(u"Name").asString().trimmed(), QString::fromUtf8(c.current));
        if (c.column) {
            EXPECT_EQ(g->columnTitle(g->findColumn(QStringLiteral("NAME"))), QStringLiteral("Наименование"));
        }
        closeAll();
    }
    for (const QVariant &zak : zakColumn())
        EXPECT_TRUE(zak.isNull());
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
        createPrices(c.rows);
        ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
        w->setOrderPageVisible(true);
        named<QTabWidget>(w, "PageControl1")->setCurrentIndex(1);
        named<QPlainTextEdit>(w, "mmMail")->setFocus();
        idle();
        type(w, QString(c.accepted + 1, u'x'));
        QTest::qWait(10);
        EXPECT_EQ(named<QPlainTextEdit>(w, "mmMail")->toPlainText().size(), c.accepted);
        EXPECT_EQ(named<QLabel>(w, "lbSymRem")->text(), QStringLiteral("0"));
        EXPECT_EQ(named<QLabel>(w, "lbSymCount")->text(), QString::number(c.accepted));
        closeAll();
    }
}

TEST_F(OrderWindow, SavedConsigneeNoLongerListedLeavesNoSelection)
{
    createPrices({{.name = QStringLiteral("А"), .price1 = 1}});
    kx::testsupport::createTable(file(QStringLiteral("SubCustomer.dbf")),
                                 {{"IDROW", tables::FieldKind::Integer}, {"NAME", tables::FieldKind::String}},
                                 {{{"IDROW", 7}, {"NAME", QStringLiteral("Аптека 1")}}});
    settings().writeString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer"), QStringLiteral("Аптека 9"));
    ordering::TOrderFrm *w = open();
    EXPECT_EQ(named<QComboBox>(w, "cbPODR")->count(), 1);
    EXPECT_EQ(named<QComboBox>(w, "cbPODR")->currentIndex(), -1);
    EXPECT_EQ(w->customerIds(), std::vector<int>{7});
    EXPECT_EQ(settings().readString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer")),
              QStringLiteral("Аптека 9"));
    // The markup reference is missing.
    EXPECT_EQ(named<QComboBox>(w, "cbPay")->count(), 0);
}

TEST_F(OrderWindow, ClearingInNewArrivalsEmptiesEveryNewRowOnce)
{
    createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 5, .newFlag = 1},
                  {.name = QStringLiteral("Б"), .zak = 1, .price1 = 4},
                  {.name = QStringLiteral("В"), .zak = 3, .price1 = 3, .newFlag = 1},
                  {.name = QStringLiteral("Г"), .price1 = 3, .newFlag = 1}});
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::NewArrivals);
    EXPECT_TRUE(w->isOrderPageVisible()); // the first new arrival is ordered
    EXPECT_DOUBLE_EQ(w->OrderSum(), 23); // the whole order, counted before the filter
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
                               QStringLiteral("Cntr"), QStringLiteral("Qnt"),     QStringLiteral("Price1")};
    for (int i = 0; i < names.size(); ++i)
        layout.writeString(QStringLiteral("Objects"), QStringLiteral("F%1").arg(i), names[i]);
    ordering::TOrderFrm *w = open();
    const auto child = [&](const QString &name) -> QLabel * {
        for (QLabel *label : named<QWidget>(w, "tsHeader")->findChildren<QLabel *>())
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
        EXPECT_EQ(named<QAction>(w, "acnCreateOrder")->isEnabled(), c.enabled);
    }
}

// The window keeps "Сформировать" in step by itself whenever the application
// waits for input; nothing here calls the update.
TEST_F(OrderWindow, CreateOrderFollowsTheChoicesWhenTheApplicationWaits)
{
    createPrices({{.name = QStringLiteral("А"), .zak = 1, .price1 = 1}});
    kx::testsupport::createTable(
        file(QStringLiteral("SubCustomer.dbf")),
        {{"IDROW", tables::FieldKind::Integer}, {"NAME", tables::FieldKind::String}},
        {{{"IDROW", 7}, {"NAME", QStringLiteral("Аптека 1")}}, {{"IDROW", 8}, {"NAME", QStringLiteral("Аптека 2")}}});
    kx::testsupport::createTable(
        file(QStringLiteral("WorkScheme.dbf")),
        {{"IDROW", tables::FieldKind::Integer}, {"PROCENT", tables::FieldKind::String}},
        {{{"IDROW", 1}, {"PROCENT", QStringLiteral("9")}}, {{"IDROW", 2}, {"PROCENT", QStringLiteral("12")}}});
    main.subCustomerId = 1;
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
    named<QTabWidget>(w, "PageControl1")->setCurrentWidget(named<QWidget>(w, "tsHeader"));
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
        {"a consignee picked", [&] { pickNext(named<QComboBox>(w, "cbPODR")); }, false, false},
        {"a markup picked too", [&] { pickNext(named<QComboBox>(w, "cbPay")); }, true, false},
        {"the pharmacy's own record gone", [&] { main.subCustomerId = -1; }, false, true},
        {"the record back", [&] { main.subCustomerId = 1; }, true, true},
        {"the consignee dropped from the settings",
         [&] { settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), -1); }, false,
         true},
        {"another consignee picked", [&] { pickNext(named<QComboBox>(w, "cbPODR")); }, true, false},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        const bool before = named<QAction>(w, "acnCreateOrder")->isEnabled();
        s.act();
        if (s.onlyIdleNotices) {
            QCoreApplication::processEvents(); // does not wait, so the idle hook stays quiet
            EXPECT_EQ(named<QAction>(w, "acnCreateOrder")->isEnabled(), before);
        }
        waitForInput();
        EXPECT_EQ(named<QAction>(w, "acnCreateOrder")->isEnabled(), s.enabled);
        EXPECT_EQ(named<QToolButton>(w, "Button1")->isEnabled(), s.enabled);
    }
    EXPECT_EQ(named<QComboBox>(w, "cbPODR")->currentText(), QStringLiteral("Аптека 2"));
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
        {"a quantity typed there",
         [&] {
             press(w, Qt::Key_Return);
             type(w, QStringLiteral("2"));
         }},
        {"the focus leaves for the consignee",
         [&] {
             named<QTabWidget>(w, "PageControl1")->setCurrentWidget(named<QWidget>(w, "tsHeader"));
             named<QComboBox>(w, "cbPODR")->setFocus();
             idle();
         }},
        {"and comes back",
         [&] {
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

// Until the event loop has nothing left to do and blocks, as an idle program does.
void waitForInput(int ms = 20)
{
    QEventLoop loop;
    QTimer::singleShot(ms, &loop, &QEventLoop::quit);
    loop.exec();
}

// Whatever SubCustomer.dbf gives, the price list opens for browsing and
// typing; only "Сформировать" is off, with the reason said once.
TEST_F(OrderWindow, PharmacyRecordThatFailsOrIsEmptyDisablesOnlyOrdering)
{
    const tables::TableError damaged(tables::TableErrorKind::Damaged, QStringLiteral("/ref/SubCustomer.dbf"),
                                     QStringLiteral("Damaged table /ref/SubCustomer.dbf: impossible header size 8094"));
    const struct Case {
        const char *name;
        std::function<QVariant(const QString &)> lookup;
        const char *reason; // a part of the status line
    } cases[] = {
        {"damaged table", [&](const QString &) -> QVariant { throw damaged; }, "повреждён"},
        {"no IDRow field",
         [](const QString &) -> QVariant {
             throw tables::TableError(tables::TableErrorKind::NoField, QStringLiteral("/ref/SubCustomer.dbf"),
                                      QStringLiteral("Field IDRow not found in table /ref/SubCustomer.dbf"));
         },
         "нет нужного поля"},
        {"no record", [](const QString &) { return QVariant(); }, "Нет кода аптеки"},
        {"IDRow left empty", [](const QString &) { return QVariant(QMetaType::fromType<int>()); }, "Нет кода аптеки"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        createPrices({{.name = QStringLiteral("А"), .price1 = 2}, {.name = QStringLiteral("Б"), .price1 = 3}});
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), 8);
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), 2);
        main.lookup = c.lookup;
        main.statusTexts.clear();
        ordering::TOrderFrm *w = open();
        ASSERT_TRUE(w->hasTable());
        for (int i = 0; i < 3; ++i)
            waitForInput(); // the idle hook runs again and again
        EXPECT_FALSE(named<QAction>(w, "acnCreateOrder")->isEnabled());
        EXPECT_TRUE(main.status.contains(QString::fromUtf8(c.reason))) << main.status.toStdString();
        EXPECT_EQ(main.statusTexts.count(main.status), 1) << "reported once";
        press(w, Qt::Key_Return);
        type(w, QStringLiteral("4"));
        press(w, Qt::Key_Return);
        EXPECT_DOUBLE_EQ(w->OrderSum(), 8);
        w->acnCreateOrderExecute(); // not even through the action's own path
        EXPECT_TRUE(QDir(dir.path()).entryList({QStringLiteral("Z*.dbf")}).isEmpty());
        closeAll();
        EXPECT_DOUBLE_EQ(zakColumn().at(0).toDouble(), 4);
    }
}

// What was typed reaches the table before the window closes; a quantity the
// field refuses keeps the window open with the text still in its cell.
TEST_F(OrderWindow, ClosingPostsTheTypedQuantityOrStaysOpenWithIt)
{
    const struct Case {
        const char *name;
        const char *typed;
        bool settingsWritable;
        bool closes;
        double stored; // -1: nothing stored
    } cases[] = {
        {"a quantity that fits", "7", true, true, 7},
        {"a quantity too large for N(18,8)", "12345678901", true, false, -1},
        {"a settings file that cannot be written", "5", false, true, 5},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        createPrices({{.name = QStringLiteral("А"), .price1 = 2}});
        ordering::TOrderFrm *w = open();
        if (!c.settingsWritable) {
            QFile::remove(config::settingsFileName());
            ASSERT_TRUE(QDir().mkpath(config::settingsFileName()));
        }
        const qsizetype errorsBefore = fake.messages().errors().size();
        press(w, Qt::Key_Return);
        type(w, QString::fromLatin1(c.typed)); // still in the cell editor
        QPointer<ordering::TOrderFrm> alive(w);
        w->closeWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(alive.isNull(), c.closes);
        const QVariant stored = zakColumn().at(0);
        if (c.stored < 0) {
            EXPECT_TRUE(stored.isNull()) << stored.toString().toStdString();
            EXPECT_GT(fake.messages().errors().size(), errorsBefore);
            ASSERT_FALSE(alive.isNull());
            EXPECT_EQ(selected(w), QStringLiteral("ZAK"));
            press(w, Qt::Key_Escape); // the user gives up the value; now it closes
        } else {
            EXPECT_DOUBLE_EQ(stored.toDouble(), c.stored);
        }
        closeAll();
        EXPECT_TRUE(main.area.subWindowList().isEmpty());
        QDir(config::settingsFileName()).removeRecursively();
    }
}

// A malformed entry of properties.ini opens no window, only the message.
TEST_F(OrderWindow, SetUpFailureOpensNoWindow)
{
    createPrices({{.name = QStringLiteral("А"), .price1 = 2}});
    properties().writeString(QStringLiteral("price.dbf"), QStringLiteral("PRICE1"),
                             QStringLiteral("PRICE1;x;Цена;Y;Y;N;0"));
    EXPECT_EQ(ordering::OpenOrderWindow(main, ordering::OrderWindowMode::Price, pricePath), nullptr);
    EXPECT_TRUE(main.area.subWindowList().isEmpty());
    ASSERT_EQ(fake.messages().errors().size(), 1);
    EXPECT_TRUE(fake.messages().errors().at(0).contains(QStringLiteral("properties.ini")));
    EXPECT_TRUE(fake.messages().errors().at(0).startsWith(QStringLiteral("Неверная запись")));
}

// A markup stored as N(5,2) is the same whole number as one stored as text.
TEST_F(OrderWindow, NumericMarkupColumnsGiveTheirNumber)
{
    const struct Case {
        const char *name;
        tables::FieldSpec procent;
        QVariant twelve;
    } cases[] = {
        {"N(5,2)", {QStringLiteral("PROCENT"), tables::FieldKind::Float, 5, 2}, 12.0},
        {"C(10)", {QStringLiteral("PROCENT"), tables::FieldKind::String, 10}, QStringLiteral("12")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        createPrices({{.name = QStringLiteral("А"), .zak = 2, .price1 = 10, .price3 = 30}});
        const QString scheme = file(QStringLiteral("WorkScheme.dbf"));
        tables::createTable(scheme, 4, {{QStringLiteral("IDROW"), tables::FieldKind::Integer, 10}, c.procent},
                            {.overwrite = true});
        {
            tables::Table t(scheme);
            t.open();
            t.append();
            t.field(QStringLiteral("IDROW")).setInteger(2);
            t.field(QStringLiteral("PROCENT")).setValue(c.twelve);
            t.post();
        }
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), 8);
        main.subCustomerId = 1;
        ordering::TOrderFrm *w = open();
        ASSERT_EQ(named<QComboBox>(w, "cbPay")->count(), 1);
        EXPECT_EQ(named<QComboBox>(w, "cbPay")->itemText(0), QStringLiteral("12"));
        named<QComboBox>(w, "cbPay")->setCurrentIndex(0);
        emit named<QComboBox>(w, "cbPay")->activated(0);
        EXPECT_EQ(w->PriceField(), QStringLiteral("PRICE3"));
        EXPECT_EQ(settings().readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), -1), 2);
        waitForInput();
        EXPECT_TRUE(named<QAction>(w, "acnCreateOrder")->isEnabled());
        closeAll();
    }
}

// On a machine left in C or English the dates read as a Russian pharmacist
// writes them; a Ukrainian system keeps its own forms, with four-digit years.
TEST_F(OrderWindow, DatesInTheFormsItsUsersRead)
{
    const struct Case {
        const char *name;
        QLocale system;
        const char *priceDate;
    } cases[] = {
        {"C", QLocale::c(), "09.12.2026 08:30:00"},
        {"English", QLocale(QLocale::English, QLocale::UnitedStates), "09.12.2026 08:30:00"},
        {"Ukrainian", QLocale(QLocale::Ukrainian, QLocale::Ukraine), "09.12.2026 08:30:00"},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        const kx::testsupport::LocaleScope scope(config::programLocale(c.system));
        settings().writeDateTime(QStringLiteral("FTP"), QStringLiteral("LastRefresh"),
                                 QDateTime(QDate(2026, 12, 9), QTime(8, 30), Qt::UTC));
        createPrices({{.name = QStringLiteral("А"), .price1 = 2}});
        ordering::TOrderFrm *w = open();
        EXPECT_EQ(w->orderBarText(1), QString::fromLatin1(c.priceDate));
        EXPECT_EQ(named<QLabel>(w, "lbOrder")->text(),
                  QStringLiteral("ЗАКАЗ ОТ ") + QDate::currentDate().toString(QStringLiteral("dd.MM.yyyy")));
        closeAll();
    }
}

// Every caption, count and tab shows its whole text, and nothing runs into
// its neighbour, in the narrow and in the wide face.
TEST_F(OrderWindow, NothingIsCutOrOverlapping)
{
    for (const char *face : {"DejaVu Sans Condensed", "DejaVu Sans"}) {
        SCOPED_TRACE(face);
        QFont::removeSubstitutions(QStringLiteral("Tahoma"));
        QFont::insertSubstitution(QStringLiteral("Tahoma"), QString::fromLatin1(face));
        createPrices({{.name = QStringLiteral("А"), .zak = 1, .price1 = 2}, {.name = QStringLiteral("Б"), .zak = 1}});
        kx::testsupport::createTable(file(QStringLiteral("SubCustomer.dbf")),
                                     {{"IDROW", tables::FieldKind::Integer}, {"NAME", tables::FieldKind::String}},
                                     {{{"IDROW", 1}, {"NAME", QStringLiteral("Аптечный киоск при поликлинике №3")}}});
        ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
        EXPECT_EQ(named<QLabel>(w, "lbSymRem")->text(), QStringLiteral("100"));
        for (QWidget *page : {named<QWidget>(w, "tsHeader"), named<QWidget>(w, "TabSheet1")}) {
            std::vector<QWidget *> row;
            for (QWidget *child : page->findChildren<QWidget *>(Qt::FindDirectChildrenOnly)) {
                if (auto *label = qobject_cast<QLabel *>(child)) {
                    EXPECT_GE(label->width(), label->sizeHint().width()) << label->objectName().toStdString();
                }
                if (child->height() > 1 && child->y() < 100)
                    row.push_back(child);
            }
            std::sort(row.begin(), row.end(), [](QWidget *a, QWidget *b) { return a->x() < b->x(); });
            for (std::size_t i = 0; i < row.size(); ++i)
                for (std::size_t j = i + 1; j < row.size(); ++j)
                    EXPECT_FALSE(row[i]->geometry().intersects(row[j]->geometry()))
                        << row[i]->objectName().toStdString() << " and " << row[j]->objectName().toStdString();
        }
        const QFontMetrics metrics(named<QComboBox>(w, "cbPODR")->font());
        EXPECT_GE(named<QComboBox>(w, "cbPODR")->width(),
                  metrics.horizontalAdvance(named<QComboBox>(w, "cbPODR")->itemText(0)) + 20);
        QTabBar *tabs = named<QTabWidget>(w, "PageControl1")->tabBar();
        for (int i = 0; i < tabs->count(); ++i)
            EXPECT_GE(tabs->tabRect(i).height(), tabs->fontMetrics().horizontalAdvance(tabs->tabText(i)))
                << tabs->tabText(i).toStdString();
        EXPECT_LE(tabs->sizeHint().height(), named<QTabWidget>(w, "PageControl1")->height());
        closeAll();
    }
    QFont::removeSubstitutions(QStringLiteral("Tahoma"));
}

#ifdef KX_PDFTOTEXT
// "Печать" shows the pages first, drawn by the printing code itself: as many
// as a direct print gives, and "Сохранить в PDF" there saves exactly the order.
TEST_F(OrderWindow, PrintShowsThePagesTheyPrintAndSavesThemAsPdf)
{
    std::vector<PriceRow> rows{{.name = QStringLiteral("Анальгин"), .zak = 3, .price1 = 0.125}};
    for (int i = 0; i < 80; ++i)
        rows.push_back({.name = QStringLiteral("Позиция %1").arg(i), .zak = 1, .price1 = 1});
    createPrices(rows);
    ordering::TOrderFrm *w = open(ordering::OrderWindowMode::Order);
    const QString pdf = file(QStringLiteral("Заказ.pdf"));
    fake.fileDialogs().files.push_back(pdf);
    int previewPages = -1;
    QTimer::singleShot(0, w, [&] {
        // Inside the preview's own event loop.
        auto *dialog = qobject_cast<QPrintPreviewDialog *>(QApplication::activeModalWidget());
        ASSERT_NE(dialog, nullptr);
        auto *pages = dialog->findChild<QPrintPreviewWidget *>();
        ASSERT_NE(pages, nullptr);
        pages->updatePreview();
        previewPages = pages->pageCount();
        auto *save = dialog->findChild<QAction *>(QStringLiteral("acnSavePdf"));
        ASSERT_NE(save, nullptr);
        save->trigger();
        dialog->reject();
    });
    QTest::mouseClick(named<QPushButton>(w, "btPrint"), Qt::LeftButton);
    EXPECT_GE(previewPages, 2);
    QProcess text;
    text.start(QStringLiteral(KX_PDFTOTEXT), {pdf, QStringLiteral("-")});
    ASSERT_TRUE(text.waitForFinished(30000));
    const QString printed = QString::fromUtf8(text.readAllStandardOutput());
    EXPECT_TRUE(printed.contains(QStringLiteral("Анальгин")));
    EXPECT_TRUE(printed.contains(QStringLiteral("Позиция 79")));
    EXPECT_EQ(printed.count(u'\f'), previewPages); // one form feed a page
}
#endif

} // namespace
