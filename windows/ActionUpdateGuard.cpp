#include "ActionUpdateGuard.h"

#include "errors/KxError.h"

#include <QAction>

namespace windows {

void ActionUpdateGuard::run(QAction &action, const std::function<bool()> &rule) noexcept
{
    ++depth_;
    try {
        const bool enabled = rule();
        action.setEnabled(enabled);
        settle(enabled);
    } catch (const std::exception &error) {
        failed({&action}, &error);
        settle(false);
    } catch (...) {
        failed({&action}, nullptr);
        settle(false);
    }
}

void ActionUpdateGuard::run(std::initializer_list<QAction *> actions, const std::function<void()> &update) noexcept
{
    ++depth_;
    try {
        update();
        settle(true);
    } catch (const std::exception &error) {
        failed(actions, &error);
        settle(false);
    } catch (...) {
        failed(actions, nullptr);
        settle(false);
    }
}

void ActionUpdateGuard::settle(bool wentWell) noexcept
{
    allWentWell_ = allWentWell_ && wentWell;
    if (--depth_ > 0)
        return;
    if (allWentWell_)
        lastReport_.clear();
    allWentWell_ = true;
}

void ActionUpdateGuard::failed(std::initializer_list<QAction *> actions, const std::exception *error) noexcept
{
    for (QAction *action : actions)
        action->setEnabled(false);
    try {
        note(error ? kx::userMessage(*error) : QStringLiteral("Неизвестная ошибка"));
    } catch (...) {
    }
}

void ActionUpdateGuard::note(const QString &reason)
{
    if (reason.isEmpty() || reason == lastReport_)
        return;
    lastReport_ = reason;
    if (report_)
        report_(reason);
}

} // namespace windows
