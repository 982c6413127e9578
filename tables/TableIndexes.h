#pragma once

#include "FieldDef.h"
#include "MdxKeySource.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <utility>
#include <vector>

namespace tables {

class DbfFile;
class FileLock;
class MdxFile;
class MdxFoldedKeys;
class MdxTag;
class RecordOrder;

// The production index of one open table: opens (and creates) the .mdx the
// way TDbf does, keeps every tag in step with the records written through the
// table, supplies the active index's order and narrows locates. All writes
// run under an OS lock on the table, so table objects in one process or in
// several never overwrite each other's appends and keep the index whole.
class TableIndexes {
public:
    TableIndexes();
    ~TableIndexes();
    TableIndexes(const TableIndexes &) = delete;
    TableIndexes &operator=(const TableIndexes &) = delete;

    // --- before opening ---
    // Tags created in the production index when the table opens; kept for
    // that opening only.
    void addDefinition(const QString &tagName, const QString &expression);
    void clearDefinitions();

    // --- with the table ---
    void open(DbfFile &file, const TableSchema &schema, const QString &tablePath);
    void close();
    bool hasIndex() const { return mdx_ != nullptr; }
    QStringList tagNames() const;
    QString mdxPath() const;

    // The active index; a name that is no tag keeps the stored order.
    void setIndexName(const QString &name) { indexName_ = name; }
    const QString &indexName() const { return indexName_; }
    // Order of the active tag (within the master's key while a master/detail
    // link is set), or nullptr for the stored order.
    std::shared_ptr<RecordOrder> activeOrder();

    // Master/detail: only the records whose active-index key equals the
    // master's value; nullopt when the master has no record (nothing shows).
    void setMasterLink(bool linked, std::optional<QVariant> value = std::nullopt)
    {
        masterLinked_ = linked;
        masterValue_ = std::move(value);
    }
    bool isMasterLinked() const { return masterLinked_; }

    // --- writing records, with the lock and the index ---
    std::uint32_t appendRecord(const char *record);
    void writeRecord(std::uint32_t recno, const char *record);

    // --- locate ---
    // When a tag on one of the fields can narrow the search: offers the
    // records that may match in `order`'s sequence (nullptr = stored order)
    // to `accept` and sets *found to the first taken (0 for none); returns
    // false, touching nothing, when the search must go record by record.
    // Letter case and partial keys are for `accept` to decide: the records
    // offered are all that can match either way.
    bool locate(const QStringList &fields, const QVariantList &values, const RecordOrder *order,
                const std::function<bool(std::uint32_t)> &accept, std::uint32_t *found);
    // Locates that went through a tag, for tests and benchmarks.
    std::uint64_t locatesThroughTags() const { return locatesThroughTags_; }

    // --- for MdxOrder ---
    // Holds a shared lock on the index while reading it and re-reads it when
    // another object changed it since.
    class ReadScope {
    public:
        explicit ReadScope(TableIndexes &indexes);
        ~ReadScope();

    private:
        std::unique_ptr<FileLock> lock_;
    };
    MdxTag *findTag(const QString &name);
    // Key of a record for a tag; false when the record cannot be read.
    bool keyOfRecord(MdxTag &tag, std::uint32_t recno, QByteArray *key);
    // The master's value as a key of `tag` (nullopt: no master record).
    std::optional<QByteArray> masterKeyFor(const MdxTag &tag) const;
    // A value as a key of `tag`.
    QByteArray keyForValue(const MdxTag &tag, const QVariant &value) const;

private:
    struct Maintained {
        MdxTag *tag;
        MdxKeySource source;
    };
    void openLocked();
    bool locateInNumericOrder(const QString &tagName, const QStringList &fields, const QVariantList &values,
                              const std::function<bool(std::uint32_t)> &accept, std::uint32_t *found);
    bool needsWriting(const DbfFile &file) const;
    void createMissingTags();
    void rebuild();
    void bindTags();
    void syncLocked();
    void buildTag(const QString &name, const MdxKeySource &source);
    std::vector<std::pair<QString, QString>> tagDefinitionsInFile() const;
    const Maintained *maintained(const MdxTag *tag) const;
    int tagForLocate(const QStringList &fields, const QVariantList &values, QByteArray *text) const;

    std::vector<std::pair<QString, QString>> definitions_;
    QString indexName_;
    bool masterLinked_ = false;
    std::optional<QVariant> masterValue_;

    DbfFile *file_ = nullptr;
    TableSchema schema_;
    QString tablePath_;
    QString mdxPath_;
    std::unique_ptr<MdxFile> mdx_;
    std::vector<Maintained> tags_;
    std::vector<std::unique_ptr<MdxFoldedKeys>> folded_; // per tag, built on demand
    std::uint64_t mdxLoads_ = 0;
    std::uint64_t locatesThroughTags_ = 0;
};

} // namespace tables
