#pragma once

#include <QDateTime>
#include <QLocale>
#include <QString>

#include <optional>

namespace config {

// Date-times as the settings files hold them: the user's short date format
// and long time format, the time left out at midnight. Two-digit years are
// widened to four digits so that a stored date keeps its century.
QString shortDateFormat(const QLocale &locale);
QString longTimeFormat(const QLocale &locale);

QString formatIniDateTime(const QDateTime &value, const QLocale &locale = QLocale());
// Accepts date and long time, date and short time, or the date alone.
std::optional<QDateTime> parseIniDateTime(const QString &text, const QLocale &locale = QLocale());

} // namespace config
