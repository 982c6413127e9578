#pragma once

#include <QString>

// The captions of the program's child windows: the main window finds its
// children by them (compared in upper case) and each window keeps its place
// in the settings under its caption.
namespace windows::captions {

inline const QString kPrice = QStringLiteral("ПРАЙС");
inline const QString kOrder = QStringLiteral("ЗАКАЗ");
inline const QString kNewArrivals = QStringLiteral("НОВЫЕ ПОСТУПЛЕНИЯ");
inline const QString kArchive = QStringLiteral("Архив");
inline const QString kPrescriptions = QStringLiteral("Рецепты");
inline const QString kComponents = QStringLiteral("Компоненты");
inline const QString kTools = QStringLiteral("Настройки");
inline const QString kDialUp = QStringLiteral("Дозвон");
inline const QString kTransfer = QStringLiteral("FTP");

} // namespace windows::captions
