#include "DrugHistoryChart.h"

#include <QLocale>
#include <QPainter>

#include <algorithm>

namespace windows {

DrugHistoryChart::DrugHistoryChart(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("DrugHistoryChart"));
    setToolTip(QStringLiteral("Заказано препарата по месяцам за последний год"));
    // Month names and quantities a size smaller than the window's text.
    QFont small = font();
    small.setPointSizeF(small.pointSizeF() * 0.85);
    setFont(small);
    setFixedWidth(sizeHint().width());
}

void DrugHistoryChart::setHistory(const DrugHistory &history)
{
    history_ = history;
    update();
}

QSize DrugHistoryChart::sizeHint() const
{
    const QFontMetrics metrics = fontMetrics();
    const int column =
        std::max(metrics.horizontalAdvance(QStringLiteral("000")), metrics.horizontalAdvance(QStringLiteral("ммм")));
    return {DrugHistory::kMonths * (column + 2) + 8, 120};
}

void DrugHistoryChart::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.fillRect(rect(), palette().base());
    const QFontMetrics metrics = fontMetrics();
    const int labels = metrics.height();
    const QRect area = rect().adjusted(4, labels + 2, -4, -labels - 2);
    if (area.height() <= 0 || !history_.lastMonth.isValid())
        return;
    const double highest = *std::max_element(history_.quantities.begin(), history_.quantities.end());
    const double step = double(area.width()) / DrugHistory::kMonths;
    const QLocale locale;
    for (int i = 0; i < DrugHistory::kMonths; ++i) {
        const QDate month = history_.lastMonth.addMonths(i - DrugHistory::kMonths + 1);
        const double quantity = history_.quantities[std::size_t(i)];
        const int left = area.left() + int(i * step) + 1;
        const int width = std::max(1, int(step) - 2);
        const int height = highest > 0 ? int(area.height() * quantity / highest) : 0;
        const QRect bar(left, area.bottom() - height + 1, width, height);
        painter.fillRect(bar, i == DrugHistory::kMonths - 1 ? palette().highlight() : palette().mid());
        painter.setPen(palette().text().color());
        painter.drawText(QRect(left - 4, area.bottom() + 2, width + 8, labels), Qt::AlignHCenter,
                         locale.toString(month, QStringLiteral("MMM")).left(3));
        if (quantity > 0)
            painter.drawText(QRect(left - 6, bar.top() - labels - 1, width + 12, labels), Qt::AlignHCenter,
                             locale.toString(quantity, 'g', 6));
    }
}

} // namespace windows
