#include "ResponsiveTimer.h"

#include "ExchangeFeedback.h"

namespace exchange {

ResponsiveTimer::ResponsiveTimer(ExchangeFeedback &feedback) : feedback_(feedback) { timer_.start(); }

void ResponsiveTimer::poll()
{
    if (timer_.elapsed() < kIntervalMs)
        return;
    feedback_.keepResponsive();
    timer_.restart();
}

} // namespace exchange
