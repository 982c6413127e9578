#include "QtFileDialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontDialog>

namespace platform {

namespace {

QWidget *ownerOr(QWidget *parent) { return parent ? parent : QApplication::activeWindow(); }

std::optional<QString> chosen(const QString &path)
{
    if (path.isEmpty())
        return std::nullopt;
    return path;
}

} // namespace

std::optional<QString> QtFileDialogs::chooseFolder(const QString &title, QWidget *parent)
{
    const QString folder = QFileDialog::getExistingDirectory(ownerOr(parent), title, QString());
    if (folder.isEmpty())
        return std::nullopt;
    return folder.endsWith(u'/') ? folder : folder + u'/';
}

std::optional<QString> QtFileDialogs::chooseSaveFile(const QString &title, const QString &suggestedPath,
                                                     const QString &filter, QWidget *parent)
{
    return chosen(QFileDialog::getSaveFileName(ownerOr(parent), title, suggestedPath, filter));
}

std::optional<QString> QtFileDialogs::chooseOpenFile(const QString &title, const QString &folder, const QString &filter,
                                                     QWidget *parent)
{
    return chosen(QFileDialog::getOpenFileName(ownerOr(parent), title, folder, filter));
}

std::optional<QFont> QtFileDialogs::chooseFont(const QFont &initial, QWidget *parent)
{
    bool ok = false;
    const QFont font = QFontDialog::getFont(&ok, initial, ownerOr(parent));
    if (!ok)
        return std::nullopt;
    return font;
}

} // namespace platform
