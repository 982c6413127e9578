#include "WidgetKeyInput.h"

#include <QCoreApplication>
#include <QKeyEvent>
#include <QWidget>

namespace platform {

void WidgetKeyInput::postKey(QWidget *target, int key, const QString &text)
{
    if (!target)
        return;
    // Events posted to a widget are dropped when it is destroyed first.
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyPress, key, Qt::NoModifier, text));
    QCoreApplication::postEvent(target, new QKeyEvent(QEvent::KeyRelease, key, Qt::NoModifier, text));
}

} // namespace platform
