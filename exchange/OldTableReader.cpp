#include "OldTableReader.h"

#include "ExchangeError.h"

#include <QDir>
#include <QFile>

#include <unistd.h>

namespace exchange {

namespace {
const QString kAliasSuffix = QStringLiteral(".carry");

QString makeAlias(const QString &oldPath)
{
    const QString alias = oldPath + kAliasSuffix;
    QFile::remove(alias); // left by an interrupted refresh
    if (::link(QFile::encodeName(oldPath).constData(), QFile::encodeName(alias).constData()) != 0
        && !QFile::copy(oldPath, alias))
        throw ExchangeError(QStringLiteral("Не удаётся прочитать файл %1").arg(QDir::toNativeSeparators(oldPath)));
    return alias;
}
} // namespace

OldTableReader::OldTableReader(const QString &oldPath) : alias_(makeAlias(oldPath)), table_(alias_)
{
    table_.setReadOnly(true);
    try {
        table_.open();
    } catch (...) {
        QFile::remove(alias_);
        throw;
    }
}

OldTableReader::~OldTableReader()
{
    table_.close();
    QFile::remove(alias_);
}

} // namespace exchange
