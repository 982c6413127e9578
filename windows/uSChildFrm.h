#pragma once

#include "tables/Field.h"

#include <QDateTime>
#include <QRect>
#include <QWidget>

#include <optional>
#include <vector>

class QEventLoop;

namespace grid {
class DBGrid;
}
namespace tables {
class Table;
}

namespace windows {

class MainFrmServices;

// Base of the program's child windows. The window's position and size are
// kept in the settings file, in the section named after its caption; a grid
// over a table is set up from the table's entries in properties.ini, and its
// column order and widths are written back there.
//
// Inside the main window the form sits in an MDI sub-window (its frame);
// shown on its own it is its own frame. Geometry is that of the frame.
//
// Destruction: a derived window that overrides FormDestroy calls
// runFormDestroy() first thing in its destructor, so that FormDestroy runs
// while the whole window still exists; otherwise the base runs its own
// FormDestroy for a window that was shown. A window whose construction failed
// never runs it. Errors of FormDestroy are reported, not thrown.
class TSaveChildFrm : public QWidget {
    Q_OBJECT
public:
    enum class ModalResult { None, OK, Cancel };

    // With an owner the window is a child window of the main window; without
    // one it is a normal window (a modal list, a dialog). `main`: the main
    // window's services, nullptr without a main window.
    explicit TSaveChildFrm(QWidget *owner = nullptr, MainFrmServices *main = nullptr);
    ~TSaveChildFrm() override;

    // Creation handler: restores the geometry stored under the caption
    // (Top -2, also when absent, keeps the default placement). Derived
    // windows that restore their position call it once their caption is set.
    void FormCreate();
    // Destruction handler: stores the frame's geometry under the current caption.
    virtual void FormDestroy();

    // Settings FTP/LastRefresh, 1 January 1900 when absent.
    QDateTime GetLastRefresh() const;

    // Sets up the grid over the open table from properties.ini: field
    // visibility, titles and read-only flags, centred titles, widths, column
    // order; fills `list` with the editable fields when given. A malformed
    // entry raises config::ConfigError.
    void ApplyColumns(tables::Table &table, grid::DBGrid &grid, std::vector<tables::Field> *list = nullptr);
    // Writes the entries whose position or width changed.
    void SaveColumns(grid::DBGrid &grid);
    // The column positions sorted by order number, by the exchange sort the
    // stored layouts were made with (not stable: 3,3,1 gives 2,1,0).
    static void SortByOrder(std::vector<int> &numbers);

    // The MDI sub-window around the form, or the form itself.
    QWidget *frame() const;
    bool isMdiChild() const { return mdiChild_; }
    // Turns the window into a normal one (or back), before it is shown.
    void setMdiChild(bool mdiChild);
    // Closes the window's frame (the sub-window inside the main window).
    void closeWindow();

    // Shows the window modally and returns once it is closed.
    ModalResult showModal();
    ModalResult modalResult() const { return modalResult_; }
    void setModalResult(ModalResult result) { modalResult_ = result; }

protected:
    void runFormDestroy();
    MainFrmServices *services() const { return services_; }
    // The main window's status line (nothing without a main window).
    void showStatus(const QString &text) const;
    // Close handler; the base accepts. An error it raises is shown and keeps
    // the window open; so does keepOpen(), for a refusal already explained.
    virtual void FormClose() {}
    void keepOpen() { keepOpen_ = true; }

    void closeEvent(QCloseEvent *event) override;
    void showEvent(QShowEvent *event) override;
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void watchFrame();
    QRect frameGeometry() const;

    MainFrmServices *services_ = nullptr;
    bool mdiChild_ = false;
    bool keepOpen_ = false;
    bool formDestroyed_ = false;
    bool everShown_ = false;
    std::optional<QRect> pendingGeometry_;
    std::optional<QRect> lastFrameGeometry_;
    QWidget *watchedFrame_ = nullptr;
    QEventLoop *modalLoop_ = nullptr;
    ModalResult modalResult_ = ModalResult::None;
};

} // namespace windows
