#pragma once

#include <QElapsedTimer>

namespace exchange {

class ExchangeFeedback;

// Lets the window repaint during long work without paying for it on every
// record: keepResponsive at most every few tens of milliseconds.
class ResponsiveTimer {
public:
    explicit ResponsiveTimer(ExchangeFeedback &feedback);
    void poll();

private:
    static constexpr qint64 kIntervalMs = 40;
    ExchangeFeedback &feedback_;
    QElapsedTimer timer_;
};

} // namespace exchange
