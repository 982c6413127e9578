#pragma once

#include "PrintPreview.h"
#include "Printer.h"

#include <memory>

namespace printing {

// Apart from the interfaces: the ordering core is handed a printer and
// needs neither the printers nor the widgets of the preview.

// The system's default printer until something else is installed.
Printer &printer();

// Installs a printer for its lifetime and puts the previous one back.
class PrinterOverride {
public:
    explicit PrinterOverride(std::shared_ptr<Printer> replacement);
    ~PrinterOverride();
    PrinterOverride(const PrinterOverride &) = delete;
    PrinterOverride &operator=(const PrinterOverride &) = delete;

private:
    std::shared_ptr<Printer> previous_;
};

// The print preview dialog of the widget toolkit until something else is installed.
PrintPreview &printPreview();

class PrintPreviewOverride {
public:
    explicit PrintPreviewOverride(std::shared_ptr<PrintPreview> replacement);
    ~PrintPreviewOverride();
    PrintPreviewOverride(const PrintPreviewOverride &) = delete;
    PrintPreviewOverride &operator=(const PrintPreviewOverride &) = delete;

private:
    std::shared_ptr<PrintPreview> previous_;
};

} // namespace printing
