#include "app/IdleActionUpdater.h"
#include "platform/fake/FakePlatform.h"

#include <QApplication>
#include <QWidget>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

// Lets the event loop run until the update count reaches `count` (bounded).
void runUntil(const int &updates, int count)
{
    for (int i = 0; i < 50 && updates < count; ++i)
        QApplication::processEvents();
}

TEST(IdleActionUpdater, RunsOnceTheEventsOfAWindowChangeAreHandled)
{
    int updates = 0;
    app::IdleActionUpdater updater([&] { ++updates; });
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

TEST(IdleActionUpdater, AnErrorThatKeepsComingBackIsShownOnce)
{
    platform::fake::FakePlatform fake;
    int updates = 0;
    bool failing = true;
    app::IdleActionUpdater updater([&] {
        ++updates;
        if (failing)
            throw std::runtime_error("Не найден файл /x/price.dbf");
    });
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

} // namespace
