#include "PdfPrinter.h"

#include "PaintedPrintJob.h"
#include "platform/PlatformError.h"

#include <QFile>
#include <QFileInfo>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>

namespace printing {

PdfPrinter::PdfPrinter(QString filePath) : filePath_(std::move(filePath)) {}

QPageLayout PdfPrinter::pageLayout()
{
    return QPageLayout(QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(5, 5, 5, 5), QPageLayout::Millimeter);
}

std::unique_ptr<PrintJob> PdfPrinter::beginJob(const QString &title)
{
    // QPdfWriter reports an unwritable file only by painting nowhere: test first.
    {
        QFile probe(filePath_);
        if (!probe.open(QIODevice::WriteOnly))
            throw platform::PlatformError(
                QStringLiteral("Не удалось записать файл %1: %2").arg(filePath_, probe.errorString()));
    }
    auto writer = std::make_unique<QPdfWriter>(filePath_);
    writer->setResolution(kResolution);
    writer->setTitle(title);
    writer->setCreator(QStringLiteral("KXOrders"));
    writer->setPageLayout(pageLayout());
    const QString path = filePath_;
    return std::make_unique<PaintedPrintJob>(std::move(writer), path, [path] {
        if (QFileInfo(path).size() == 0)
            throw platform::PlatformError(QStringLiteral("Не удалось записать файл %1").arg(path));
    });
}

} // namespace printing
