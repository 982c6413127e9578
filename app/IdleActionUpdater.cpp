#include "IdleActionUpdater.h"

#include "errors/KxError.h"

#include <QCoreApplication>
#include <QEvent>

#include "platform_widgets/ErrorReportingApplication.h"

namespace app {

namespace {

constexpr int kHeartbeatMs = 1000;

// Events after which the enabled state of actions may have changed. Paint,
// layout and action-change events are left out: the update itself causes them.
bool mayChangeState(QEvent::Type type)
{
    switch (type) {
    case QEvent::MouseButtonRelease:
    case QEvent::KeyRelease:
    case QEvent::Shortcut:
    case QEvent::WindowActivate:
    case QEvent::WindowDeactivate:
    case QEvent::Show:
    case QEvent::Hide:
    case QEvent::Close:
    case QEvent::WindowTitleChange:
    case QEvent::DeferredDelete:
    case QEvent::Timer: return true;
    default: return false;
    }
}

} // namespace

IdleActionUpdater::IdleActionUpdater(std::function<void()> update, QObject *parent)
    : QObject(parent), update_(std::move(update))
{
    idle_.setSingleShot(true);
    idle_.setInterval(0);
    connect(&idle_, &QTimer::timeout, this, [this] { run(); });
    heartbeat_.setInterval(kHeartbeatMs);
    connect(&heartbeat_, &QTimer::timeout, this, [this] { requestUpdate(); });
    heartbeat_.start();
    QCoreApplication::instance()->installEventFilter(this);
}

IdleActionUpdater::~IdleActionUpdater()
{
    if (QCoreApplication::instance())
        QCoreApplication::instance()->removeEventFilter(this);
}

void IdleActionUpdater::requestUpdate()
{
    if (!idle_.isActive())
        idle_.start();
}

bool IdleActionUpdater::eventFilter(QObject *watched, QEvent *event)
{
    if (!running_ && watched != &idle_ && watched != &heartbeat_ && mayChangeState(event->type()))
        requestUpdate();
    return false;
}

void IdleActionUpdater::run()
{
    running_ = true;
    try {
        update_();
        lastError_.clear();
    } catch (const std::exception &error) {
        // The report's own window would start the next update: an error that
        // keeps coming back is shown once, not in an endless row of boxes.
        const QString message = kx::userMessage(error);
        if (message != lastError_) {
            lastError_ = message;
            platform::ErrorReportingApplication::reportError(error);
        }
    }
    running_ = false;
}

} // namespace app
