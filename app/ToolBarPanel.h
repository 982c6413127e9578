#pragma once

#include <QWidget>

class QAction;
class QMenu;
class QToolButton;

namespace app {

// The main tool bar: large buttons (icon above caption) that wrap into a
// further row when the window is narrower than the buttons.
class ToolBarPanel : public QWidget {
public:
    explicit ToolBarPanel(QWidget *parent = nullptr);

    // A button for the action; with a menu, pressing runs the action and the
    // arrow opens the menu.
    QToolButton *addButton(QAction *action, QMenu *menu, const QSize &size);
    void addSeparator();

protected:
    void resizeEvent(QResizeEvent *event) override;

private:
    void fitHeight();
};

} // namespace app
