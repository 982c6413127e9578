#pragma once

#include "FieldDef.h"

#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>

namespace tables {

class Table;

// A field of an open table, read and written at the table's current record
// (or the record a view is drawing). A cheap handle: copy it freely while the
// table stays open.
class Field {
public:
    Field() = default;
    Field(Table *table, int index) : table_(table), index_(index) {}

    bool isValid() const { return table_ != nullptr; }
    int index() const { return index_; }
    Table *table() const { return table_; }
    const FieldDef &def() const;
    const QString &name() const { return def().name; }
    FieldKind kind() const { return def().kind(); }
    bool isCalculated() const;
    bool isNumeric() const;

    bool isNull() const;
    QString asString() const;
    // asString() into a buffer the caller keeps, for loops over many records:
    // no allocation per value once the buffer is large enough. An empty
    // field leaves it empty (not null).
    void readString(QString &into) const;
    std::int64_t asInteger() const;
    double asFloat() const;
    QDate asDate() const;
    QDateTime asDateTime() const;
    bool asBoolean() const;
    QVariant value() const;

    // Writing needs the table in edit or insert state (calculated fields: any state).
    void setString(const QString &value);
    void setInteger(std::int64_t value);
    void setFloat(double value);
    void setDate(const QDate &value);
    void setBoolean(bool value);
    void setValue(const QVariant &value);
    void clear();

    // Presentation, kept with the table object as the grids read it.
    QString displayLabel() const;
    void setDisplayLabel(const QString &label);
    bool isVisible() const;
    void setVisible(bool visible);
    bool isReadOnly() const;
    void setReadOnly(bool readOnly);
    int displayWidth() const; // characters; 0 = from the field size
    void setDisplayWidth(int width);

    friend bool operator==(const Field &a, const Field &b) { return a.table_ == b.table_ && a.index_ == b.index_; }

private:
    // Writes a stored field through `write` (the field's definition and the
    // edit buffer), a calculated one as calcValue; the table hears of it.
    template <typename Write> void writeWith(const QVariant &calcValue, Write write);

    Table *table_ = nullptr;
    int index_ = -1;
};

} // namespace tables
