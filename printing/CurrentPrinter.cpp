#include "CurrentPrinter.h"

#include "PrintPreview.h"
#include "QtPrintPreview.h"
#include "SystemPrinter.h"

namespace printing {

namespace {

std::shared_ptr<Printer> &current()
{
    static std::shared_ptr<Printer> installed = std::make_shared<SystemPrinter>();
    return installed;
}

std::shared_ptr<PrintPreview> &currentPreview()
{
    static std::shared_ptr<PrintPreview> installed = std::make_shared<QtPrintPreview>();
    return installed;
}

} // namespace

Printer &printer() { return *current(); }
PrintPreview &printPreview() { return *currentPreview(); }

PrintPreviewOverride::PrintPreviewOverride(std::shared_ptr<PrintPreview> replacement) : previous_(currentPreview())
{
    currentPreview() = std::move(replacement);
}

PrintPreviewOverride::~PrintPreviewOverride() { currentPreview() = std::move(previous_); }

PrinterOverride::PrinterOverride(std::shared_ptr<Printer> replacement) : previous_(current())
{
    current() = std::move(replacement);
}

PrinterOverride::~PrinterOverride() { current() = std::move(previous_); }

} // namespace printing
