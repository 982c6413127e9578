#pragma once

#include "exchange/ExchangeFeedback.h"

class QWidget;

namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

// The exchange's feedback through the main window: its status line, the
// platform's message box, and pending events handled during long work.
class MainFeedback : public exchange::ExchangeFeedback {
public:
    explicit MainFeedback(windows::MainFrmServices &main, QWidget *owner = nullptr) : main_(main), owner_(owner) {}

    void setStatusText(const QString &text) override;
    void showMessage(const QString &text) override;
    void keepResponsive() override;

private:
    windows::MainFrmServices &main_;
    QWidget *owner_;
};

} // namespace exchange_windows
