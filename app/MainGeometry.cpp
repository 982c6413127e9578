#include "MainGeometry.h"

#include "config/IniFile.h"
#include "config/SettingsKeys.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <algorithm>

namespace app {

namespace keys = config::keys;

MainGeometry MainGeometry::read(const config::IniFile &settings)
{
    const MainGeometry d;
    return {settings.readInteger(keys::kMain, keys::kTop, d.top),
            settings.readInteger(keys::kMain, keys::kLeft, d.left),
            settings.readInteger(keys::kMain, keys::kWidth, d.width),
            settings.readInteger(keys::kMain, keys::kHeight, d.height)};
}

void MainGeometry::write(const config::IniFile &settings) const
{
    settings.writeInteger(keys::kMain, keys::kTop, top);
    settings.writeInteger(keys::kMain, keys::kLeft, left);
    settings.writeInteger(keys::kMain, keys::kWidth, width);
    settings.writeInteger(keys::kMain, keys::kHeight, height);
}

// Position of the frame and size of the window; the window manager's
// decoration is not the program's to measure before the window is shown, so
// the same quantities are written and applied and nothing drifts.
MainGeometry MainGeometry::of(const QWidget &window)
{
    return {window.pos().y(), window.pos().x(), window.width(), window.height()};
}

void MainGeometry::applyTo(QWidget &window) const
{
    QPoint place(left, top);
    const QSize size(std::max(width, 1), std::max(height, 1));
    const auto screens = QGuiApplication::screens();
    const bool visible = std::any_of(screens.begin(), screens.end(), [&](const QScreen *screen) {
        return screen->availableGeometry().intersects(QRect(place, size));
    });
    if (!visible && QGuiApplication::primaryScreen())
        place = QGuiApplication::primaryScreen()->availableGeometry().topLeft();
    window.move(place);
    window.resize(size);
}

} // namespace app
