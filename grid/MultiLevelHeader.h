#pragma once

#include <QHeaderView>
#include <QStringList>

namespace grid {

// A column header that can show titles over several levels: a title is split
// at each "|", and neighbouring columns whose titles begin with the same parts
// share one cell for them ("Возраст|лет" and "Возраст|мес" under one "Возраст").
class MultiLevelHeader : public QHeaderView {
    Q_OBJECT
public:
    explicit MultiLevelHeader(QWidget *parent = nullptr);

    void setMultiLevel(bool on);
    bool isMultiLevel() const { return multiLevel_; }
    // Levels of the tallest title (1 when multi-level titles are off).
    int levelCount() const;

    static QStringList titleLevels(const QString &title);
    // The cell a section's title part of that level is drawn in, in viewport
    // coordinates: shared upper parts span their columns, the last part
    // reaches down to the bottom. Empty when the title has no such level.
    QRect levelRect(int logicalIndex, int level) const;

    QSize sizeHint() const override;

protected:
    void paintSection(QPainter *painter, const QRect &rect, int logicalIndex) const override;

private:
    QStringList levelsOf(int logicalIndex) const;
    bool sharesLevel(int logicalA, int logicalB, int level) const;
    int lineHeight() const;

    bool multiLevel_ = false;
};

} // namespace grid
