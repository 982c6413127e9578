#include "OrderWorkCopy.h"

#include "OrderError.h"

#include "schema/Catalogue.h"
#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cstdio>

namespace ordering {

namespace {

// A working copy left behind holds an order when it has rows; an empty one
// (a fresh copy of the template) may go.
void removeStaleCopy(const QString &path)
{
    bool empty = false;
    try {
        tables::Table stale(path);
        stale.setReadOnly(true);
        stale.open();
        empty = stale.recordCount() == 0;
    } catch (const tables::TableError &) {
        empty = false;
    }
    if (!empty)
        throw OrderError(QStringLiteral("В папке программы остался файл %1 с прежним заказом, который не был "
                                        "перенесён в папку заказов. Перенесите его или удалите, затем "
                                        "сформируйте заказ снова. Заказ не сформирован.")
                             .arg(path));
    if (!QFile::remove(path))
        throw OrderError(QStringLiteral("Не удалось удалить прежний файл %1. Заказ не сформирован.").arg(path));
}

} // namespace

OrderWorkCopy::OrderWorkCopy(const QString &programFolder)
{
    templatePath_ = tables::findFileNoCase(programFolder, schema::kOrderTemplate);
    if (!QFileInfo(templatePath_).isFile())
        throw OrderError(QStringLiteral("Не найден шаблон заказа %1. Заказ не сформирован.").arg(templatePath_));
    const QString stale = tables::findFileNoCase(programFolder, schema::kOrderWorkCopy);
    if (QFileInfo::exists(stale))
        removeStaleCopy(stale);
    path_ = QDir(programFolder).filePath(schema::kOrderWorkCopy);
    if (!QFile::copy(templatePath_, path_))
        throw OrderError(QStringLiteral("Не удалось скопировать шаблон заказа %1 в %2. Заказ не сформирован.")
                             .arg(templatePath_, path_));
    owned_ = true;
    // A read-only template gives a read-only copy; the copy is filled.
    QFile::setPermissions(path_, QFile::permissions(path_) | QFile::WriteOwner | QFile::ReadOwner);
}

OrderWorkCopy::~OrderWorkCopy()
{
    if (owned_)
        QFile::remove(path_);
}

bool OrderWorkCopy::moveTo(const QString &target)
{
    if (tables::fileExistsNoCase(target))
        return false;
    if (!QFile::rename(path_, target))
        return false;
    owned_ = false;
    return true;
}

bool OrderWorkCopy::replace(const QString &target)
{
    const QString existing = tables::resolvePathNoCase(target);
    // rename() replaces the target atomically: there is never a moment without an order file.
    if (std::rename(QFile::encodeName(path_).constData(), QFile::encodeName(target).constData()) != 0)
        return false;
    owned_ = false;
    if (QFileInfo(existing).fileName() != QFileInfo(target).fileName() && QFileInfo::exists(existing))
        QFile::remove(existing);
    return true;
}

void OrderWorkCopy::keep() { owned_ = false; }

QString orderFileName(const QString &ordersFolder, int subCustomerId, int number)
{
    return QDir(ordersFolder).filePath(QStringLiteral("Z%1_%2.dbf").arg(subCustomerId).arg(number));
}

} // namespace ordering
