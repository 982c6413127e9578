#include "UserInstallation.h"

#include "config/ProgramFiles.h"
#include "config/SettingsKeys.h"
#include "demo/DemoInstallation.h"
#include "errors/KxError.h"
#include "platform/MessageService.h"
#include "platform/Services.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QStandardPaths>
#include <QTemporaryDir>

namespace app {

namespace {

const QString kDemoArgument = QStringLiteral("--demo");

bool holdsProgramFiles(const QString &folder)
{
    const QDir dir(folder);
    return dir.exists(QStringLiteral("KXOrders.ini")) || dir.exists(QStringLiteral("libKXOrder.so"));
}

bool isMissingOrEmpty(const QString &folder)
{
    const QDir dir(folder);
    return !dir.exists() || dir.isEmpty(QDir::AllEntries | QDir::Hidden | QDir::System | QDir::NoDotAndDotDot);
}

QString offerText(const QString &folder)
{
    return QStringLiteral("Программа запущена впервые. Её настройки и рабочие папки будут храниться в папке\n"
                          "%1\n\n"
                          "Заполнить её демонстрационными данными: прайс-листом, справочниками, архивом заказов и "
                          "учебным поставщиком для обмена?")
        .arg(QDir::toNativeSeparators(folder));
}

// Written into a sibling folder on the same file system and renamed into place.
void writeDemo(const QString &folder)
{
    const QString parent = QFileInfo(QDir::cleanPath(folder)).absolutePath();
    QDir().mkpath(parent);
    QTemporaryDir aside(parent + QStringLiteral("/.KXOrders-demo-XXXXXX"));
    if (!aside.isValid())
        throw kx::Error(QStringLiteral("Не удалось создать временную папку в %1").arg(parent));
    const QString staged = aside.path() + QStringLiteral("/installation");
    demo::createDemoInstallation(staged);
    QDir().rmdir(folder);
    if (!QDir().rename(staged, QDir::cleanPath(folder)))
        throw kx::Error(QStringLiteral("Не удалось перенести данные в папку %1").arg(folder));
}

} // namespace

QString installationFolder(const QString &executableFolder, const QString &userFolder)
{
    if (holdsProgramFiles(executableFolder))
        return config::withTrailingSeparator(executableFolder);
    return config::withTrailingSeparator(userFolder);
}

QString defaultUserFolder()
{
    return config::withTrailingSeparator(QStandardPaths::writableLocation(QStandardPaths::GenericDataLocation)
                                         + QStringLiteral("/KXOrders"));
}

bool prepareUserInstallation(const QString &folder, DemoOffer offer, platform::MessageService &messages)
{
    if (!isMissingOrEmpty(folder))
        return true;
    const bool demo = offer == DemoOffer::Create
        || messages.askYesNo(offerText(folder), platform::applicationTitle(), platform::MessageIcon::Question);
    if (demo) {
        try {
            writeDemo(folder);
            return true;
        } catch (const std::exception &error) {
            messages.showError(QStringLiteral("Не удалось записать демонстрационные данные в папку %1.\n%2")
                                   .arg(QDir::toNativeSeparators(folder), kx::userMessage(error)));
        }
    }
    if (QDir().mkpath(folder))
        return true;
    messages.showError(QStringLiteral("Не удалось создать папку программы %1.").arg(QDir::toNativeSeparators(folder)));
    return false;
}

bool setUpInstallation(const QStringList &arguments)
{
    const QString folder = installationFolder(QCoreApplication::applicationDirPath(), defaultUserFolder());
    if (folder != config::withTrailingSeparator(QCoreApplication::applicationDirPath())) {
        const DemoOffer offer = arguments.contains(kDemoArgument) ? DemoOffer::Create : DemoOffer::Ask;
        if (!prepareUserInstallation(folder, offer, platform::messages()))
            return false;
    }
    config::setProgramFolder(folder);
    qputenv(config::keys::kProgramFolderVariable, QFile::encodeName(folder));
    return true;
}

} // namespace app
