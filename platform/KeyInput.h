#pragma once

#include <QString>

class QWidget;

namespace platform {

// Synthetic key strokes for one widget, never for whatever has the focus
// elsewhere on the desktop. They arrive through the event queue, after the
// code that sent them has returned.
class KeyInput {
public:
    virtual ~KeyInput() = default;
    // A press and a release of `key` (a Qt::Key) for the widget.
    virtual void postKey(QWidget *target, int key, const QString &text = {}) = 0;
};

} // namespace platform
