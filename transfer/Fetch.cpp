#include "Transfers.h"

#include "TransferFailure.h"
#include "TransferSettings.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"

#include <QDateTime>
#include <QDir>
#include <QFile>

namespace transfer {

namespace {

// More packages than this in one folder is not the distributor's doing.
constexpr int kMaxPackagesPerFolder = 200;

struct Job {
    QString remoteFolder;
    QString localFolder;
    bool price = false;
};

struct Arrived {
    QString remoteFolder;
    QString name;
};

QList<Job> jobsFor(const TransferSettings &s, const QList<int> &ids, bool invoices)
{
    QList<Job> jobs;
    if (invoices) {
        for (int id : ids)
            jobs.append({s.remoteInvoices + QString::number(id) + u'/', s.invoicesFolder});
        return jobs;
    }
    jobs.append({s.remotePrice, s.priceFolder, true});
    jobs.append({s.remoteReferences, s.referencesFolder});
    jobs.append({s.remotePrescriptions, s.prescriptionsFolder});
    jobs.append({s.remoteNarcotics, s.narcoticsFolder});
    if (ids == QList<int>{-1})
        jobs.append({s.remoteArchive, s.archiveFolder});
    jobs.append({s.remoteProgram, s.programFolder});
    return jobs;
}

void fetchOne(Remote &remote, const Job &job, const QString &name, const InfoSink &info)
{
    const qint64 expected = remote.size(job.remoteFolder, name);
    if (expected < 0)
        throw TransferFailure(QStringLiteral("Ошибка: файл %1 исчез с сервера").arg(name));
    if (expected > kMaxDownloadSize)
        throw TransferFailure(QStringLiteral("Ошибка: файл %1 слишком велик (%2 байт)").arg(name).arg(expected));
    QDir().mkpath(job.localFolder);
    const QString target = job.localFolder + name;
    const QString partial = job.localFolder + u'.' + name + QStringLiteral(".part");
    try {
        const qint64 got = remote.download(job.remoteFolder, name, partial);
        if (got != expected)
            throw TransferFailure(QStringLiteral("Ошибка: файл %1 получен не полностью (%2 из %3 байт)")
                                      .arg(name)
                                      .arg(got)
                                      .arg(expected));
        QFile::remove(target);
        if (!QFile::rename(partial, target))
            throw TransferFailure(QStringLiteral("Ошибка: не удалось сохранить %1").arg(target));
    } catch (...) {
        QFile::remove(partial);
        throw;
    }
    info(QStringLiteral("Получен %1 (%2 байт)").arg(name).arg(expected));
}

} // namespace

bool fetchPackages(Remote &remote, const TransferSettings &settings, const QList<int> &ids, bool invoices,
                   const InfoSink &info)
{
    QList<Arrived> arrived;
    bool priceArrived = false;
    try {
        for (const Job &job : jobsFor(settings, ids, invoices)) {
            int taken = 0;
            for (const QString &name : remote.list(job.remoteFolder)) {
                if (!name.endsWith(QLatin1String(".zip"), Qt::CaseInsensitive))
                    continue;
                if (!acceptableName(name)) {
                    info(QStringLiteral("Пропущен файл с недопустимым именем в папке %1").arg(job.remoteFolder));
                    continue;
                }
                if (++taken > kMaxPackagesPerFolder) {
                    info(QStringLiteral("В папке %1 слишком много файлов, остальные в следующий раз")
                             .arg(job.remoteFolder));
                    break;
                }
                fetchOne(remote, job, name, info);
                arrived.append({job.remoteFolder, name});
                priceArrived = priceArrived || job.price;
            }
        }
    } catch (const TransferFailure &failure) {
        info(failure.message());
        info(QStringLiteral("Получение прервано"));
        return false;
    }
    // Only now: a fetch that failed leaves everything on the server for the next one.
    for (const Arrived &a : arrived) {
        try {
            remote.remove(a.remoteFolder, a.name);
        } catch (const TransferFailure &failure) {
            info(failure.message());
        }
    }
    if (priceArrived)
        config::IniFile(settings.programSettingsFile)
            .writeDateTime(config::keys::kFtp, config::keys::kLastRefresh, QDateTime::currentDateTime());
    info(arrived.isEmpty() ? QStringLiteral("Новых файлов нет")
                           : QStringLiteral("Получено файлов: %1").arg(arrived.size()));
    return true;
}

} // namespace transfer
