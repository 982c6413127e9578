#include "MainFeedback.h"

#include "platform/MessageService.h"
#include "platform/Services.h"
#include "windows/MainFrmServices.h"

#include <QCoreApplication>

namespace exchange_windows {

void MainFeedback::setStatusText(const QString &text) { main_.setStatusText(text); }

void MainFeedback::showMessage(const QString &text) { platform::messages().showMessage(text, owner_); }

void MainFeedback::keepResponsive() { QCoreApplication::processEvents(); }

} // namespace exchange_windows
