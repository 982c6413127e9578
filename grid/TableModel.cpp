#include "TableModel.h"

#include "errors/KxError.h"

#include "CellText.h"

#include "platform/MessageService.h"
#include "platform/Services.h"
#include "tables/Table.h"
#include "tables/TableError.h"

#include <QFont>
#include <QScopedValueRollback>

#include <algorithm>

namespace grid {

namespace {

// Steps along the table's order when placing a posted record; beyond that the
// rows are reread.
constexpr int kPlacementWalk = 256;

} // namespace

TableModel::TableModel(QObject *parent) : QAbstractTableModel(parent), cache_(kCachedRows) {}

TableModel::~TableModel()
{
    if (table_)
        table_->removeObserver(this);
}

void TableModel::setTable(tables::Table *table)
{
    if (table == table_)
        return;
    if (table_)
        table_->removeObserver(this);
    Changing changing(changingRows_);
    beginResetModel();
    table_ = table;
    if (table_)
        table_->addObserver(this);
    columns_.clear();
    rows_.clear();
    pendingRow_ = -1;
    pinned_.reset();
    cache_.clear();
    if (table_ && table_->isOpen()) {
        for (int i = 0; i < table_->fieldCount(); ++i)
            if (table_->field(i).isVisible())
                columns_.push_back(GridColumn{.field = i});
        rows_ = table_->visibleRecords();
        rowsSorted_ = std::is_sorted(rows_.begin(), rows_.end());
        if (table_->state() == tables::TableState::Insert) {
            pendingRow_ = int(rows_.size());
            rows_.push_back(0);
        }
    }
    endResetModel();
    emit columnsReset();
    emit cursorRowChanged(cursorRow());
}

// --- columns ---

tables::Field TableModel::columnField(int c) const
{
    if (!table_ || !table_->isOpen() || c < 0 || c >= int(columns_.size()))
        return {};
    return tables::Field(table_, columns_[size_t(c)].field);
}

QString TableModel::columnFieldName(int c) const
{
    const tables::Field f = columnField(c);
    return f.isValid() ? f.name() : QString();
}

int TableModel::findColumn(QStringView fieldName) const
{
    for (int c = 0; c < int(columns_.size()); ++c)
        if (columnFieldName(c).compare(fieldName, Qt::CaseInsensitive) == 0)
            return c;
    return -1;
}

void TableModel::setColumnWidth(int c, int width)
{
    if (c >= 0 && c < int(columns_.size()))
        columns_[size_t(c)].width = width;
}

void TableModel::setTitleAlignment(int c, Qt::Alignment alignment)
{
    if (c < 0 || c >= int(columns_.size()))
        return;
    columns_[size_t(c)].titleAlignment = alignment;
    if (!columnsBatch_)
        emit headerDataChanged(Qt::Horizontal, c, c);
}

void TableModel::setEditButton(int c, bool on, bool autoDropDown)
{
    if (c < 0 || c >= int(columns_.size()))
        return;
    columns_[size_t(c)].editButton = on;
    columns_[size_t(c)].autoDropDown = on && autoDropDown;
    if (!columnsBatch_ && rowCount() > 0)
        emit dataChanged(index(0, c), index(rowCount() - 1, c));
}

void TableModel::beginColumnsUpdate()
{
    if (columnsBatch_++ == 0) {
        ++changingRows_;
        beginResetModel();
    }
}

void TableModel::endColumnsUpdate()
{
    if (columnsBatch_ == 0 || --columnsBatch_ > 0)
        return;
    cache_.clear();
    endResetModel();
    --changingRows_;
    emit columnsReset();
    emit cursorRowChanged(cursorRow());
}

void TableModel::moveColumn(int from, int to)
{
    const int n = int(columns_.size());
    if (from < 0 || from >= n || to < 0 || to >= n || from == to)
        return;
    beginColumnsUpdate();
    const GridColumn moved = columns_[size_t(from)];
    columns_.erase(columns_.begin() + from);
    columns_.insert(columns_.begin() + to, moved);
    endColumnsUpdate();
}

void TableModel::syncColumnsWithFields()
{
    if (!table_ || !table_->isOpen())
        return;
    beginColumnsUpdate();
    std::erase_if(columns_, [&](const GridColumn &c) {
        return c.field >= table_->fieldCount() || !table_->field(c.field).isVisible();
    });
    for (int i = 0; i < table_->fieldCount(); ++i) {
        if (!table_->field(i).isVisible())
            continue;
        if (std::any_of(columns_.begin(), columns_.end(), [i](const GridColumn &c) { return c.field == i; }))
            continue;
        auto after = std::find_if(columns_.rbegin(), columns_.rend(), [i](const GridColumn &c) { return c.field < i; });
        columns_.insert(after.base(), GridColumn{.field = i});
    }
    endColumnsUpdate();
}

void TableModel::refreshTitles()
{
    if (!columns_.empty() && !columnsBatch_)
        emit headerDataChanged(Qt::Horizontal, 0, int(columns_.size()) - 1);
}

// --- rows ---

std::uint32_t TableModel::recordAt(int row) const
{
    return row >= 0 && row < int(rows_.size()) ? rows_[size_t(row)] : 0;
}

int TableModel::rowOfRecord(std::uint32_t recno) const
{
    if (recno == 0)
        return -1;
    if (rowsSorted_) {
        const auto end = pendingRow_ >= 0 ? rows_.begin() + pendingRow_ : rows_.end();
        const auto it = std::lower_bound(rows_.begin(), end, recno);
        return it != end && *it == recno ? int(it - rows_.begin()) : -1;
    }
    const auto it = std::find(rows_.begin(), rows_.end(), recno);
    return it != rows_.end() ? int(it - rows_.begin()) : -1;
}

int TableModel::cursorRow() const
{
    if (!table_ || !table_->isOpen())
        return -1;
    if (pendingRow_ >= 0)
        return pendingRow_;
    return rowOfRecord(table_->recNo());
}

bool TableModel::isPendingRow(int row) const { return row >= 0 && row == pendingRow_; }

void TableModel::moveCursorToRow(int row)
{
    if (!table_ || !table_->isOpen() || row < 0 || row >= int(rows_.size()) || row == pendingRow_)
        return;
    const std::uint32_t recno = rows_[size_t(row)];
    if (recno == table_->recNo() && !table_->isEditing())
        return;
    if (!table_->gotoBookmark(recno))
        reload(); // the record left the view under us
}

void TableModel::reload() { rebuildRows(); }

void TableModel::rebuildRows()
{
    Changing changing(changingRows_);
    beginResetModel();
    cache_.clear();
    rows_.clear();
    pendingRow_ = -1;
    if (table_ && table_->isOpen()) {
        rows_ = table_->visibleRecords();
        rowsSorted_ = std::is_sorted(rows_.begin(), rows_.end());
        if (table_->state() == tables::TableState::Insert) {
            pendingRow_ = int(rows_.size());
            rows_.push_back(0);
        }
    }
    endResetModel();
    emit cursorRowChanged(cursorRow());
}

void TableModel::setCellStyleHook(CellStyleHook hook)
{
    styleHook_ = std::move(hook);
    cache_.clear();
    if (rowCount() > 0 && columnCount() > 0)
        emit dataChanged(index(0, 0), index(rowCount() - 1, columnCount() - 1));
}

void TableModel::setReadOnly(bool readOnly) { readOnly_ = readOnly; }

bool TableModel::isCellEditable(int row, int c) const
{
    if (readOnly_ || !table_ || !table_->isOpen() || table_->isReadOnly() || row < 0 || row >= int(rows_.size()))
        return false;
    const tables::Field f = columnField(c);
    return f.isValid() && !f.isReadOnly() && f.kind() != tables::FieldKind::Memo;
}

bool TableModel::withRow(int row, const std::function<void()> &use) const
{
    if (!table_ || !table_->isOpen() || row < 0 || row >= int(rows_.size()))
        return false;
    if (row == pendingRow_) {
        use(); // the fields read the record being inserted
        return true;
    }
    return table_->withRecord(rows_[size_t(row)], use);
}

void TableModel::fillRow(CachedRow &out) const
{
    out.texts.clear();
    out.texts.reserve(qsizetype(columns_.size()));
    for (const GridColumn &c : columns_)
        out.texts << displayText(tables::Field(table_, c.field));
    out.style = CellStyle{};
    if (styleHook_)
        styleHook_(*table_, out.style);
}

TableModel::CachedRow TableModel::readCurrentBuffer() const
{
    CachedRow row;
    fillRow(row);
    return row;
}

const TableModel::CachedRow *TableModel::cachedRow(int row) const
{
    if (!table_ || !table_->isOpen() || row < 0 || row >= int(rows_.size()))
        return nullptr;
    const std::uint32_t recno = rows_[size_t(row)];
    // While inserting, the table's own record reads as the new one: show the copy kept.
    if (pinned_ && recno == pinnedRecno_)
        return &*pinned_;
    if (CachedRow *hit = cache_.object(recno))
        return hit;
    auto fresh = std::make_unique<CachedRow>();
    bool read = false;
    if (row == pendingRow_) {
        fillRow(*fresh);
        read = true;
    } else {
        const QScopedValueRollback reading(readingRow_, true);
        read = table_->withRecord(recno, [&] { fillRow(*fresh); });
    }
    if (!read)
        return nullptr;
    CachedRow *raw = fresh.release();
    cache_.insert(recno, raw);
    return cache_.object(recno) ? raw : nullptr;
}

CellStyle TableModel::rowStyle(int row) const
{
    const CachedRow *r = cachedRow(row);
    return r ? r->style : CellStyle{};
}

void TableModel::invalidateRecord(std::uint32_t recno) { cache_.remove(recno); }

void TableModel::rowChanged(int row)
{
    if (row >= 0 && row < int(rows_.size()) && !columns_.empty())
        emit dataChanged(index(row, 0), index(row, int(columns_.size()) - 1));
}

// --- QAbstractTableModel ---

int TableModel::rowCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(rows_.size()); }

int TableModel::columnCount(const QModelIndex &parent) const { return parent.isValid() ? 0 : int(columns_.size()); }

QVariant TableModel::data(const QModelIndex &index, int role) const
{
    if (!index.isValid() || index.column() >= int(columns_.size()))
        return {};
    switch (role) {
    case Qt::DisplayRole:
    case Qt::EditRole: {
        const CachedRow *r = cachedRow(index.row());
        return r ? QVariant(r->texts.value(index.column())) : QVariant();
    }
    case Qt::TextAlignmentRole: {
        const tables::Field f = columnField(index.column());
        return int((f.isValid() && isRightAligned(f) ? Qt::AlignRight : Qt::AlignLeft) | Qt::AlignVCenter);
    }
    case Qt::ForegroundRole: {
        const CachedRow *r = cachedRow(index.row());
        return r && r->style.font.isValid() ? QVariant(r->style.font) : QVariant();
    }
    case Qt::BackgroundRole: {
        const CachedRow *r = cachedRow(index.row());
        return r && r->style.background.isValid() ? QVariant(r->style.background) : QVariant();
    }
    case Qt::FontRole: {
        const CachedRow *r = cachedRow(index.row());
        if (!r || !r->style.bold)
            return {};
        QFont font;
        font.setBold(true);
        return font;
    }
    default: return {};
    }
}

bool TableModel::setData(const QModelIndex &index, const QVariant &value, int role)
{
    if (role != Qt::EditRole || !index.isValid() || !isCellEditable(index.row(), index.column()))
        return false;
    if (data(index, Qt::EditRole).toString() == value.toString())
        return true; // nothing typed: the record stays as it is
    try {
        if (index.row() != pendingRow_) {
            const std::uint32_t recno = rows_[size_t(index.row())];
            if (table_->recNo() != recno && !table_->gotoBookmark(recno))
                return false;
            table_->edit();
        }
        tables::Field field = columnField(index.column());
        setFromEditText(field, value.toString());
    } catch (const std::exception &error) {
        ++refusedEdits_;
        platform::messages().showError(kx::userMessage(error));
        return false;
    }
    return true;
}

Qt::ItemFlags TableModel::flags(const QModelIndex &index) const
{
    if (!index.isValid())
        return Qt::NoItemFlags;
    Qt::ItemFlags f = Qt::ItemIsEnabled | Qt::ItemIsSelectable | Qt::ItemNeverHasChildren;
    if (isCellEditable(index.row(), index.column()))
        f |= Qt::ItemIsEditable;
    return f;
}

QVariant TableModel::headerData(int section, Qt::Orientation orientation, int role) const
{
    if (orientation != Qt::Horizontal || section < 0 || section >= int(columns_.size()))
        return {};
    if (role == Qt::DisplayRole) {
        const tables::Field f = columnField(section);
        return f.isValid() ? f.displayLabel() : QString();
    }
    if (role == Qt::TextAlignmentRole)
        return int(columns_[size_t(section)].titleAlignment);
    return {};
}

// --- following the table ---

void TableModel::tableChanged(tables::Table &, tables::TableChange change, std::uint32_t recno)
{
    using C = tables::TableChange;
    switch (change) {
    case C::Opened: {
        tables::Table *t = table_;
        table_ = nullptr;
        setTable(t); // fields may differ: start over
        return;
    }
    case C::Closed: {
        // Let go of the table: a closed table may be on its way out (its
        // destructor closes it), and nothing tells us when it is gone.
        table_->removeObserver(this);
        table_ = nullptr;
        Changing changing(changingRows_);
        beginResetModel();
        columns_.clear();
        rows_.clear();
        pendingRow_ = -1;
        pinned_.reset();
        cache_.clear();
        endResetModel();
    }
        emit columnsReset();
        emit cursorRowChanged(-1);
        return;
    case C::DataChanged: rebuildRows(); return;
    case C::RecordPosted: recordPosted(recno); break;
    case C::RecordDeleted: recordDeleted(recno); break;
    case C::StateChanged: stateChanged(); break;
    case C::FieldChanged: {
        // Calculated fields computed for a row this model reads: the
        // cursor's row did not change.
        if (readingRow_)
            return;
        const int row = cursorRow();
        invalidateRecord(recordAt(row));
        rowChanged(row);
        break;
    }
    case C::Scrolled: break;
    }
    const int row = cursorRow();
    if (row >= 0)
        cachedRow(row); // kept at hand: an insertion makes the cursor's record unreadable
    emit cursorRowChanged(row);
}

void TableModel::insertRow(int row, std::uint32_t recno)
{
    Changing changing(changingRows_);
    beginInsertRows({}, row, row);
    rows_.insert(rows_.begin() + row, recno);
    if (pendingRow_ >= row)
        ++pendingRow_;
    if (recno != 0 && rowsSorted_) {
        const bool afterPrev = row == 0 || rows_[size_t(row) - 1] < recno;
        const int nextRow = row + 1;
        const bool beforeNext =
            nextRow >= int(rows_.size()) || rows_[size_t(nextRow)] == 0 || recno < rows_[size_t(nextRow)];
        rowsSorted_ = afterPrev && beforeNext;
    }
    endInsertRows();
}

void TableModel::removeRow(int row)
{
    Changing changing(changingRows_);
    beginRemoveRows({}, row, row);
    invalidateRecord(rows_[size_t(row)]);
    rows_.erase(rows_.begin() + row);
    if (pendingRow_ == row)
        pendingRow_ = -1;
    else if (pendingRow_ > row)
        --pendingRow_;
    endRemoveRows();
}

void TableModel::removePendingRow()
{
    if (pendingRow_ < 0)
        return;
    cache_.remove(0);
    removeRow(pendingRow_);
    pinned_.reset();
}

std::optional<int> TableModel::placeOf(std::uint32_t recno, int ignoreRow) const
{
    const int end = pendingRow_ >= 0 ? pendingRow_ : int(rows_.size());
    if (rowsSorted_) {
        // Stored order: the rows are ascending record numbers.
        if (ignoreRow >= 0)
            return ignoreRow;
        return int(std::lower_bound(rows_.begin(), rows_.begin() + end, recno) - rows_.begin());
    }
    tables::RecordOrder &order = table_->order();
    std::uint32_t r = order.next(recno);
    for (int steps = 0; r != 0; ++steps, r = order.next(r)) {
        if (steps > kPlacementWalk)
            return std::nullopt;
        const int row = rowOfRecord(r);
        if (row >= 0 && row != ignoreRow)
            return row;
    }
    return end;
}

void TableModel::recordPosted(std::uint32_t recno)
{
    removePendingRow();
    invalidateRecord(recno);
    const int row = rowOfRecord(recno);
    const bool visible = table_->isVisible(recno);
    if (!visible) {
        if (row >= 0)
            removeRow(row);
        return;
    }
    const std::optional<int> place = placeOf(recno, row);
    if (!place) {
        rebuildRows();
        return;
    }
    int target = *place;
    if (row >= 0) {
        if (target == row + 1 || target == row) {
            rowChanged(row);
            return;
        }
        removeRow(row);
        if (target > row)
            --target;
    }
    insertRow(target, recno);
}

void TableModel::recordDeleted(std::uint32_t recno)
{
    removePendingRow();
    const int row = rowOfRecord(recno);
    if (row < 0)
        return;
    if (table_->isVisible(recno)) {
        invalidateRecord(recno);
        rowChanged(row); // deleted records are being shown
    } else {
        removeRow(row);
    }
}

void TableModel::stateChanged()
{
    const bool inserting = table_->state() == tables::TableState::Insert;
    if (inserting && pendingRow_ < 0) {
        // The table's own record now reads as the new one: keep what was shown.
        pinnedRecno_ = table_->recNo();
        if (CachedRow *r = cache_.object(pinnedRecno_))
            pinned_ = *r;
        cache_.remove(0);
        insertRow(int(rows_.size()), 0);
        pendingRow_ = int(rows_.size()) - 1;
    } else if (!inserting && pendingRow_ >= 0) {
        removePendingRow();
    } else {
        const int row = cursorRow();
        invalidateRecord(recordAt(row));
        rowChanged(row);
    }
}

} // namespace grid
