#include "Transfers.h"

#include "TransferFailure.h"
#include "TransferSettings.h"

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace transfer {

namespace {

// A name the incoming folder does not hold yet: the distributor may not have
// collected the previous package of the same name.
QString freeName(const QString &name, const QStringList &taken)
{
    auto isTaken = [&](const QString &candidate) { return taken.contains(candidate, Qt::CaseInsensitive); };
    if (!isTaken(name))
        return name;
    const QString base = QFileInfo(name).completeBaseName();
    const QString stamp = QDateTime::currentDateTimeUtc().toString(QStringLiteral("yyyyMMddhhmmss"));
    for (int n = 1;; ++n) {
        const QString candidate = QStringLiteral("%1%2-%3.zip").arg(base, stamp).arg(n);
        if (!isTaken(candidate))
            return candidate;
    }
}

void uploadOne(Remote &remote, const QString &folder, const QString &path, const QString &target)
{
    const QString partial = target + QStringLiteral(".part");
    const qint64 size = QFileInfo(path).size();
    try {
        remote.upload(path, folder, partial);
        const qint64 held = remote.size(folder, partial);
        if (held != size)
            throw TransferFailure(
                QStringLiteral("Ошибка: сервер принял %1 из %2 байт файла %3").arg(held).arg(size).arg(target));
        remote.rename(folder, partial, target);
    } catch (const TransferFailure &) {
        try {
            remote.remove(folder, partial);
        } catch (const TransferFailure &) {
            // Nothing more to do: the server keeps a partial file under the temporary name.
        }
        throw;
    }
}

} // namespace

bool uploadPackages(Remote &remote, const TransferSettings &settings, const InfoSink &info)
{
    const QStringList packages =
        QDir(settings.ordersFolder).entryList({QStringLiteral("*.zip")}, QDir::Files, QDir::Name);
    if (packages.isEmpty()) {
        info(QStringLiteral("Нет пакета для отправки в папке %1").arg(settings.ordersFolder));
        return false;
    }
    try {
        QStringList taken = remote.list(settings.remoteIncoming);
        for (const QString &name : packages) {
            const QString path = settings.ordersFolder + name;
            const QString target = freeName(name, taken);
            uploadOne(remote, settings.remoteIncoming, path, target);
            taken << target;
            info(QStringLiteral("Отправлен %1 (%2 байт)").arg(target).arg(QFileInfo(path).size()));
            if (!QFile::remove(path)) {
                info(QStringLiteral("Не удалось удалить отправленный пакет %1: удалите его, иначе заявки уйдут "
                                    "повторно")
                         .arg(path));
                return false;
            }
        }
    } catch (const TransferFailure &failure) {
        info(failure.message());
        info(QStringLiteral("Отправка не выполнена, пакет сохранён"));
        return false;
    }
    return true;
}

} // namespace transfer
