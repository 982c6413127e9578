#include "MultiLevelHeader.h"

#include <QPainter>
#include <QStyleOptionHeader>

namespace grid {

MultiLevelHeader::MultiLevelHeader(QWidget *parent) : QHeaderView(Qt::Horizontal, parent) {}

void MultiLevelHeader::setMultiLevel(bool on)
{
    if (on == multiLevel_)
        return;
    multiLevel_ = on;
    updateGeometry();
    viewport()->update();
}

QStringList MultiLevelHeader::titleLevels(const QString &title) { return title.split(u'|'); }

QStringList MultiLevelHeader::levelsOf(int logicalIndex) const
{
    const QString title =
        model() ? model()->headerData(logicalIndex, orientation(), Qt::DisplayRole).toString() : QString();
    return multiLevel_ ? titleLevels(title) : QStringList{title};
}

int MultiLevelHeader::levelCount() const
{
    if (!multiLevel_)
        return 1;
    int levels = 1;
    for (int i = 0; i < count(); ++i)
        levels = qMax(levels, int(levelsOf(i).size()));
    return levels;
}

int MultiLevelHeader::lineHeight() const { return fontMetrics().height() + 6; }

QSize MultiLevelHeader::sizeHint() const
{
    QSize size = QHeaderView::sizeHint();
    if (multiLevel_)
        size.setHeight(qMax(size.height(), levelCount() * lineHeight()));
    return size;
}

bool MultiLevelHeader::sharesLevel(int logicalA, int logicalB, int level) const
{
    const QStringList a = levelsOf(logicalA);
    const QStringList b = levelsOf(logicalB);
    // Only upper levels are shared; a title's last part is always its own.
    if (a.size() <= level + 1 || b.size() <= level + 1)
        return false;
    for (int i = 0; i <= level; ++i)
        if (a[i] != b[i])
            return false;
    return true;
}

QRect MultiLevelHeader::levelRect(int logicalIndex, int level) const
{
    const QStringList parts = levelsOf(logicalIndex);
    if (level < 0 || level >= parts.size())
        return {};
    const int line = height() / qMax(1, levelCount());
    const int top = level * line;
    const int left = sectionViewportPosition(logicalIndex);
    if (level == parts.size() - 1)
        return QRect(left, top, sectionSize(logicalIndex), height() - top);
    const int visual = visualIndex(logicalIndex);
    int first = visual;
    int end = visual;
    while (first > 0 && sharesLevel(this->logicalIndex(first - 1), logicalIndex, level))
        --first;
    while (end + 1 < count() && sharesLevel(this->logicalIndex(end + 1), logicalIndex, level))
        ++end;
    const int from = sectionViewportPosition(this->logicalIndex(first));
    const int to = sectionViewportPosition(this->logicalIndex(end)) + sectionSize(this->logicalIndex(end));
    return QRect(from, top, to - from, line);
}

void MultiLevelHeader::paintSection(QPainter *painter, const QRect &rect, int logical) const
{
    if (!multiLevel_) {
        QHeaderView::paintSection(painter, rect, logical);
        return;
    }
    const QStringList parts = levelsOf(logical);
    const QVariant align = model()->headerData(logical, orientation(), Qt::TextAlignmentRole);
    for (int level = 0; level < parts.size(); ++level) {
        const bool last = level == parts.size() - 1;
        QRect cell = levelRect(logical, level);
        cell.translate(0, rect.top());
        // Every section draws its own part of a shared cell, the text centred
        // over the whole cell, so the parts join up.
        painter->save();
        painter->setClipRect(rect, Qt::IntersectClip);
        QStyleOptionHeader opt;
        initStyleOption(&opt);
        opt.rect = cell;
        opt.section = logical;
        opt.text = parts[level];
        opt.textAlignment = last && align.isValid() ? Qt::Alignment(align.toInt()) : Qt::AlignCenter;
        opt.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_Header, &opt, painter, this);
        painter->restore();
    }
}

} // namespace grid
