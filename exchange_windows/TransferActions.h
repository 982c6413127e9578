#pragma once

namespace windows {
class MainFrmServices;
}

namespace exchange_windows {

class TFtpFrm;

// The steps shared by the transfer actions: a running hang-up countdown
// stops, a dial-up window dials when there is no connection, and the
// transfer window opens once the connection is up. While the dial-up window
// exists the wait handles events every 500 ms, for at most kMaxWaitSteps;
// otherwise the status line says "Нет соединения с интернетом...". A second
// call while one waits does nothing. Returns the transfer window, or null.
TFtpFrm *connectAndOpenTransfer(windows::MainFrmServices &main, bool fetch, bool invoices);

inline constexpr int kConnectionWaitMs = 500;
inline constexpr int kMaxWaitSteps = 360;

// acnRefreshAll: every child window but "Дозвон" closes first.
void acnRefreshExecute(windows::MainFrmServices &main);
// acnRefreshInv: the invoices only.
void acnRefreshInvExecute(windows::MainFrmServices &main);
// acnSend: counts the prepared files, asks, uploads.
void acnSendExecute(windows::MainFrmServices &main);
// acnDelete: the deletion window.
void acnDeleteExecute(windows::MainFrmServices &main);

} // namespace exchange_windows
