#pragma once

#include "Printer.h"

namespace printing {

// The system's default printer (CUPS through Qt Print Support), at its own
// resolution. No printer installed is a PlatformError saying so.
class SystemPrinter : public Printer {
public:
    std::unique_ptr<PrintJob> beginJob(const QString &title) override;

    static bool hasPrinter();
    static const QString &noPrinterMessage();
};

} // namespace printing
