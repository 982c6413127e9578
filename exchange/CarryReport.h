#pragma once

#include <QList>
#include <QString>

namespace exchange {

// An entered value of the previous table that found no record in the new one.
struct DroppedValue {
    QString table; // file name, "price.dbf"
    QString key; // the key values, "; " between them
    QString name; // the record's Name, where the table has one
    QString value; // the carried value; "FIELD=value, ..." for several
};

// A value carried onto a record whose price changed a lot: worth a look.
struct PriceHint {
    DroppedValue carried; // what was carried, and where
    QString priceField;
    double oldPrice = 0;
    double newPrice = 0;
};

struct CarryReport {
    QList<DroppedValue> dropped;
    QList<PriceHint> hints;
    QStringList reportFiles; // the readable lists written beside the tables

    void append(const CarryReport &other)
    {
        dropped += other.dropped;
        hints += other.hints;
        reportFiles += other.reportFiles;
    }
};

// Relative price change above which a carried value gets a hint.
constexpr double kPriceHintMargin = 0.2;

// The readable list of a table's report, beside the table: base name +
// "_перенос.txt". Written (complete or not at all) when there is anything to
// report, removed otherwise so that no list of an earlier refresh misleads.
// Returns the file's path, empty when nothing was written.
QString writeReportFile(const QString &tablePath, const CarryReport &report);

// "table<TAB>key<TAB>name<TAB>value", as the command-line tool prints them.
QString droppedLine(const DroppedValue &dropped);

} // namespace exchange
