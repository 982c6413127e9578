#include "FileSync.h"

#include "tables/FileLookup.h"

#include <QFile>
#include <QFileInfo>

#include <fcntl.h>
#include <unistd.h>

namespace exchange {

namespace {

void syncPath(const QString &path)
{
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDONLY | O_CLOEXEC);
    if (fd < 0)
        return;
    ::fsync(fd);
    ::close(fd);
}

} // namespace

void syncTableFiles(const QString &tablePath)
{
    const QFileInfo info(tablePath);
    syncPath(tablePath);
    for (const char *extension : {".mdx", ".dbt"}) {
        const QString sibling = tables::findFileNoCase(info.path(), info.completeBaseName() + QLatin1String(extension));
        if (QFileInfo::exists(sibling))
            syncPath(sibling);
    }
    syncPath(info.path());
}

} // namespace exchange
