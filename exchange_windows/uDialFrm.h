#pragma once

#include "windows/uSChildFrm.h"

#include <QTimer>

#include <memory>

class QListWidget;

namespace platform {
class Dialler;
}
namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

// The dial-up window "Дозвон": dials the modem account of the settings once
// it is first shown, lists every state of the dial, closes itself 3 seconds
// after a failed dial, and hangs up when it goes. After a transfer it counts
// 20 seconds down in the status line before it closes.
class TDialFrm : public windows::TSaveChildFrm {
    Q_OBJECT
public:
    enum DialStates { NotStarted = 0, Dialling = 1, Failed = 2 };
    static constexpr int kCloseAfterFailureMs = 3000;
    static constexpr int kHangUpCountdownMs = 20000;
    static constexpr int kHangUpWaitSeconds = 3;

    explicit TDialFrm(windows::MainFrmServices &main);
    ~TDialFrm() override;

    // The transfer window's closing: 20 seconds, then the window closes and hangs up.
    void startHangUpCountdown();
    // A new transfer starting: the countdown stops, the line stays up.
    void stopHangUpCountdown();

    int DialState = NotStarted;
    int ElapsedSeconds = 0;
    QTimer Timer1;
    QTimer Timer2;

protected:
    void showEvent(QShowEvent *event) override;
    void FormClose() override;
    void FormDestroy() override;

private:
    QListWidget *InfoBox;
    void FormActivate();
    void DialerNotification(int state, int error);
    void Timer1Timer();
    void Timer2Timer();

    windows::MainFrmServices &main_;
    std::unique_ptr<platform::Dialler> dialler_;
};

} // namespace exchange_windows
