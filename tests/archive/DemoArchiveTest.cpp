// From the order to the archive on the demo installation, through the
// program's main window: a few quantities typed, "Сформировать", the order
// found under this month in "Архив" with its positions and statistics,
// re-created and printed.
#include "tests/support/OrderFixtures.h"
#include "tests/support/WindowTestSupport.h"

#include "app/uMainFrm.h"
#include "archive/uDblGrid.h"
#include "config/ProgramFiles.h"
#include "demo/DemoInstallation.h"
#include "grid/DBGrid.h"
#include "ordering_windows/uOrderFrm.h"
#include "platform/fake/FakePlatform.h"
#include "printing/CurrentPrinter.h"
#include "printing/PdfPrinter.h"
#include "printing/fake/FakePrintPreview.h"
#include "tables/CodePage.h"
#include "tables/Table.h"

#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QDir>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

class DemoArchive : public ::testing::Test {
protected:
    void SetUp() override
    {
        demo::DemoOptions options;
        options.priceRows = 200;
        demo::createDemoInstallation(dir.path(), options);
        config::setProgramFolder(dir.path());
        tables::setDefaultOpenCodePage(866);
        frm = std::make_unique<app::TMainFrm>();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        QApplication::setActiveWindow(frm.get());
        frm->ActionList1Update();
    }
    void TearDown() override
    {
        frm.reset();
        config::setProgramFolder(QString());
    }

    template <typename Window> Window *openBy(QAction *action, const QString &caption)
    {
        frm->ActionList1Update();
        EXPECT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
        auto *w = qobject_cast<Window *>(frm->findChildByCaption(caption));
        EXPECT_NE(w, nullptr) << caption.toStdString();
        if (w) {
            EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
            frm->mdiArea().setActiveSubWindow(qobject_cast<QMdiSubWindow *>(w->frame()));
        }
        return w;
    }
    void key(int key, const QString &text = {})
    {
        QWidget *target = QApplication::focusWidget();
        ASSERT_NE(target, nullptr);
        QTest::sendKeyEvent(QTest::Click, target, Qt::Key(key), text, Qt::NoModifier);
    }
    QStringList orderFiles() const
    {
        return QDir(dir.filePath(QStringLiteral("Out"))).entryList({QStringLiteral("Z*.dbf")}, QDir::Files);
    }
    static QStringList column(grid::DBGrid *grid, const QString &field)
    {
        return kx::testsupport::columnTexts(*grid, grid->findColumn(field));
    }

    kx::testsupport::LocaleScope locale{kx::testsupport::russian()};
    QTemporaryDir dir;
    platform::fake::FakePlatform fake;
    std::unique_ptr<app::TMainFrm> frm;
};

TEST_F(DemoArchive, AnOrderMadeTodayIsInTheArchiveAndCanBeMadeAndPrintedAgain)
{
    // Order: consignee, markup, two quantities, keyboard only.
    auto *order =
        openBy<ordering::TOrderFrm>(kx::testsupport::named<QAction>(frm, "acnPriceFull"), QStringLiteral("ПРАЙС"));
    ASSERT_NE(order, nullptr);
    for (QComboBox *combo :
         {kx::testsupport::named<QComboBox>(order, "cbPODR"), kx::testsupport::named<QComboBox>(order, "cbPay")}) {
        combo->setFocus();
        key(Qt::Key_Down);
        key(Qt::Key_Down);
    }
    order->dbGrid()->setFocus();
    QStringList names;
    for (const char *quantity : {"2", "5"}) {
        names << order->table()->field(u"NAME").asString().trimmed();
        key(Qt::Key_Return, QStringLiteral("\r"));
        key(Qt::Key_0 + (quantity[0] - '0'), QString::fromLatin1(quantity));
        key(Qt::Key_Return, QStringLiteral("\r"));
        key(Qt::Key_Down);
    }
    ASSERT_EQ(order->orderBarText(5), QStringLiteral("2"));
    order->acnCreateOrderUpdate();
    ASSERT_TRUE(kx::testsupport::named<QAction>(order, "acnCreateOrder")->isEnabled());
    kx::testsupport::named<QAction>(order, "acnCreateOrder")->trigger();
    ASSERT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
    const QStringList files = orderFiles();
    ASSERT_EQ(files.size(), 1);
    EXPECT_EQ(order->orderBarText(5), QStringLiteral("0"));
    frm->mdiArea().closeAllSubWindows();

    // The archive opens on this month: the new order, its positions, statistics.
    auto *archive =
        openBy<windows::TDblGridFrm>(kx::testsupport::named<QAction>(frm, "acnArchive"), QStringLiteral("Архив"));
    ASSERT_NE(archive, nullptr);
    const QDate today = QDate::currentDate();
    EXPECT_EQ(kx::testsupport::named<QComboBox>(archive, "cbYears")->currentText(), QString::number(today.year()));
    EXPECT_EQ(kx::testsupport::named<QComboBox>(archive, "cbMonth")->currentIndex(), today.month() - 1);
    // This month's demo orders, then the new one.
    const QStringList numbers =
        column(kx::testsupport::named<grid::DBGrid>(archive, "DBGridMaster"), QStringLiteral("NumZ"));
    ASSERT_GE(numbers.size(), 2);
    const QString number = numbers.back();
    EXPECT_TRUE(files.front().endsWith(QStringLiteral("_") + number + QStringLiteral(".dbf")))
        << files.front().toStdString();
    kx::testsupport::named<grid::DBGrid>(archive, "DBGridMaster")->setFocus();
    for (int i = 1; i < numbers.size(); ++i)
        key(Qt::Key_Down);
    EXPECT_EQ(column(kx::testsupport::named<grid::DBGrid>(archive, "DBGridDetail"), QStringLiteral("Name")), names);
    EXPECT_EQ(column(kx::testsupport::named<grid::DBGrid>(archive, "DBGridDetail"), QStringLiteral("Qnt")),
              QStringList({"2", "5"}));
    // The demo archive ordered the first price rows before: more than today's order.
    EXPECT_GE(archive->statusPanelText(1).toInt(), 1);
    EXPECT_GE(archive->statusPanelText(3).toInt(), 2);

    // Made again: the same file, now from the archive.
    QFile::remove(dir.filePath(QStringLiteral("Out/") + files.front()));
    QTest::mouseClick(kx::testsupport::named<QToolButton>(archive, "tbCreateOrder"), Qt::LeftButton);
    EXPECT_EQ(frm->statusText(), QStringLiteral("Заказ № %1 сформирован повторно").arg(number));
    EXPECT_EQ(orderFiles(), files);
    EXPECT_EQ(kx::testsupport::readAll(dir.filePath(QStringLiteral("Out/") + files.front())).size(), 2u);

#ifdef KX_PDFTOTEXT
    const QString pdf = dir.filePath(QStringLiteral("archive.pdf"));
    printing::PrinterOverride printer(std::make_shared<printing::PdfPrinter>(pdf));
    printing::PrintPreviewOverride preview(std::make_shared<printing::fake::PrintingPreview>());
    QTest::mouseClick(kx::testsupport::named<QToolButton>(archive, "tbPrintOrder"), Qt::LeftButton);
    QProcess p;
    p.start(QStringLiteral(KX_PDFTOTEXT), {QStringLiteral("-layout"), pdf, QStringLiteral("-")});
    ASSERT_TRUE(p.waitForFinished(30000));
    const QString text = QString::fromUtf8(p.readAllStandardOutput());
    EXPECT_TRUE(text.contains(QStringLiteral("Заказ № _%1_ от").arg(number))) << text.toStdString();
    for (const QString &name : names)
        EXPECT_TRUE(text.contains(name.left(20))) << name.toStdString();
    EXPECT_TRUE(text.contains(QStringLiteral("Итого:")));
#endif
    EXPECT_TRUE(fake.messages().shown.empty()) << fake.messages().texts().join(u'\n').toStdString();
}

} // namespace
