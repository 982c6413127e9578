#pragma once

#include <QString>
#include <Qt>

#include <initializer_list>
#include <vector>

class QLabel;
class QStatusBar;

namespace windows {

// One panel of a window's status bar: its first text, its width and the
// widest text it will show (its first text when empty).
struct StatusPanel {
    QString text;
    int width = 0;
    Qt::Alignment alignment = Qt::AlignLeft;
    QString widest = {}; // the longest text the panel shows, when longer than `text`
};

// Makes the bar: no size grip, bold Tahoma of `pixelSize`, and one label per
// panel, left to right, named `namePrefix` + index. Each label has a fixed
// size, so a new figure repaints the label, not the window's layout: the
// given width, or wider where the font needs it for the widest text.
std::vector<QLabel *> makeStatusPanels(QStatusBar &bar, int pixelSize, const QString &namePrefix,
                                       std::initializer_list<StatusPanel> panels);

} // namespace windows
