#include "demo/DemoInstallation.h"
#include "app/uMainFrm.h"
#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/TableEntry.h"
#include "grid/DBGrid.h"
#include "grid/TableModel.h"
#include "platform/fake/FakePlatform.h"
#include "prescriptions_windows/uPrescrFrm.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tests/support/WindowTestSupport.h"

#include <QFile>
#include <QFileInfo>
#include <QMenu>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>

namespace {

// One demo installation for the whole suite: writing it takes a moment.
class DemoInstallation : public ::testing::Test {
protected:
    static void SetUpTestSuite()
    {
        dir_ = new QTemporaryDir;
        demo::DemoOptions options;
        options.priceRows = 400;
        demo::createDemoInstallation(dir_->path(), options);
    }
    static void TearDownTestSuite()
    {
        delete dir_;
        dir_ = nullptr;
    }
    static QString path(const QString &relative) { return dir_->path() + u'/' + relative; }

    static QTemporaryDir *dir_;
};

QTemporaryDir *DemoInstallation::dir_ = nullptr;

TEST_F(DemoInstallation, IsRefusedASecondTime)
{
    EXPECT_TRUE(demo::holdsInstallation(dir_->path()));
    const QByteArray before = [] {
        QFile f(path(QStringLiteral("IN/price.dbf")));
        return f.open(QIODevice::ReadOnly) ? f.readAll() : QByteArray();
    }();
    EXPECT_THROW(demo::createDemoInstallation(dir_->path()), std::exception);
    QFile f(path(QStringLiteral("IN/price.dbf")));
    ASSERT_TRUE(f.open(QIODevice::ReadOnly));
    EXPECT_EQ(f.readAll(), before);
}

TEST_F(DemoInstallation, PriceListIsUnmarkedDosCyrillicWithPricesPerMarkup)
{
    QFile raw(path(QStringLiteral("IN/price.dbf")));
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray bytes = raw.readAll();
    EXPECT_EQ(bytes.at(29), '\0'); // no code page mark
    // "Аптека"-style Cyrillic in code page 866 lies in 0x80..0xAF and 0xE0..0xEF.
    const QByteArray cp866Word = codepages::CodePage::byNumber(866).encode(QStringLiteral("табл."));
    EXPECT_TRUE(bytes.contains(cp866Word));

    tables::setDefaultOpenCodePage(866);
    tables::Table price(path(QStringLiteral("IN/price.dbf")));
    price.open();
    EXPECT_EQ(price.recordCount(), 400u);
    int newRows = 0;
    for (price.first(); !price.eof(); price.next()) {
        const double constA = price.field(u"CONSTA").asFloat();
        const double constB = price.field(u"CONSTB").asFloat();
        for (int step = 1; step <= 5; ++step) {
            const double shown = price.field(QStringLiteral("PRICE%1").arg(step)).asFloat();
            // The displayed markup (price - ConstB) / ConstA gives 9 + step.
            ASSERT_NEAR((shown - constB) / constA, 9 + step, 0.06) << price.recNo();
        }
        newRows += int(price.field(u"NEWFLG").asInteger());
        ASSERT_FALSE(price.field(u"NAME").asString().isEmpty());
    }
    EXPECT_GT(newRows, 0);
}

TEST_F(DemoInstallation, SettingsFilesAreInPlace)
{
    const config::IniFile order(path(QStringLiteral("Order.ini")));
    EXPECT_EQ(order.readString(QStringLiteral("Association"), QStringLiteral("NumZ")), QStringLiteral("@номер заказа"));
    EXPECT_EQ(order.readSection(QStringLiteral("association")).size(), 10);
    const config::IniFile properties(path(QStringLiteral("properties.ini")));
    const config::TableEntry zak =
        config::TableEntry::parse(properties.readString(QStringLiteral("PRICE.DBF"), QStringLiteral("Zak")));
    EXPECT_FALSE(zak.readOnly());
    const config::TableEntry id =
        config::TableEntry::parse(properties.readString(QStringLiteral("price.dbf"), QStringLiteral("IDRow")));
    EXPECT_TRUE(id.key());
    EXPECT_EQ(config::IniFile(path(QStringLiteral("NoGridElm.ini"))).readSection(QStringLiteral("Objects")).size(), 6);
    EXPECT_EQ(config::IniFile(path(QStringLiteral("KXOrders.ini")))
                  .readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("DeltaEx"), -1),
              9);

    tables::Table templ(path(QStringLiteral("order.dbf")));
    templ.open();
    for (const char *field : {"NumZ", "DateZ", "CodePst", "PayID", "Date", "Podr", "Qnt", "Price", "PodrCD", "Comment"})
        EXPECT_TRUE(templ.hasField(QString::fromLatin1(field))) << field;
}

TEST_F(DemoInstallation, LongComponentListsContinueInComponent2)
{
    tables::Table drugs(path(QStringLiteral("Prescription/PharmCom.dbf")));
    drugs.open();
    bool continued = false;
    for (drugs.first(); !drugs.eof(); drugs.next()) {
        const QString list = drugs.field(u"COMPONENT1").asString() + drugs.field(u"COMPONENT2").asString();
        EXPECT_TRUE(list.contains(QStringLiteral(": "))) << list.toStdString();
        continued = continued || !drugs.field(u"COMPONENT2").asString().isEmpty();
    }
    EXPECT_TRUE(continued);
}

TEST_F(DemoInstallation, MainWindowStartsOnIt)
{
    platform::fake::FakePlatform fake;
    config::setProgramFolder(dir_->path());
    {
        app::TMainFrm frm;
        frm.ActionList1Update();
        EXPECT_EQ(frm.windowTitle(), app::TMainFrm::baseCaption() + QStringLiteral("(Аптека №12 \"Здоровье\")"));
        EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(&frm, "pmReference")),
                  QStringList({QStringLiteral("Страны"), QStringLiteral("Производители"),
                               QStringLiteral("Подразделения"), QStringLiteral("Наценки")}));
        ASSERT_EQ(kx::testsupport::named<QMenu>(&frm, "pmInvoice")->actions().size(), 1);
        EXPECT_TRUE(kx::testsupport::named<QMenu>(&frm, "pmInvoice")
                        ->actions()
                        .at(0)
                        ->text()
                        .startsWith(QStringLiteral("Накладная №")));
        EXPECT_TRUE(
            app::menuTexts(*kx::testsupport::named<QMenu>(&frm, "pmPrice")).contains(QStringLiteral("Рецепты")));
        EXPECT_TRUE(
            app::menuTexts(*kx::testsupport::named<QMenu>(&frm, "pmPrice")).contains(QStringLiteral("Наркотика")));
        EXPECT_TRUE(kx::testsupport::named<QAction>(&frm, "acnOrder")->isEnabled());
        EXPECT_TRUE(kx::testsupport::named<QAction>(&frm, "acnArchive")->isEnabled());
        EXPECT_TRUE(kx::testsupport::named<QAction>(&frm, "acnInvoice")->isEnabled());
        EXPECT_FALSE(kx::testsupport::named<QAction>(&frm, "acnSend")->isEnabled()); // nothing prepared yet
        EXPECT_EQ(frm.size(), QSize(960, 640));
        EXPECT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
    }
    EXPECT_TRUE(QFileInfo::exists(path(QStringLiteral("Prescription/prescr.dbf"))));
    config::setProgramFolder(QString());
}

TEST_F(DemoInstallation, RecipesOpenWithTheDrugPickerOnTheNameColumn)
{
    platform::fake::FakePlatform fake;
    config::setProgramFolder(dir_->path());
    {
        app::TMainFrm frm;
        kx::testsupport::named<QAction>(&frm, "acnPrescription")->trigger();
        auto *window =
            qobject_cast<prescriptions_windows::TPrescrFrm *>(frm.findChildByCaption(QStringLiteral("Рецепты")));
        ASSERT_NE(window, nullptr);
        frm.ActionList1Update();
        EXPECT_FALSE(kx::testsupport::named<QAction>(&frm, "acnPrescription")->isEnabled());
        grid::DBGrid *grid = window->dbGrid();
        const int name = grid->findColumn(QStringLiteral("Name"));
        ASSERT_GE(name, 0);
        EXPECT_TRUE(grid->tableModel()->column(name).editButton);
        EXPECT_TRUE(grid->tableModel()->column(name).autoDropDown);
        EXPECT_EQ(grid->columnTitle(name), QStringLiteral("Препарат"));
        // The demo's one prescription was sent: the unsent view is empty.
        EXPECT_EQ(grid->tableModel()->rowCount(), 0);
        EXPECT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
    }
    config::setProgramFolder(QString());
}

} // namespace
