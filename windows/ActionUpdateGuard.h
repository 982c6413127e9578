#pragma once

#include <QString>

#include <functional>
#include <initializer_list>

class QAction;

namespace windows {

// Runs an action's enabling rule from an idle or update hook. Nothing the
// rule raises leaves the hook: the action is disabled and the error is
// reported once (again only after a run that went well), so a damaged
// reference table never ends the program nor floods the status line. A run
// inside another run is a part of it: the outer run went well only when
// every part did.
class ActionUpdateGuard {
public:
    using Report = std::function<void(const QString &)>;
    explicit ActionUpdateGuard(Report report) : report_(std::move(report)) {}

    // rule gives the enabled state; it may call note() to say why it is off.
    void run(QAction &action, const std::function<bool()> &rule) noexcept;
    // update sets the states of several actions; an error disables them all.
    void run(std::initializer_list<QAction *> actions, const std::function<void()> &update) noexcept;
    // A reason the action is off, reported when it differs from the last one.
    void note(const QString &reason);

private:
    void failed(std::initializer_list<QAction *> actions, const std::exception *error) noexcept;
    // The end of a run; the outermost one forgets the last report when all went well.
    void settle(bool wentWell) noexcept;

    Report report_;
    QString lastReport_;
    int depth_ = 0;
    bool allWentWell_ = true;
};

} // namespace windows
