#pragma once

#include <QString>
#include <QStringList>

class QAction;
class QMenu;
class QWidget;

namespace app {

class ToolBarPanel;

// The main window's actions and menus, with their captions and object names
// (the names the program gives them). The fixed items of the drop-down menus
// are in place; the table menus start empty.
struct MainActions {
    explicit MainActions(QWidget *owner);

    QAction *acnPrice, *acnPriceFull, *acnNewPrice, *acnPrescription, *acnOutboundn;
    QAction *acnOrder, *acnOutboundnOrder, *acnArchive, *acnInvoice, *acnReference;
    QAction *acnRefresh, *acnRefreshAll, *acnRefreshInv, *acnSend, *acnDelete, *acnConnect;
    QAction *acnTools, *acnWindow, *WindowCascade1, *WindowArrange1, *WindowClose1;

    QMenu *pmPrice, *pmZakaz, *pmInvoice, *pmReference, *pmRefresh, *pmUpload, *pmWindow;

    // The tool bar of large buttons, in order; a button with a menu runs its
    // action when pressed and opens the menu from its arrow.
    void fillToolBar(ToolBarPanel &toolBar) const;

    // Adds the prescriptions item to pmPrice, after a separator.
    void addPrescriptionItems() const;
    // Adds the narcotics items to pmPrice and pmZakaz, each after a separator.
    void addNarcoticsItems() const;

    static constexpr int kButtonWidth = 74;
    static constexpr int kButtonHeight = 52;
};

// The visible texts of a menu, "-" for a separator.
QStringList menuTexts(const QMenu &menu);

} // namespace app
