// The transfer window, the deletion window and the send and connection steps
// over a program folder with the real transfer library in it.
#include "TransferTestSupport.h"
#include "tests/support/WindowTestSupport.h"

#include "exchange/ExchangeFeedback.h"
#include "exchange/PackageZip.h"
#include "exchange_windows/DialUpWindow.h"
#include "exchange_windows/TransferActions.h"
#include "exchange_windows/uDeleteSend.h"
#include "exchange_windows/uDialFrm.h"
#include "exchange_windows/uFtpFrm.h"

#include <QListWidget>
#include <QPushButton>
#include <QSignalSpy>
#include <QTreeWidget>
#include <QUrl>

namespace {

using kx::testsupport::Column;
using kx::testsupport::createTable;
using kx::testsupport::FakeMainFrm;
using windows::WorkFolder;
using K = tables::FieldKind;

struct CountingMain : FakeMainFrm {
    void rebuildTableMenus() override { ++rebuilt; }
    int rebuilt = 0;
};

struct NoFeedback : exchange::ExchangeFeedback {
    void setStatusText(const QString &) override {}
    void showMessage(const QString &) override {}
};

class TransferWindow : public kx::testsupport::ProgramFolderFixture {
public:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        const QString base = dir.path() + u'/';
        const std::pair<WorkFolder, const char *> folders[] = {
            {WorkFolder::Price, "IN"},           {WorkFolder::Orders, "Out"},
            {WorkFolder::Invoices, "Invoice"},   {WorkFolder::References, "Reference"},
            {WorkFolder::Archive, "Archiv"},     {WorkFolder::Prescriptions, "Prescription"},
            {WorkFolder::Narcotics, "Outboundn"}};
        for (const auto &[which, name] : folders) {
            QDir().mkpath(base + QString::fromLatin1(name));
            main.folders[which] = base + QString::fromLatin1(name) + u'/';
        }
        QFile::copy(QStringLiteral(KX_TRANSFER_LIBRARY), base + QStringLiteral("libKXOrder.so"));
        const config::IniFile ini(base + QStringLiteral("KXOrder.ini"));
        ini.writeString(QStringLiteral("Server"), QStringLiteral("URL"), QStringLiteral("ftp://127.0.0.1:1/"));
        ini.writeInteger(QStringLiteral("Timeouts"), QStringLiteral("Connect"), 2);
        // The active customer may receive narcotics, so that folder stays.
        createTable(folder(WorkFolder::Narcotics) + "CustomerN.dbf", {{"ID", K::Integer}, {"Value1", K::Integer}},
                    {{{"ID", 5}, {"Value1", 1}}});
        settings().writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), 5);
    }
    QString folder(WorkFolder which) const { return main.folders.value(which); }

    // A package of one small table in the folder.
    void package(WorkFolder which, const QString &table)
    {
        QTemporaryDir work;
        createTable(work.filePath(table), {{"Name", K::String}}, {{{"Name", QStringLiteral("x")}}});
        const QString zip = exchange::ZipFiles(work.filePath(table), 8, QString(), -1, feedback);
        ASSERT_TRUE(QFile::rename(zip, folder(which) + QFileInfo(table).completeBaseName() + ".zip"));
    }

    exchange_windows::TFtpFrm *runTransfer(bool fetch, bool invoices)
    {
        auto *w = exchange_windows::OpenTransferWindow(main, fetch, invoices);
        QSignalSpy done(w, &exchange_windows::TFtpFrm::transferDone);
        EXPECT_TRUE(done.wait(20000));
        return w;
    }

    CountingMain main;
    NoFeedback feedback;
};

TEST_F(TransferWindow, AFetchThatFailsKeepsThePriceTablesAndUnpacksEverythingElse)
{
    createTable(folder(WorkFolder::Price) + "price.dbf", {{"Name", K::String}}, {{{"Name", QStringLiteral("old")}}});
    createTable(folder(WorkFolder::Price) + "PriceN.dbf", {{"Name", K::String}}, {});
    const QByteArray price = kx::testsupport::fileBytes(folder(WorkFolder::Price) + "price.dbf");
    package(WorkFolder::Price, "price.dbf");
    package(WorkFolder::References, "Firms.dbf");
    package(WorkFolder::Archive, "Archiv.dbf"); // SubCustomer.dbf is absent: the single id -1
    exchange_windows::TDialFrm *dial = exchange_windows::OpenDialUpWindow(main);

    exchange_windows::TFtpFrm *w = runTransfer(true, false);
    EXPECT_TRUE(fake.messages().errors().isEmpty()) << fake.messages().errors().join(u'|').toStdString();
    EXPECT_EQ(kx::testsupport::fileBytes(folder(WorkFolder::Price) + "price.dbf"), price);
    EXPECT_EQ(QDir(folder(WorkFolder::Price)).entryList(QDir::Files, QDir::Name),
              QStringList({"PriceN.dbf", "price.dbf"}));
    EXPECT_TRUE(QFile::exists(folder(WorkFolder::References) + "Firms.dbf"));
    EXPECT_TRUE(QFile::exists(folder(WorkFolder::Archive) + "Archiv.dbf"));
    EXPECT_EQ(main.rebuilt, 1);
    QStringList lines;
    for (int i = 0; i < kx::testsupport::named<QListWidget>(w, "InfoBox")->count(); ++i)
        lines << kx::testsupport::named<QListWidget>(w, "InfoBox")->item(i)->text();
    EXPECT_TRUE(lines.join(u'\n').contains(QStringLiteral("Ошибка"))) << lines.join(u'\n').toStdString();

    // Its closing starts the dial-up window's hang-up countdown.
    EXPECT_TRUE(w->Timer1.isActive());
    ASSERT_TRUE(QTest::qWaitFor([&] { return !main.childExists(QStringLiteral("FTP")); }, 5000));
    EXPECT_TRUE(dial->Timer1.isActive());
    EXPECT_EQ(dial->Timer1.interval(), exchange_windows::TDialFrm::kHangUpCountdownMs);
}

TEST_F(TransferWindow, ANewPriceListReplacesItsTableAndTheOtherTablesComeBack)
{
    const QString server = dir.path() + "/server/";
    QDir().mkpath(server + "price");
    config::IniFile(dir.filePath("KXOrder.ini")).writeString("Server", "URL", QUrl::fromLocalFile(server).toString());
    createTable(folder(WorkFolder::Price) + "price.dbf", {{"Name", K::String}}, {{{"Name", QStringLiteral("old")}}});
    createTable(folder(WorkFolder::Price) + "Other.dbf", {{"Name", K::String}}, {{{"Name", QStringLiteral("o")}}});
    const QByteArray other = kx::testsupport::fileBytes(folder(WorkFolder::Price) + "Other.dbf");
    QTemporaryDir work;
    createTable(work.filePath("price.dbf"), {{"Name", K::String}},
                {{{"Name", QStringLiteral("new")}}, {{"Name", QStringLiteral("newer")}}});
    ASSERT_TRUE(QFile::rename(exchange::ZipFiles(work.filePath("price.dbf"), 8, QString(), -1, feedback),
                              server + "price/price.zip"));

    runTransfer(true, false);
    EXPECT_TRUE(fake.messages().errors().isEmpty()) << fake.messages().errors().join(u'|').toStdString();
    EXPECT_EQ(QDir(folder(WorkFolder::Price)).entryList(QDir::Files, QDir::Name),
              QStringList({"Other.dbf", "price.dbf"}));
    EXPECT_EQ(kx::testsupport::fileBytes(folder(WorkFolder::Price) + "Other.dbf"), other);
    tables::Table price(folder(WorkFolder::Price) + "price.dbf");
    price.open();
    EXPECT_EQ(price.recordCount(), 2u);
    EXPECT_FALSE(QFile::exists(server + "price/price.zip"));
}

TEST_F(TransferWindow, WhileTheLibraryWaitsTheWindowAnswersButCannotBeClosedOrRunAgain)
{
    transfer_test::FtpServer silent(dir.path(), {"--silent"});
    ASSERT_GT(silent.port(), 0);
    const config::IniFile ini(dir.filePath("KXOrder.ini"));
    ini.writeString("Server", "URL", silent.url());
    ini.writeInteger("Timeouts", "Response", 2);
    auto *w = exchange_windows::OpenTransferWindow(main, true, false);
    QSignalSpy done(w, &exchange_windows::TFtpFrm::transferDone);
    ASSERT_TRUE(QTest::qWaitFor(
        [&] { return w->transferRunning() && kx::testsupport::named<QListWidget>(w, "InfoBox")->count() > 0; }, 5000));
    w->closeWindow();
    QTest::qWait(50);
    EXPECT_TRUE(main.childExists(QStringLiteral("FTP")));
    EXPECT_EQ(main.status, QStringLiteral("Дождитесь окончания обмена"));
    w->hide();
    w->show(); // shown again: Mode 2, no second transfer
    ASSERT_TRUE(done.wait(10000));
    EXPECT_EQ(done.count(), 1);
    EXPECT_TRUE(w->Timer1.isActive());
}

TEST_F(TransferWindow, MissingLibraryIsReportedAndNothingIsPacked)
{
    QFile::remove(dir.filePath("libKXOrder.so"));
    createTable(folder(WorkFolder::Orders) + "Z12_1.dbf", {{"Name", K::String}}, {});
    exchange_windows::TFtpFrm *w = runTransfer(false, false);
    ASSERT_EQ(fake.messages().errors().size(), 1);
    EXPECT_TRUE(fake.messages().errors().first().contains(dir.filePath("libKXOrder.so")))
        << fake.messages().errors().first().toStdString();
    EXPECT_TRUE(QFile::exists(folder(WorkFolder::Orders) + "Z12_1.dbf"));
    EXPECT_FALSE(w->Timer1.isActive()) << "the window stays open";
}

TEST_F(TransferWindow, SendCountsOnlyPreparedFilesAndRestoresALeftPackage)
{
    const struct Case {
        const char *name;
        std::function<void(TransferWindow &)> prepare;
        QString question; // empty: nothing is asked
    } cases[] = {
        {"neither .dbf nor .zip",
         [](TransferWindow &t) {
             ASSERT_TRUE(transfer_test::writeBytes(t.folder(WorkFolder::Orders) + "note.txt", "x"));
         },
         {}},
        {"only the package of a failed upload", [](TransferWindow &t) { t.package(WorkFolder::Orders, "Z12_7.dbf"); },
         QStringLiteral("Заявок (1 шт.)\n\rОтправить?")},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        QDir(folder(WorkFolder::Orders)).removeRecursively();
        QDir().mkpath(folder(WorkFolder::Orders));
        c.prepare(*this);
        fake.messages().shown.clear();
        fake.messages().answers = {false};
        exchange_windows::acnSendExecute(main);
        QStringList questions;
        for (const auto &m : fake.messages().shown)
            if (m.kind == platform::fake::ShownMessage::Kind::Question)
                questions << m.text;
        EXPECT_EQ(questions, c.question.isEmpty() ? QStringList() : QStringList{c.question});
        EXPECT_TRUE(QDir(folder(WorkFolder::Orders)).entryList({"*.zip"}, QDir::Files).isEmpty());
        EXPECT_FALSE(main.childExists(QStringLiteral("FTP")));
    }
    EXPECT_TRUE(QFile::exists(folder(WorkFolder::Orders) + "Z12_7.dbf"));
}

TEST_F(TransferWindow, NoConnectionAndAFailedDialEndWithTheStatusLine)
{
    settings().writeString(QStringLiteral("Modem"), QStringLiteral("Phone"), QStringLiteral("1"));
    settings().writeString(QStringLiteral("Modem"), QStringLiteral("UserName"), QStringLiteral("u"));
    settings().writeString(QStringLiteral("Modem"), QStringLiteral("Password"), QStringLiteral("p"));
    fake.connectivity().connected = false;
    fake.diallers().script = {{.state = 1, .error = 678, .delayMs = 10}};
    exchange_windows::acnRefreshInvExecute(main);
    EXPECT_EQ(main.status, QStringLiteral("Нет соединения с интернетом..."));
    EXPECT_FALSE(main.childExists(QStringLiteral("FTP")));
    EXPECT_FALSE(main.childExists(QStringLiteral("Дозвон")));
}

class DeleteSendWindow : public TransferWindow {
protected:
    void SetUp() override
    {
        TransferWindow::SetUp();
        createTable(folder(WorkFolder::Orders) + "Z12_1.dbf", {{"Name", K::String}},
                    {{{"Name", QStringLiteral("a")}}, {{"Name", QStringLiteral("b")}}});
        createTable(folder(WorkFolder::Orders) + "P12_1.dbf", {{"Name", K::String}, {"FIO", K::String}},
                    {{{"Name", QStringLiteral("a")}, {"FIO", QStringLiteral("b")}}});
        createTable(folder(WorkFolder::Orders) + "p12_2.dbf", {{"Name", K::String}, {"FIO", K::String}}, {});
        w = exchange_windows::OpenDeleteSendWindow(main);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
    }
    QStringList column(int c) const
    {
        QStringList out;
        for (int row = 0; row < w->LView->topLevelItemCount(); ++row)
            out << w->LView->topLevelItem(row)->text(c);
        return out;
    }
    void checkRow(int row)
    {
        w->LView->setFocus();
        w->LView->setCurrentItem(w->LView->topLevelItem(row), 0);
        QTest::keyClick(w->LView, Qt::Key_Space);
    }
    exchange_windows::TDeleteSend *w = nullptr;
};

TEST_F(DeleteSendWindow, ListsThePreparedFilesWithTypeAndRecordCount)
{
    const QString out = folder(WorkFolder::Orders);
    EXPECT_EQ(column(0), QStringList({out + "P12_1.dbf", out + "p12_2.dbf", out + "Z12_1.dbf"}));
    EXPECT_EQ(column(1), QStringList({QStringLiteral("Рецепты"), QString(), QStringLiteral("Заявка")}));
    EXPECT_EQ(column(3), QStringList({"1", "0", "2"}));
    EXPECT_EQ(w->LView->headerItem()->text(3), QStringLiteral("Кол. позиций"));
}

TEST_F(DeleteSendWindow, DeletesTheCheckedFilesAfterTheQuestionAndListsAgain)
{
    const QString out = folder(WorkFolder::Orders);
    const struct Case {
        const char *name;
        int checkedRow; // -1: none
        bool answer;
        QStringList left;
    } cases[] = {
        {"no box checked, Yes", -1, true, {"P12_1.dbf", "Z12_1.dbf", "p12_2.dbf"}},
        {"a box checked, No", 2, false, {"P12_1.dbf", "Z12_1.dbf", "p12_2.dbf"}},
        {"a box checked, Yes", 2, true, {"P12_1.dbf", "p12_2.dbf"}},
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        if (c.checkedRow >= 0)
            checkRow(c.checkedRow);
        fake.messages().shown.clear();
        fake.messages().answers = {c.answer};
        QTest::mouseClick(w->btDel, Qt::LeftButton);
        ASSERT_EQ(fake.messages().shown.size(), 1u);
        EXPECT_EQ(fake.messages().shown.front().text, QStringLiteral("Удалить выбранные файлы?"));
        EXPECT_EQ(fake.messages().shown.front().title, QStringLiteral("Удаление файлов"));
        EXPECT_EQ(QDir(out).entryList(QDir::Files, QDir::Name), c.left);
        EXPECT_EQ(w->LView->topLevelItemCount(), c.left.size());
        if (!c.answer && c.checkedRow >= 0)
            checkRow(c.checkedRow); // undone for the next case
    }
    QTest::mouseClick(w->btCancel, Qt::LeftButton);
    EXPECT_TRUE(QTest::qWaitFor([&] { return !main.childExists(QStringLiteral("Удаление")); }, 2000));
}

} // namespace
