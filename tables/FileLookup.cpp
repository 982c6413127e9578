#include "FileLookup.h"

#include <QDir>
#include <QDirIterator>
#include <QFileInfo>

namespace tables {

QString findFileNoCase(const QString &folder, const QString &name)
{
    QString dir = folder;
    if (!dir.isEmpty() && !dir.endsWith(u'/') && !dir.endsWith(u'\\'))
        dir += u'/';
    const QString exact = dir + name;
    if (QFileInfo::exists(exact))
        return exact;
    QDirIterator it(dir.isEmpty() ? QStringLiteral(".") : dir, QDir::Files | QDir::Hidden | QDir::System);
    while (it.hasNext()) {
        it.next();
        if (it.fileName().compare(name, Qt::CaseInsensitive) == 0)
            return dir + it.fileName();
    }
    return exact;
}

QString resolvePathNoCase(const QString &path)
{
    if (QFileInfo::exists(path))
        return path;
    const int slash = int(std::max(path.lastIndexOf(u'/'), path.lastIndexOf(u'\\')));
    if (slash < 0)
        return findFileNoCase(QString(), path);
    return findFileNoCase(path.left(slash + 1), path.mid(slash + 1));
}

bool fileExistsNoCase(const QString &path) { return QFileInfo::exists(resolvePathNoCase(path)); }

} // namespace tables
