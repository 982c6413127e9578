// "Обновить", "Сформировать" and "Отправить" over the demo installation
// through the program's main window, against the demo's own file:// root and
// against a real FTP server on 127.0.0.1 serving the same folder.
#include "TransferTestSupport.h"
#include "tests/support/WindowTestSupport.h"

#include "app/MainActions.h"
#include "app/uMainFrm.h"
#include "config/ProgramFiles.h"
#include "demo/DemoDistributor.h"
#include "demo/DemoInstallation.h"
#include "exchange/UploadSteps.h"
#include "exchange_windows/DialUpWindow.h"
#include "exchange_windows/uDialFrm.h"
#include "exchange_windows/uFtpFrm.h"
#include "ordering_windows/uOrderFrm.h"
#include "platform/NetworkManagerDialler.h"
#include "platform/fake/FakePlatform.h"
#include "tables/CodePage.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"

#include <QAction>
#include <QApplication>
#include <QElapsedTimer>
#include <QListWidget>
#include <QMdiArea>
#include <QPointer>
#include <QTest>
#include <QTimer>

#include <map>

namespace {

using namespace transfer_test;

inline void PrintTo(const QString &text, std::ostream *os) { *os << '"' << text.toStdString() << '"'; }

constexpr int kPriceRows = 300;
constexpr int kTransferWaitMs = 30000;

std::map<qint64, double> typedQuantities(const QString &path)
{
    tables::Table t(path);
    t.setReadOnly(true);
    t.open();
    std::map<qint64, double> out;
    for (t.first(); !t.eof(); t.next())
        if (!t.field(u"Zak").isNull() && t.field(u"Zak").asFloat() != 0)
            out[t.field(u"IDRow").asInteger()] = t.field(u"Zak").asFloat();
    return out;
}

struct Server {
    const char *name;
    bool ftp;
    bool passive;
};

class DemoTransfer : public ::testing::TestWithParam<Server> {
protected:
    void SetUp() override
    {
        demo::DemoOptions options;
        options.priceRows = kPriceRows;
        demo::createDemoInstallation(dir.path(), options);
        base = dir.path() + u'/';
        distributor = base + QStringLiteral("distributor/");
        QFile::copy(QStringLiteral(KX_TRANSFER_LIBRARY), base + QStringLiteral("libKXOrder.so"));
        config::setProgramFolder(base);
        tables::setDefaultOpenCodePage(866);
        fake.connectivity().connected = true;
        if (GetParam().ftp)
            serveOver(QStringLiteral("elradfmw"));
        config::IniFile(config::settingsFileName())
            .writeBool(QStringLiteral("FTP"), QStringLiteral("Passive"), GetParam().passive);
    }
    void TearDown() override
    {
        frm.reset();
        config::setProgramFolder(QString());
    }

    // The demo's distributor folder through an FTP server.
    void serveOver(const QString &incomingPerm)
    {
        server.reset();
        server = std::make_unique<FtpServer>(distributor, QStringList{"--incoming-perm", incomingPerm});
        ASSERT_GT(server->port(), 0);
        const config::IniFile ini(base + QStringLiteral("KXOrder.ini"));
        ini.writeString(QStringLiteral("Server"), QStringLiteral("URL"), server->url());
        ini.writeString(QStringLiteral("Server"), QStringLiteral("User"), kUser);
        ini.writeString(QStringLiteral("Server"), QStringLiteral("Password"), config::storedPasswordForm(kPassword));
    }

    void startMainWindow()
    {
        frm = std::make_unique<app::TMainFrm>();
        frm->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(frm.get()));
        QApplication::setActiveWindow(frm.get());
    }
    void trigger(QAction *action)
    {
        frm->ActionList1Update();
        ASSERT_TRUE(action->isEnabled()) << action->objectName().toStdString();
        action->trigger();
    }
    // The transfer window the action opened, once its sequence has ended.
    exchange_windows::TFtpFrm *finishedTransfer()
    {
        exchange_windows::TFtpFrm *w = nullptr;
        const bool done = QTest::qWaitFor(
            [&] {
                w = qobject_cast<exchange_windows::TFtpFrm *>(frm->findChildByCaption(QStringLiteral("FTP")));
                return w && w->Mode == exchange_windows::TFtpFrm::Started && !w->transferRunning();
            },
            kTransferWaitMs);
        EXPECT_TRUE(done) << "the transfer did not end; messages: " << fake.messages().texts().join(u'|').toStdString();
        return done ? w : nullptr;
    }
    QStringList infoLines(exchange_windows::TFtpFrm *w) const
    {
        QStringList out;
        for (int i = 0; w && i < kx::testsupport::named<QListWidget>(w, "InfoBox")->count(); ++i)
            out << kx::testsupport::named<QListWidget>(w, "InfoBox")->item(i)->text();
        return out;
    }
    void waitUntilClosed()
    {
        EXPECT_TRUE(QTest::qWaitFor([&] { return !frm->childExists(QStringLiteral("FTP")); },
                                    exchange_windows::TFtpFrm::kCloseAfterMs + 2000));
    }
    QStringList files(const QString &folder, const QString &pattern) const
    {
        return QDir(folder).entryList({pattern}, QDir::Files);
    }
    // "Сформировать" in the order window over what was typed.
    void createOrder()
    {
        const config::IniFile settings(config::settingsFileName());
        settings.writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), 121);
        settings.writeString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomer"),
                             QStringLiteral("Аптечный пункт №1 (ул. Ленина, 5)"));
        settings.writeInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), 2);
        settings.writeString(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercent"), QStringLiteral("11"));
        trigger(kx::testsupport::named<QAction>(frm, "acnOrder"));
        auto *w = qobject_cast<ordering::TOrderFrm *>(frm->findChildByCaption(QStringLiteral("ЗАКАЗ")));
        ASSERT_NE(w, nullptr);
        ASSERT_TRUE(
            QTest::qWaitFor([&] { return kx::testsupport::named<QAction>(w, "acnCreateOrder")->isEnabled(); }, 3000))
            << fake.messages().texts().join(u'|').toStdString() << frm->statusText().toStdString() << " ids "
            << settings.readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActiveCustomerID"), -5) << " "
            << settings.readInteger(QStringLiteral("ЗАКАЗ"), QStringLiteral("ActivePercentID"), -5) << " table "
            << w->hasTable();
        kx::testsupport::named<QAction>(w, "acnCreateOrder")->trigger();
        w->closeWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ASSERT_FALSE(frm->childExists(QStringLiteral("ЗАКАЗ")));
    }

    QTemporaryDir dir;
    QString base, distributor;
    platform::fake::FakePlatform fake;
    std::unique_ptr<FtpServer> server;
    std::unique_ptr<app::TMainFrm> frm;
};

TEST_P(DemoTransfer, RefreshBringsTheNewerPriceListThenTheOrderGoesOut)
{
    const QString price = base + QStringLiteral("IN/price.dbf");
    {
        tables::Table t(price); // the pharmacist's quantities, typed before the refresh
        t.open();
        int n = 0;
        for (t.first(); !t.eof(); t.next(), ++n)
            if (n % 40 == 3) {
                t.edit();
                t.field(u"Zak").setFloat(n + 1);
                t.post();
            }
    }
    const std::map<qint64, double> typed = typedQuantities(price);
    ASSERT_FALSE(typed.empty());
    const QDateTime before = QDateTime::currentDateTime().addSecs(-1);
    startMainWindow();
    trigger(kx::testsupport::named<QAction>(frm, "acnPriceFull"));
    ASSERT_TRUE(frm->childExists(QStringLiteral("ПРАЙС")));
    const QPointer<exchange_windows::TDialFrm> dial = exchange_windows::OpenDialUpWindow(*frm);

    trigger(kx::testsupport::named<QAction>(frm, "acnRefreshAll"));
    EXPECT_FALSE(frm->childExists(QStringLiteral("ПРАЙС"))) << "closed before the refresh";
    EXPECT_TRUE(frm->childExists(QStringLiteral("Дозвон")));
    exchange_windows::TFtpFrm *w = finishedTransfer();
    ASSERT_NE(w, nullptr);
    EXPECT_TRUE(fake.messages().errors().isEmpty()) << fake.messages().errors().join(u'|').toStdString();
    {
        tables::Table t(price);
        t.setReadOnly(true);
        t.open();
        EXPECT_EQ(int(t.recordCount()), kPriceRows + demo::kNewDrugs) << infoLines(w).join(u'\n').toStdString();
    }
    EXPECT_EQ(typedQuantities(price), typed);
    EXPECT_TRUE(files(base + QStringLiteral("IN"), QStringLiteral("*.old")).isEmpty());
    EXPECT_TRUE(files(distributor + QStringLiteral("price"), QStringLiteral("*")).isEmpty());
    const QDateTime refreshed = config::IniFile(config::settingsFileName())
                                    .readDateTime(QStringLiteral("FTP"), QStringLiteral("LastRefresh"), QDateTime());
    EXPECT_GE(refreshed, before.addSecs(-1)) << refreshed.toString().toStdString();
    waitUntilClosed();
    ASSERT_TRUE(dial);
    EXPECT_TRUE(dial->Timer1.isActive()) << "the hang-up countdown runs";
    EXPECT_EQ(dial->Timer1.interval(), exchange_windows::TDialFrm::kHangUpCountdownMs);

    createOrder();
    const QStringList orders = files(base + QStringLiteral("Out"), QStringLiteral("*.dbf"));
    ASSERT_EQ(orders.size(), 1) << fake.messages().texts().join(u'|').toStdString();
    const QByteArray orderBytes = bytesOf(base + QStringLiteral("Out/") + orders.first());

    fake.messages().answers = {true};
    trigger(kx::testsupport::named<QAction>(frm, "acnSend"));
    ASSERT_FALSE(fake.messages().shown.empty());
    const platform::fake::ShownMessage &question = fake.messages().shown.back();
    EXPECT_EQ(question.title, QStringLiteral("Отправка файлов"));
    EXPECT_EQ(question.text, QStringLiteral("Заявок (1 шт.)\n\rОтправить?"));
    w = finishedTransfer();
    ASSERT_NE(w, nullptr);
    ASSERT_TRUE(dial);
    EXPECT_FALSE(dial->Timer1.isActive()) << "the countdown stops while the next transfer runs";
    EXPECT_EQ(frm->statusText(), QStringLiteral("Заявки отправлены!")) << infoLines(w).join(u'\n').toStdString();
    EXPECT_TRUE(files(base + QStringLiteral("Out"), QStringLiteral("*")).isEmpty());
    const QStringList sent = files(distributor + QStringLiteral("incoming"), QStringLiteral("*"));
    ASSERT_EQ(sent.size(), 1);
    EXPECT_EQ(sent.first(), QStringLiteral("Z12_.zip"));
    const QString copy = dir.filePath(orders.first());
    ASSERT_TRUE(writeBytes(copy, orderBytes));
    EXPECT_TRUE(exchange::packageHolds(distributor + QStringLiteral("incoming/") + sent.first(), copy));
    waitUntilClosed();
}

// No connection: "Обновить" dials first ("Дозвон" shows the states up to
// "Подключено"), runs the transfer once the line is up, and 20 seconds after
// the transfer window closes the line is hung up and the dial-up window gone.
TEST_P(DemoTransfer, RefreshWithoutAConnectionDialsFirstAndHangsUpAfter)
{
    if (GetParam().ftp)
        return; // the dialling does not depend on the server; once is enough
    const config::IniFile settings(config::settingsFileName());
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("Phone"), QStringLiteral("8-800-100"));
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("UserName"), QStringLiteral("apteka"));
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("Password"), config::storedPasswordForm(kPassword));
    fake.connectivity().connected = false;
    fake.diallers().script = {{.state = 0, .error = 0, .delayMs = 10},
                              {.state = 5, .error = 0, .delayMs = 10},
                              {.state = 8192, .error = 0, .delayMs = 10}};
    QTimer::singleShot(400, [this] { fake.connectivity().connected = true; }); // the line is up
    startMainWindow();
    trigger(kx::testsupport::named<QAction>(frm, "acnRefreshAll"));
    const QPointer<exchange_windows::TDialFrm> dial = exchange_windows::findDialUpWindow(*frm);
    ASSERT_TRUE(dial);
    QStringList states;
    for (int i = 0; i < kx::testsupport::named<QListWidget>(dial, "InfoBox")->count(); ++i)
        states << kx::testsupport::named<QListWidget>(dial, "InfoBox")->item(i)->text();
    EXPECT_EQ(states,
              QStringList({QStringLiteral("Открытие порта"), QStringLiteral("Авторизация на сервере"),
                           QStringLiteral("Подключено")}));
    ASSERT_NE(finishedTransfer(), nullptr);
    waitUntilClosed();
    EXPECT_TRUE(dial->Timer1.isActive());
    EXPECT_TRUE(fake.diallers().record->hangUps.empty());
    EXPECT_TRUE(QTest::qWaitFor([&] { return dial.isNull(); }, exchange_windows::TDialFrm::kHangUpCountdownMs + 3000));
    EXPECT_EQ(fake.diallers().record->hangUps, std::vector<int>{3});
    EXPECT_TRUE(frm->statusText().isEmpty());
}

// The real dialler on a machine without NetworkManager: error 633 in
// "Дозвон", then "Нет соединения с интернетом..."; nothing hangs.
TEST_P(DemoTransfer, RefreshWithoutNetworkManagerEndsWithoutAConnection)
{
    if (GetParam().ftp)
        return; // no server is reached; once is enough
    struct NoBusDiallers : platform::DiallerFactory {
        std::unique_ptr<platform::Dialler> create() override
        {
            return std::make_unique<platform::NetworkManagerDialler>(QDBusConnection(QStringLiteral("kx-no-bus")));
        }
    };
    const platform::ServicesOverride noNetworkManager({.diallers = std::make_shared<NoBusDiallers>()});
    const config::IniFile settings(config::settingsFileName());
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("Phone"), QStringLiteral("8-800-100"));
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("UserName"), QStringLiteral("apteka"));
    settings.writeString(QStringLiteral("Modem"), QStringLiteral("Password"), config::storedPasswordForm(kPassword));
    fake.connectivity().connected = false;
    startMainWindow();
    QString lastLine;
    QTimer::singleShot(1000, frm.get(), [&] {
        if (exchange_windows::TDialFrm *dial = exchange_windows::findDialUpWindow(*frm))
            lastLine = kx::testsupport::named<QListWidget>(dial, "InfoBox")->count()
                ? kx::testsupport::named<QListWidget>(dial, "InfoBox")
                      ->item(kx::testsupport::named<QListWidget>(dial, "InfoBox")->count() - 1)
                      ->text()
                : QString();
    });
    QElapsedTimer clock;
    clock.start();
    trigger(kx::testsupport::named<QAction>(frm, "acnRefreshAll"));
    EXPECT_LT(clock.elapsed(), 10000);
    EXPECT_EQ(lastLine, platform::dialErrorText(633));
    EXPECT_EQ(frm->statusText(), QStringLiteral("Нет соединения с интернетом..."));
    EXPECT_FALSE(frm->childExists(QStringLiteral("Дозвон")));
    EXPECT_FALSE(frm->childExists(QStringLiteral("FTP")));
}

INSTANTIATE_TEST_SUITE_P(Servers, DemoTransfer,
                         ::testing::Values(Server{"fileRoot", false, false}, Server{"ftpPassive", true, true},
                                           Server{"ftpActive", true, false}),
                         [](const auto &info) { return std::string(info.param.name); });

} // namespace

namespace {

// Prepared files as the order and prescription windows leave them.
void writePrepared(const QString &out)
{
    using tables::FieldKind;
    for (const char *name : {"Z12_1.dbf", "Z12_2.dbf"})
        tables::createTable(out + QString::fromLatin1(name), 4, {{QStringLiteral("CODEPST"), FieldKind::Integer, 10}},
                            {});
    const QString request = out + QStringLiteral("P12_1.dbf");
    tables::createTable(
        request, 4, {{QStringLiteral("Name"), FieldKind::String, 30}, {QStringLiteral("FIO"), FieldKind::String, 30}},
        {});
    tables::Table t(request);
    t.open();
    for (const char *fio : {"Иванов", "Петров", "Сидоров"}) {
        t.append();
        t.field(u"Name").setString(QStringLiteral("Аспирин"));
        t.field(u"FIO").setString(QString::fromUtf8(fio));
        t.post();
    }
}

} // namespace

TEST_P(DemoTransfer, AFailedUploadKeepsThePackageAndTheNextSendOffersTheSameFiles)
{
    const QString out = base + QStringLiteral("Out/");
    writePrepared(out);
    std::map<QString, QByteArray> prepared;
    for (const QString &name : files(out, QStringLiteral("*.dbf")))
        prepared[name] = bytesOf(out + name);
    const QString incoming = distributor + QStringLiteral("incoming");
    if (GetParam().ftp)
        serveOver(QStringLiteral("elr")); // the server refuses to store
    else
        ASSERT_TRUE(QDir(distributor).rename(QStringLiteral("incoming"), QStringLiteral("incoming-away")));
    startMainWindow();

    const QString question = QStringLiteral("Аспирин, Иванов ;\n\rАспирин, Петров ;\n\rАспирин, Сидоров ;\n\r\n\r"
                                            "Заявок производственного отд. (1 шт.)\n\rЗаявок (2 шт.)\n\rОтправить?");
    fake.messages().answers = {true};
    trigger(kx::testsupport::named<QAction>(frm, "acnSend"));
    ASSERT_FALSE(fake.messages().shown.empty());
    EXPECT_EQ(fake.messages().shown.back().text, question);
    exchange_windows::TFtpFrm *w = finishedTransfer();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frm->statusText(), QStringLiteral("Повторите отправку заявок!"));
    EXPECT_EQ(files(out, QStringLiteral("*")), QStringList{QStringLiteral("Z12_.zip")});
    waitUntilClosed();

    if (GetParam().ftp)
        serveOver(QStringLiteral("elradfmw"));
    else
        ASSERT_TRUE(QDir(distributor).rename(QStringLiteral("incoming-away"), QStringLiteral("incoming")));
    fake.messages().shown.clear();
    fake.messages().answers = {true};
    trigger(kx::testsupport::named<QAction>(frm, "acnSend"));
    ASSERT_FALSE(fake.messages().shown.empty());
    EXPECT_EQ(fake.messages().shown.back().text, question) << "the same orders, offered again";
    w = finishedTransfer();
    ASSERT_NE(w, nullptr);
    EXPECT_EQ(frm->statusText(), QStringLiteral("Заявки отправлены!")) << infoLines(w).join(u'\n').toStdString();
    EXPECT_TRUE(files(out, QStringLiteral("*")).isEmpty());
    ASSERT_EQ(files(incoming, QStringLiteral("*")), QStringList{QStringLiteral("Z12_.zip")});
    for (const auto &[name, bytes] : prepared) {
        ASSERT_TRUE(writeBytes(dir.filePath(name), bytes));
        EXPECT_TRUE(exchange::packageHolds(incoming + QStringLiteral("/Z12_.zip"), dir.filePath(name)))
            << name.toStdString();
    }
    waitUntilClosed();
}
