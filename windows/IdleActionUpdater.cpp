#include "IdleActionUpdater.h"

#include <QAbstractEventDispatcher>
#include <QCoreApplication>
#include <QEvent>

namespace windows {

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

IdleActionUpdater::IdleActionUpdater(Idle idle, std::function<void()> update, Report report, QObject *parent)
    : QObject(parent), idle_(idle), update_(std::move(update)), guard_(std::move(report))
{
    // Children, so that the event filters know the timers of every updater.
    soon_.setParent(this);
    heartbeat_.setParent(this);
    soon_.setSingleShot(true);
    soon_.setInterval(0);
    connect(&soon_, &QTimer::timeout, this, &IdleActionUpdater::update);
}

void IdleActionUpdater::start()
{
    if (idle_ == Idle::EveryWait) {
        if (QAbstractEventDispatcher *dispatcher = QAbstractEventDispatcher::instance())
            connect(dispatcher, &QAbstractEventDispatcher::aboutToBlock, this, &IdleActionUpdater::update);
        return;
    }
    heartbeat_.setInterval(kHeartbeatMs);
    connect(&heartbeat_, &QTimer::timeout, this, &IdleActionUpdater::requestUpdate);
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
    if (!soon_.isActive())
        soon_.start();
}

void IdleActionUpdater::update() noexcept
{
    running_ = true;
    guard_.run({}, update_);
    running_ = false;
}

bool IdleActionUpdater::eventFilter(QObject *watched, QEvent *event)
{
    // The timers of every updater are left out: two updaters would wake
    // each other for ever.
    if (!running_ && mayChangeState(event->type()) && !dynamic_cast<IdleActionUpdater *>(watched->parent()))
        requestUpdate();
    return false;
}

} // namespace windows
