#pragma once

#include <QString>

#include <memory>

class QPainter;

namespace printing {

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

} // namespace printing
