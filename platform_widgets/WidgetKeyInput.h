#pragma once

#include "platform/KeyInput.h"

namespace platform {

class WidgetKeyInput : public KeyInput {
public:
    void postKey(QWidget *target, int key, const QString &text = {}) override;
};

} // namespace platform
