#pragma once

#include "ActionUpdateGuard.h"

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>
#include <initializer_list>

class QAction;

namespace windows {

// Runs a window's enabling rules whenever the application becomes idle, and
// soon after requestUpdate(). Nothing the rules raise leaves the event loop:
// the built-in guard disables the actions a guarded run names and reports the
// error once (again only after an update that went well).
//
// Two kinds of idle: rules as cheap as a child window's run each time the
// event loop is about to wait for input; the main window's, which read the
// disk, run once for each burst of events after which a state may have
// changed (input, window changes, timers), and at least once a second for
// changes from outside (files, network) that no event announces.
class IdleActionUpdater : public QObject {
public:
    enum class Idle { EveryWait, AfterEvents };
    using Report = ActionUpdateGuard::Report;

    IdleActionUpdater(Idle idle, std::function<void()> update, Report report, QObject *parent = nullptr);
    ~IdleActionUpdater() override;

    // Follows the application's idle time from now on; a window starts it
    // once it is built. Before, only requestUpdate() and update() run it.
    void start();

    // An update once the events of the moment are handled.
    void requestUpdate();
    // The update at once.
    void update() noexcept;

    // Guarded runs for the update's own parts (see ActionUpdateGuard). Inside
    // an update, the update goes well only when all of them did.
    void run(QAction &action, const std::function<bool()> &rule) noexcept { guard_.run(action, rule); }
    void run(std::initializer_list<QAction *> actions, const std::function<void()> &part) noexcept
    {
        guard_.run(actions, part);
    }
    void note(const QString &reason) { guard_.note(reason); }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    Idle idle_;
    std::function<void()> update_;
    ActionUpdateGuard guard_;
    QTimer soon_;
    QTimer heartbeat_;
    bool running_ = false;
};

} // namespace windows
