#pragma once

#include "MainActions.h"
#include "WorkFolders.h"

#include "windows/MainFrmServices.h"

#include <QMainWindow>

#include <memory>
#include <vector>

class QLabel;
class QMdiArea;
class QMenu;

namespace ordering {
enum class OrderWindowMode;
}

namespace config {
class SettingsAccessors;
}
namespace windows {
class IdleActionUpdater;
}

namespace app {

class ActionHooks;
class ToolBarPanel;

// The program's main window: tool bar, table menus, status line, the seven
// working folders and the child windows inside it. Creating it runs the
// start-up steps: hang-up question, geometry, folders, table menus, caption,
// missing folders, prescription and narcotics items.
class TMainFrm : public QMainWindow, public windows::MainFrmServices {
public:
    // Null hooks: the program's own (ProgramActionHooks).
    explicit TMainFrm(std::shared_ptr<ActionHooks> hooks = nullptr, QWidget *parent = nullptr);
    ~TMainFrm() override;

    static QString baseCaption();

    // windows::MainFrmServices
    QString folder(windows::WorkFolder which) const override;
    void setStatusText(const QString &text) override;
    QString statusText() const override;
    QVariant lookupSubCustomer(const QString &field) override;
    QWidget *findChildByCaption(const QString &caption) const override;
    bool childExists(const QString &caption) const override;
    void rebuildTableMenus() override;
    QWidget *childParent() override;
    void showChild(QWidget *child) override;

    // The settings window replaces folders while it is open.
    void setFolder(windows::WorkFolder which, const QString &path) override;

    // Rebuilds one table menu from the "*.dbf" files of a folder.
    void BuildTableMenu(const QString &folder, QMenu *menu);

    // The enabling rules; run whenever the application becomes idle.
    void ActionList1Update();

    // The settings shared by the windows (each call opens the settings file).
    config::SettingsAccessors settings() const;

    QMdiArea &mdiArea() const { return *mdi_; }
    ToolBarPanel &toolBar() const { return *toolBar_; }

protected:
    void closeEvent(QCloseEvent *event) override;

private:
    void runStartupStep(const std::function<void()> &step);
    void fixFolders();
    void extendCaption();
    void addOptionalItems();
    void connectActions();
    void openOrderWindow(ordering::OrderWindowMode mode, windows::WorkFolder folder);
    void arrangeMinimised();

    MainActions actions_;
    std::shared_ptr<ActionHooks> hooks_;
    WorkFolders folders_;
    QMdiArea *mdi_ = nullptr;
    ToolBarPanel *toolBar_ = nullptr;
    QLabel *status_ = nullptr;
    struct TableAction {
        QAction *action;
        QString caption;
    };
    std::vector<TableAction> tableActions_;
    windows::IdleActionUpdater *idle_ = nullptr;
};

} // namespace app
