#pragma once

#include "Printer.h"

#include <QPagedPaintDevice>
#include <QPainter>

#include <functional>
#include <memory>

namespace printing {

// A print job painting on a Qt paged device (a QPrinter, a QPdfWriter).
class PaintedPrintJob : public PrintJob {
public:
    // `checkDone` reports a failure after painting ended (PlatformError).
    PaintedPrintJob(std::unique_ptr<QPagedPaintDevice> device, const QString &what,
                    std::function<void()> checkDone = {});
    // On a device someone else owns (the printer of a preview).
    PaintedPrintJob(QPagedPaintDevice &device, const QString &what);
    ~PaintedPrintJob() override;

    QPainter &painter() override { return painter_; }
    void newPage() override;
    void finish() override;

private:
    std::unique_ptr<QPagedPaintDevice> owned_;
    QPagedPaintDevice *device_;
    QPainter painter_;
    QString what_;
    std::function<void()> checkDone_;
};

} // namespace printing
