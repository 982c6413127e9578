#pragma once

#include <QString>

namespace app {

// The first step of the main window's creation: when modem connections are
// active, ask whether to hang them up, and on "Yes" hang up every one of
// them with a one-second wait. Platform errors are raised to the caller.
void OfferToHangUpActiveConnections();

inline const QString kActiveConnectionsQuestion = QStringLiteral("Обнаружены активные модемные соединения, разорвать?");
inline const QString kActiveConnectionsTitle = QStringLiteral("KXOrders");
constexpr int kStartupHangUpWaitSeconds = 1;

} // namespace app
