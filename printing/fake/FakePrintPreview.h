#pragma once

#include "printing/PrintPreview.h"

#include <QStringList>

namespace printing::fake {

// A preview whose user presses "Печать" at once: the pages go to the printer
// installed (printing::printer()), as from the real preview.
class PrintingPreview : public PrintPreview {
public:
    void show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *parent) override;
    QStringList titles; // of every preview shown
};

} // namespace printing::fake
