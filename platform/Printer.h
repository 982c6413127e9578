#pragma once

#include <QString>

#include <memory>

class QPainter;

namespace platform {

// One print job, begun in portrait orientation: a painter over the page
// (device units are the printer's dots, origin at the printable area's
// top-left) and the way to the next page.
class PrintJob {
public:
    virtual ~PrintJob() = default;

    virtual QPainter &painter() = 0;
    // PlatformError when the job was aborted.
    virtual void newPage() = 0;
    // Ends the job and hands it to the printer (or the file); PlatformError
    // when that fails. A job destroyed unfinished is aborted.
    virtual void finish() = 0;
};

// Where orders are printed.
class Printer {
public:
    virtual ~Printer() = default;

    // A clear PlatformError when nothing can print (no printer installed,
    // a file that cannot be written).
    virtual std::unique_ptr<PrintJob> beginJob(const QString &title) = 0;
};

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

} // namespace platform
