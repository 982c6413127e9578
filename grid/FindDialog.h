#pragma once

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace grid {

class DBGrid;

// The grid's find dialog: a text, the column to search (the current one or
// all), how the text must match, letter case; "Найти далее" moves the grid to
// the next match. It stays open beside the grid until closed.
class FindDialog : public QDialog {
    Q_OBJECT
public:
    explicit FindDialog(DBGrid *grid);

    // Fills the column list from the grid and preselects its current column.
    void prepare();
    // True when a match was found; tells the user otherwise.
    bool findNext();

private:
    DBGrid *grid_;
    QLineEdit *text_;
    QComboBox *column_;
    QComboBox *match_;
    QCheckBox *caseSensitive_;
    QPushButton *findButton_;
};

} // namespace grid
