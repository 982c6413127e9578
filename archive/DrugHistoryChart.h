#pragma once

#include "DrugHistory.h"

#include <QWidget>

namespace windows {

// A small bar chart of a drug's ordered quantity per month over the last 12
// months, the month names under the bars and the quantities above them.
class DrugHistoryChart : public QWidget {
    Q_OBJECT
public:
    explicit DrugHistoryChart(QWidget *parent = nullptr);

    void setHistory(const DrugHistory &history);
    const DrugHistory &history() const { return history_; }

    QSize sizeHint() const override;

protected:
    void paintEvent(QPaintEvent *event) override;

private:
    DrugHistory history_;
};

} // namespace windows
