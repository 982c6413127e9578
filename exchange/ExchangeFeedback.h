#pragma once

#include <QString>

namespace exchange {

// What the exchange needs of the main window: its status line, a message box
// with an OK button, and a chance to repaint during long work. The main
// window implements it; tools and tests supply their own.
class ExchangeFeedback {
public:
    virtual ~ExchangeFeedback() = default;

    virtual void setStatusText(const QString &text) = 0;
    virtual void showMessage(const QString &text) = 0;
    // Called now and then while a long operation runs.
    virtual void keepResponsive() {}
};

} // namespace exchange
