#include "IniDateTime.h"

#include <QRegularExpression>

namespace config {

namespace {

// Removes the time zone ('t' runs outside quotes) that Qt's long formats carry.
QString withoutTimeZone(const QString &format)
{
    QString out;
    bool quoted = false;
    for (QChar c : format) {
        if (c == u'\'')
            quoted = !quoted;
        if (!quoted && c == u't')
            continue;
        out += c;
    }
    return out.simplified();
}

} // namespace

QString shortDateFormat(const QLocale &locale)
{
    QString format = locale.dateFormat(QLocale::ShortFormat);
    if (!format.contains(QStringLiteral("yyyy")))
        format.replace(QRegularExpression(QStringLiteral("y+")), QStringLiteral("yyyy"));
    return format;
}

QString longTimeFormat(const QLocale &locale) { return withoutTimeZone(locale.timeFormat(QLocale::LongFormat)); }

namespace {

std::optional<QDateTime> parseIn(const QString &value, const QLocale &locale)
{
    const QString date = shortDateFormat(locale);
    const QString shortTime = withoutTimeZone(locale.timeFormat(QLocale::ShortFormat));
    // Russian Windows writes the hour without a leading zero ("8:30:00").
    const QString longTime = longTimeFormat(locale);
    for (const QString &time : {longTime, QString(longTime).replace(QStringLiteral("HH"), QStringLiteral("H")),
                                shortTime, QString(shortTime).replace(QStringLiteral("HH"), QStringLiteral("H"))}) {
        const QDateTime parsed = locale.toDateTime(value, date + u' ' + time);
        if (parsed.isValid())
            return parsed;
    }
    const QDate day = locale.toDate(value, date);
    if (day.isValid())
        return QDateTime(day, QTime(0, 0));
    return std::nullopt;
}

} // namespace

QString formatIniDateTime(const QDateTime &value, const QLocale &locale)
{
    QString text = locale.toString(value.date(), shortDateFormat(locale));
    if (value.time() != QTime(0, 0))
        text += u' ' + locale.toString(value.time(), longTimeFormat(locale));
    return text;
}

std::optional<QDateTime> parseIniDateTime(const QString &text, const QLocale &locale)
{
    const QString value = text.trimmed();
    if (value.isEmpty())
        return std::nullopt;
    // The locale in force first, then the forms earlier runs may have
    // written: Russian, the system's, and C (a machine left in English).
    for (const QLocale &candidate :
         {locale, QLocale(QLocale::Russian, QLocale::Russia), QLocale::system(), QLocale::c()}) {
        if (const std::optional<QDateTime> parsed = parseIn(value, candidate))
            return parsed;
    }
    return std::nullopt;
}

} // namespace config
