#include "windows/IdleActionUpdater.h"

#include "platform/MessageService.h"
#include "platform/Services.h"
#include "platform/fake/FakePlatform.h"

#include <QAction>
#include <QApplication>
#include <QEventLoop>
#include <QTimer>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

using Idle = windows::IdleActionUpdater::Idle;

// The main window's report: a message box.
void showError(const QString &message) { platform::messages().showError(message); }

// Lets the event loop run until the update count reaches `count` (bounded).
void runUntil(const int &updates, int count)
{
    for (int i = 0; i < 50 && updates < count; ++i)
        QApplication::processEvents();
}

// Until the event loop has nothing left to do and blocks, as an idle program does.
void waitForInput()
{
    QEventLoop loop;
    QTimer::singleShot(20, &loop, &QEventLoop::quit);
    loop.exec();
}

TEST(IdleActionUpdater, RunsOnceTheEventsOfAWindowChangeAreHandled)
{
    int updates = 0;
    windows::IdleActionUpdater updater(
        Idle::AfterEvents, [&] { ++updates; }, &showError);
    updater.start();
    QWidget window;
    window.show(); // a window change: an update follows when the loop is idle
    runUntil(updates, 1);
    EXPECT_GE(updates, 1);
    const int before = updates;
    updater.requestUpdate();
    updater.requestUpdate(); // a burst of requests is one update
    runUntil(updates, before + 1);
    QApplication::processEvents();
    EXPECT_EQ(updates, before + 1);
}

TEST(IdleActionUpdater, TwoUpdatersDoNotWakeEachOther)
{
    int first = 0;
    int second = 0;
    windows::IdleActionUpdater one(
        Idle::AfterEvents, [&] { ++first; }, &showError);
    windows::IdleActionUpdater two(
        Idle::AfterEvents, [&] { ++second; }, &showError);
    one.start();
    two.start();
    one.requestUpdate();
    for (int i = 0; i < 20; ++i)
        QApplication::processEvents();
    EXPECT_EQ(first, 1);
    EXPECT_EQ(second, 0);
}

TEST(IdleActionUpdater, EveryWaitRunsWhenTheLoopWaitsOnly)
{
    int updates = 0;
    windows::IdleActionUpdater updater(
        Idle::EveryWait, [&] { ++updates; }, &showError);
    waitForInput();
    EXPECT_EQ(updates, 0); // not started yet
    updater.start();
    QApplication::processEvents(); // does not wait
    EXPECT_EQ(updates, 0);
    waitForInput();
    EXPECT_GE(updates, 1);
}

TEST(IdleActionUpdater, AnErrorThatKeepsComingBackIsShownOnce)
{
    platform::fake::FakePlatform fake;
    int updates = 0;
    bool failing = true;
    windows::IdleActionUpdater updater(
        Idle::AfterEvents,
        [&] {
            ++updates;
            if (failing)
                throw std::runtime_error("Не найден файл /x/price.dbf");
        },
        &showError);
    updater.start();
    for (int round = 1; round <= 3; ++round) {
        updater.requestUpdate();
        runUntil(updates, round);
    }
    EXPECT_EQ(fake.messages().errors().size(), 1);
    failing = false;
    updater.requestUpdate();
    runUntil(updates, 4);
    failing = true;
    updater.requestUpdate();
    runUntil(updates, 5);
    EXPECT_EQ(fake.messages().errors().size(), 2); // shown again after a good update
}

// A child window sets its actions in guarded parts of the update: a failing
// part disables its actions and is reported once, though the update as a
// whole goes on; it is reported again only after an update where every part
// went well.
TEST(IdleActionUpdater, AFailingPartDisablesItsActionsAndIsReportedOnce)
{
    QAction failingAction(QStringLiteral("А"));
    QAction goodAction(QStringLiteral("Б"));
    QStringList reports;
    bool failing = true;
    windows::IdleActionUpdater *self = nullptr;
    windows::IdleActionUpdater updater(
        Idle::EveryWait,
        [&] {
            self->run({&failingAction}, [&] {
                if (failing)
                    throw std::runtime_error("Таблица повреждена");
                failingAction.setEnabled(true);
            });
            self->run(goodAction, [] { return true; });
        },
        [&](const QString &text) { reports << text; });
    self = &updater;
    struct Step {
        const char *name;
        bool failing;
        bool failingEnabled;
        int reports;
    };
    const Step steps[] = {
        {"the first failure is reported", true, false, 1},
        {"the same again is not", true, false, 1},
        {"a good update", false, true, 1},
        {"the failure after it is reported again", true, false, 2},
    };
    for (const Step &s : steps) {
        SCOPED_TRACE(s.name);
        failing = s.failing;
        updater.update();
        EXPECT_EQ(failingAction.isEnabled(), s.failingEnabled);
        EXPECT_TRUE(goodAction.isEnabled());
        EXPECT_EQ(reports.size(), s.reports);
    }
    EXPECT_EQ(reports.value(0), QStringLiteral("Таблица повреждена"));
}

} // namespace
