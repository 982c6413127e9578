#pragma once

#include "NameFinder.h"

#include <QWidget>

#include <cstdint>
#include <memory>
#include <optional>
#include <vector>

class QLabel;
class QLineEdit;

namespace tables {
class Table;
}

namespace grid {

class DBGrid;

// Find as you type over a grid's name column: every typed word anywhere in
// the name, in any order (see NameFinder). Enter and F3 go to the next match,
// Shift+F3 to the previous one, Escape back to the grid.
class FindBar : public QWidget {
    Q_OBJECT
public:
    explicit FindBar(DBGrid &grid, QWidget *parent = nullptr);

    // Ctrl+F: the bar shown and its text ready to be replaced.
    void activate();
    void findNext();
    void findPrevious();

    QLineEdit *edit() const { return edFind_; }
    const std::vector<std::uint32_t> &matches() const { return matches_; }

signals:
    // Escape: the user goes back to the grid.
    void finished();

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void search(const QString &typed);
    // The first match the view shows, from `index` on in `direction` (1 or -1).
    void moveTo(int index, int direction);
    bool ensureFinder();
    QString nameField() const;

    DBGrid &grid_;
    QLineEdit *edFind_;
    QLabel *lbFound_;
    std::unique_ptr<NameFinder> finder_;
    tables::Table *indexed_ = nullptr;
    std::uint32_t indexedRecords_ = 0;
    std::vector<std::uint32_t> matches_;
    int current_ = -1;
};

} // namespace grid
