#pragma once

#include "platform/PrintPreview.h"

#include <QStringList>

namespace platform::fake {

// A preview whose user presses "Печать" at once: the pages go to the printer
// installed (platform::printer()), as from the real preview.
class PrintingPreview : public PrintPreview {
public:
    void show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *parent) override;
    QStringList titles; // of every preview shown
};

} // namespace platform::fake
