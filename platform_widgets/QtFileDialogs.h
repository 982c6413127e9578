#pragma once

#include "platform/FileDialogs.h"

namespace platform {

// The widget toolkit's dialogs.
class QtFileDialogs : public FileDialogs {
public:
    std::optional<QString> chooseFolder(const QString &title, QWidget *parent = nullptr) override;
    std::optional<QString> chooseSaveFile(const QString &title, const QString &suggestedPath, const QString &filter,
                                          QWidget *parent = nullptr) override;
    std::optional<QString> chooseOpenFile(const QString &title, const QString &folder, const QString &filter,
                                          QWidget *parent = nullptr) override;
    std::optional<QFont> chooseFont(const QFont &initial, QWidget *parent = nullptr) override;
};

} // namespace platform
