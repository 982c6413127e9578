#include "WorkFolders.h"

#include "config/IniFile.h"
#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"

#include <QDir>
#include <QFileInfo>

namespace app {

using windows::WorkFolder;

namespace {

QString defaultSubfolder(WorkFolder which)
{
    switch (which) {
    case WorkFolder::Price: return QStringLiteral("IN");
    case WorkFolder::Orders: return QStringLiteral("Out");
    case WorkFolder::Invoices: return QStringLiteral("Invoice");
    case WorkFolder::References: return QStringLiteral("Reference");
    case WorkFolder::Archive: return QStringLiteral("Archiv");
    case WorkFolder::Prescriptions: return QStringLiteral("Prescription");
    case WorkFolder::Narcotics: return QStringLiteral("Outboundn");
    }
    return {};
}

} // namespace

const std::array<WorkFolder, WorkFolders::kCount> &WorkFolders::all()
{
    static const std::array<WorkFolder, kCount> folders = {
        WorkFolder::Price,   WorkFolder::Orders,        WorkFolder::Invoices, WorkFolder::References,
        WorkFolder::Archive, WorkFolder::Prescriptions, WorkFolder::Narcotics};
    return folders;
}

QString WorkFolders::settingsKey(WorkFolder which)
{
    switch (which) {
    case WorkFolder::Price: return config::keys::kPrice;
    case WorkFolder::Orders: return config::keys::kOrder;
    case WorkFolder::Invoices: return config::keys::kInvoice;
    case WorkFolder::References: return config::keys::kReference;
    case WorkFolder::Archive: return config::keys::kArchiv;
    case WorkFolder::Prescriptions: return config::keys::kPrescription;
    case WorkFolder::Narcotics: return config::keys::kOutboundn;
    }
    return {};
}

void WorkFolders::set(WorkFolder which, const QString &path)
{
    paths_[index(which)] = config::withTrailingSeparator(path);
}

WorkFolders WorkFolders::defaults(const QString &programFolder)
{
    const QString base = config::withTrailingSeparator(programFolder);
    WorkFolders folders;
    for (WorkFolder which : all())
        folders.set(which, base + defaultSubfolder(which) + u'/');
    return folders;
}

WorkFolders WorkFolders::fromSettings(const config::IniFile &settings, const QString &programFolder)
{
    const WorkFolders fallback = defaults(programFolder);
    const QString price = config::withTrailingSeparator(
        settings.readString(config::keys::kPath, settingsKey(WorkFolder::Price), fallback[WorkFolder::Price]));
    if (price.isEmpty() || !QFileInfo(price).isDir())
        return fallback;
    WorkFolders folders;
    folders.set(WorkFolder::Price, price);
    for (WorkFolder which : all())
        if (which != WorkFolder::Price) {
            // An empty stored folder would address files relative to wherever
            // the program was started; the default is used instead.
            const QString stored = settings.readString(config::keys::kPath, settingsKey(which));
            folders.set(which, stored.isEmpty() ? fallback[which] : stored);
        }
    return folders;
}

void WorkFolders::createMissing() const
{
    for (const QString &path : paths_) {
        if (path.isEmpty() || QFileInfo::exists(path))
            continue;
        // QDir::mkdir creates the last level only.
        QDir().mkdir(path);
    }
}

} // namespace app
