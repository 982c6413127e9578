#include "Remote.h"

#include "CurlRemote.h"
#include "LocalRemote.h"
#include "TransferSettings.h"

#include <QDir>
#include <QRegularExpression>
#include <QUrl>

namespace transfer {

bool acceptableName(const QString &name)
{
    static const QRegularExpression plain(QStringLiteral("^[A-Za-z0-9_][A-Za-z0-9_.\\-]{0,127}$"));
    return plain.match(name).hasMatch();
}

std::unique_ptr<Remote> openRemote(const TransferSettings &settings, bool passive, const InfoSink &info)
{
    const QUrl url(settings.url);
    if (url.isLocalFile()) {
        // "file:distributor/" is relative to the program folder.
        QString root = url.toLocalFile();
        if (QDir::isRelativePath(root))
            root = settings.programFolder + root;
        info(QStringLiteral("Папка сервера %1").arg(root));
        return std::make_unique<LocalRemote>(root);
    }
    info(QStringLiteral("Соединение с %1 (%2)")
             .arg(url.host(), passive ? QStringLiteral("пассивный режим") : QStringLiteral("активный режим")));
    return std::make_unique<CurlRemote>(settings, passive);
}

} // namespace transfer
