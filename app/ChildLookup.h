#pragma once

#include <QString>

class QMdiArea;
class QWidget;

namespace app {

// The first child window of the area whose caption equals the text after
// both are converted to upper case (Cyrillic included); null when none.
// Windows that have been closed but not yet destroyed do not count.
QWidget *FindChildByCaption(const QMdiArea &area, const QString &caption);

// The caption of a child window: the title of the widget inside its frame.
QString childCaption(const QWidget &subWindow);

} // namespace app
