#include "ChildLookup.h"

#include <QMdiArea>
#include <QMdiSubWindow>

namespace app {

QString childCaption(const QWidget &subWindow)
{
    if (const auto *frame = qobject_cast<const QMdiSubWindow *>(&subWindow); frame && frame->widget())
        return frame->widget()->windowTitle();
    return subWindow.windowTitle();
}

namespace {

// Closed (or hidden on purpose), as opposed to not shown yet.
bool closed(const QWidget *widget)
{
    return widget && widget->isHidden() && widget->testAttribute(Qt::WA_WState_ExplicitShowHide);
}

} // namespace

QWidget *FindChildByCaption(const QMdiArea &area, const QString &caption)
{
    const QString wanted = caption.toUpper();
    for (QMdiSubWindow *frame : area.subWindowList(QMdiArea::CreationOrder)) {
        if (closed(frame) || closed(frame->widget()))
            continue; // waiting for deletion
        if (childCaption(*frame).toUpper() == wanted)
            return frame->widget() ? frame->widget() : frame;
    }
    return nullptr;
}

} // namespace app
