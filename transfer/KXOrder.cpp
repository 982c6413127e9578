// The exports of libKXOrder.so. Nothing thrown leaves the library.
#include "KXOrder.h"

#include "CurlHandles.h"
#include "TransferFailure.h"
#include "TransferSettings.h"
#include "Transfers.h"

#include <exception>

namespace {

transfer::InfoSink sinkFor(KxInfoLine info, void *context)
{
    return [info, context](const QString &line) {
        if (info)
            info(context, line.toUtf8().constData());
    };
}

template <typename Work> int guarded(const transfer::InfoSink &info, Work work)
{
    try {
        transfer::CurlGlobal curl;
        if (!curl.ok())
            throw transfer::TransferFailure(QStringLiteral("Не удалось начать обмен (libcurl)"));
        return work(transfer::readTransferSettings(transfer::settingsFolder())) ? 1 : 0;
    } catch (const transfer::TransferFailure &failure) {
        info(failure.message());
    } catch (const std::exception &error) {
        info(QStringLiteral("Ошибка: ") + QString::fromUtf8(error.what()));
    } catch (...) {
        info(QStringLiteral("Ошибка обмена"));
    }
    return 0;
}

} // namespace

extern "C" __attribute__((visibility("default"))) int
InternalGetFTPFiles(KxInfoLine info, void *context, const int32_t *ids, int32_t lastIndex, int invoices, int passive)
{
    const transfer::InfoSink sink = sinkFor(info, context);
    return guarded(sink, [&](const transfer::TransferSettings &settings) {
        QList<int> list;
        for (int32_t i = 0; ids && i <= lastIndex; ++i)
            list.append(ids[i]);
        if (list.isEmpty())
            list.append(-1);
        auto remote = transfer::openRemote(settings, passive != 0, sink);
        return transfer::fetchPackages(*remote, settings, list, invoices != 0, sink);
    });
}

extern "C" __attribute__((visibility("default"))) int InternalPutFTPFiles(KxInfoLine info, void *context, int passive)
{
    const transfer::InfoSink sink = sinkFor(info, context);
    return guarded(sink, [&](const transfer::TransferSettings &settings) {
        auto remote = transfer::openRemote(settings, passive != 0, sink);
        return transfer::uploadPackages(*remote, settings, sink);
    });
}
