#include "IncomingRefresh.h"

#include "CarryColumns.h"
#include "ExchangeFeedback.h"
#include "FileSync.h"
#include "FirstMatchIndex.h"
#include "FolderScan.h"
#include "OldTableReader.h"
#include "ResponsiveTimer.h"

#include "tables/FileLookup.h"
#include "tables/Table.h"
#include "tables/TableCreate.h"
#include "tables/TableError.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

#include <cmath>
#include <memory>
#include <vector>

namespace exchange {

namespace {

const QString kOldExtension = QStringLiteral(".old");
const QString kNameField = QStringLiteral("Name");
const QString kPricePrefix = QStringLiteral("PRICE");

struct PricePair {
    tables::Field before;
    tables::Field after;
};

// Carried columns the new table lacks, with the old column's name and type
// and the engine's default size. True when the table needs restructuring.
bool addMissingColumns(tables::Table &oldTable, tables::Table &newTable, const QStringList &carried,
                       tables::FieldSpecs *specs)
{
    *specs = tables::fieldSpecsOf(newTable);
    bool added = false;
    for (const QString &name : carried) {
        if (newTable.hasField(name))
            continue;
        const tables::Field old = oldTable.field(name);
        specs->push_back({old.name(), old.kind(), 0, 0});
        added = true;
    }
    return added;
}

bool allEmpty(const std::vector<tables::Field> &fields)
{
    for (const tables::Field &f : fields)
        if (!f.asString().isEmpty())
            return false;
    return true;
}

QString joinedValues(const std::vector<tables::Field> &fields, bool withNames)
{
    QStringList parts;
    for (const tables::Field &f : fields) {
        if (withNames && f.asString().isEmpty())
            continue;
        parts.append(withNames ? f.name() + u'=' + f.asString() : f.asString());
    }
    return parts.join(withNames ? QStringLiteral(", ") : QStringLiteral("; "));
}

std::vector<PricePair> priceFields(tables::Table &oldTable, tables::Table &newTable, const QStringList &carried)
{
    std::vector<PricePair> prices;
    for (const QString &name : newTable.fieldNames()) {
        if (!name.startsWith(kPricePrefix, Qt::CaseInsensitive) || carried.contains(name, Qt::CaseInsensitive))
            continue;
        tables::Field after = newTable.field(name);
        tables::Field before = oldTable.findField(name);
        if (before.isValid() && before.isNumeric() && after.isNumeric())
            prices.push_back({before, after});
    }
    return prices;
}

class Transfer {
public:
    Transfer(tables::Table &oldTable, tables::Table &newTable, const CarryColumns &columns, const QString &tableName,
             CarryMode mode)
        : old_(oldTable), new_(newTable), columns_(columns), tableName_(tableName), mode_(mode),
          oldKeys_(oldTable.fieldsByNames(columns.keyList())),
          oldCarried_(oldTable.fieldsByNames(columns.carriedList())),
          newCarried_(newTable.fieldsByNames(columns.carriedList())), oldName_(oldTable.findField(kNameField)),
          prices_(priceFields(oldTable, newTable, columns.carried))
    {
        // Every key column must be there.
        lastKeyText_ = newTable.fieldsByNames(columns.keyList()).back().kind() == tables::FieldKind::String;
        // A carried key column changes the keys the later searches see: then
        // every search is the table's own, one after the other.
        bool carriesKey = false;
        for (const QString &name : columns.carried)
            carriesKey = carriesKey || columns.keys.contains(name, Qt::CaseInsensitive);
        if (!carriesKey)
            index_ = FirstMatchIndex::build(newTable, columns.keys);
    }

    CarryReport run(ExchangeFeedback &feedback)
    {
        ResponsiveTimer responsive(feedback);
        old_.forEachVisible([&](std::uint32_t) {
            responsive.poll();
            if (allEmpty(oldCarried_))
                return;
            QVariantList key;
            for (const tables::Field &f : oldKeys_)
                key.append(f.value());
            // An empty text searched by its beginning would match the first
            // record of the table, whatever drug that is.
            const bool nothingToSearch = lastKeyText_ && key.last().toString().isEmpty();
            const std::uint32_t found = nothingToSearch ? 0 : find(key);
            if (!found) {
                report_.dropped.append(describe());
                return;
            }
            carryTo(found);
        });
        return report_;
    }

private:
    std::uint32_t find(const QVariantList &key)
    {
        if (index_)
            return index_->find(key);
        return new_.locate(columns_.keyList(), key, {.caseInsensitive = true, .partialKey = true}) ? new_.recNo() : 0;
    }

    DroppedValue describe() const
    {
        return {tableName_, joinedValues(oldKeys_, false), oldName_.isValid() ? oldName_.asString() : QString(),
                joinedValues(oldCarried_, oldCarried_.size() > 1)};
    }

    void carryTo(std::uint32_t recno)
    {
        if (!new_.gotoBookmark(recno))
            return;
        if (mode_ == CarryMode::FillEmpty && !allEmpty(newCarried_))
            return;
        // A value the new column cannot hold is reported with the dropped
        // ones: one such value must not stop every other from being carried.
        try {
            new_.edit();
            for (size_t i = 0; i < oldCarried_.size(); ++i)
                newCarried_[i].setValue(oldCarried_[i].value());
            new_.post();
        } catch (const tables::TableError &e) {
            new_.cancel();
            DroppedValue dropped = describe();
            dropped.value += QStringLiteral(" (не помещается: %1)").arg(e.message());
            report_.dropped.append(dropped);
            return;
        }
        for (const PricePair &p : prices_) {
            const double before = p.before.asFloat();
            const double after = p.after.asFloat();
            if (!p.before.isNull() && before > 0 && std::abs(after - before) > kPriceHintMargin * before) {
                report_.hints.append({describe(), p.after.name(), before, after});
                break;
            }
        }
    }

    tables::Table &old_;
    tables::Table &new_;
    const CarryColumns &columns_;
    QString tableName_;
    CarryMode mode_;
    std::vector<tables::Field> oldKeys_;
    std::vector<tables::Field> oldCarried_;
    std::vector<tables::Field> newCarried_;
    tables::Field oldName_;
    std::vector<PricePair> prices_;
    std::unique_ptr<FirstMatchIndex> index_;
    bool lastKeyText_ = false;
    CarryReport report_;
};

CarryReport carry(const QString &tablePath, const QString &oldPath, const CarryColumns &columns,
                  const QString &tableName, ExchangeFeedback &feedback, CarryMode mode)
{
    OldTableReader oldCopy(oldPath);
    tables::Table &oldTable = oldCopy.table();
    for (const QString &name : columns.carried)
        if (!oldTable.hasField(name))
            return {};

    auto newTable = std::make_unique<tables::Table>(tablePath);
    newTable->open();
    tables::FieldSpecs specs;
    if (addMissingColumns(oldTable, *newTable, columns.carried, &specs)) {
        newTable->close();
        feedback.setStatusText(QStringLiteral("Обновляю структуру таблицы..."));
        feedback.keepResponsive();
        const QString kept = tables::restructureTable(tablePath, specs);
        tables::removeTableFiles(kept);
        newTable = std::make_unique<tables::Table>(tablePath);
        newTable->open();
    }
    CarryReport report = Transfer(oldTable, *newTable, columns, tableName, mode).run(feedback);
    newTable->close();
    syncTableFiles(tablePath);
    feedback.setStatusText(QStringLiteral("Информация перенесена - ") + tableName);
    return report;
}

} // namespace

QString oldTablePath(const QString &tablePath)
{
    const QFileInfo info(tablePath);
    return tables::findFileNoCase(info.path(), info.completeBaseName() + kOldExtension);
}

CarryReport refreshTable(const QString &priceFolder, const QString &tableName, const QString &propertiesFile,
                         ExchangeFeedback &feedback, CarryMode mode)
{
    const QString tablePath = tables::findFileNoCase(folderPath(priceFolder), tableName);
    const QString oldPath = oldTablePath(tablePath);
    if (!QFileInfo(oldPath).isFile())
        return {};
    CarryReport report;
    const CarryColumns columns = readCarryColumns(propertiesFile, tableName);
    if (columns.canCarry())
        report = carry(tablePath, oldPath, columns, tableName, feedback, mode);
    const QString list = writeReportFile(tablePath, report);
    if (!list.isEmpty()) {
        report.reportFiles.append(list);
        feedback.setStatusText(QStringLiteral("Не перенесено значений: %1, цена заметно изменилась: %2 (список: %3)")
                                   .arg(report.dropped.size())
                                   .arg(report.hints.size())
                                   .arg(QDir::toNativeSeparators(list)));
    }
    if (!QFile::remove(oldPath))
        feedback.setStatusText(QStringLiteral("Не удаётся удалить файл ") + QDir::toNativeSeparators(oldPath));
    return report;
}

CarryReport RefreshIncomingTables(const QString &priceFolder, const QString &propertiesFile, ExchangeFeedback &feedback)
{
    CarryReport report;
    for (const QString &name : filesByExt(priceFolder, QStringLiteral(".dbf")))
        report.append(refreshTable(priceFolder, name, propertiesFile, feedback));
    return report;
}

} // namespace exchange
