#include "LocalRemote.h"

#include "TransferFailure.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace transfer {

namespace {

void copyFile(const QString &from, const QString &to)
{
    QFile::remove(to);
    if (!QFile::copy(from, to))
        throw TransferFailure(QStringLiteral("Не удалось скопировать %1 в %2").arg(from, to));
}

} // namespace

LocalRemote::LocalRemote(QString root) : root_(std::move(root))
{
    if (!QFileInfo(root_).isDir())
        throw TransferFailure(QStringLiteral("Папка сервера %1 не найдена").arg(root_));
}

QString LocalRemote::path(const QString &folder, const QString &name) const { return root_ + folder + name; }

QStringList LocalRemote::list(const QString &folder)
{
    return QDir(path(folder)).entryList(QDir::Files | QDir::NoDotAndDotDot, QDir::Name);
}

qint64 LocalRemote::size(const QString &folder, const QString &name)
{
    const QFileInfo info(path(folder, name));
    return info.isFile() ? info.size() : -1;
}

qint64 LocalRemote::download(const QString &folder, const QString &name, const QString &localPath)
{
    copyFile(path(folder, name), localPath);
    return QFileInfo(localPath).size();
}

void LocalRemote::upload(const QString &localPath, const QString &folder, const QString &name)
{
    if (!QDir(path(folder)).exists())
        throw TransferFailure(QStringLiteral("Папка сервера %1 не найдена").arg(path(folder)));
    copyFile(localPath, path(folder, name));
}

void LocalRemote::rename(const QString &folder, const QString &from, const QString &to)
{
    if (!QFile::rename(path(folder, from), path(folder, to)))
        throw TransferFailure(QStringLiteral("Не удалось переименовать %1 в %2").arg(path(folder, from), to));
}

void LocalRemote::remove(const QString &folder, const QString &name)
{
    if (!QFile::remove(path(folder, name)))
        throw TransferFailure(QStringLiteral("Не удалось удалить %1").arg(path(folder, name)));
}

} // namespace transfer
