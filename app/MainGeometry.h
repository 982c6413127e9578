#pragma once

#include <QRect>

namespace config {
class IniFile;
}

class QWidget;

namespace app {

// The main window's place in section Main: Top, Left, Width, Height.
struct MainGeometry {
    int top = 280;
    int left = 367;
    int width = 546;
    int height = 399;

    static MainGeometry read(const config::IniFile &settings);
    void write(const config::IniFile &settings) const;

    static MainGeometry of(const QWidget &window);
    // Moves and sizes the window, in the stored order: top and left, then the
    // size. A place outside every screen is moved onto the primary screen.
    void applyTo(QWidget &window) const;
};

} // namespace app
