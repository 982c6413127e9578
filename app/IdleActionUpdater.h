#pragma once

#include <QObject>
#include <QString>
#include <QTimer>

#include <functional>

namespace app {

// Runs an update when the application becomes idle: after user input,
// window changes and timer work have been handled, once for each burst of
// such events, and at least once a second for changes from outside (files,
// network) that no event announces.
class IdleActionUpdater : public QObject {
public:
    explicit IdleActionUpdater(std::function<void()> update, QObject *parent = nullptr);
    ~IdleActionUpdater() override;

    void requestUpdate();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void run();

    std::function<void()> update_;
    QTimer idle_;
    QTimer heartbeat_;
    bool running_ = false;
    QString lastError_;
};

} // namespace app
