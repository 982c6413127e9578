#pragma once

#include "DrugHistory.h"
#include "DrugHistoryChart.h"

#include "windows/uSChildFrm.h"

#include <QString>

#include <cstdint>
#include <memory>
#include <vector>

class QComboBox;
class QFrame;
class QLabel;
class QSplitter;
class QStatusBar;
class QToolBar;
class QToolButton;

namespace grid {
class DBGrid;
}
namespace tables {
class Table;
}

namespace windows {

// The order archive: the archived orders of one month above, the positions
// of the current order below, and for the drug of the current position how
// many archived positions carry it and their total quantity. An archived
// order can be written out again as an order file or printed. Both tables
// are read-only.
class TDblGridFrm : public TSaveChildFrm {
    Q_OBJECT
public:
    // main: the main window's services, nullptr without a main window. A
    // table that cannot be opened raises tables::TableError.
    TDblGridFrm(QWidget *owner, const QString &archivePath, const QString &positionsPath, MainFrmServices *main);
    ~TDblGridFrm() override;

    tables::Table *archive() const { return archive_.get(); }
    tables::Table *positions() const { return positions_.get(); }
    QString statusPanelText(int panel) const;
    std::int32_t lastDrug() const { return LastDrug; }
    // How many times the statistics were computed, for tests of when they are.
    int statisticsRuns() const { return statisticsRuns_; }

    void cbYearsChange();
    void tbCreateOrderClick();
    void tbPrintOrderClick();

    void FillYears();
    void ShowDrugStatistics(std::int32_t drug);

protected:
    void FormDestroy() override;

private:
    QToolBar *DblGridToolBar;
    QToolButton *tbCreateOrder;
    QToolButton *tbPrintOrder;
    QFrame *Panel1;
    QLabel *Label1;
    QComboBox *cbYears;
    QLabel *Label2;
    QComboBox *cbMonth;
    QFrame *Panel2;
    QSplitter *Splitter1;
    QFrame *Panel3;
    QStatusBar *StatusBar;
    grid::DBGrid *DBGridMaster;
    grid::DBGrid *DBGridDetail;
    DrugHistoryChart *DrugChart;

    void buildForm();
    void openTables(const QString &archivePath, const QString &positionsPath);
    void applyMonthFilter();
    void attachAfterScroll(bool attach);
    void DetailAfterScroll();
    // Counts the archived positions of the drug through the "Statist" order.
    void countDrug(std::int32_t drug);
    // Drug of the current position, 0 when there is none.
    std::int32_t currentDrug() const;
    void setStatusPanel(int panel, const QString &text);

    std::unique_ptr<tables::Table> archive_;
    std::unique_ptr<tables::Table> positions_;
    // Declared after the tables, so it goes first: the grids let go of the
    // tables before they close, also when construction fails half-way.
    struct GridsRelease {
        grid::DBGrid *master = nullptr;
        grid::DBGrid *detail = nullptr;
        ~GridsRelease();
    } gridsRelease_;
    std::vector<QLabel *> statusPanels_;

    std::int32_t PositionCount = 0;
    std::int32_t TotalQuantity = 0;
    std::int32_t LastDrug = 0;
    OrderMonths orderMonths_;
    DrugHistory history_;
    int statisticsRuns_ = 0;
};

} // namespace windows
