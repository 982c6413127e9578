#include "platform/fake/FakePlatform.h"
#include "platform_widgets/ErrorReportingApplication.h"

#include <QCoreApplication>
#include <QEvent>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

const QEvent::Type kThrowEvent = QEvent::Type(QEvent::User + 1);

class ThrowingObject : public QObject {
public:
    int handled = 0;
    bool event(QEvent *e) override
    {
        if (e->type() == kThrowEvent) {
            ++handled;
            throw std::runtime_error("Не найден файл /x/price.dbf");
        }
        return QObject::event(e);
    }
};

TEST(ErrorReport, ErrorEscapingAnEventHandlerIsShownAndTheProgramGoesOn)
{
    platform::fake::FakePlatform fake;
    ThrowingObject object;
    QEvent first(kThrowEvent);
    EXPECT_FALSE(QCoreApplication::sendEvent(&object, &first));
    QEvent second(kThrowEvent);
    QCoreApplication::sendEvent(&object, &second);
    EXPECT_EQ(object.handled, 2);
    EXPECT_EQ(
        fake.messages().errors(),
        QStringList({QStringLiteral("Не найден файл /x/price.dbf"), QStringLiteral("Не найден файл /x/price.dbf")}));
}

TEST(ErrorReport, ErrorInAClickHandlerInsideTheEventLoopLeavesTheLoopRunning)
{
    platform::fake::FakePlatform fake;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw std::logic_error("boom"); });
    bool afterwards = false;
    QTimer::singleShot(0, &button, [&] { button.click(); });
    QTimer::singleShot(0, &button, [&] {
        afterwards = true;
        QCoreApplication::exit(0);
    });
    EXPECT_EQ(QCoreApplication::exec(), 0);
    EXPECT_TRUE(afterwards);
    EXPECT_EQ(fake.messages().errors(), QStringList({QStringLiteral("boom")}));
}

TEST(ErrorReport, AnythingThrownThatIsNoExceptionIsReportedToo)
{
    platform::fake::FakePlatform fake;
    QPushButton button;
    QObject::connect(&button, &QPushButton::clicked, [] { throw 42; });
    QTimer::singleShot(0, &button, [&] { button.click(); });
    QTimer::singleShot(0, &button, [] { QCoreApplication::exit(0); });
    QCoreApplication::exec();
    ASSERT_EQ(fake.messages().errors().size(), 1);
}

TEST(ErrorReport, AnErrorWhileTheReportIsShownIsNotReportedAgain)
{
    platform::fake::FakePlatform fake;
    ThrowingObject inner;
    int reports = 0;
    fake.messages().onShown = [&](const platform::fake::ShownMessage &) {
        ++reports;
        QEvent again(kThrowEvent);
        QCoreApplication::sendEvent(&inner, &again);
    };
    ThrowingObject outer;
    QEvent e(kThrowEvent);
    QCoreApplication::sendEvent(&outer, &e);
    EXPECT_EQ(reports, 1);
    EXPECT_EQ(inner.handled, 1);
}

} // namespace
