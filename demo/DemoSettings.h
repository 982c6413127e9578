#pragma once

#include <QDateTime>
#include <QString>

namespace demo {

// The INI files of the demo installation, in the program folder.
void writeSettingsFile(const QString &fileName, const QDateTime &lastRefresh);
void writeProperties(const QString &fileName, const QString &invoiceFileName);
void writeOrderMapping(const QString &fileName);
void writeHeaderLayout(const QString &fileName);

} // namespace demo
