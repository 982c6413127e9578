#include "ActionUpdateGuard.h"

#include "errors/KxError.h"

#include <QAction>

namespace windows {

void ActionUpdateGuard::run(QAction &action, const std::function<bool()> &rule) noexcept
{
    try {
        const bool enabled = rule();
        action.setEnabled(enabled);
        if (enabled)
            lastReport_.clear();
    } catch (const std::exception &error) {
        failed({&action}, &error);
    } catch (...) {
        failed({&action}, nullptr);
    }
}

void ActionUpdateGuard::run(std::initializer_list<QAction *> actions, const std::function<void()> &update) noexcept
{
    try {
        update();
        lastReport_.clear();
    } catch (const std::exception &error) {
        failed(actions, &error);
    } catch (...) {
        failed(actions, nullptr);
    }
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
