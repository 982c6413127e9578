#pragma once

#include "CellStyle.h"
#include "GridColumn.h"

#include "tables/Field.h"
#include "tables/TableObserver.h"

#include <QAbstractTableModel>
#include <QCache>
#include <QStringList>

#include <cstdint>
#include <optional>
#include <vector>

namespace tables {
class Table;
}

namespace grid {

// The rows and columns a grid shows of a table. Rows are the record numbers
// in view (what Table::visibleRecords gives); their values are read on
// demand and only a window of rows is kept. The model follows the table:
// posts, deletions, filter and order changes and the cursor.
//
// While the table inserts a record, a pending row (record number 0) stands at
// the end of the rows until the record is posted or cancelled.
class TableModel : public QAbstractTableModel, public tables::TableObserver {
    Q_OBJECT
public:
    // Rows whose values are kept at most.
    static constexpr int kCachedRows = 512;

    explicit TableModel(QObject *parent = nullptr);
    ~TableModel() override;

    // Closing the table ends the binding (bind again after reopening), so a
    // table may be destroyed while bound; otherwise bind nullptr first.
    void setTable(tables::Table *table);
    tables::Table *table() const { return table_; }

    // --- columns ---
    const std::vector<GridColumn> &columns() const { return columns_; }
    const GridColumn &column(int c) const { return columns_.at(size_t(c)); }
    tables::Field columnField(int c) const;
    QString columnFieldName(int c) const;
    // -1 when no column shows that field (names compared ignoring case).
    int findColumn(QStringView fieldName) const;
    void setColumnWidth(int c, int width);
    void setTitleAlignment(int c, Qt::Alignment alignment);
    void setEditButton(int c, bool on, bool autoDropDown);
    void moveColumn(int from, int to);
    // One column per visible field: columns of hidden fields go, newly visible
    // fields join after the columns of the fields before them.
    void syncColumnsWithFields();
    // Column changes inside a batch are announced once, at its end.
    void beginColumnsUpdate();
    void endColumnsUpdate();
    // Titles follow the fields' display labels; call after changing one.
    void refreshTitles();

    // --- rows ---
    std::uint32_t recordAt(int row) const; // 0 for the pending row or out of range
    int rowOfRecord(std::uint32_t recno) const;
    // The row of the table cursor (the pending row while inserting), -1 if none.
    int cursorRow() const;
    bool isPendingRow(int row) const;
    // Moves the table cursor to the row (posting a pending edit as the table does).
    void moveCursorToRow(int row);
    // Rereads the rows in view from the table.
    void reload();
    // True while rows are being inserted, removed or reset.
    bool isChangingRows() const { return changingRows_ > 0; }

    void setCellStyleHook(CellStyleHook hook);
    // Cells cannot be edited while set (on top of the fields' read-only flags).
    void setReadOnly(bool readOnly);
    bool isReadOnly() const { return readOnly_; }
    bool isCellEditable(int row, int c) const;

    // Reads one row outside the cache: inside `use` the table's fields read it.
    bool withRow(int row, const std::function<void()> &use) const;
    CellStyle rowStyle(int row) const;

    // --- QAbstractTableModel ---
    int rowCount(const QModelIndex &parent = {}) const override;
    int columnCount(const QModelIndex &parent = {}) const override;
    QVariant data(const QModelIndex &index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex &index, const QVariant &value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex &index) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role = Qt::DisplayRole) const override;

    // How many edits the fields refused so far (their errors were shown).
    int refusedEdits() const { return refusedEdits_; }

    // --- tables::TableObserver ---
    void tableChanged(tables::Table &table, tables::TableChange change, std::uint32_t recno) override;

signals:
    // The table cursor moved to another row (-1: none).
    void cursorRowChanged(int row);
    // Columns were added, removed, moved or re-laid out.
    void columnsReset();

private:
    struct CachedRow {
        QStringList texts;
        CellStyle style;
    };

    const CachedRow *cachedRow(int row) const;
    CachedRow readCurrentBuffer() const;
    void fillRow(CachedRow &out) const;
    void invalidateRecord(std::uint32_t recno);
    void rowChanged(int row);
    void resetColumns();
    void rebuildRows();
    void recordPosted(std::uint32_t recno);
    void recordDeleted(std::uint32_t recno);
    void stateChanged();
    void removePendingRow();
    void insertRow(int row, std::uint32_t recno);
    void removeRow(int row);
    // Where a visible record belongs among the rows, by walking the table's
    // order to the next record in view; nullopt when the walk gets too long.
    std::optional<int> placeOf(std::uint32_t recno, int ignoreRow) const;

    tables::Table *table_ = nullptr;
    std::vector<GridColumn> columns_;
    std::vector<std::uint32_t> rows_;
    bool rowsSorted_ = true; // record numbers ascending: binary search works
    int pendingRow_ = -1;
    std::optional<CachedRow> pinned_; // the cursor's stored row while a new one is inserted
    std::uint32_t pinnedRecno_ = 0;
    mutable QCache<std::uint32_t, CachedRow> cache_;
    CellStyleHook styleHook_;
    bool readOnly_ = false;
    mutable bool readingRow_ = false; // inside the table's read of a row for the cache
    int columnsBatch_ = 0;
    int changingRows_ = 0;
    struct Changing {
        explicit Changing(int &depth) : depth_(depth) { ++depth_; }
        ~Changing() { --depth_; }
        int &depth_;
    };
    int refusedEdits_ = 0;
};

} // namespace grid
