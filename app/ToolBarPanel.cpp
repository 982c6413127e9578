#include "ToolBarPanel.h"

#include "FlowLayout.h"

#include <QAction>
#include <QFrame>
#include <QMenu>
#include <QToolButton>

#include <algorithm>

namespace app {

namespace {

constexpr int kMenuArrowWidth = 14;

} // namespace

ToolBarPanel::ToolBarPanel(QWidget *parent) : QWidget(parent)
{
    setObjectName(QStringLiteral("MainToolBar"));
    new FlowLayout(this, 1);
    setSizePolicy(QSizePolicy::Preferred, QSizePolicy::Fixed);
}

// Only a width the layout gave counts: before that, a height for the default
// width would make the window taller than its stored size.
void ToolBarPanel::fitHeight()
{
    const int needed = static_cast<FlowLayout *>(layout())->heightAt(width());
    if (needed != height())
        setFixedHeight(needed);
}

void ToolBarPanel::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    fitHeight();
}

QToolButton *ToolBarPanel::addButton(QAction *action, QMenu *menu, const QSize &size)
{
    auto *button = new QToolButton(this);
    button->setDefaultAction(action);
    button->setToolButtonStyle(Qt::ToolButtonTextUnderIcon);
    button->setIconSize(QSize(32, 32));
    button->setAutoRaise(true);
    button->setObjectName(QStringLiteral("tb") + action->objectName().mid(3));
    // Captions stay whole when the font is wider than the one the buttons
    // were measured for.
    const int width = std::max(size.width(), button->fontMetrics().horizontalAdvance(action->text()) + 12);
    if (menu) {
        button->setMenu(menu);
        button->setPopupMode(QToolButton::MenuButtonPopup);
        button->setFixedSize(width + kMenuArrowWidth, size.height());
    } else {
        button->setFixedSize(width, size.height());
    }
    layout()->addWidget(button);
    return button;
}

void ToolBarPanel::addSeparator()
{
    auto *line = new QFrame(this);
    line->setFrameShape(QFrame::VLine);
    line->setFrameShadow(QFrame::Sunken);
    line->setFixedSize(8, 46);
    layout()->addWidget(line);
}

} // namespace app
