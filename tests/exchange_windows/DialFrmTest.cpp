// The dial-up window with a scripted dialler and real timers.
#include "tests/support/WindowTestSupport.h"

#include "config/PasswordScrambler.h"
#include "exchange_windows/DialUpWindow.h"
#include "exchange_windows/uDialFrm.h"
#include "platform/Dialler.h"

#include <QElapsedTimer>
#include <QListWidget>
#include <QPointer>

using namespace kx::testsupport;
using exchange_windows::TDialFrm;
using platform::fake::DialStep;
namespace dialstate = platform::dialstate;

namespace {

class DialUpWindow : public ProgramFolderFixture {
protected:
    void SetUp() override
    {
        ProgramFolderFixture::SetUp();
        account(QStringLiteral("8-800-100"), QStringLiteral("apteka"), QStringLiteral("secret"));
    }
    void TearDown() override
    {
        main.area.closeAllSubWindows();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        ProgramFolderFixture::TearDown();
    }
    void account(const QString &phone, const QString &user, const QString &password)
    {
        settings().writeString(QStringLiteral("Modem"), QStringLiteral("Phone"), phone);
        settings().writeString(QStringLiteral("Modem"), QStringLiteral("UserName"), user);
        settings().writeString(QStringLiteral("Modem"), QStringLiteral("Password"),
                               config::storedPasswordForm(password));
    }
    TDialFrm *open()
    {
        TDialFrm *w = exchange_windows::OpenDialUpWindow(main);
        EXPECT_TRUE(QTest::qWaitForWindowExposed(w));
        return w;
    }
    // Runs the event loop until the condition holds or the time is up.
    static bool waitFor(const std::function<bool()> &condition, int ms)
    {
        QElapsedTimer clock;
        clock.start();
        while (!condition() && clock.elapsed() < ms)
            QTest::qWait(10);
        return condition();
    }
    static QStringList lines(TDialFrm *w)
    {
        QStringList out;
        for (int i = 0; i < kx::testsupport::named<QListWidget>(w, "InfoBox")->count(); ++i)
            out << kx::testsupport::named<QListWidget>(w, "InfoBox")->item(i)->text();
        return out;
    }
    platform::fake::DialRecord &record() { return *fake.diallers().record; }

    FakeMainFrm main;
};

TEST_F(DialUpWindow, DialsOnceWithTheAccountAndListsItsStates)
{
    fake.diallers().script = {
        {dialstate::kOpenPort, 0, 10}, {dialstate::kAuthenticate, 0, 10}, {dialstate::kConnected, 0, 10}};
    TDialFrm *w = open();
    ASSERT_TRUE(waitFor([&] { return kx::testsupport::named<QListWidget>(w, "InfoBox")->count() == 3; }, 2000));
    EXPECT_EQ(lines(w),
              QStringList({QStringLiteral("Открытие порта"), QStringLiteral("Авторизация на сервере"),
                           QStringLiteral("Подключено")}));
    EXPECT_EQ(kx::testsupport::named<QListWidget>(w, "InfoBox")->currentRow(), 2); // the newest line selected
    ASSERT_EQ(record().dials.size(), 1u);
    EXPECT_EQ(record().dials[0].phoneNumber, QStringLiteral("8-800-100"));
    EXPECT_EQ(record().dials[0].password, QStringLiteral("secret")); // unscrambled
    w->hide();
    w->show(); // activated again: no second dial
    QTest::qWait(20);
    EXPECT_EQ(record().dials.size(), 1u);
    w->closeWindow();
    QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_EQ(record().hangUps, std::vector<int>{3});
}

// What the dial cannot take whole is refused before anything is dialled.
TEST_F(DialUpWindow, IncompleteOrOverlongAccountsDialNothing)
{
    const struct {
        const char *name;
        QString phone, user, password;
        const char *message;
    } cases[] = {
        {"no password", QStringLiteral("1"), QStringLiteral("u"), QString(),
         "Заполните информацию в Настройках->Соединение"},
        {"no phone", QString(), QStringLiteral("u"), QStringLiteral("p"),
         "Заполните информацию в Настройках->Соединение"},
        {"phone over 128", QString(129, u'1'), QStringLiteral("u"), QStringLiteral("p"), "номер телефона длиннее 128"},
        {"user over 256", QStringLiteral("1"), QString(257, u'u'), QStringLiteral("p"), "имя пользователя длиннее 256"},
        {"password over 256", QStringLiteral("1"), QStringLiteral("u"), QString(257, u'p'), "пароль длиннее 256"},
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        account(c.phone, c.user, c.password);
        const qsizetype before = fake.messages().texts().size();
        TDialFrm *w = open();
        ASSERT_TRUE(waitFor([&] { return fake.messages().texts().size() > before; }, 1000));
        EXPECT_TRUE(fake.messages().texts().last().contains(QString::fromUtf8(c.message)))
            << fake.messages().texts().last().toStdString();
        EXPECT_TRUE(record().dials.empty());
        QPointer<TDialFrm> alive(w);
        QTest::qWait(50);
        EXPECT_FALSE(alive.isNull()); // the window stays open
        w->closeWindow();
        QApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_TRUE(record().hangUps.empty()); // nothing dialled, nothing hung up
    }
}

TEST_F(DialUpWindow, FailedDialShowsItsErrorClosesAfterThreeSecondsAndHangsUp)
{
    fake.diallers().script = {{dialstate::kOpenPort, 0, 10}, {77, 0, 10}, {dialstate::kAuthenticate, 691, 10}};
    TDialFrm *w = open();
    QPointer<TDialFrm> alive(w);
    ASSERT_TRUE(waitFor([&] { return kx::testsupport::named<QListWidget>(w, "InfoBox")->count() == 3; }, 2000));
    QElapsedTimer clock;
    clock.start();
    EXPECT_EQ(lines(w),
              QStringList({QStringLiteral("Открытие порта"), QString(),
                           QStringLiteral("Доступ запрещён: неверное имя пользователя или пароль.")}));
    EXPECT_EQ(w->DialState, TDialFrm::Failed);
    EXPECT_TRUE(waitFor([&] { return alive.isNull(); }, 5000));
    EXPECT_GE(clock.elapsed(), 2800);
    EXPECT_EQ(record().hangUps, std::vector<int>{3}); // the failed line is not left open
}

TEST_F(DialUpWindow, RefusalAtOnceIsReportedAndTheWindowStays)
{
    fake.diallers().refusal = 633;
    TDialFrm *w = open();
    ASSERT_TRUE(waitFor([&] { return !fake.messages().errors().isEmpty(); }, 1000));
    EXPECT_EQ(fake.messages().errors().last(),
              QStringLiteral("RAS Error code: 633.\n\"Модем или другое устройство связи уже используется или не "
                             "настроено.\""));
    QPointer<TDialFrm> alive(w);
    QTest::qWait(50);
    EXPECT_FALSE(alive.isNull());
}

// After a transfer: 19, 18, ... seconds in the status line, then the window
// goes, the line is hung up and the status line cleared; a new transfer
// during the countdown stops it and keeps the line.
TEST_F(DialUpWindow, HangUpCountdownAfterATransfer)
{
    fake.diallers().script = {{dialstate::kConnected, 0, 0}};
    TDialFrm *w = open();
    ASSERT_TRUE(waitFor([&] { return kx::testsupport::named<QListWidget>(w, "InfoBox")->count() == 1; }, 1000));
    QPointer<TDialFrm> alive(w);

    w->startHangUpCountdown();
    ASSERT_TRUE(waitFor([&] { return !main.status.isEmpty(); }, 1500));
    EXPECT_EQ(main.status, QStringLiteral("До отключения Интернета осталось 19 секунд"));
    ASSERT_TRUE(waitFor([&] { return main.status.contains(QStringLiteral(" 18 ")); }, 1500));
    w->stopHangUpCountdown(); // a refresh starts
    const QString frozen = main.status;
    QTest::qWait(2200);
    EXPECT_EQ(main.status, frozen);
    EXPECT_FALSE(alive.isNull());
    EXPECT_TRUE(record().hangUps.empty());

    w->startHangUpCountdown(); // the next transfer window closes
    QElapsedTimer clock;
    clock.start();
    ASSERT_TRUE(waitFor([&] { return alive.isNull(); }, 25000));
    EXPECT_GE(clock.elapsed(), 19500);
    EXPECT_TRUE(main.status.isEmpty());
    EXPECT_EQ(record().hangUps, std::vector<int>{3});
}

// The program ending with the line up (its main window destroys the child
// windows without closing them) still hangs it up.
TEST_F(DialUpWindow, ProgramEndHangsUpTheLine)
{
    fake.diallers().script = {{dialstate::kConnected, 0, 0}};
    TDialFrm *w = open();
    ASSERT_TRUE(waitFor([&] { return kx::testsupport::named<QListWidget>(w, "InfoBox")->count() == 1; }, 1000));
    delete w->frame();
    EXPECT_EQ(record().hangUps, std::vector<int>{3});
}

} // namespace
