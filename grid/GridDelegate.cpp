#include "GridDelegate.h"

#include "CellStyle.h"
#include "DBGrid.h"
#include "TableModel.h"

#include "tables/Field.h"

#include <QApplication>
#include <QKeyEvent>
#include <QLineEdit>
#include <QPainter>
#include <QRegularExpressionValidator>

namespace grid {

namespace {

// The current row, when highlighted as a whole, takes this much of the
// highlight colour over the cell's own background.
constexpr double kRowHighlightShare = 0.25;
// Space between a cell's border and its text.
constexpr int kTextMargin = 3;

QColor blend(const QColor &base, const QColor &over, double share)
{
    return QColor::fromRgbF(float(base.redF() * (1 - share) + over.redF() * share),
                            float(base.greenF() * (1 - share) + over.greenF() * share),
                            float(base.blueF() * (1 - share) + over.blueF() * share));
}

bool closesEditor(int key)
{
    switch (key) {
    case Qt::Key_Return:
    case Qt::Key_Enter:
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
    case Qt::Key_Up:
    case Qt::Key_Down:
    case Qt::Key_PageUp:
    case Qt::Key_PageDown: return true;
    default: return false;
    }
}

} // namespace

GridDelegate::GridDelegate(DBGrid *grid) : QStyledItemDelegate(grid), grid_(grid) {}

QRect GridDelegate::editButtonRect(const QRect &cell)
{
    const int side = qMin(cell.height(), cell.width() / 2);
    return QRect(cell.right() - side + 1, cell.top(), side, cell.height());
}

void GridDelegate::paint(QPainter *painter, const QStyleOptionViewItem &option, const QModelIndex &index) const
{
    // Drawn directly rather than through the style's item view element: one
    // line of clipped text per cell, as dBase grids show it, and a fraction
    // of the cost when a page of a large table scrolls in.
    const TableModel *model = grid_->tableModel();
    const CellStyle row = model->rowStyle(index.row());
    const QModelIndex current = grid_->currentIndex();
    const bool currentCell = index == current;
    const bool currentRow = current.isValid() && index.row() == current.row();
    const QPalette &palette = option.palette;
    QColor background = row.background.isValid() ? row.background : palette.color(QPalette::Base);
    QColor text = row.font.isValid() ? row.font : palette.color(QPalette::Text);
    // Selection wins over the row's own colours, in the system highlight colours.
    if (grid_->isRowSelected(index.row()) || (currentCell && !grid_->hasOption(DBGrid::RowSelect))
        || (currentRow && grid_->hasOption(DBGrid::RowSelect))) {
        background = palette.color(QPalette::Active, QPalette::Highlight);
        text = palette.color(QPalette::Active, QPalette::HighlightedText);
    } else if (currentRow && grid_->hasOption(DBGrid::RowHighlight)) {
        background = blend(background, palette.color(QPalette::Highlight), kRowHighlightShare);
    }
    painter->fillRect(option.rect, background);

    const bool button = currentCell && model->column(index.column()).editButton;
    QRect textRect = option.rect.adjusted(kTextMargin, 0, -kTextMargin, 0);
    if (button)
        textRect.setRight(editButtonRect(option.rect).left() - kTextMargin);
    const QString shown = index.data(Qt::DisplayRole).toString();
    if (!shown.isEmpty() && textRect.width() > 0) {
        painter->save();
        QFont font = option.font;
        if (row.bold)
            font.setBold(true);
        painter->setFont(font);
        painter->setPen(text);
        painter->setClipRect(textRect, Qt::IntersectClip);
        const Qt::Alignment align = Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt());
        painter->drawText(textRect, int((align & Qt::AlignHorizontal_Mask) | Qt::AlignVCenter | Qt::TextSingleLine),
                          shown);
        painter->restore();
    }
    if (button) {
        QStyle *style = option.widget ? option.widget->style() : QApplication::style();
        QStyleOptionButton b;
        b.initFrom(option.widget);
        b.rect = editButtonRect(option.rect);
        b.text = QStringLiteral("…");
        b.state = QStyle::State_Enabled | QStyle::State_Raised;
        style->drawControl(QStyle::CE_PushButton, &b, painter, option.widget);
    }
}

QWidget *GridDelegate::createEditor(QWidget *parent, const QStyleOptionViewItem &, const QModelIndex &index) const
{
    const tables::Field field = grid_->tableModel()->columnField(index.column());
    auto *edit = new QLineEdit(parent);
    editor_ = edit;
    edit->setObjectName(QStringLiteral("CellEditor"));
    edit->setFrame(false);
    if (field.isValid()) {
        using K = tables::FieldKind;
        switch (field.kind()) {
        case K::Float:
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*([.,][0-9]*)?")), edit));
            edit->setMaxLength(field.def().size + 1);
            break;
        case K::SmallInt:
        case K::Integer:
        case K::LargeInt:
            edit->setValidator(
                new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*")), edit));
            edit->setMaxLength(field.def().size);
            break;
        case K::String: edit->setMaxLength(field.def().size); break;
        default: break;
        }
    }
    return edit;
}

void GridDelegate::setEditorData(QWidget *editor, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        edit->setText(index.data(Qt::EditRole).toString());
}

void GridDelegate::setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    if (auto *edit = qobject_cast<QLineEdit *>(editor))
        model->setData(index, edit->text(), Qt::EditRole);
}

void GridDelegate::updateEditorGeometry(QWidget *editor, const QStyleOptionViewItem &option,
                                        const QModelIndex &index) const
{
    QRect r = option.rect;
    if (grid_->tableModel()->column(index.column()).editButton)
        r.setRight(editButtonRect(option.rect).left() - 1);
    editor->setGeometry(r);
}

bool GridDelegate::eventFilter(QObject *object, QEvent *event)
{
    auto *editor = qobject_cast<QWidget *>(object);
    if (!editor || event->type() != QEvent::KeyPress || grid_->isForwardingKey() || resending_)
        return QStyledItemDelegate::eventFilter(object, event);
    auto *key = static_cast<QKeyEvent *>(event);
    if (closesEditor(key->key())) {
        // The value goes into the field first, so handlers of the key see it.
        emit commitData(editor);
        emit closeEditor(editor, QAbstractItemDelegate::NoHint);
        QKeyEvent copy(key->type(), key->key(), key->modifiers(), key->text());
        grid_->handleKey(&copy);
        return true;
    }
    if (key->key() == Qt::Key_Escape) {
        emit closeEditor(editor, QAbstractItemDelegate::RevertModelCache);
        grid_->dispatchKeyEvents(key);
        return true;
    }
    QString replacement;
    if (grid_->dispatchKeyEvents(key, &replacement))
        return true;
    if (!replacement.isNull()) {
        if (auto *edit = qobject_cast<QLineEdit *>(editor)) {
            QKeyEvent changed(key->type(), key->key(), key->modifiers(), replacement);
            resending_ = true;
            QCoreApplication::sendEvent(edit, &changed);
            resending_ = false;
            return true;
        }
    }
    return false; // the editor takes the key
}

} // namespace grid
