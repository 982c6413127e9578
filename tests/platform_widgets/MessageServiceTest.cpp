#include "platform/MessageService.h"
#include "platform/Services.h"
#include "platform/fake/FakePlatform.h"
#include "platform_widgets/QtMessageService.h"

#include <QAbstractButton>
#include <QApplication>
#include <QMessageBox>
#include <QTimer>

#include <gtest/gtest.h>

namespace {

struct SeenBox {
    QString title;
    QString text;
    QMessageBox::Icon icon = QMessageBox::NoIcon;
    QMessageBox::StandardButtons buttons;
};

// Presses `button` on the next message box that opens and records what it showed.
void pressOnNextBox(QMessageBox::StandardButton button, SeenBox &seen)
{
    QTimer::singleShot(0, [button, &seen] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        ASSERT_NE(box, nullptr);
        seen = {box->windowTitle(), box->text(), box->icon(), box->standardButtons()};
        box->button(button)->click();
    });
}

TEST(QtMessageService, QuestionShowsTitleTextIconAndYesNo)
{
    platform::QtMessageService service;
    SeenBox seen;
    pressOnNextBox(QMessageBox::Yes, seen);
    EXPECT_TRUE(service.askYesNo(QStringLiteral("Отправить заказы?"), QStringLiteral("Отправка файлов"),
                                 platform::MessageIcon::Question));
    EXPECT_EQ(seen.title, QStringLiteral("Отправка файлов"));
    EXPECT_EQ(seen.text, QStringLiteral("Отправить заказы?"));
    EXPECT_EQ(seen.icon, QMessageBox::Question);
    EXPECT_EQ(seen.buttons, QMessageBox::Yes | QMessageBox::No);

    pressOnNextBox(QMessageBox::No, seen);
    EXPECT_FALSE(
        service.askYesNo(QStringLiteral("Разорвать?"), QStringLiteral("KXOrders"), platform::MessageIcon::None));
    EXPECT_EQ(seen.icon, QMessageBox::NoIcon);
}

TEST(QtMessageService, NoticeIsTitledWithTheApplicationTitle)
{
    QApplication::setApplicationDisplayName(QStringLiteral("ЗАКАЗ \"ОРЕЛИКС\""));
    platform::QtMessageService service;
    SeenBox seen;
    pressOnNextBox(QMessageBox::Ok, seen);
    service.showMessage(QStringLiteral("Необходимо перезагрузить компьютер"));
    EXPECT_EQ(seen.text, QStringLiteral("Необходимо перезагрузить компьютер"));
    EXPECT_EQ(seen.buttons, QMessageBox::Ok);
    EXPECT_TRUE(seen.title.contains(QStringLiteral("ЗАКАЗ \"ОРЕЛИКС\""))) << seen.title.toStdString();
}

TEST(QtMessageService, NextAnswerHookAnswersOneBoxWithoutShowingIt)
{
    platform::QtMessageService service;
    platform::QtMessageService::setNextAnswer(platform::QtMessageService::Answer::Yes);
    EXPECT_TRUE(service.askYesNo(QStringLiteral("?"), QStringLiteral("KXOrders"), platform::MessageIcon::Question));
    platform::QtMessageService::setNextAnswer(platform::QtMessageService::Answer::No);
    EXPECT_FALSE(service.askYesNo(QStringLiteral("?"), QStringLiteral("KXOrders"), platform::MessageIcon::Question));
    // The hook is used up: the next box is shown again.
    SeenBox seen;
    pressOnNextBox(QMessageBox::Yes, seen);
    EXPECT_TRUE(service.askYesNo(QStringLiteral("again"), QStringLiteral("KXOrders"), platform::MessageIcon::Question));
    EXPECT_EQ(seen.text, QStringLiteral("again"));
}

TEST(ServicesOverride, FakesAreInstalledForTheirLifetimeOnly)
{
    platform::MessageService *before = &platform::messages();
    {
        platform::fake::FakePlatform fake;
        EXPECT_EQ(&platform::messages(), &fake.messages());
        fake.messages().answers = {true, false};
        EXPECT_TRUE(
            platform::messages().askYesNo(QStringLiteral("a"), QStringLiteral("t"), platform::MessageIcon::None));
        EXPECT_FALSE(
            platform::messages().askYesNo(QStringLiteral("b"), QStringLiteral("t"), platform::MessageIcon::None));
        ASSERT_EQ(fake.messages().shown.size(), 2u);
        EXPECT_EQ(fake.messages().shown[1].title, QStringLiteral("t"));
    }
    EXPECT_EQ(&platform::messages(), before);
    EXPECT_NE(dynamic_cast<platform::QtMessageService *>(&platform::messages()), nullptr);
}

} // namespace
