#pragma once

// The fuzz input as a file the engine can open: one per process, rewritten
// for every input.
#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QString>

#include <cstddef>
#include <cstdint>
#include <unistd.h>

inline QString fuzzFolder()
{
    static const QString folder = [] {
        const QString f = QDir::tempPath() + QStringLiteral("/kx-fuzz-%1").arg(::getpid());
        QDir().mkpath(f);
        return f;
    }();
    return folder;
}

inline QString writeFuzzFile(const QString &name, const std::uint8_t *data, std::size_t size)
{
    const QString path = fuzzFolder() + u'/' + name;
    QFile f(path);
    if (f.open(QIODevice::WriteOnly | QIODevice::Truncate))
        f.write(reinterpret_cast<const char *>(data), qint64(size));
    return path;
}
