#include "QtPrintPreview.h"

#include "PaintedPrintJob.h"
#include "PdfPrinter.h"
#include "Printer.h"
#include "platform/FileDialogs.h"
#include "platform/MessageService.h"
#include "platform/Services.h"

#include "errors/KxError.h"

#include <QAction>
#include <QDir>
#include <QPrintPreviewDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QToolBar>

namespace printing {

namespace {

// A printer over the preview's own device: the pages drawn there are shown.
class DevicePrinter : public Printer {
public:
    explicit DevicePrinter(QPrinter &device) : device_(device) {}
    std::unique_ptr<PrintJob> beginJob(const QString &title) override
    {
        return std::make_unique<PaintedPrintJob>(device_, title);
    }

private:
    QPrinter &device_;
};

} // namespace

void QtPrintPreview::show(const QString &title, const std::function<void(Printer &)> &paint, QWidget *parent)
{
    QPrinter device(QPrinter::HighResolution);
    if (const QPrinterInfo info = QPrinterInfo::defaultPrinter(); !info.isNull()) {
        device.setPrinterName(info.printerName());
        device.setPageOrientation(QPageLayout::Portrait);
    } else {
        // No printer: the pages of the PDF file the order would be saved as.
        device.setResolution(PdfPrinter::kResolution);
        device.setPageLayout(PdfPrinter::pageLayout());
    }
    device.setDocName(title);
    QPrintPreviewDialog dialog(&device, parent);
    dialog.setWindowTitle(QStringLiteral("Предварительный просмотр: %1").arg(title));
    QObject::connect(&dialog, &QPrintPreviewDialog::paintRequested, &dialog, [&](QPrinter *shown) {
        DevicePrinter printer(*shown);
        paint(printer);
    });
    if (auto *tools = dialog.findChild<QToolBar *>()) {
        tools->addSeparator();
        QAction *save = tools->addAction(QStringLiteral("Сохранить в PDF"));
        save->setObjectName(QStringLiteral("acnSavePdf"));
        QObject::connect(save, &QAction::triggered, &dialog, [&] {
            const std::optional<QString> path = platform::fileDialogs().chooseSaveFile(
                QStringLiteral("Сохранить в PDF"), QDir::home().filePath(title + QStringLiteral(".pdf")),
                QStringLiteral("PDF (*.pdf)"), &dialog);
            if (!path)
                return;
            PdfPrinter pdf(*path);
            paint(pdf);
        });
    }
    dialog.exec();
}

} // namespace printing
