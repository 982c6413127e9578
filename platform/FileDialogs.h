#pragma once

#include <QString>

#include <optional>

class QFont; // a value of QtGui: callers of chooseFont() have it
class QWidget;

namespace platform {

// Folder, file and font choice. Nothing is returned when the user cancels.
// A null parent means the active window.
class FileDialogs {
public:
    virtual ~FileDialogs() = default;
    // The chosen folder with a trailing '/'.
    virtual std::optional<QString> chooseFolder(const QString &title, QWidget *parent = nullptr) = 0;
    virtual std::optional<QString> chooseSaveFile(const QString &title, const QString &suggestedPath,
                                                  const QString &filter, QWidget *parent = nullptr) = 0;
    virtual std::optional<QString> chooseOpenFile(const QString &title, const QString &folder, const QString &filter,
                                                  QWidget *parent = nullptr) = 0;
    virtual std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent = nullptr) = 0;
};

} // namespace platform
