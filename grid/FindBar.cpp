#include "FindBar.h"

#include "DBGrid.h"

#include "tables/Table.h"

#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>

namespace grid {

FindBar::FindBar(DBGrid &grid, QWidget *parent) : QWidget(parent), grid_(grid)
{
    setObjectName(QStringLiteral("FindBar"));
    auto *row = new QHBoxLayout(this);
    row->setContentsMargins(4, 2, 4, 2);
    auto *caption = new QLabel(QStringLiteral("Найти:"), this);
    edFind_ = new QLineEdit(this);
    edFind_->setObjectName(QStringLiteral("edFind"));
    edFind_->setPlaceholderText(QStringLiteral("слова названия, в любом порядке"));
    edFind_->setClearButtonEnabled(true);
    caption->setBuddy(edFind_);
    lbFound_ = new QLabel(this);
    lbFound_->setObjectName(QStringLiteral("lbFound"));
    lbFound_->setMinimumWidth(lbFound_->fontMetrics().horizontalAdvance(QStringLiteral("100000 из 100000")));
    row->addWidget(caption);
    row->addWidget(edFind_, 1);
    row->addWidget(lbFound_);
    edFind_->installEventFilter(this);
    connect(edFind_, &QLineEdit::textEdited, this, &FindBar::search);
}

void FindBar::activate()
{
    setVisible(true);
    edFind_->setFocus();
    edFind_->selectAll();
}

QString FindBar::nameField() const
{
    tables::Table *table = grid_.table();
    if (table->findField(QStringLiteral("Name")).isValid())
        return table->findField(QStringLiteral("Name")).name();
    for (int i = 0; i < table->fieldCount(); ++i)
        if (table->field(i).kind() == tables::FieldKind::String && !table->field(i).isCalculated())
            return table->field(i).name();
    return {};
}

bool FindBar::ensureFinder()
{
    tables::Table *table = grid_.table();
    if (!table || !table->isOpen())
        return false;
    // Built once per table; again only when records were added since.
    if (!finder_ || indexed_ != table || indexedRecords_ != table->recordCount()) {
        const QString field = nameField();
        if (field.isEmpty())
            return false;
        finder_ = std::make_unique<NameFinder>(*table, field);
        indexed_ = table;
        indexedRecords_ = table->recordCount();
    }
    return true;
}

void FindBar::search(const QString &typed)
{
    matches_.clear();
    current_ = -1;
    if (!typed.trimmed().isEmpty() && ensureFinder())
        matches_ = finder_->find(typed);
    if (typed.trimmed().isEmpty()) {
        lbFound_->clear();
        return;
    }
    moveTo(0, 1);
}

void FindBar::moveTo(int index, int direction)
{
    tables::Table *table = grid_.table();
    const int count = int(matches_.size());
    // A match the view hides (a filter) is passed over.
    for (int step = 0; step < count; ++step) {
        const int candidate = ((index + direction * step) % count + count) % count;
        if (table->gotoBookmark(matches_[std::size_t(candidate)])) {
            current_ = candidate;
            lbFound_->setText(QStringLiteral("%1 из %2").arg(candidate + 1).arg(count));
            return;
        }
    }
    lbFound_->setText(QStringLiteral("не найдено"));
}

void FindBar::findNext()
{
    if (!matches_.empty())
        moveTo(current_ + 1, 1);
}

void FindBar::findPrevious()
{
    if (!matches_.empty())
        moveTo(current_ - 1, -1);
}

bool FindBar::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == edFind_ && event->type() == QEvent::KeyPress) {
        const auto *key = static_cast<QKeyEvent *>(event);
        const bool shift = key->modifiers() & Qt::ShiftModifier;
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter || (key->key() == Qt::Key_F3 && !shift)) {
            findNext();
            return true;
        }
        if (key->key() == Qt::Key_F3 && shift) {
            findPrevious();
            return true;
        }
        if (key->key() == Qt::Key_Escape) {
            grid_.setFocus();
            emit finished();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

} // namespace grid
