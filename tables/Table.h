#pragma once

#include "DbfFile.h"
#include "Expression.h"
#include "Field.h"
#include "FieldDef.h"
#include "RecordOrder.h"
#include "TableObserver.h"

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantList>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

namespace codepages {
class CodePage;
}

namespace tables {

using codepages::CodePage;
class MasterLink;
class MemoFile;
class TableIndexes;

enum class TableState { Inactive, Browse, Edit, Insert };

struct LocateOptions {
    bool caseInsensitive = false;
    bool partialKey = false; // the last key field begins with its value
};

// A bookmark is the physical record number: it survives posts, filter and
// order changes. 0 is no bookmark.
using Bookmark = std::uint32_t;

// A dBase table opened through its full path: cursor, fields, editing, filter,
// locate, calculated fields. Several Table objects may hold one file.
class Table {
public:
    Table();
    explicit Table(const QString &path);
    ~Table();
    Table(const Table &) = delete;
    Table &operator=(const Table &) = delete;

    // --- set-up, before open ---
    void setPath(const QString &path);
    const QString &path() const { return path_; }
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    // Computed per record by onCalcFields, never stored.
    void addCalculatedField(const QString &name, FieldKind kind, int size = 0, int decimals = 0);

    void open();
    void close();
    bool isOpen() const { return file_ != nullptr; }

    // --- structure ---
    const TableSchema &schema() const { return schema_; }
    int level() const;
    std::uint8_t languageId() const;
    const CodePage &codePage() const;
    int fieldCount() const; // stored plus calculated
    Field field(int index);
    Field field(QStringView name); // TableError naming field and table when absent
    Field findField(QStringView name); // invalid Field when absent
    bool hasField(QStringView name) const;
    int fieldIndex(QStringView name) const; // -1 when absent
    QStringList fieldNames() const;
    std::vector<Field> fieldsByNames(const QString &semicolonList); // TableError on a missing one

    // --- cursor ---
    void first();
    void last();
    void next();
    void prior();
    bool bof() const { return bof_; }
    bool eof() const { return eof_; }
    bool isEmpty() const { return recno_ == 0; }
    std::uint32_t recNo() const { return recno_; }
    // Records in the file, deleted and filtered ones included (as TDbf counts).
    std::uint32_t recordCount() const;
    Bookmark bookmark() const { return recno_; }
    bool gotoBookmark(Bookmark bookmark); // false when the record is gone or hidden
    bool isVisible(std::uint32_t recno); // not deleted (unless shown) and passing the filter
    // Every visible record in the current order, without moving the cursor:
    // what a view shows.
    std::vector<std::uint32_t> visibleRecords();
    // Re-reads the file size and the current record.
    void refresh();

    void setShowDeleted(bool show);
    bool showDeleted() const { return showDeleted_; }
    bool isDeleted() const;

    // --- order ---
    // Replaces the visiting order (an index tag); nullptr restores the stored order.
    void setOrder(std::shared_ptr<RecordOrder> order);
    RecordOrder &order();

    // --- indexes: tags of the production .mdx (TableIndexing.cpp) ---
    // Created in the production index when the table opens and the tag is
    // missing; the definitions are dropped when the table closes.
    void addIndexDef(const QString &tagName, const QString &expression);
    // Navigation follows this tag; a name that is no tag keeps the stored order.
    void setIndexName(const QString &name);
    QString indexName() const;
    QStringList indexTagNames() const;
    // Master/detail: this table shows the records whose active-index key
    // equals master's field value, following master's cursor; nullptr
    // removes the link. The master must outlive the link.
    void setMasterLink(Table *master, const QString &masterField);
    Table *masterTable() const;
    void applyMasterValue(const std::optional<QVariant> &value);
    TableIndexes &indexes();

    // --- filter ---
    void setFilter(const QString &expression); // compiled when filtering is on
    const QString &filter() const { return filterText_; }
    void setFiltered(bool on);
    bool isFiltered() const { return filtered_; }
    void setFilterOptions(ExprOptions options);

    // --- locate: first matching record in the current order, filter in force ---
    bool locate(const QString &fields, const QVariantList &values, LocateOptions options = {});
    bool locate(const QString &field, const QVariant &value, LocateOptions options = {})
    {
        return locate(field, QVariantList{value}, options);
    }

    // --- editing ---
    TableState state() const { return state_; }
    bool isEditing() const { return state_ == TableState::Edit || state_ == TableState::Insert; }
    bool isModified() const { return modified_; }
    void append();
    void insert(); // dBase has no physical insert: like append
    void edit();
    void post();
    void cancel();
    void deleteRecord();
    // Posts a pending edit if modified, cancels it otherwise (before moving).
    void checkBrowseMode();

    // Events, as the data set raises them.
    std::function<void(Table &)> beforeInsert, onNewRecord, beforeEdit, beforePost, afterPost, afterCancel,
        beforeDelete, afterDelete, beforeScroll, afterScroll, onCalcFields;

    // --- views ---
    void addObserver(TableObserver *observer);
    void removeObserver(TableObserver *observer);
    // Suspends observers' updates; nested; the last enable sends DataChanged.
    void disableControls();
    void enableControls();
    bool controlsDisabled() const { return disableCount_ > 0; }

    // Reads another record for display without moving the cursor: inside `use`,
    // fields read that record (calculated fields computed for it). False when
    // the record does not exist.
    bool withRecord(std::uint32_t recno, const std::function<void()> &use);
    // withRecord for every visible record in the current order, read in
    // blocks in stored order: a walk over a large view without a read per record.
    void forEachVisible(const std::function<void(std::uint32_t recno)> &use);

    // Raw bytes of the record fields read now (for expressions and indexes).
    const char *recordBuffer() const;
    // Memo text of a field at the active record.
    QString memoText(int index) const;

    // The definition of a field by index, calculated fields after the stored ones.
    const FieldDef &fieldDef(int index) const;
    // The open .dbf file, for checks of how it is read.
    DbfFile *file() { return file_.get(); }

private:
    // Field reads and writes the record through these.
    friend class Field;
    const char *activeBuffer() const;
    char *editBuffer();
    QVariant &calculatedValue(int index);
    void fieldWritten(int index);
    struct FieldAttributes {
        QString label;
        bool visible = true;
        bool readOnly = false;
        int displayWidth = 0;
    };
    FieldAttributes &attributes(int index);

    struct CalcField {
        FieldDef def;
    };

    void requireOpen() const;
    void requireBrowse();
    void notify(TableChange change, std::uint32_t recno = 0);
    bool loadRecord(std::uint32_t recno);
    bool passes(std::uint32_t recno, const char *buffer);
    bool readIfVisible(std::uint32_t recno);
    // readIfVisible without the copy where the record is mapped.
    bool judgedVisible(std::uint32_t recno);
    void scrolled();
    void step(bool forward);
    void jumpToEnd(bool atStart);
    void computeCalcFields();
    void moveTo(std::uint32_t recno);
    std::uint32_t searchFrom(std::uint32_t start, bool forward);
    std::uint32_t searchStoredForward(std::uint32_t start);
    void compileFilter();
    void openIndexes();
    void closeIndexes();

    QString path_;
    bool readOnly_ = false;
    std::unique_ptr<DbfFile> file_;
    std::unique_ptr<MemoFile> memo_;
    TableSchema schema_;
    std::vector<CalcField> calcFields_;
    std::vector<QVariant> calcValues_;
    std::vector<FieldAttributes> attributes_;

    std::shared_ptr<RecordOrder> order_;
    std::shared_ptr<RecordOrder> physicalOrder_;

    QByteArray current_; // record at the cursor (or the edit buffer while editing)
    QByteArray original_; // record as read, to cancel an edit
    QByteArray scratch_; // record read by withRecord / scans
    const char *active_ = nullptr;
    std::uint32_t recno_ = 0;
    bool bof_ = true;
    bool eof_ = true;
    TableState state_ = TableState::Inactive;
    bool modified_ = false;
    bool showDeleted_ = false;

    QString filterText_;
    bool filtered_ = false;
    ExprOptions filterOptions_;
    Expression filterExpr_;

    std::unique_ptr<TableIndexes> indexes_;
    std::unique_ptr<MasterLink> masterLink_;

    std::vector<TableObserver *> observers_;
    int disableCount_ = 0;
    bool pendingChange_ = false;
};

} // namespace tables
