#pragma once

#include "windows/uSChildFrm.h"

#include "tables/TableObserver.h"

#include <QString>

#include <cstdint>
#include <functional>
#include <memory>

class QAction;
class QLineEdit;
class QMenu;
class QPlainTextEdit;
class QSplitter;

namespace grid {
class DBGrid;
struct GridKeyEvent;
} // namespace grid
namespace tables {
class Table;
}

namespace prescriptions_windows {

// "Компоненты": the modal drug picker over PharmCom.dbf. It lists the drugs
// with the component list of the current one, filters them by components
// typed into the search box, adds a drug, and adds or removes a component
// of the current drug. Enter or a double-click picks the current drug.
class TPharmComp : public windows::TSaveChildFrm, private tables::TableObserver {
    Q_OBJECT
public:
    // The drug table is prescriptionsFolder + "PharmCom.dbf"; a missing one
    // is reported and the window then has no table. main: the main window's
    // services, nullptr without a main window.
    TPharmComp(windows::MainFrmServices *main, const QString &prescriptionsFolder);
    ~TPharmComp() override;

    bool hasDrugTable() const;
    tables::Table *drugTable() const { return PharmCom.get(); }
    // Places the grid on the first drug named exactly so; false when none is.
    bool locateDrug(const QString &name);

    // The grey text of the empty search box.
    static QString searchHint();

protected:
    void FormClose() override;
    void FormDestroy() override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    grid::DBGrid *DBGridP;
    QSplitter *Splitter1;
    QWidget *Panel2;
    QPlainTextEdit *dbComponents;
    QLineEdit *Edit1;
    QMenu *pmGrid;
    QAction *N1;
    QMenu *pmMemo;
    QAction *N2;
    QAction *N3;

    void DBGridPDblClick();
    void DBGridPKeyDown(grid::GridKeyEvent *event);
    void Edit1Change(const QString &text);
    void Edit1Enter();
    void Edit1Exit();
    void N1Click();
    void N2Click();
    void N3Click();
    void ApplyComponentFilter(const QString &text);
    void PharmComCalcFields(tables::Table &table);
    void LockNameAfterPost(tables::Table &table);
    // Runs a handler's step on the drug table, when there is one; its errors are shown.
    void withDrugTable(const std::function<void(tables::Table &)> &step);
    void setSearchColour(bool hint);
    void showComponents();
    // Stores the list in the current drug; a list too long for the two
    // fields is refused with a message.
    void storeComponents(const QString &list);
    void tableChanged(tables::Table &table, tables::TableChange change, std::uint32_t recno) override;

    QString prescriptionsFolder_;
    std::unique_ptr<tables::Table> PharmCom;
};

} // namespace prescriptions_windows
