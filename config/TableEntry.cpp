#include "TableEntry.h"

#include "ConfigError.h"
#include "IniNumbers.h"

#include <algorithm>

namespace config {

namespace {

constexpr QChar kQuote = u'"';
constexpr QChar kDelimiter = u';';

bool isSkippable(QChar c) { return c.unicode() >= 1 && c.unicode() <= 32; }

// A quoted item from the opening quote at pos; pos ends after the closing
// quote, or at the end when there is none.
QString extractQuoted(QStringView text, qsizetype &pos)
{
    QString item;
    ++pos;
    while (pos < text.size()) {
        const QChar c = text[pos];
        if (c == kQuote) {
            if (pos + 1 < text.size() && text[pos + 1] == kQuote) {
                item += kQuote;
                pos += 2;
                continue;
            }
            ++pos;
            return item;
        }
        item += c;
        ++pos;
    }
    return item;
}

int integerItem(const TableEntry &entry, TableEntry::Item which)
{
    return parseIniInteger(entry.item(which)).value_or(0);
}

} // namespace

QStringList splitDelimited(QStringView text)
{
    // A NUL ends the text, as it ends a C string.
    const qsizetype nul = text.indexOf(QChar(0));
    if (nul >= 0)
        text = text.left(nul);

    QStringList items;
    qsizetype pos = 0;
    while (pos < text.size() && isSkippable(text[pos]))
        ++pos;
    while (pos < text.size()) {
        if (text[pos] == kQuote) {
            items << extractQuoted(text, pos);
        } else {
            const qsizetype start = pos;
            while (pos < text.size() && text[pos].unicode() > 32 && text[pos] != kDelimiter)
                ++pos;
            items << text.mid(start, pos - start).toString();
        }
        while (pos < text.size() && isSkippable(text[pos]))
            ++pos;
        if (pos < text.size() && text[pos] == kDelimiter) {
            if (pos + 1 == text.size())
                items << QString();
            do
                ++pos;
            while (pos < text.size() && isSkippable(text[pos]));
        }
    }
    return items;
}

QString joinDelimited(const QStringList &items)
{
    if (items.size() == 1 && items.front().isEmpty())
        return QStringLiteral("\"\"");
    QStringList parts;
    parts.reserve(items.size());
    for (const QString &item : items) {
        const bool needsQuotes = std::any_of(
            item.begin(), item.end(), [](QChar c) { return c.unicode() <= 32 || c == kQuote || c == kDelimiter; });
        if (needsQuotes) {
            QString quoted = item;
            quoted.replace(kQuote, QStringLiteral("\"\""));
            parts << kQuote + quoted + kQuote;
        } else {
            parts << item;
        }
    }
    return parts.join(kDelimiter);
}

TableEntry TableEntry::defaultFor(const QString &fieldName, int position)
{
    return TableEntry({fieldName, QString::number(position), fieldName, QStringLiteral("Y"), QStringLiteral("Y"),
                       QStringLiteral("N"), QStringLiteral("0")});
}

TableEntry TableEntry::parse(const QString &text, const QString &fieldName, const QString &section)
{
    TableEntry entry(splitDelimited(text));
    const auto fail = [&](const QString &why) {
        throw ConfigError(ConfigErrorKind::BadEntry, QStringLiteral("properties.ini"),
                          QStringLiteral("Invalid entry %1=%2 in section [%3] of properties.ini: %4")
                              .arg(fieldName, text, section, why));
    };
    if (entry.items_.size() < ItemCount)
        fail(QStringLiteral("%1 items instead of %2").arg(entry.items_.size()).arg(int(ItemCount)));
    if (!parseIniInteger(entry.item(Position)))
        fail(QStringLiteral("'%1' is not a valid integer value").arg(entry.item(Position)));
    if (!parseIniInteger(entry.item(Width)))
        fail(QStringLiteral("'%1' is not a valid integer value").arg(entry.item(Width)));
    return entry;
}

int TableEntry::position() const { return integerItem(*this, Position); }

int TableEntry::width() const { return integerItem(*this, Width); }

} // namespace config
