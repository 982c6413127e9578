#include "PaintedPrintJob.h"

#include "platform/PlatformError.h"

#include <QPrinter>

namespace printing {

PaintedPrintJob::PaintedPrintJob(std::unique_ptr<QPagedPaintDevice> device, const QString &what,
                                 std::function<void()> checkDone)
    : owned_(std::move(device)), device_(owned_.get()), what_(what), checkDone_(std::move(checkDone))
{
    if (!painter_.begin(device_))
        throw platform::PlatformError(QStringLiteral("Не удалось начать печать: %1").arg(what_));
}

PaintedPrintJob::PaintedPrintJob(QPagedPaintDevice &device, const QString &what) : device_(&device), what_(what)
{
    if (!painter_.begin(device_))
        throw platform::PlatformError(QStringLiteral("Не удалось начать печать: %1").arg(what_));
}

PaintedPrintJob::~PaintedPrintJob()
{
    if (!painter_.isActive())
        return;
    // An unfinished job is not spooled half printed.
    if (auto *printer = dynamic_cast<QPrinter *>(device_))
        printer->abort();
    painter_.end();
}

void PaintedPrintJob::newPage()
{
    if (!device_->newPage())
        throw platform::PlatformError(QStringLiteral("Печать прервана: %1").arg(what_));
}

void PaintedPrintJob::finish()
{
    if (!painter_.isActive())
        return;
    if (!painter_.end())
        throw platform::PlatformError(QStringLiteral("Не удалось завершить печать: %1").arg(what_));
    if (checkDone_)
        checkDone_();
}

} // namespace printing
