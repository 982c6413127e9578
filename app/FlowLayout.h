#pragma once

#include <QLayout>
#include <QList>

namespace app {

// Lays its items out left to right and starts a new row when the width runs
// out, like a tool bar that wraps its buttons.
class FlowLayout : public QLayout {
public:
    explicit FlowLayout(QWidget *parent = nullptr, int spacing = 0);
    ~FlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(items_.size()); }
    QLayoutItem *itemAt(int index) const override { return items_.value(index); }
    QLayoutItem *takeAt(int index) override;

    Qt::Orientations expandingDirections() const override { return {}; }
    // The height the items need at a width. Not offered as height-for-width:
    // layouts would then size the window for its narrowest width, one button
    // a row; the owner sets its height from this instead.
    int heightAt(int width) const { return arrange(QRect(0, 0, width, 0), false); }
    QSize sizeHint() const override { return minimumSize(); }
    QSize minimumSize() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Height used; places the items when `place` is set.
    int arrange(const QRect &rect, bool place) const;

    QList<QLayoutItem *> items_;
    int spacing_;
};

} // namespace app
