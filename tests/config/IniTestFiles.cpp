#include "IniTestFiles.h"

#include "tables/CodePage.h"

#include <QFile>

#include <stdexcept>

void IniTestFolder::putBytes(const QString &name, const QByteArray &bytes) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size())
        throw std::runtime_error("cannot write test file");
}

void IniTestFolder::putText(const QString &name, const QString &text) const
{
    putBytes(name, codepages::CodePage::byNumber(1251).encode(text));
}

QByteArray IniTestFolder::bytes(const QString &name) const
{
    QFile file(path(name));
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return file.readAll();
}

QString IniTestFolder::text(const QString &name) const
{
    return codepages::CodePage::byNumber(1251).decode(bytes(name));
}
