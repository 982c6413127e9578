#include "xls/XlrdReader.h"

#include <QFileInfo>
#include <QJsonDocument>
#include <QProcess>
#include <QStandardPaths>

#include <stdexcept>

namespace {

QString python()
{
    // A Python first on PATH (pyenv and the like) may lack the Debian package.
    const QString debian = QStringLiteral("/usr/bin/python3");
    if (QFileInfo(debian).isExecutable())
        return debian;
    return QStandardPaths::findExecutable(QStringLiteral("python3"));
}

} // namespace

QJsonObject readWithXlrd(const QStringList &arguments)
{
    QProcess process;
    process.start(python(), QStringList{QStringLiteral(KX_XLRD_SCRIPT)} + arguments);
    if (!process.waitForFinished(120000))
        throw std::runtime_error("xlrd reader did not finish: " + process.errorString().toStdString());
    const QByteArray out = process.readAllStandardOutput();
    const QByteArray err = process.readAllStandardError();
    if (process.exitStatus() != QProcess::NormalExit || process.exitCode() != 0)
        throw std::runtime_error("xlrd reader failed: " + err.toStdString());
    QJsonParseError error;
    const QJsonDocument json = QJsonDocument::fromJson(out, &error);
    if (!json.isObject())
        throw std::runtime_error("xlrd reader printed no JSON: " + error.errorString().toStdString() + "\n"
                                 + err.toStdString());
    return json.object();
}
