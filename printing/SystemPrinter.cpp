#include "SystemPrinter.h"

#include "PaintedPrintJob.h"
#include "platform/PlatformError.h"

#include <QPrinter>
#include <QPrinterInfo>

namespace printing {

bool SystemPrinter::hasPrinter()
{
    return !QPrinterInfo::defaultPrinter().isNull() || !QPrinterInfo::availablePrinters().isEmpty();
}

const QString &SystemPrinter::noPrinterMessage()
{
    static const QString text = QStringLiteral("Принтер не установлен.");
    return text;
}

std::unique_ptr<PrintJob> SystemPrinter::beginJob(const QString &title)
{
    QPrinterInfo info = QPrinterInfo::defaultPrinter();
    if (info.isNull() && !QPrinterInfo::availablePrinters().isEmpty())
        info = QPrinterInfo::availablePrinters().constFirst();
    if (info.isNull())
        throw platform::PlatformError(noPrinterMessage());
    auto device = std::make_unique<QPrinter>(info, QPrinter::HighResolution);
    device->setOutputFormat(QPrinter::NativeFormat);
    device->setPageOrientation(QPageLayout::Portrait);
    device->setDocName(title);
    QPrinter *printer = device.get();
    const QString name = info.printerName();
    return std::make_unique<PaintedPrintJob>(std::move(device), name, [printer, name] {
        if (printer->printerState() == QPrinter::Error || printer->printerState() == QPrinter::Aborted)
            throw platform::PlatformError(QStringLiteral("Принтер %1 не принял задание.").arg(name));
    });
}

} // namespace printing
