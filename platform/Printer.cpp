#include "Printer.h"

#include "SystemPrinter.h"

namespace platform {

namespace {

std::shared_ptr<Printer> &current()
{
    static std::shared_ptr<Printer> installed = std::make_shared<SystemPrinter>();
    return installed;
}

} // namespace

Printer &printer() { return *current(); }

PrinterOverride::PrinterOverride(std::shared_ptr<Printer> replacement) : previous_(current())
{
    current() = std::move(replacement);
}

PrinterOverride::~PrinterOverride() { current() = std::move(previous_); }

} // namespace platform
