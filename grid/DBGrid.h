#pragma once

#include "CellStyle.h"
#include "GridEvents.h"

#include "tables/Field.h"
#include "tables/Table.h"

#include <QPointer>
#include <QTableView>

#include <set>
#include <vector>

namespace grid {

class FindDialog;
class GridDelegate;
class MultiLevelHeader;
class TableModel;

// What the find dialog and findNext look for.
struct FindOptions {
    enum class Match { Prefix, Anywhere, Whole };
    int column = -1; // -1: every column
    Match match = Match::Anywhere;
    bool caseSensitive = false;
};

// The data grid: a table view bound to a dBase table through TableModel, with
// columns bound to fields, in-place editing of editable fields, key and mouse
// events for the windows, incremental search, a find dialog, several selected
// rows kept as bookmarks, multi-level titles, ellipsis buttons and XLS export.
// The grid's current row and the table cursor follow each other.
class DBGrid : public QTableView {
    Q_OBJECT
public:
    enum Option {
        RowHighlight = 0x01, // the whole current row is highlighted
        RowSelect = 0x02, // the current row is shown selected as a whole; no editing
        MultiSelect = 0x04, // Ctrl+click and Shift select several rows
        MultiLevelTitles = 0x08, // titles split into levels at "|"
        IncrementalSearch = 0x10, // typing in a read-only cell searches its column
        FindDialogKey = 0x20, // Ctrl+F opens the find dialog, F3 finds again
    };
    Q_DECLARE_FLAGS(Options, Option)
    enum Operation {
        AllowEdit = 0x1,
        AllowInsert = 0x2, // the Insert key
        AllowAppend = 0x4, // Down on the last row
        AllowDelete = 0x8, // Ctrl+Delete, after a question
    };
    Q_DECLARE_FLAGS(Operations, Operation)

    enum class ExportRows { SelectedOrAll, All, Selected };

    explicit DBGrid(QWidget *parent = nullptr);
    ~DBGrid() override;

    // --- binding ---
    // Closing the table ends the binding (bind again after reopening).
    void setTable(tables::Table *table);
    tables::Table *table() const;
    bool hasDataSource() const { return table() != nullptr; }
    TableModel *tableModel() const { return model_; }

    Options options() const { return options_; }
    void setOptions(Options options);
    void setOption(Option option, bool on = true);
    bool hasOption(Option option) const { return options_.testFlag(option); }
    Operations allowedOperations() const { return operations_; }
    void setAllowedOperations(Operations operations);

    // --- columns, in display order ---
    int columnCount() const;
    tables::Field columnField(int column) const;
    QString columnFieldName(int column) const;
    QString columnTitle(int column) const;
    // -1 when no column shows the field; names compared ignoring case.
    int findColumn(const QString &fieldName) const;
    int columnWidth(int column) const;
    void setColumnWidth(int column, int width);
    void moveColumn(int from, int to);
    Qt::Alignment titleAlignment(int column) const;
    void setTitleAlignment(int column, Qt::Alignment alignment);
    void setColumnEditButton(int column, bool on, bool autoDropDown = false);
    // Several column changes shown once.
    void beginColumnsUpdate();
    void endColumnsUpdate();
    // After changing the fields' visibility: one column per visible field.
    void fieldsChanged();
    // After changing a field's display label.
    void refreshTitles();

    // Puts the text of an open cell editor into its field and closes the
    // editor, as a post does with what was typed. False when the field
    // refused the text (the error is shown): the editor stays open with it.
    bool commitPendingEdit();
    // The editor's text committed, then the table's pending edit posted:
    // what closing a window or starting an order action does with what was
    // typed. False as above; an error of the post itself is raised.
    bool postPendingEdit();

    // --- current cell ---
    int selectedIndex() const;
    void setSelectedIndex(int column);
    tables::Field selectedField() const;
    void setSelectedField(const QString &fieldName);

    void setCellStyleHook(CellStyleHook hook);

    // --- selected rows (bookmarks), in grid order ---
    std::vector<tables::Bookmark> selectedRows() const;
    bool isRowSelected(int row) const;
    void setRowSelected(tables::Bookmark bookmark, bool selected);
    void clearSelectedRows();

    // --- search ---
    QString incrementalSearchText() const { return incSearch_; }
    // Searches from the row after the current one, wrapping once; the found
    // cell becomes current.
    bool findNext(const QString &text, const FindOptions &options);
    FindDialog *showFindDialog();

    // --- export ---
    // Writes the visible columns with their titles and the chosen rows to an
    // XLS file; returns the number of rows written. A sheet holds 65535 rows
    // below the titles: more raise std::runtime_error and nothing is written.
    int exportToXls(const QString &path, ExportRows rows = ExportRows::SelectedOrAll) const;

    // --- for the delegate ---
    bool isForwardingKey() const { return forwardingKey_; }
    // Raises keyDown and keyPress; true when a handler consumed the key. A
    // replaced character is returned through `replacement`.
    bool dispatchKeyEvents(QKeyEvent *event, QString *replacement = nullptr);
    // The whole key path: events, then the grid's own handling.
    void handleKey(QKeyEvent *event);

    using QTableView::edit;

signals:
    void keyDown(grid::GridKeyEvent *event);
    void keyPress(grid::GridCharEvent *event);
    // Another column became current.
    void colEnter();
    void dblClick();
    void editButtonClick(int column);

protected:
    void keyPressEvent(QKeyEvent *event) override;
    void keyboardSearch(const QString &) override {}
    void mousePressEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void currentChanged(const QModelIndex &current, const QModelIndex &previous) override;
    bool edit(const QModelIndex &index, EditTrigger trigger, QEvent *event) override;
    void changeEvent(QEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;

private:
    void defaultKey(QKeyEvent *event);
    // The grid's own keys (editing, finding, moving); true when the key was one.
    bool commandKey(QKeyEvent *event, Qt::KeyboardModifiers mods);
    // A printable character for the incremental search or a drop-down; true when taken.
    bool typedKey(QKeyEvent *event, Qt::KeyboardModifiers mods);
    void navigate(QKeyEvent *event);
    void incrementalSearch(const QString &typed);
    void endIncrementalSearch();
    int findRow(int column, const QString &text, const FindOptions &options, int from) const;
    void followCursor(int row);
    void columnsReset();
    int defaultColumnWidth(int column) const;
    void sectionMoved(int logical, int oldVisual, int newVisual);
    void sectionResized(int logical, int oldSize, int newSize);
    void deleteCurrentRecord();
    bool onEditButton(const QPoint &pos) const;
    void selectRange(int fromRow, int toRow);

    TableModel *model_;
    GridDelegate *delegate_;
    MultiLevelHeader *header_;
    QPointer<FindDialog> findDialog_;
    Options options_;
    Operations operations_ = Operations(AllowEdit | AllowInsert | AllowAppend | AllowDelete);
    std::set<tables::Bookmark> selected_;
    int column_ = 0; // current column, kept across row changes and reloads
    bool following_ = false;
    bool forwardingKey_ = false;
    bool applyingWidths_ = false;
    QPointer<QWidget> focusedCellEditor_; // the editor the focus went to from the grid
    QString incSearch_;
    int incSearchColumn_ = -1;
    QString lastFind_;
    FindOptions lastFindOptions_;
};

} // namespace grid

Q_DECLARE_OPERATORS_FOR_FLAGS(grid::DBGrid::Options)
Q_DECLARE_OPERATORS_FOR_FLAGS(grid::DBGrid::Operations)
