#include "MainFrmFixture.h"
#include "tests/support/WindowTestSupport.h"

#include "app/ToolBarPanel.h"

#include <QApplication>
#include <QFile>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QToolButton>

namespace {

using K = tables::FieldKind;

// A child window inside the main window, as the windows of later parts are.
QWidget *openChild(app::TMainFrm &frm, const QString &caption)
{
    auto *child = new QWidget;
    child->setWindowTitle(caption);
    frm.showChild(child);
    return child;
}

class MainFrmReady : public MainFrmTest {
protected:
    void SetUp() override
    {
        inst_.writeTable(QStringLiteral("IN/price.dbf"), {{QStringLiteral("NAME"), K::String, 20}});
        inst_.writeFile(QStringLiteral("Out/Z1_1.dbf"), "x");
        inst_.writeFile(QStringLiteral("Invoice/N1.dbf"), "x");
        inst_.writeTable(QStringLiteral("Reference/Extra.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
        inst_.writeTable(QStringLiteral("Reference/Other.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
        inst_.writeTable(QStringLiteral("Reference/Third.dbf"), {{QStringLiteral("IDROW"), K::Integer, 5}});
        inst_.writeIni(QStringLiteral("properties.ini"),
                       QStringLiteral("[extra.dbf]\r\nDBFCaption=Справка\r\n"
                                      "[other.dbf]\r\nDBFCaption=СПРАВКА\r\n"));
        inst_.writeFile(QStringLiteral("Archiv/Archiv.dbf"), "x");
        frm_ = start();
        frm_->ActionList1Update();
    }

    QStringList enabledOf(const std::vector<QAction *> &actions) const
    {
        QStringList names;
        for (const QAction *a : actions)
            if (a->isEnabled())
                names << a->objectName();
        return names;
    }
    std::vector<QAction *> ruled() const
    {
        std::vector<QAction *> out;
        for (const char *name :
             {"acnConnect", "acnRefresh", "acnSend", "acnInvoice", "acnOrder", "acnPriceFull", "acnNewPrice",
              "acnTools", "acnReference", "acnArchive", "acnPrice", "acnRefreshAll", "acnOutboundn"})
            out.push_back(kx::testsupport::named<QAction>(frm_, name));
        return out;
    }

    std::unique_ptr<app::TMainFrm> frm_;
};

TEST_F(MainFrmReady, EverythingPresentEnablesEveryAction) { EXPECT_EQ(enabledOf(ruled()).size(), ruled().size()); }

TEST_F(MainFrmReady, WhileATransferWindowExistsTheExchangeAndWindowActionsAreDisabled)
{
    QWidget *ftp = openChild(*frm_, QStringLiteral("ftp"));
    frm_->ActionList1Update();
    EXPECT_EQ(enabledOf(ruled()), QStringList({"acnInvoice", "acnPrice", "acnRefreshAll", "acnOutboundn"}));
    ftp->close();
    frm_->ActionList1Update();
    EXPECT_EQ(enabledOf(ruled()).size(), ruled().size());
}

TEST_F(MainFrmReady, ConnectionAndDialUpWindowDisableConnect)
{
    fake_.connectivity().connected = true;
    frm_->ActionList1Update();
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnConnect")->isEnabled());
    fake_.connectivity().connected = false;
    openChild(*frm_, QStringLiteral("Дозвон"));
    frm_->ActionList1Update();
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnConnect")->isEnabled());
}

TEST_F(MainFrmReady, ChildCaptionsAreComparedInUpperCase)
{
    QWidget *arrivals = openChild(*frm_, QStringLiteral("НОВЫЕ ПОСТУПЛЕНИЯ"));
    openChild(*frm_, QStringLiteral("прайс"));
    frm_->ActionList1Update();
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnNewPrice")->isEnabled());
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnPriceFull")->isEnabled());
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnOutboundn")->isEnabled());
    EXPECT_TRUE(kx::testsupport::named<QAction>(frm_, "acnPrice")->isEnabled()); // no rule of its own
    EXPECT_TRUE(kx::testsupport::named<QAction>(frm_, "acnOrder")->isEnabled());
    EXPECT_EQ(frm_->findChildByCaption(QStringLiteral("Новые Поступления")), arrivals);
    EXPECT_TRUE(frm_->childExists(QStringLiteral("ПРАЙС")));
    EXPECT_FALSE(frm_->childExists(QStringLiteral("ЗАКАЗ")));
}

TEST_F(MainFrmReady, AnOpenTableDisablesEveryMenuItemWithItsCaption)
{
    const QList<QAction *> items = kx::testsupport::named<QMenu>(frm_, "pmReference")->actions();
    ASSERT_EQ(app::menuTexts(*kx::testsupport::named<QMenu>(frm_, "pmReference")),
              QStringList({QStringLiteral("Справка"), QStringLiteral("СПРАВКА"), QStringLiteral("Third.dbf")}));
    QWidget *window = openChild(*frm_, QStringLiteral("Справка"));
    frm_->ActionList1Update();
    EXPECT_FALSE(items[0]->isEnabled());
    EXPECT_FALSE(items[1]->isEnabled());
    EXPECT_TRUE(items[2]->isEnabled());
    window->close();
    frm_->ActionList1Update();
    EXPECT_TRUE(items[0]->isEnabled());
}

TEST_F(MainFrmReady, StateFollowsChildWindowsWhenTheApplicationIsIdle)
{
    openChild(*frm_, QStringLiteral("FTP"));
    for (int i = 0; i < 20 && kx::testsupport::named<QAction>(frm_, "acnRefresh")->isEnabled(); ++i)
        QApplication::processEvents();
    EXPECT_FALSE(kx::testsupport::named<QAction>(frm_, "acnRefresh")->isEnabled());
}

struct ActionCase {
    const char *action;
    const char *call; // "%1" stands for the program folder
};

const ActionCase kActionCases[] = {
    {"acnPrice", "order ПРАЙС %1IN/price.dbf"},
    {"acnPriceFull", "order ПРАЙС %1IN/price.dbf"},
    {"acnNewPrice", "order НОВЫЕ ПОСТУПЛЕНИЯ %1IN/price.dbf"},
    {"acnOrder", "order ЗАКАЗ %1IN/price.dbf"},
    {"acnOutboundn", "order ПРАЙС %1Outboundn/PriceN.dbf"},
    {"acnOutboundnOrder", "order ЗАКАЗ %1Outboundn/PriceN.dbf"},
    {"acnArchive", "archive %1Archiv/Archiv.dbf %1Archiv/ArchivPos.dbf ЗАКАЗ"},
    {"acnPrescription", "prescriptions Рецепты %1Prescription/prescr.dbf"},
    {"acnTools", "settings"},
    {"acnConnect", "dialup"},
    {"acnRefreshAll", "refreshAll"},
    {"acnRefreshInv", "refreshInvoices"},
    {"acnSend", "send"},
    {"acnDelete", "delete"},
};

class MainFrmActionHooks : public MainFrmReady, public ::testing::WithParamInterface<ActionCase> {};

TEST_P(MainFrmActionHooks, ActionRunsItsHookWithTheFolderPaths)
{
    auto *action = frm_->findChild<QAction *>(QString::fromLatin1(GetParam().action));
    ASSERT_NE(action, nullptr);
    action->trigger();
    EXPECT_EQ(hooks_->calls,
              QStringList({QString::fromUtf8(GetParam().call).replace(QStringLiteral("%1"), inst_.folder())}));
}

INSTANTIATE_TEST_SUITE_P(Cases, MainFrmActionHooks, ::testing::ValuesIn(kActionCases));

TEST_F(MainFrmReady, TableMenuItemOpensItsTableWindow)
{
    kx::testsupport::named<QMenu>(frm_, "pmReference")->actions().at(2)->trigger();
    EXPECT_EQ(hooks_->calls,
              QStringList({QStringLiteral("table Third.dbf %1Reference/Third.dbf").arg(inst_.folder())}));
}

TEST_F(MainFrmReady, SendAsksAboutThePreparedOrderAndNoSendsNothing)
{
    app::TMainFrm frm; // the program's own hooks
    fake_.messages().answers = {false};
    kx::testsupport::named<QAction>(&frm, "acnSend")->trigger();
    ASSERT_FALSE(fake_.messages().shown.empty());
    EXPECT_EQ(fake_.messages().shown.back().text, QStringLiteral("Заявок (1 шт.)\n\rОтправить?"));
    EXPECT_EQ(fake_.messages().shown.back().title, QStringLiteral("Отправка файлов"));
    EXPECT_FALSE(frm.childExists(QStringLiteral("FTP")));
    EXPECT_TRUE(QFile::exists(inst_.path(QStringLiteral("Out/Z1_1.dbf"))));
    frm.setStatusText(QStringLiteral("Нет соединения с интернетом..."));
    EXPECT_EQ(frm.statusText(), QStringLiteral("Нет соединения с интернетом..."));
}

TEST_F(MainFrmReady, ToolsAndConnectOpenTheirWindows)
{
    app::TMainFrm frm; // the program's own hooks
    frm.show();
    kx::testsupport::named<QAction>(&frm, "acnTools")->trigger();
    EXPECT_TRUE(frm.childExists(QStringLiteral("Настройки")));
    kx::testsupport::named<QAction>(&frm, "acnConnect")->trigger();
    EXPECT_TRUE(frm.childExists(QStringLiteral("Дозвон")));
}

TEST_F(MainFrmReady, ArchiveOpensTheArchiveWindowOverTheArchiveFolder)
{
    QFile::remove(inst_.path(QStringLiteral("Archiv/Archiv.dbf")));
    inst_.writeTable(QStringLiteral("Archiv/Archiv.dbf"),
                     {{QStringLiteral("IDROW"), K::Integer, 9},
                      {QStringLiteral("NUMZ"), K::Integer, 9},
                      {QStringLiteral("DATEZ"), K::Date},
                      {QStringLiteral("PODR"), K::String, 60},
                      {QStringLiteral("YEAR"), K::Integer, 4},
                      {QStringLiteral("MONTH"), K::Integer, 2}});
    inst_.writeTable(QStringLiteral("Archiv/ArchivPos.dbf"),
                     {{QStringLiteral("IDROW"), K::Integer, 9},
                      {QStringLiteral("PARENT"), K::Integer, 9},
                      {QStringLiteral("DRUG"), K::Integer, 9},
                      {QStringLiteral("QNT"), K::Float, 12, 3},
                      {QStringLiteral("PRICE"), K::Float, 12, 2}});
    app::TMainFrm frm; // the program's own hooks
    frm.show();
    kx::testsupport::named<QAction>(&frm, "acnArchive")->trigger();
    EXPECT_TRUE(frm.childExists(QStringLiteral("Архив")));
}

TEST_F(MainFrmReady, ToolBarButtonsInOrderWithTheirMenus)
{
    QStringList buttons;
    for (const QToolButton *button : frm_->toolBar().findChildren<QToolButton *>(Qt::FindDirectChildrenOnly)) {
        buttons << button->defaultAction()->text() + (button->menu() ? QStringLiteral(" ▾") : QString());
        EXPECT_GE(button->width(), app::MainActions::kButtonWidth);
        EXPECT_EQ(button->height(), app::MainActions::kButtonHeight);
        EXPECT_EQ(button->iconSize(), QSize(32, 32));
        EXPECT_FALSE(button->icon().isNull());
    }
    EXPECT_EQ(buttons,
              QStringList({"Прайс ▾", "Заказ ▾", "Архив", "Накладные ▾", "Справочники ▾", "Обновить ▾", "Отправить ▾",
                           "Настройки", "Окна ▾"}));
}

TEST_F(MainFrmReady, WindowMenuClosesTheActiveChild)
{
    frm_->show();
    openChild(*frm_, QStringLiteral("Архив"));
    QWidget *second = openChild(*frm_, QStringLiteral("Рецепты"));
    frm_->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(second->parentWidget()));
    kx::testsupport::named<QAction>(frm_, "WindowClose1")->trigger();
    EXPECT_FALSE(frm_->childExists(QStringLiteral("Рецепты")));
    EXPECT_TRUE(frm_->childExists(QStringLiteral("Архив")));
}

} // namespace

namespace {

TEST_F(MainFrmReady, ReferenceItemOpensTheTableWindowAndIsDisabledWhileItIsOpen)
{
    app::TMainFrm frm; // the program's own hooks
    QAction *item = kx::testsupport::named<QMenu>(&frm, "pmReference")->actions().at(2);
    ASSERT_EQ(item->text(), QStringLiteral("Third.dbf"));
    item->trigger();
    QWidget *window = frm.findChildByCaption(QStringLiteral("third.DBF"));
    ASSERT_NE(window, nullptr);
    frm.ActionList1Update();
    EXPECT_FALSE(item->isEnabled());
    window->close();
    frm.ActionList1Update();
    EXPECT_TRUE(item->isEnabled());
    EXPECT_TRUE(fake_.messages().errors().isEmpty()) << fake_.messages().errors().join(u'\n').toStdString();
}

} // namespace
