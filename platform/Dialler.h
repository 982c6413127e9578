#pragma once

#include <QObject>
#include <QString>

#include <memory>

namespace platform {

// The states a dial passes through, numbered as the remote access service
// numbers them (0 to 23, 4096 to 4099, connected and disconnected).
namespace dialstate {
inline constexpr int kOpenPort = 0;
inline constexpr int kPortOpened = 1;
inline constexpr int kConnectDevice = 2;
inline constexpr int kAuthenticate = 5;
inline constexpr int kAuthenticated = 14;
inline constexpr int kConnected = 8192;
inline constexpr int kDisconnected = 8193;
} // namespace dialstate

// Error codes of a dial that this program's backends give.
namespace dialerror {
inline constexpr int kLineBusy = 676;
inline constexpr int kNoAnswer = 678;
inline constexpr int kNoDialTone = 680;
inline constexpr int kDeviceUnavailable = 633;
inline constexpr int kPortDisconnected = 628;
inline constexpr int kRemoteDisconnected = 629;
inline constexpr int kAuthenticationFailed = 691;
inline constexpr int kPppTimeout = 718;
} // namespace dialerror

struct DialParameters {
    QString phoneNumber;
    QString userName;
    QString password;
};

// The longest values a dial takes; longer ones are refused, never cut.
inline constexpr int kMaxPhoneNumber = 128;
inline constexpr int kMaxUserName = 256;
inline constexpr int kMaxPassword = 256;

// One modem dial. Its notifications arrive on the user-interface thread,
// queued after the call that caused them, as window messages would.
class Dialler : public QObject {
    Q_OBJECT
public:
    // Starts dialling; the states follow as notifications. A refusal at once
    // raises PlatformError with rasErrorMessage.
    virtual void dial(const DialParameters &parameters) = 0;
    // Hangs up what this dialler dialled and waits up to waitSeconds for the
    // line to go down. Nothing happens when nothing was dialled.
    virtual void hangUp(int waitSeconds) = 0;
    // Whether anything this dialler dialled may still be up.
    virtual bool lineUp() const = 0;

signals:
    // state: one of dialstate (or any other number); error: 0 or a RAS code.
    void notification(int state, int error);
};

// Makes the dialler of each dial-up window.
class DiallerFactory {
public:
    virtual ~DiallerFactory() = default;
    virtual std::unique_ptr<Dialler> create() = 0;
};

// The text of a state, as the dial-up window lists it; empty for a state
// without one.
QString dialStateText(int state);
// The text of a dial error code: Russian for the common 600–798 codes, a
// generic text with the number for the others.
QString dialErrorText(int code);
// A notification's line: the error's text when there is an error, else the state's.
QString dialStatusText(int state, int error);

} // namespace platform
