#pragma once

#include <QPoint>
#include <QString>

#include <vector>

namespace tables {
class Table;
}

namespace ordering {

// Section "Properties" of NoGridElm.ini, in pixels.
struct HeaderLayoutSettings {
    int stepX = 384;
    int stepY = 18;
    int between = 83;
    int startTop = 45;
    int startLeft = 16;
};

// One caption/value pair of the header page.
struct HeaderFieldPlacement {
    QString fieldName; // as the table names it
    QString caption; // the field's display label
    QString controlName; // "ed" + field name
    QPoint captionPos;
    QPoint valuePos;
};

struct HeaderLayout {
    HeaderLayoutSettings settings;
    std::vector<HeaderFieldPlacement> fields;
};

// Reads NoGridElm.ini and places a pair for each field named in "Objects"
// (in file order) that the table has, column by column within a page of
// `clientHeight` pixels. Unknown fields leave no gap; a field named again is
// placed once. A missing file gives the defaults and no pairs.
HeaderLayout LayoutHeaderFields(const QString &iniPath, tables::Table &table, int clientHeight);

// The field a value control shows: its component name without "ed"; empty
// when the table has no such field.
QString boundFieldOf(const QString &controlName, const tables::Table &table);

} // namespace ordering
