#pragma once

#include <QString>
#include <QStringList>
#include <QStringView>

namespace config {

// Items of a semicolon-separated list with the quoting of the properties.ini
// table entries. Reading: characters 1..32 before an item are skipped; an item
// that starts with a double quote runs to the closing quote (two quotes stand
// for one); any other item ends at a semicolon, a space or a control
// character; a semicolon at the very end adds an empty item.
QStringList splitDelimited(QStringView text);
// Writing: an item holding a character of code 32 or less, a double quote or a
// semicolon is quoted; a list of one empty item is written as two quotes.
QString joinDelimited(const QStringList &items);

// A field's entry in properties.ini: field name, position (from 1), title,
// visible, read-only, key, width. Items beyond the seventh are kept.
class TableEntry {
public:
    enum Item { FieldName = 0, Position, Title, Visible, ReadOnly, Key, Width, ItemCount };

    // The entry a field without one gets: name;position;name;Y;Y;N;0.
    static TableEntry defaultFor(const QString &fieldName, int position);
    // Splits the stored text; raises ConfigError for fewer than seven items or
    // for a position or width that is not an integer. The names go into the message.
    static TableEntry parse(const QString &text, const QString &fieldName = {}, const QString &section = {});

    const QStringList &items() const { return items_; }
    QString item(Item which) const { return items_.value(which); }
    void setItem(Item which, const QString &value) { items_[which] = value; }

    QString fieldName() const { return item(FieldName); }
    int position() const;
    QString title() const { return item(Title); }
    bool visible() const { return isYes(item(Visible)); }
    bool readOnly() const { return isYes(item(ReadOnly)); }
    bool key() const { return isYes(item(Key)); }
    int width() const;

    void setPosition(int position) { setItem(Position, QString::number(position)); }
    void setWidth(int width) { setItem(Width, QString::number(width)); }

    // The stored text, quoted as splitDelimited reads it back.
    QString toString() const { return joinDelimited(items_); }

    static bool isYes(const QString &item) { return item.compare(QLatin1String("Y"), Qt::CaseInsensitive) == 0; }

private:
    explicit TableEntry(QStringList items) : items_(std::move(items)) {}
    QStringList items_;
};

} // namespace config
