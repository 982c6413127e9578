#pragma once

#include <QPointer>
#include <QStyledItemDelegate>

namespace grid {

class DBGrid;

// Draws the grid's cells (row colours from the style hook, the highlighted
// current row, selected rows, the ellipsis button of the current cell) and
// edits them in place: numbers for numeric fields, text limited to the field
// size. Keys typed into an editor reach the grid's key events first.
class GridDelegate : public QStyledItemDelegate {
    Q_OBJECT
public:
    explicit GridDelegate(DBGrid *grid);

    void paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    QWidget *createEditor(QWidget *parent, const QStyleOptionViewItem &option, const QModelIndex &index) const override;
    void setEditorData(QWidget *editor, const QModelIndex &index) const override;
    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;
    void updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                              const QModelIndex &index) const override;

    // The cell editor open now, if any.
    QWidget *openEditor() const { return editor_; }

    // Where the ellipsis button of a cell is drawn.
    static QRect editButtonRect(const QRect &cell);

protected:
    bool eventFilter(QObject *object, QEvent *event) override;

private:
    DBGrid *grid_;
    mutable QPointer<QWidget> editor_;
    bool resending_ = false; // a replaced character on its way into the editor
};

} // namespace grid
