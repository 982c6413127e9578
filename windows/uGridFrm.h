#pragma once

#include "IdleActionUpdater.h"
#include "TableRelease.h"
#include "TitleSearch.h"
#include "uSChildFrm.h"

#include "grid/GridEvents.h"
#include "tables/TableObserver.h"

#include <QString>
#include <QStyle>

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>

class QAction;
class QToolBar;

namespace grid {
class DBGrid;
class FindBar;
} // namespace grid
namespace tables {
class Table;
}

namespace windows {

// A window over one dBase table: a tool bar to move through it, add and
// delete records, and a grid with an incremental search on its read-only
// columns. Opened from the reference and invoice menus, as the base of the
// prescriptions window, and as a modal picking list (a normal window: Enter
// or a double-click closes it with OK).
class TGridFrm : public TSaveChildFrm, private tables::TableObserver {
    Q_OBJECT
public:
    // owner: the main window, or nullptr for a normal (modal) window; main:
    // its services, nullptr without a main window. A missing table file is
    // reported; the window then has no table.
    TGridFrm(QWidget *owner, const QString &caption, const QString &tableFile, MainFrmServices *main);
    ~TGridFrm() override;

    // The grid column showing the field (case ignored), -1 when none.
    int FindColumn(const QString &fieldName) const;

    tables::Table *table() const { return table_.get(); }
    grid::DBGrid *dbGrid() const { return DBGrid; }
    // Removes the incremental title search from the grid's typed characters.
    void detachKeyPress();
    // The IDRow the next new record receives is this plus one (see
    // DataSetBeforeInsert); -1 when the table has no IDRow.
    std::int32_t nextIDRow() const { return NextIDRow; }
    // The incremental title search in progress, if any.
    std::optional<QString> searchText() const { return titleSearch_->text(); }

    // Enabling of the actions; runs whenever the application becomes idle.
    virtual void ActionList1Update();

protected:
    // Bound to the table's new-record and before-insert events.
    virtual void DataSetNewRecord(tables::Table &table);
    virtual void DataSetBeforeInsert(tables::Table &table);

    void FormClose() override;
    void FormDestroy() override;

    void acnBackward1Execute();
    void acnBackwardExecute();
    void acnAddExecute();
    void acnDelExecute();
    void acnForwardExecute();
    void acnForward1Execute();
    void acnCloseExecute();

    void DBGridKeyPress(grid::GridCharEvent *event);
    void DBGridKeyDown(grid::GridKeyEvent *event);
    void DBGridColEnter();
    void DBGridDblClick();

    QToolBar *GridToolBar;
    grid::DBGrid *DBGrid;

private:
    QAction *acnBackward1;
    QAction *acnBackward;
    QAction *acnAdd;
    QAction *acnDel;
    QAction *acnForward;
    QAction *acnForward1;
    QAction *acnClose;
    grid::FindBar *FindBar;

    QAction *addAction(const QString &name, const QString &caption, QStyle::StandardPixmap icon,
                       void (TGridFrm::*handler)());
    // Any change of the table asks for an update of the actions.
    void tableChanged(tables::Table &table, tables::TableChange change, std::uint32_t recno) override;
    void openTable(const QString &tableFile);
    bool hasTable() const;

    // The actions follow the table whenever the application waits for input.
    IdleActionUpdater actionsUpdater_{IdleActionUpdater::Idle::EveryWait, [this] { ActionList1Update(); },
                                      [this](const QString &text) { showStatus(text); }};
    std::unique_ptr<tables::Table> table_;
    // Declared after the table, so it goes first: the grid and the window
    // let go of the table before it is closed, however the window ends.
    TableRelease tableRelease_;

    std::int32_t NextIDRow = -1;
    std::optional<TitleSearch> titleSearch_; // set up with the grid
    QMetaObject::Connection keyPressConnection_;
};

} // namespace windows
