#pragma once

#include "windows/MainFrmServices.h"

#include <QString>

#include <array>

namespace config {
class IniFile;
}

namespace app {

// The seven working folders, each an absolute path ending with '/'.
class WorkFolders {
public:
    static constexpr int kCount = 7;

    // The folders under the program folder: IN, Out, Invoice, Reference,
    // Archiv, Prescription, Outboundn.
    static WorkFolders defaults(const QString &programFolder);
    // The stored folders when the stored price folder exists; otherwise all
    // seven defaults, whatever else is stored. Nothing is written.
    static WorkFolders fromSettings(const config::IniFile &settings, const QString &programFolder);

    const QString &operator[](windows::WorkFolder which) const { return paths_[index(which)]; }
    void set(windows::WorkFolder which, const QString &path);

    // Creates every missing folder, one level deep: a folder whose parent is
    // missing stays missing. Nothing is reported.
    void createMissing() const;

    static const std::array<windows::WorkFolder, kCount> &all();
    // The settings key of the folder in section Path.
    static QString settingsKey(windows::WorkFolder which);

private:
    static int index(windows::WorkFolder which) { return static_cast<int>(which); }
    std::array<QString, kCount> paths_;
};

} // namespace app
