#include "NetworkManagerDialUp.h"

#include "PlatformError.h"

#include <QProcess>
#include <QStandardPaths>

#include <algorithm>

namespace platform {

namespace {

constexpr int kListTimeoutMs = 5000;

bool isModemType(const QString &type)
{
    return type == QLatin1String("gsm") || type == QLatin1String("cdma") || type == QLatin1String("pppoe");
}

QString nmcli() { return QStandardPaths::findExecutable(QStringLiteral("nmcli")); }

} // namespace

QStringList NetworkManagerDialUp::splitTerseLine(const QString &line)
{
    QStringList fields(1);
    for (qsizetype i = 0; i < line.size(); ++i) {
        const QChar c = line[i];
        if (c == u'\\' && i + 1 < line.size()) {
            fields.back() += line[++i];
        } else if (c == u':') {
            fields << QString();
        } else {
            fields.back() += c;
        }
    }
    return fields;
}

std::vector<DialUpConnection> NetworkManagerDialUp::parseActiveConnections(const QByteArray &output)
{
    std::vector<DialUpConnection> connections;
    for (const QString &line : QString::fromUtf8(output).split(u'\n', Qt::SkipEmptyParts)) {
        const QStringList f = splitTerseLine(line.trimmed());
        if (f.size() >= 3 && isModemType(f[2]) && !f[1].isEmpty())
            connections.push_back({f[0], f[1]});
    }
    return connections;
}

std::vector<DialUpConnection> NetworkManagerDialUp::activeConnections()
{
    const QString program = nmcli();
    if (program.isEmpty())
        return {};
    QProcess process;
    process.start(program,
                  {QStringLiteral("-t"), QStringLiteral("-f"), QStringLiteral("NAME,UUID,TYPE"),
                   QStringLiteral("connection"), QStringLiteral("show"), QStringLiteral("--active")});
    if (!process.waitForFinished(kListTimeoutMs) || process.exitStatus() != QProcess::NormalExit
        || process.exitCode() != 0) {
        process.kill();
        process.waitForFinished(kListTimeoutMs);
        return {};
    }
    return parseActiveConnections(process.readAllStandardOutput());
}

void NetworkManagerDialUp::hangUp(const DialUpConnection &connection, int waitSeconds)
{
    const QString program = nmcli();
    if (program.isEmpty())
        throw PlatformError(rasErrorMessage(-1, QStringLiteral("nmcli is not installed")));
    const int wait = std::max(waitSeconds, 1);
    QProcess process;
    process.start(program,
                  {QStringLiteral("--wait"), QString::number(wait), QStringLiteral("connection"),
                   QStringLiteral("down"), QStringLiteral("uuid"), connection.id});
    if (!process.waitForFinished((wait + 5) * 1000)) {
        process.kill();
        process.waitForFinished(kListTimeoutMs);
        throw PlatformError(rasErrorMessage(-1, QStringLiteral("nmcli did not answer")));
    }
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw PlatformError(
            rasErrorMessage(process.exitCode(), QString::fromLocal8Bit(process.readAllStandardError()).trimmed()));
}

} // namespace platform
