#pragma once

#include "Printer.h"

#include <QPageLayout>
#include <QString>

namespace printing {

// Prints into a PDF file, A4 portrait at 600 dots per inch with a printer's
// usual unprintable margin: for users without a printer, and for tests.
class PdfPrinter : public Printer {
public:
    explicit PdfPrinter(QString filePath);

    std::unique_ptr<PrintJob> beginJob(const QString &title) override;

    const QString &filePath() const { return filePath_; }
    // A4 portrait with 5 mm margins.
    static QPageLayout pageLayout();
    static constexpr int kResolution = 600;

private:
    QString filePath_;
};

} // namespace printing
