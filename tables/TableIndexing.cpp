// Table: index tags, the active index and master/detail links.
#include "MasterLink.h"
#include "Table.h"
#include "TableError.h"
#include "TableIndexes.h"

namespace tables {

TableIndexes &Table::indexes()
{
    if (!indexes_)
        indexes_ = std::make_unique<TableIndexes>();
    return *indexes_;
}

void Table::addIndexDef(const QString &tagName, const QString &expression)
{
    if (isOpen())
        throw TableError(QStringLiteral("Table %1 is open; index tags are defined before opening").arg(path_));
    indexes().addDefinition(tagName, expression);
}

void Table::setIndexName(const QString &name)
{
    indexes().setIndexName(name);
    if (isOpen())
        setOrder(indexes().activeOrder());
}

QString Table::indexName() const { return indexes_ ? indexes_->indexName() : QString(); }

QStringList Table::indexTagNames() const { return indexes_ ? indexes_->tagNames() : QStringList(); }

void Table::setMasterLink(Table *master, const QString &masterField)
{
    masterLink_.reset();
    if (!master) {
        indexes().setMasterLink(false);
        if (isOpen())
            setOrder(indexes().activeOrder());
        return;
    }
    if (master == this)
        throw TableError(QStringLiteral("Table %1 cannot be its own master").arg(path_));
    masterLink_ = std::make_unique<MasterLink>(*this, *master, masterField);
    applyMasterValue(masterLink_->value());
}

Table *Table::masterTable() const { return masterLink_ ? &masterLink_->master() : nullptr; }

void Table::applyMasterValue(const std::optional<QVariant> &value)
{
    indexes().setMasterLink(true, value);
    if (isOpen())
        setOrder(indexes().activeOrder());
}

void Table::openIndexes()
{
    indexes().open(*file_, schema_, file_->path());
    if (masterLink_)
        indexes().setMasterLink(true, masterLink_->value());
    if (auto order = indexes().activeOrder())
        order_ = std::move(order);
}

void Table::closeIndexes()
{
    if (indexes_)
        indexes_->close();
}

} // namespace tables
