#include "TransferSettings.h"

#include "TransferFailure.h"

#include "config/IniFile.h"
#include "config/PasswordScrambler.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"

#include <QFileInfo>

#include <dlfcn.h>

namespace transfer {

namespace keys = config::keys;

namespace {

const QString kRemote = QStringLiteral("Folders");
const QString kTimeouts = QStringLiteral("Timeouts");
constexpr int kMaxTimeoutSeconds = 600;

QString remoteFolder(const config::IniFile &ini, const QString &key, const QString &fallback)
{
    QString folder = ini.readString(kRemote, key, fallback).trimmed();
    while (folder.startsWith(u'/'))
        folder.remove(0, 1);
    return config::withTrailingSeparator(folder);
}

int timeout(const config::IniFile &ini, const QString &key, int fallback)
{
    return qBound(1, ini.readInteger(kTimeouts, key, fallback), kMaxTimeoutSeconds);
}

} // namespace

QString libraryFolder()
{
    Dl_info info{};
    if (dladdr(reinterpret_cast<void *>(&libraryFolder), &info) == 0 || info.dli_fname == nullptr)
        return {};
    return config::withTrailingSeparator(QFileInfo(QString::fromLocal8Bit(info.dli_fname)).absolutePath());
}

QString settingsFolder()
{
    const QString named = qEnvironmentVariable(keys::kProgramFolderVariable);
    return named.isEmpty() ? libraryFolder() : config::withTrailingSeparator(named);
}

TransferSettings readTransferSettings(const QString &folder)
{
    const QString base = config::withTrailingSeparator(folder);
    const QString ownFile = base + kSettingsFileName;
    if (!QFileInfo::exists(ownFile))
        throw TransferFailure(QStringLiteral("Не найден файл настроек обмена %1").arg(ownFile));
    const config::IniFile ini(ownFile);
    TransferSettings s;
    s.url = config::withTrailingSeparator(ini.readString(keys::kServer, keys::kServerUrl).trimmed());
    if (s.url.isEmpty())
        throw TransferFailure(QStringLiteral("В файле %1 не указан адрес сервера (Server/URL)").arg(ownFile));
    s.user = ini.readString(keys::kServer, keys::kServerUser);
    s.password = config::plainPasswordFromStored(ini.readString(keys::kServer, keys::kServerPassword));
    s.caFile = ini.readString(keys::kServer, QStringLiteral("CAFile"));
    s.remotePrice = remoteFolder(ini, QStringLiteral("Price"), QStringLiteral("price"));
    s.remoteReferences = remoteFolder(ini, QStringLiteral("References"), QStringLiteral("reference"));
    s.remotePrescriptions = remoteFolder(ini, QStringLiteral("Prescriptions"), QStringLiteral("prescription"));
    s.remoteNarcotics = remoteFolder(ini, QStringLiteral("Narcotics"), QStringLiteral("narcotics"));
    s.remoteInvoices = remoteFolder(ini, QStringLiteral("Invoices"), QStringLiteral("invoice"));
    s.remoteArchive = remoteFolder(ini, QStringLiteral("Archive"), QStringLiteral("archive"));
    s.remoteProgram = remoteFolder(ini, QStringLiteral("Program"), QStringLiteral("program"));
    s.remoteIncoming = remoteFolder(ini, QStringLiteral("Incoming"), QStringLiteral("incoming"));
    s.connectTimeoutSeconds = timeout(ini, QStringLiteral("Connect"), s.connectTimeoutSeconds);
    s.responseTimeoutSeconds = timeout(ini, QStringLiteral("Response"), s.responseTimeoutSeconds);
    s.stallTimeoutSeconds = timeout(ini, QStringLiteral("Stall"), s.stallTimeoutSeconds);

    // The working folders as the program keeps them: the stored ones when the
    // stored price folder exists, otherwise the defaults under the program.
    s.programFolder = base;
    s.programSettingsFile = base + QStringLiteral("KXOrders.ini");
    const config::IniFile program(s.programSettingsFile);
    const QString storedPrice =
        config::withTrailingSeparator(program.readString(keys::kPath, keys::kPrice, base + QStringLiteral("IN")));
    const bool stored = QFileInfo(storedPrice).isDir();
    auto folderOf = [&](const QString &key, const QString &sub) {
        const QString fallback = base + sub + u'/';
        if (!stored)
            return fallback;
        const QString value = config::withTrailingSeparator(program.readString(keys::kPath, key, fallback));
        return value.isEmpty() ? fallback : value;
    };
    s.priceFolder = folderOf(keys::kPrice, QStringLiteral("IN"));
    s.ordersFolder = folderOf(keys::kOrder, QStringLiteral("Out"));
    s.invoicesFolder = folderOf(keys::kInvoice, QStringLiteral("Invoice"));
    s.referencesFolder = folderOf(keys::kReference, QStringLiteral("Reference"));
    s.archiveFolder = folderOf(keys::kArchiv, QStringLiteral("Archiv"));
    s.prescriptionsFolder = folderOf(keys::kPrescription, QStringLiteral("Prescription"));
    s.narcoticsFolder = folderOf(keys::kOutboundn, QStringLiteral("Outboundn"));
    return s;
}

} // namespace transfer
