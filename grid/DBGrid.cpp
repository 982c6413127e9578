#include "DBGrid.h"

#include "CellText.h"
#include "FindDialog.h"
#include "GridDelegate.h"
#include "GridExport.h"
#include "MultiLevelHeader.h"
#include "TableModel.h"

#include "platform/MessageService.h"
#include "platform/Services.h"
#include "tables/Table.h"

#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QTimer>

#include <algorithm>
#include <utility>

namespace grid {

namespace {

constexpr int kMinColumnWidth = 24;
constexpr int kMaxDefaultColumnWidth = 400;
constexpr int kMaxDefaultColumnChars = 40;

bool isPrintable(const QString &text)
{
    return !text.isEmpty() && text.at(0).unicode() >= 32 && text.at(0).unicode() != 127;
}

bool matches(const QString &cell, const QString &text, const FindOptions &options)
{
    const Qt::CaseSensitivity cs = options.caseSensitive ? Qt::CaseSensitive : Qt::CaseInsensitive;
    switch (options.match) {
    case FindOptions::Match::Prefix: return cell.startsWith(text, cs);
    case FindOptions::Match::Whole: return cell.compare(text, cs) == 0;
    case FindOptions::Match::Anywhere: return cell.contains(text, cs);
    }
    return false;
}

} // namespace

DBGrid::DBGrid(QWidget *parent)
    : QTableView(parent), model_(new TableModel(this)), delegate_(new GridDelegate(this)),
      header_(new MultiLevelHeader(this))
{
    setObjectName(QStringLiteral("DBGrid"));
    setHorizontalHeader(header_);
    setModel(model_);
    setItemDelegate(delegate_);
    setSelectionMode(QAbstractItemView::NoSelection);
    setEditTriggers(QAbstractItemView::AnyKeyPressed | QAbstractItemView::EditKeyPressed);
    setWordWrap(false);
    setCornerButtonEnabled(false);
    verticalHeader()->hide();
    verticalHeader()->setSectionResizeMode(QHeaderView::Fixed);
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
    header_->setSectionsMovable(true);
    header_->setHighlightSections(false);
    header_->setStretchLastSection(false);
    header_->setDefaultAlignment(Qt::AlignLeft | Qt::AlignVCenter);
    connect(model_, &TableModel::cursorRowChanged, this, &DBGrid::followCursor);
    connect(model_, &TableModel::columnsReset, this, &DBGrid::columnsReset);
    connect(model_, &QAbstractItemModel::headerDataChanged, this, [this] {
        header_->updateGeometry();
        updateGeometries();
        header_->viewport()->update();
    });
    connect(header_, &QHeaderView::sectionMoved, this, &DBGrid::sectionMoved);
    connect(header_, &QHeaderView::sectionResized, this, &DBGrid::sectionResized);
}

DBGrid::~DBGrid()
{
    delete findDialog_;
    model_->setTable(nullptr);
}

// --- binding and options ---

void DBGrid::setTable(tables::Table *table)
{
    selected_.clear();
    endIncrementalSearch();
    model_->setTable(table);
}

tables::Table *DBGrid::table() const { return model_->table(); }

void DBGrid::setOptions(Options options)
{
    options_ = options;
    header_->setMultiLevel(hasOption(MultiLevelTitles));
    if (!hasOption(MultiSelect))
        selected_.clear();
    updateGeometries();
    viewport()->update();
}

void DBGrid::setOption(Option option, bool on) { setOptions(on ? options_ | option : options_ & ~Options(option)); }

void DBGrid::setAllowedOperations(Operations operations)
{
    operations_ = operations;
    model_->setReadOnly(!operations_.testFlag(AllowEdit));
}

// --- columns ---

int DBGrid::columnCount() const { return model_->columnCount(); }
tables::Field DBGrid::columnField(int column) const { return model_->columnField(column); }
QString DBGrid::columnFieldName(int column) const { return model_->columnFieldName(column); }

QString DBGrid::columnTitle(int column) const
{
    return model_->headerData(column, Qt::Horizontal, Qt::DisplayRole).toString();
}

int DBGrid::findColumn(const QString &fieldName) const { return model_->findColumn(fieldName); }

int DBGrid::columnWidth(int column) const
{
    if (column < 0 || column >= columnCount())
        return 0;
    return model_->column(column).width;
}

void DBGrid::setColumnWidth(int column, int width)
{
    if (column < 0 || column >= columnCount() || width <= 0)
        return;
    model_->setColumnWidth(column, width);
    if (header_->count() == columnCount()) {
        applyingWidths_ = true;
        header_->resizeSection(column, width);
        applyingWidths_ = false;
    }
}

void DBGrid::moveColumn(int from, int to) { model_->moveColumn(from, to); }

Qt::Alignment DBGrid::titleAlignment(int column) const
{
    return column >= 0 && column < columnCount() ? model_->column(column).titleAlignment : Qt::Alignment();
}

void DBGrid::setTitleAlignment(int column, Qt::Alignment alignment) { model_->setTitleAlignment(column, alignment); }

void DBGrid::setColumnEditButton(int column, bool on, bool autoDropDown)
{
    model_->setEditButton(column, on, autoDropDown);
    viewport()->update();
}

void DBGrid::beginColumnsUpdate() { model_->beginColumnsUpdate(); }
void DBGrid::endColumnsUpdate() { model_->endColumnsUpdate(); }
void DBGrid::fieldsChanged() { model_->syncColumnsWithFields(); }
void DBGrid::refreshTitles() { model_->refreshTitles(); }

int DBGrid::defaultColumnWidth(int column) const
{
    const tables::Field f = columnField(column);
    if (!f.isValid())
        return kMinColumnWidth;
    int chars = f.displayWidth();
    if (chars <= 0) {
        switch (f.kind()) {
        case tables::FieldKind::Date: chars = 10; break;
        case tables::FieldKind::DateTime: chars = 19; break;
        case tables::FieldKind::Boolean: chars = 4; break;
        case tables::FieldKind::Memo: chars = 20; break;
        default: chars = f.def().size; break;
        }
    }
    chars = std::min(chars, kMaxDefaultColumnChars);
    const QFontMetrics fm = fontMetrics();
    const int text = chars * fm.averageCharWidth();
    const int title = fm.horizontalAdvance(MultiLevelHeader::titleLevels(f.displayLabel()).last());
    return std::clamp(std::max(text, title) + 10, kMinColumnWidth, kMaxDefaultColumnWidth);
}

void DBGrid::columnsReset()
{
    applyingWidths_ = true;
    for (int c = 0; c < columnCount(); ++c) {
        int width = model_->column(c).width;
        if (width <= 0) {
            width = defaultColumnWidth(c);
            model_->setColumnWidth(c, width);
        }
        header_->resizeSection(c, width);
    }
    applyingWidths_ = false;
    header_->updateGeometry();
    updateGeometries();
}

void DBGrid::sectionResized(int logical, int, int newSize)
{
    if (!applyingWidths_ && newSize > 0)
        model_->setColumnWidth(logical, newSize);
}

void DBGrid::sectionMoved(int, int oldVisual, int newVisual)
{
    // The model holds the column order: undo the header's own move and move
    // the model's column once the header is done with the drag.
    header_->blockSignals(true);
    header_->moveSection(newVisual, oldVisual);
    header_->blockSignals(false);
    QTimer::singleShot(0, this, [this, oldVisual, newVisual] { moveColumn(oldVisual, newVisual); });
}

bool DBGrid::commitPendingEdit()
{
    QWidget *editor = delegate_->openEditor();
    if (!editor || state() != QAbstractItemView::EditingState)
        return true;
    const int refusedBefore = model_->refusedEdits();
    commitData(editor);
    if (model_->refusedEdits() != refusedBefore)
        return false;
    closeEditor(editor, QAbstractItemDelegate::NoHint);
    return true;
}

bool DBGrid::postPendingEdit()
{
    if (!commitPendingEdit())
        return false;
    if (tables::Table *t = table(); t && t->isEditing())
        t->post();
    return true;
}

// --- current cell ---

int DBGrid::selectedIndex() const { return column_; }

void DBGrid::setSelectedIndex(int column)
{
    if (column < 0 || column >= columnCount())
        return;
    const int row = currentIndex().isValid() ? currentIndex().row() : model_->cursorRow();
    if (row < 0) {
        if (column != column_) {
            column_ = column;
            endIncrementalSearch();
            emit colEnter();
        }
        return;
    }
    setCurrentIndex(model_->index(row, column));
}

tables::Field DBGrid::selectedField() const { return columnField(column_); }

void DBGrid::setSelectedField(const QString &fieldName)
{
    const int c = findColumn(fieldName);
    if (c >= 0)
        setSelectedIndex(c);
}

void DBGrid::setCellStyleHook(CellStyleHook hook) { model_->setCellStyleHook(std::move(hook)); }

void DBGrid::followCursor(int row)
{
    if (row < 0 || columnCount() == 0)
        return;
    const int column = std::clamp(column_, 0, columnCount() - 1);
    const QModelIndex target = model_->index(row, column);
    if (target == currentIndex())
        return;
    following_ = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::NoUpdate);
    following_ = false;
    scrollTo(target);
    viewport()->update();
}

// The focus going into the grid's own cell editor and coming back from it
// changes the current row only: the item view would repaint the whole grid
// each time.
void DBGrid::focusOutEvent(QFocusEvent *event)
{
    QWidget *next = QApplication::focusWidget();
    focusedCellEditor_ = next && viewport()->isAncestorOf(next) ? next : nullptr;
    if (focusedCellEditor_) {
        event->accept();
        return;
    }
    QTableView::focusOutEvent(event);
}

void DBGrid::focusInEvent(QFocusEvent *event)
{
    // A closing editor gives the focus back while it still exists; one
    // closed earlier is gone by the time the focus comes from elsewhere.
    const bool fromCellEditor = focusedCellEditor_ && focusedCellEditor_->isVisible();
    focusedCellEditor_ = nullptr;
    if (fromCellEditor && currentIndex().isValid()) {
        event->accept();
        const QRect cell = visualRect(currentIndex());
        viewport()->update(QRect(0, cell.top(), viewport()->width(), cell.height()));
        return;
    }
    QTableView::focusInEvent(event);
}

void DBGrid::currentChanged(const QModelIndex &current, const QModelIndex &previous)
{
    QTableView::currentChanged(current, previous);
    if (!current.isValid())
        return;
    // The column first: moving the cursor brings the grid back to this cell.
    const bool columnEntered = current.column() != column_;
    column_ = current.column();
    // While the model changes its rows the view moves its current cell on its
    // own; that must not move the table cursor.
    if (!following_ && !model_->isChangingRows() && current.row() != model_->cursorRow())
        model_->moveCursorToRow(current.row());
    if (columnEntered) {
        endIncrementalSearch();
        emit colEnter();
    }
    if (previous.row() != current.row())
        viewport()->update(); // the highlighted row moved
}

// --- selected rows ---

std::vector<tables::Bookmark> DBGrid::selectedRows() const
{
    std::vector<std::pair<int, tables::Bookmark>> byRow;
    for (tables::Bookmark b : selected_) {
        const int row = model_->rowOfRecord(b);
        if (row >= 0)
            byRow.emplace_back(row, b);
    }
    std::sort(byRow.begin(), byRow.end());
    std::vector<tables::Bookmark> out;
    out.reserve(byRow.size());
    for (const auto &[row, b] : byRow)
        out.push_back(b);
    return out;
}

bool DBGrid::isRowSelected(int row) const
{
    if (selected_.empty())
        return false;
    const std::uint32_t recno = model_->recordAt(row);
    return recno != 0 && selected_.count(recno) != 0;
}

void DBGrid::setRowSelected(tables::Bookmark bookmark, bool selected)
{
    if (bookmark == 0)
        return;
    if (selected)
        selected_.insert(bookmark);
    else
        selected_.erase(bookmark);
    viewport()->update();
}

void DBGrid::clearSelectedRows()
{
    if (selected_.empty())
        return;
    selected_.clear();
    viewport()->update();
}

void DBGrid::selectRange(int fromRow, int toRow)
{
    if (fromRow > toRow)
        std::swap(fromRow, toRow);
    for (int r = std::max(0, fromRow); r <= toRow && r < model_->rowCount(); ++r)
        if (const std::uint32_t recno = model_->recordAt(r))
            selected_.insert(recno);
    viewport()->update();
}

// --- keys ---

bool DBGrid::dispatchKeyEvents(QKeyEvent *event, QString *replacement)
{
    GridKeyEvent key{event->key(), event->modifiers()};
    emit keyDown(&key);
    if (key.handled)
        return true;
    const QString text = event->text();
    if (text.isEmpty() || text == QStringLiteral("\x7f"))
        return false;
    GridCharEvent typed{text};
    emit keyPress(&typed);
    if (typed.handled || typed.text.isEmpty())
        return true;
    if (typed.text != text && replacement)
        *replacement = typed.text;
    return false;
}

void DBGrid::handleKey(QKeyEvent *event)
{
    QString replacement;
    if (dispatchKeyEvents(event, &replacement)) {
        event->accept();
        return;
    }
    if (!replacement.isNull()) {
        QKeyEvent changed(event->type(), event->key(), event->modifiers(), replacement);
        defaultKey(&changed);
        return;
    }
    defaultKey(event);
}

void DBGrid::keyPressEvent(QKeyEvent *event) { handleKey(event); }

void DBGrid::defaultKey(QKeyEvent *event)
{
    event->accept();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if (commandKey(event, mods) || typedKey(event, mods))
        return;
    forwardingKey_ = true;
    QTableView::keyPressEvent(event);
    forwardingKey_ = false;
}

bool DBGrid::commandKey(QKeyEvent *event, Qt::KeyboardModifiers mods)
{
    tables::Table *t = table();
    switch (event->key()) {
    case Qt::Key_Escape:
        if (!incSearch_.isEmpty())
            endIncrementalSearch();
        else if (t && t->isOpen() && t->isEditing())
            t->cancel();
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter: return true;
    case Qt::Key_Insert:
        if (mods == Qt::NoModifier && t && t->isOpen() && operations_.testFlag(AllowInsert) && !t->isReadOnly())
            t->insert();
        return true;
    case Qt::Key_Delete:
        if (mods == Qt::ControlModifier && operations_.testFlag(AllowDelete))
            deleteCurrentRecord();
        return true;
    case Qt::Key_F:
        if (mods == Qt::ControlModifier && hasOption(FindDialogKey)) {
            showFindDialog();
            return true;
        }
        return false;
    case Qt::Key_F3:
        if (hasOption(FindDialogKey) && !lastFind_.isEmpty()) {
            if (!findNext(lastFind_, lastFindOptions_))
                QApplication::beep();
            return true;
        }
        return false;
    case Qt::Key_F4:
        if (columnCount() > 0 && model_->column(column_).editButton) {
            emit editButtonClick(column_);
            return true;
        }
        return false;
    case Qt::Key_Backspace:
        if (!incSearch_.isEmpty()) {
            incSearch_.chop(1);
            return true;
        }
        return false;
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
    case Qt::Key_Home:
    case Qt::Key_End:
    case Qt::Key_Left:
    case Qt::Key_Right:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        if (event->key() == Qt::Key_Down && mods.testFlag(Qt::AltModifier) && columnCount() > 0
            && model_->column(column_).editButton) {
            emit editButtonClick(column_);
            return true;
        }
        navigate(event);
        return true;
    default: return false;
    }
}

bool DBGrid::typedKey(QKeyEvent *event, Qt::KeyboardModifiers mods)
{
    const QString text = event->text();
    if (!isPrintable(text) || mods.testFlag(Qt::ControlModifier) || columnCount() == 0)
        return false;
    const QModelIndex current = currentIndex();
    const bool editable = current.isValid() && operations_.testFlag(AllowEdit) && !hasOption(RowSelect)
        && model_->isCellEditable(current.row(), current.column());
    if (hasOption(IncrementalSearch) && !editable) {
        incrementalSearch(text);
        return true;
    }
    if (model_->column(column_).autoDropDown) {
        emit editButtonClick(column_);
        return true;
    }
    return false;
}

void DBGrid::navigate(QKeyEvent *event)
{
    tables::Table *t = table();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    const int before = currentIndex().row();
    if (event->key() == Qt::Key_Up || event->key() == Qt::Key_Down || event->key() == Qt::Key_PageUp
        || event->key() == Qt::Key_PageDown)
        endIncrementalSearch();
    // Down on the last row appends, as in a dBase browse.
    if (event->key() == Qt::Key_Down && mods == Qt::NoModifier && t && t->isOpen() && !t->isReadOnly()
        && operations_.testFlag(AllowAppend) && t->state() == tables::TableState::Browse
        && (before == model_->rowCount() - 1 || model_->rowCount() == 0)) {
        clearSelectedRows();
        t->append();
        return;
    }
    // Up from a new record that holds nothing abandons it.
    if (event->key() == Qt::Key_Up && t && t->isOpen() && t->state() == tables::TableState::Insert
        && !t->isModified()) {
        t->cancel();
        return;
    }
    const bool extend = hasOption(MultiSelect) && mods.testFlag(Qt::ShiftModifier);
    if (hasOption(MultiSelect) && !extend && event->key() != Qt::Key_Left && event->key() != Qt::Key_Right
        && event->key() != Qt::Key_Tab && event->key() != Qt::Key_Backtab)
        clearSelectedRows();
    forwardingKey_ = true;
    QTableView::keyPressEvent(event);
    forwardingKey_ = false;
    if (extend && before >= 0)
        selectRange(before, currentIndex().row());
}

void DBGrid::deleteCurrentRecord()
{
    tables::Table *t = table();
    if (!t || !t->isOpen() || t->isReadOnly() || t->isEmpty())
        return;
    if (platform::messages().askYesNo(QStringLiteral("Удалить запись?"), QStringLiteral("KXOrders"),
                                      platform::MessageIcon::Question, this))
        t->deleteRecord();
}

bool DBGrid::edit(const QModelIndex &index, EditTrigger trigger, QEvent *event)
{
    if (!operations_.testFlag(AllowEdit) || hasOption(RowSelect))
        return false;
    return QTableView::edit(index, trigger, event);
}

void DBGrid::changeEvent(QEvent *event)
{
    QTableView::changeEvent(event);
    if (event->type() == QEvent::FontChange) {
        // Rows follow the font (the order window lets the user choose it).
        verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 4);
        header_->updateGeometry();
        updateGeometries();
    }
}

// --- mouse ---

bool DBGrid::onEditButton(const QPoint &pos) const
{
    const QModelIndex index = indexAt(pos);
    if (!index.isValid() || index != currentIndex() || !model_->column(index.column()).editButton)
        return false;
    return GridDelegate::editButtonRect(visualRect(index)).contains(pos);
}

void DBGrid::mousePressEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onEditButton(event->position().toPoint())) {
        event->accept();
        emit editButtonClick(currentIndex().column());
        return;
    }
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() == Qt::LeftButton && index.isValid() && hasOption(MultiSelect)) {
        const int before = currentIndex().row();
        if (event->modifiers().testFlag(Qt::ControlModifier)) {
            const std::uint32_t recno = model_->recordAt(index.row());
            setRowSelected(recno, selected_.count(recno) == 0);
        } else if (event->modifiers().testFlag(Qt::ShiftModifier) && before >= 0) {
            selectRange(before, index.row());
        } else {
            clearSelectedRows();
        }
    }
    endIncrementalSearch();
    QTableView::mousePressEvent(event);
}

void DBGrid::mouseDoubleClickEvent(QMouseEvent *event)
{
    if (event->button() == Qt::LeftButton && onEditButton(event->position().toPoint())) {
        event->accept();
        return;
    }
    QTableView::mouseDoubleClickEvent(event);
    emit dblClick();
}

// --- search ---

void DBGrid::endIncrementalSearch()
{
    incSearch_.clear();
    incSearchColumn_ = -1;
}

void DBGrid::incrementalSearch(const QString &typed)
{
    const int column = column_;
    if (column != incSearchColumn_)
        incSearch_.clear();
    incSearchColumn_ = column;
    const QString candidate = incSearch_ + typed;
    const FindOptions prefix{column, FindOptions::Match::Prefix, false};
    QString shown;
    const int row = currentIndex().row();
    if (row >= 0 && model_->withRow(row, [&] { shown = displayText(columnField(column)); })
        && shown.startsWith(candidate, Qt::CaseInsensitive)) {
        incSearch_ = candidate;
        return;
    }
    const tables::Field field = columnField(column);
    tables::Table *t = table();
    if (t && field.isValid() && !field.isCalculated() && field.kind() == tables::FieldKind::String) {
        // The table finds the first match in its order with its filter, as
        // the rows are listed; an index on the field makes it quick.
        if (!t->locate(field.name(), candidate, tables::LocateOptions{.caseInsensitive = true, .partialKey = true})) {
            QApplication::beep();
            return;
        }
        incSearch_ = candidate;
        return;
    }
    const int found = findRow(column, candidate, prefix, 0);
    if (found < 0) {
        QApplication::beep();
        return;
    }
    incSearch_ = candidate;
    const QModelIndex target = model_->index(found, column);
    setCurrentIndex(target);
    scrollTo(target);
}

int DBGrid::findRow(int column, const QString &text, const FindOptions &options, int from) const
{
    const int rows = model_->rowCount();
    if (rows == 0 || text.isEmpty())
        return -1;
    const int first = column < 0 ? 0 : column;
    const int last = column < 0 ? columnCount() - 1 : column;
    for (int i = 0; i < rows; ++i) {
        const int row = (from + i) % rows;
        if (model_->isPendingRow(row))
            continue;
        bool hit = false;
        model_->withRow(row, [&] {
            for (int c = first; c <= last && !hit; ++c)
                hit = matches(displayText(columnField(c)), text, options);
        });
        if (hit)
            return row;
    }
    return -1;
}

bool DBGrid::findNext(const QString &text, const FindOptions &options)
{
    lastFind_ = text;
    lastFindOptions_ = options;
    const int from = currentIndex().isValid() ? currentIndex().row() + 1 : 0;
    const int row = findRow(options.column, text, options, from);
    if (row < 0)
        return false;
    int column = column_;
    if (options.column >= 0) {
        column = options.column;
    } else {
        model_->withRow(row, [&] {
            for (int c = 0; c < columnCount(); ++c)
                if (matches(displayText(columnField(c)), text, options)) {
                    column = c;
                    break;
                }
        });
    }
    const QModelIndex target = model_->index(row, column);
    setCurrentIndex(target);
    scrollTo(target);
    return true;
}

FindDialog *DBGrid::showFindDialog()
{
    if (!findDialog_)
        findDialog_ = new FindDialog(this);
    findDialog_->prepare();
    findDialog_->show();
    findDialog_->raise();
    findDialog_->activateWindow();
    return findDialog_;
}

// --- export ---

int DBGrid::exportToXls(const QString &path, ExportRows which) const
{
    std::vector<int> rows;
    const std::vector<tables::Bookmark> marked = selectedRows();
    if (which == ExportRows::Selected || (which == ExportRows::SelectedOrAll && !marked.empty())) {
        for (tables::Bookmark b : marked)
            rows.push_back(model_->rowOfRecord(b));
    } else {
        rows.reserve(size_t(model_->rowCount()));
        for (int r = 0; r < model_->rowCount(); ++r)
            if (!model_->isPendingRow(r))
                rows.push_back(r);
    }
    std::vector<int> widths;
    for (int c = 0; c < columnCount(); ++c)
        widths.push_back(std::max(1, columnWidth(c) / std::max(1, fontMetrics().averageCharWidth())));
    writeGridXls(*model_, rows, widths, hasOption(MultiLevelTitles), path);
    return int(rows.size());
}

} // namespace grid
