#include "MainFrmFixture.h"
#include "tests/support/WindowTestSupport.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "platform/MessageService.h"
#include "tables/Table.h"

#include <QDir>
#include <QFileInfo>
#include <QGuiApplication>
#include <QMenu>

namespace {

using windows::WorkFolder;
using K = tables::FieldKind;

const tables::FieldSpecs kPriceFields = {{QStringLiteral("NAME"), K::String, 40},
                                         {QStringLiteral("ZAK"), K::Float, 18, 8}};

QStringList allFolders(const app::TMainFrm &frm)
{
    QStringList list;
    for (WorkFolder which : app::WorkFolders::all())
        list << frm.folder(which);
    return list;
}

QStringList defaultFolders(const QString &base)
{
    QStringList list;
    for (const char *name : {"IN", "Out", "Invoice", "Reference", "Archiv", "Prescription", "Outboundn"})
        list << base + QString::fromLatin1(name) + u'/';
    return list;
}

TEST_F(MainFrmTest, WithoutSettingsFileOpensAtDefaultPlaceWithDefaultFoldersCreated)
{
    auto frm = start();
    EXPECT_EQ(frm->pos(), QPoint(367, 280));
    EXPECT_EQ(frm->size(), QSize(546, 399));
    EXPECT_EQ(allFolders(*frm), defaultFolders(inst_.folder()));
    for (const QString &folder : defaultFolders(inst_.folder()))
        EXPECT_TRUE(QFileInfo(folder).isDir()) << folder.toStdString();
    EXPECT_EQ(frm->windowTitle(), QStringLiteral("Заказы в ГУП \"ОРЕЛИКС\""));
    EXPECT_TRUE(fake_.messages().shown.empty());
    EXPECT_FALSE(QFileInfo::exists(config::settingsFileName())); // nothing written at start
}

TEST_F(MainFrmTest, StoredGeometryIsAppliedAndTheGeometryIsWrittenOnClose)
{
    inst_.writeIni(QStringLiteral("KXOrders.ini"),
                   QStringLiteral("[Main]\r\nTop=10\r\nLeft=20\r\nWidth=600\r\nHeight=450\r\n"));
    auto frm = start();
    EXPECT_EQ(frm->pos(), QPoint(20, 10));
    EXPECT_EQ(frm->size(), QSize(600, 450));
    frm->move(30, 40);
    frm->resize(500, 380);
    frm->close();
    const config::IniFile ini(config::settingsFileName());
    EXPECT_EQ(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Top"), 0), 40);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Left"), 0), 30);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Width"), 0), 500);
    EXPECT_EQ(ini.readInteger(QStringLiteral("Main"), QStringLiteral("Height"), 0), 380);
    auto again = start(); // a restart keeps the place
    EXPECT_EQ(again->pos(), QPoint(30, 40));
    EXPECT_EQ(again->size(), QSize(500, 380));
}

TEST_F(MainFrmTest, StoredFoldersAreUsedWhenTheStoredPriceFolderExists)
{
    inst_.mkdir(QStringLiteral("data/price"));
    inst_.writeIni(
        QStringLiteral("KXOrders.ini"),
        QStringLiteral("[Path]\r\nPrice=%1data/price\r\nOrder=%1data/out/\r\nArchiv=\r\n").arg(inst_.folder()));
    auto frm = start();
    EXPECT_EQ(frm->folder(WorkFolder::Price), inst_.path(QStringLiteral("data/price/")));
    EXPECT_EQ(frm->folder(WorkFolder::Orders), inst_.path(QStringLiteral("data/out/")));
    EXPECT_EQ(frm->folder(WorkFolder::Invoices), inst_.path(QStringLiteral("Invoice/"))); // key absent
    EXPECT_EQ(frm->folder(WorkFolder::Archive), inst_.path(QStringLiteral("Archiv/"))); // stored empty
    EXPECT_TRUE(QFileInfo(inst_.path(QStringLiteral("data/out"))).isDir());
}

TEST_F(MainFrmTest, AllFoldersFallBackWhenTheStoredPriceFolderIsMissing)
{
    inst_.mkdir(QStringLiteral("data/out"));
    inst_.writeIni(QStringLiteral("KXOrders.ini"),
                   QStringLiteral("[Path]\r\nPrice=%1nowhere/\r\nOrder=%1data/out/\r\n").arg(inst_.folder()));
    auto frm = start();
    EXPECT_EQ(allFolders(*frm), defaultFolders(inst_.folder()));
    EXPECT_FALSE(QFileInfo::exists(inst_.path(QStringLiteral("nowhere"))));
}

TEST_F(MainFrmTest, FoldersAreCreatedOneLevelDeepOnly)
{
    inst_.mkdir(QStringLiteral("p"));
    inst_.writeIni(QStringLiteral("KXOrders.ini"),
                   QStringLiteral("[Path]\r\nPrice=%1p/\r\nOrder=%1a/b/c/\r\nInvoice=%1inv/\r\n").arg(inst_.folder()));
    auto frm = start();
    EXPECT_FALSE(QFileInfo::exists(inst_.path(QStringLiteral("a"))));
    EXPECT_TRUE(QFileInfo(inst_.path(QStringLiteral("inv"))).isDir());
    EXPECT_TRUE(fake_.messages().shown.empty());
    frm->ActionList1Update();
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm, "acnSend")->isEnabled());
}

struct CaptionCase {
    const char *label;
    QVariant idRow; // invalid: table without records; "none": no table
    bool table;
    const char16_t *expected;
};

const CaptionCase kCaptionCases[] = {
    {"first record with IDRow 12", 12, true, u"Заказы в ГУП \"ОРЕЛИКС\"(Аптека №1)"},
    {"IDRow 0 counts", 0, true, u"Заказы в ГУП \"ОРЕЛИКС\"(Аптека №1)"},
    {"negative IDRow", -3, true, u"Заказы в ГУП \"ОРЕЛИКС\""},
    {"empty table", QVariant(), true, u"Заказы в ГУП \"ОРЕЛИКС\""},
    {"no table", QVariant(), false, u"Заказы в ГУП \"ОРЕЛИКС\""},
};

class MainFrmCaption : public MainFrmTest, public ::testing::WithParamInterface<CaptionCase> {};

TEST_P(MainFrmCaption, ExtendedByThePharmacyName)
{
    const CaptionCase &c = GetParam();
    if (c.table)
        inst_.writeSubCustomer(c.idRow, QStringLiteral("Аптека №1"));
    auto frm = start();
    EXPECT_EQ(frm->windowTitle().toStdString(), QString::fromUtf16(c.expected).toStdString()) << c.label;
}

INSTANTIATE_TEST_SUITE_P(Cases, MainFrmCaption, ::testing::ValuesIn(kCaptionCases));

TEST_F(MainFrmTest, LookupSubCustomerReadsTheFirstRecord)
{
    auto frm = start();
    EXPECT_EQ(frm->lookupSubCustomer(QStringLiteral("IDRow")), QVariant(-1));
    inst_.writeSubCustomer(7, QStringLiteral("Аптека"));
    EXPECT_EQ(frm->lookupSubCustomer(QStringLiteral("idrow")).toInt(), 7);
    EXPECT_EQ(frm->lookupSubCustomer(QStringLiteral("Name")).toString(), QStringLiteral("Аптека"));
    EXPECT_THROW(frm->lookupSubCustomer(QStringLiteral("Nope")), std::exception);
}

TEST_F(MainFrmTest, DamagedSubCustomerTableIsReportedAndTheWindowStillOpens)
{
    inst_.writeFile(QStringLiteral("Reference/SubCustomer.dbf"), QByteArray("not a table at all"));
    auto frm = start();
    EXPECT_EQ(frm->windowTitle(), app::TMainFrm::baseCaption());
    ASSERT_EQ(fake_.messages().errors().size(), 1);
    const QString shown = fake_.messages().errors().at(0);
    EXPECT_TRUE(
        shown.startsWith(QStringLiteral("Файл таблицы ") + inst_.path(QStringLiteral("Reference/SubCustomer.dbf"))))
        << shown.toStdString();
}

// The caption is the program's own: the X11 platform appends Qt's display
// name to every caption, so the program title is kept apart from it.
TEST_F(MainFrmTest, CaptionIsTheProgramCaptionAlone)
{
    auto frm = start();
    EXPECT_EQ(frm->windowTitle(), app::TMainFrm::baseCaption());
    EXPECT_EQ(platform::applicationTitle(), QStringLiteral("ЗАКАЗ \"ОРЕЛИКС\""));
    EXPECT_NE(QGuiApplication::applicationDisplayName(), platform::applicationTitle());
}

TEST_F(MainFrmTest, TableMenusListTheTablesWithTheirCaptions)
{
    inst_.writeTable(QStringLiteral("Reference/WorkScheme.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
    inst_.writeTable(QStringLiteral("Reference/SubCustomer.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
    inst_.writeTable(QStringLiteral("Reference/Extra.DBF"), {{QStringLiteral("IDROW"), K::Integer, 5}});
    inst_.writeFile(QStringLiteral("Reference/notes.txt"), "x");
    inst_.writeTable(QStringLiteral("Invoice/N123.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
    inst_.writeIni(QStringLiteral("properties.ini"),
                   QStringLiteral("[SUBCUSTOMER.DBF]\r\nDBFCaption=Подразделения\r\n[workscheme.dbf]\r\nDBFCaption=\r\n"
                                  "[N123.dbf]\r\nDBFCaption=Накладная 123\r\n"));
    auto frm = start();
    EXPECT_EQ(
        app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmReference")),
        QStringList({QStringLiteral("Extra.DBF"), QStringLiteral("Подразделения"), QStringLiteral("WorkScheme.dbf")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmInvoice")),
              QStringList({QStringLiteral("Накладная 123")}));
    const QAction *item = kx::testsupport::named<QMenu>(frm, "pmReference")->actions().at(1);
    EXPECT_EQ(item->toolTip(), inst_.path(QStringLiteral("Reference/SubCustomer.dbf")));

    // Rebuilding replaces the items.
    QFile::remove(inst_.path(QStringLiteral("Reference/Extra.DBF")));
    frm->rebuildTableMenus();
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmReference")),
              QStringList({QStringLiteral("Подразделения"), QStringLiteral("WorkScheme.dbf")}));
}

TEST_F(MainFrmTest, PrescriptionAndNarcoticsItemsAndThePrescriptionTable)
{
    inst_.writeTable(QStringLiteral("Prescription/PharmCom.dbf"), {{QStringLiteral("NAME"), K::String, 40}});
    inst_.writeTable(QStringLiteral("Outboundn/pricen.dbf"), kPriceFields);
    auto frm = start();
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmPrice")),
              QStringList({QStringLiteral("Полный прайс"), QStringLiteral("-"), QStringLiteral("Новые поступления"),
                           QStringLiteral("-"), QStringLiteral("Рецепты"), QStringLiteral("-"),
                           QStringLiteral("Наркотика")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmZakaz")),
              QStringList({QStringLiteral("Заказ"), QStringLiteral("-"), QStringLiteral("Заказ наркотика")}));

    const QString prescr = inst_.path(QStringLiteral("Prescription/prescr.dbf"));
    ASSERT_TRUE(QFileInfo::exists(prescr));
    QFile raw(prescr);
    ASSERT_TRUE(raw.open(QIODevice::ReadOnly));
    const QByteArray header = raw.read(32);
    EXPECT_EQ(header.at(0), '\x03'); // dBase III, no memo
    EXPECT_EQ(header.at(29), '\0'); // no code page mark
    raw.close();
    tables::Table table(prescr);
    table.open();
    EXPECT_EQ(table.fieldNames(),
              QStringList({"IDROW", "NUMBER", "FIO", "DATECREATE", "CODEPST", "NAME", "AGEY", "AGEM", "AGED", "DS",
                           "QNT", "COMPONENT1", "COMPONENT2", "DATESND", "DATERC", "PROVIDED", "DESC", "DELIVDATE"}));
    table.close();

    // A second start leaves the table as it is.
    QFile file(prescr);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray before = file.readAll();
    file.close();
    frm.reset();
    auto again = start();
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_EQ(file.readAll(), before);
}

TEST_F(MainFrmTest, WithoutPharmComAndPriceNTheMenusHoldTheirFixedItems)
{
    auto frm = start();
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmPrice")),
              QStringList({QStringLiteral("Полный прайс"), QStringLiteral("-"), QStringLiteral("Новые поступления")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmZakaz")), QStringList({QStringLiteral("Заказ")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmRefresh")),
              QStringList({QStringLiteral("Обновить"), QStringLiteral("-"), QStringLiteral("Накладные")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmUpload")),
              QStringList({QStringLiteral("Отправить"), QStringLiteral("Удалить")}));
    EXPECT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm, "pmWindow")),
              QStringList({QStringLiteral("Каскад"), QStringLiteral("-"), QStringLiteral("Закрыть")}));
    EXPECT_EQ(kx::testsupport::named<QMenu>(frm, "pmPrice")->defaultAction(),
              kx::testsupport::named<QAction>(frm, "acnPriceFull"));
    EXPECT_EQ(kx::testsupport::named<QMenu>(frm, "pmZakaz")->defaultAction(),
              kx::testsupport::named<QAction>(frm, "acnOrder"));
    EXPECT_EQ(kx::testsupport::named<QMenu>(frm, "pmRefresh")->defaultAction(),
              kx::testsupport::named<QAction>(frm, "acnRefreshAll"));
    EXPECT_EQ(kx::testsupport::named<QMenu>(frm, "pmUpload")->defaultAction(),
              kx::testsupport::named<QAction>(frm, "acnSend"));
    EXPECT_FALSE(QFileInfo::exists(inst_.path(QStringLiteral("Prescription/prescr.dbf"))));
}

} // namespace
