#pragma once

#include <QString>
#include <QVariant>

class QWidget;

namespace windows {

// The seven working folders of the main window.
enum class WorkFolder { Price, Orders, Invoices, References, Archive, Prescriptions, Narcotics };

// What child windows need of the main window. The main window implements it;
// nothing below app/ knows the main window itself, and tests supply their own.
class MainFrmServices {
public:
    virtual ~MainFrmServices() = default;

    // Absolute folder path ending with '/'.
    virtual QString folder(WorkFolder which) const = 0;
    // The settings window's choice; used from then on, stored by that window.
    virtual void setFolder(WorkFolder which, const QString &path) = 0;

    // The one-line status area.
    virtual void setStatusText(const QString &text) = 0;
    virtual QString statusText() const = 0;

    // A field of the first record of SubCustomer.dbf (the pharmacy itself);
    // -1 when that table is missing.
    virtual QVariant lookupSubCustomer(const QString &field) = 0;

    // Child windows by caption, compared in upper case.
    virtual QWidget *findChildByCaption(const QString &caption) const = 0;
    virtual bool childExists(const QString &caption) const = 0;

    // Rebuilds the reference and invoice menus from the tables found.
    virtual void rebuildTableMenus() = 0;

    // Parent for new child windows (the MDI area).
    virtual QWidget *childParent() = 0;
    // Shows a new child window inside the main window; the main window owns it.
    virtual void showChild(QWidget *child) = 0;
};

} // namespace windows
