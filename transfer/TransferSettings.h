#pragma once

#include "config/SettingsKeys.h"

#include <QString>

namespace transfer {

// Where the library works: its own settings file KXOrder.ini beside it
// (server, account, remote folders, time-outs) and the working folders from
// the program's settings file in the same folder.
struct TransferSettings {
    QString url; // ftp://, ftps:// (explicit TLS), sftp:// or file:// root, ending with '/'
    QString user;
    QString password; // plain
    QString caFile; // certificate authority for ftps, empty for the system's

    QString remotePrice, remoteReferences, remotePrescriptions, remoteNarcotics;
    QString remoteInvoices, remoteArchive, remoteProgram, remoteIncoming;

    int connectTimeoutSeconds = 10;
    int responseTimeoutSeconds = 20;
    int stallTimeoutSeconds = 30; // no byte moved for this long ends a transfer

    QString programSettingsFile;
    QString priceFolder, ordersFolder, invoicesFolder, referencesFolder, archiveFolder, prescriptionsFolder,
        narcoticsFolder, programFolder;
};

// The folder the library was loaded from, with a trailing '/'.
QString libraryFolder();
// Where the settings files are: the folder the program names in
// KXORDERS_FOLDER, else the library's own folder.
QString settingsFolder();
inline const QString &kSettingsFileName = config::keys::kTransferFile;

// Reads both files of `folder`. A missing server address is a TransferFailure.
TransferSettings readTransferSettings(const QString &folder);

} // namespace transfer
