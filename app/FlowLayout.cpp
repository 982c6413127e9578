#include "FlowLayout.h"

#include <QWidget>

#include <algorithm>

namespace app {

FlowLayout::FlowLayout(QWidget *parent, int spacing) : QLayout(parent), spacing_(spacing)
{
    setContentsMargins(2, 2, 2, 2);
}

FlowLayout::~FlowLayout()
{
    while (QLayoutItem *item = takeAt(0))
        delete item;
}

void FlowLayout::addItem(QLayoutItem *item) { items_.append(item); }

QLayoutItem *FlowLayout::takeAt(int index)
{
    if (index < 0 || index >= items_.size())
        return nullptr;
    return items_.takeAt(index);
}

QSize FlowLayout::minimumSize() const
{
    QSize size;
    for (const QLayoutItem *item : items_)
        size = size.expandedTo(item->minimumSize());
    const QMargins m = contentsMargins();
    return size + QSize(m.left() + m.right(), m.top() + m.bottom());
}

void FlowLayout::setGeometry(const QRect &rect)
{
    QLayout::setGeometry(rect);
    arrange(rect, true);
}

int FlowLayout::arrange(const QRect &rect, bool place) const
{
    const QRect area = rect.marginsRemoved(contentsMargins());
    int x = area.x();
    int y = area.y();
    int rowHeight = 0;
    for (QLayoutItem *item : items_) {
        if (item->widget() && item->widget()->isHidden())
            continue;
        const QSize hint = item->sizeHint();
        if (x + hint.width() > area.right() + 1 && x > area.x()) {
            x = area.x();
            y += rowHeight + spacing_;
            rowHeight = 0;
        }
        if (place)
            item->setGeometry(QRect(QPoint(x, y), hint));
        x += hint.width() + spacing_;
        rowHeight = std::max(rowHeight, hint.height());
    }
    const QMargins m = contentsMargins();
    return y + rowHeight - rect.y() + m.bottom();
}

} // namespace app
