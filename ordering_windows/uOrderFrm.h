#pragma once

#include "grid/GridEvents.h"
#include "tables/Field.h"
#include "tables/TableObserver.h"
#include "windows/IdleActionUpdater.h"
#include "windows/TableRelease.h"
#include "windows/TitleSearch.h"
#include "windows/uSChildFrm.h"

#include <QString>
#include <functional>
#include <memory>
#include <optional>
#include <vector>

class QAction;
class QComboBox;
class QFontDialog;
class QLabel;
class QMenu;
class QPlainTextEdit;
class QPushButton;
class QStatusBar;
class QTabWidget;
class QToolButton;

namespace grid {
class DBGrid;
class FindBar;
} // namespace grid
namespace tables {
class Table;
}

namespace ordering {

class OrderPricing;

// The order window over a price table: the whole price list, the new
// arrivals or the order (the rows with a quantity), depending on the caption
// and on the filter the opener sets. Quantities are typed into Zak; the
// order sum and the number of positions follow every post.
class TOrderFrm : public windows::TSaveChildFrm, private tables::TableObserver {
    Q_OBJECT
public:
    // owner: the main window, main: its services. A missing table file is
    // reported in the main window's status line; the window then has no
    // table and offers no action that needs one.
    TOrderFrm(QWidget *owner, const QString &caption, const QString &tablePath, windows::MainFrmServices &main);
    ~TOrderFrm() override;

    tables::Table *table() const;
    grid::DBGrid *dbGrid() const { return DBGrid; }
    bool hasTable() const;

    // The page "Заказ" (page 1) shown or hidden; a hidden active page makes "Инфо" active.
    void setOrderPageVisible(bool visible);
    bool isOrderPageVisible() const;

    const QString &PriceField() const;
    double OrderSum() const;
    int PositionCount() const;
    QString orderBarText(int panel) const;

    // Sets up the price column of the markup in cbPay and recounts the totals.
    void ApplyMarkup();
    void btClearOrderClick();
    void btPrintClick();
    void acnCreateOrderExecute();
    void acnCreateOrderUpdate();

    // The consignees' IDRow values, parallel to the items of cbPODR.
    const std::vector<int> &customerIds() const { return CustomerIds; }
    // The page "Инфо" made the current one.
    void showInfoPage();

protected:
    void FormClose() override;
    void FormDestroy() override;
    void showEvent(QShowEvent *event) override;

private:
    // Items of the combo come from the table's text field; ids are kept parallel.
    void FillLookupCombo(QComboBox *combo, const QString &tablePath, std::vector<int> &ids, const QString &idField,
                         const QString &textField);
    void buildForm();
    void buildInfoPage();
    void buildOrderPage();
    void buildOrderBar();
    void buildGridMenu();
    void connectControls();
    void layoutChoiceRow();
    void prepareTable(const QString &tablePath);
    void openPriceTable(const QString &tablePath);
    void bindTable();
    void fillChoices();
    void layoutHeaderFields();
    void refreshHeaderValues();
    void showTotals();
    void tableChanged(tables::Table &table, tables::TableChange change, std::uint32_t recno) override;

    void FormActivate();
    void cbPODRChange();
    void cbPayChange();
    void mmMailChange();
    void N1Click();
    void DBGridKeyPress(grid::GridCharEvent *event);
    void DBGridKeyDown(grid::GridKeyEvent *event);
    void DBGridColEnter();
    void enterCycle();

    QTabWidget *PageControl1;
    QWidget *tsHeader;
    QWidget *TabSheet1;
    QLabel *Label9;
    QComboBox *cbPODR;
    QLabel *Label1;
    QComboBox *cbPay;
    QPushButton *btPrint;
    QToolButton *Button1;
    QPushButton *btClearOrder;
    QPlainTextEdit *mmMail;
    QLabel *lbSymCount;
    QLabel *lbSymRem;
    QLabel *lbOrder;
    QStatusBar *OrderBar;
    QAction *acnCreateOrder;
    QMenu *pmGrid;
    grid::DBGrid *DBGrid;
    grid::FindBar *FindBar;

    std::vector<int> CustomerIds;
    std::vector<int> MarkupIds;
    QString DefaultPriceField;

    std::vector<QLabel *> orderBarPanels_;
    std::vector<std::pair<QLabel *, QString>> headerValues_; // value control, field name
    // As the action framework does it: whenever the application waits for input.
    windows::IdleActionUpdater actionsUpdater_{windows::IdleActionUpdater::Idle::EveryWait,
                                               [this] { acnCreateOrderUpdate(); },
                                               [this](const QString &text) { showStatus(text); }};

    std::unique_ptr<tables::Table> table_;
    std::unique_ptr<OrderPricing> pricing_;
    // Declared after the table, so it runs first: the grid and the pricing
    // let go of the table before it is closed.
    windows::TableRelease tableRelease_;

    std::vector<tables::Field> EditableFields;
    std::optional<tables::Field> ReturnField;
    std::optional<windows::TitleSearch> titleSearch_; // set up with the grid
};

} // namespace ordering
