#include "Field.h"

#include "CodePage.h"
#include "FieldCodec.h"
#include "Table.h"
#include "TableError.h"

namespace tables {

const FieldDef &Field::def() const { return table_->fieldDef(index_); }

bool Field::isCalculated() const { return index_ >= int(table_->schema().fields.size()); }

bool Field::isNumeric() const
{
    switch (kind()) {
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::Float:
    case FieldKind::AutoInc: return true;
    default: return false;
    }
}

bool Field::isNull() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).isNull();
    return codec::isNull(def(), table_->activeBuffer());
}

QString Field::asString() const
{
    if (isCalculated()) {
        const QVariant v = table_->calculatedValue(index_);
        if (v.typeId() == QMetaType::Double)
            return QString::number(v.toDouble(), 'g', 15);
        return v.toString();
    }
    if (kind() == FieldKind::Memo)
        return table_->memoText(index_);
    return codec::asString(def(), table_->activeBuffer(), table_->codePage());
}

void Field::readString(QString &into) const
{
    if (isCalculated() || kind() == FieldKind::Memo) {
        into = asString();
        return;
    }
    codec::readString(def(), table_->activeBuffer(), table_->codePage(), into);
}

std::int64_t Field::asInteger() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).toLongLong();
    return codec::asInteger(def(), table_->activeBuffer());
}

double Field::asFloat() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).toDouble();
    return codec::asFloat(def(), table_->activeBuffer());
}

QDate Field::asDate() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).toDate();
    return codec::asDate(def(), table_->activeBuffer());
}

QDateTime Field::asDateTime() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).toDateTime();
    return codec::asDateTime(def(), table_->activeBuffer());
}

bool Field::asBoolean() const
{
    if (isCalculated())
        return table_->calculatedValue(index_).toBool();
    return codec::asBoolean(def(), table_->activeBuffer());
}

QVariant Field::value() const
{
    if (isCalculated())
        return table_->calculatedValue(index_);
    if (kind() == FieldKind::Memo)
        return isNull() ? QVariant() : QVariant(table_->memoText(index_));
    return codec::asVariant(def(), table_->activeBuffer(), table_->codePage());
}

template <typename Write> void Field::writeWith(const QVariant &calcValue, Write write)
{
    Table *table = table_;
    const int index = index_;
    if (index >= int(table->schema().fields.size())) {
        table->calculatedValue(index) = calcValue;
        table->fieldWritten(index);
        return;
    }
    const FieldDef &f = table->fieldDef(index);
    if (f.kind() == FieldKind::Memo)
        throw TableError(QStringLiteral("Field %1 of table %2: memo fields are read-only").arg(f.name, table->path()));
    try {
        write(f, table->editBuffer());
    } catch (const TableError &e) {
        throw TableError(e.kind(), table->path(), QStringLiteral("%1 (table %2)").arg(e.message(), table->path()));
    }
    table->fieldWritten(index);
}

void Field::setString(const QString &value)
{
    writeWith(value, [&](const FieldDef &f, char *rec) { codec::setString(f, rec, value, table_->codePage()); });
}

void Field::setInteger(std::int64_t value)
{
    writeWith(QVariant::fromValue<qint64>(value),
              [&](const FieldDef &f, char *rec) { codec::setInteger(f, rec, value); });
}

void Field::setFloat(double value)
{
    writeWith(value, [&](const FieldDef &f, char *rec) { codec::setFloat(f, rec, value); });
}

void Field::setDate(const QDate &value)
{
    writeWith(value, [&](const FieldDef &f, char *rec) { codec::setDate(f, rec, value); });
}

void Field::setBoolean(bool value)
{
    writeWith(value, [&](const FieldDef &f, char *rec) { codec::setBoolean(f, rec, value); });
}

void Field::setValue(const QVariant &value)
{
    writeWith(value, [&](const FieldDef &f, char *rec) { codec::setVariant(f, rec, value, table_->codePage()); });
}

void Field::clear()
{
    writeWith(QVariant(), [&](const FieldDef &f, char *rec) { codec::clear(f, rec); });
}

QString Field::displayLabel() const { return table_->attributes(index_).label; }
void Field::setDisplayLabel(const QString &label) { table_->attributes(index_).label = label; }
bool Field::isVisible() const { return table_->attributes(index_).visible; }
void Field::setVisible(bool visible) { table_->attributes(index_).visible = visible; }
bool Field::isReadOnly() const { return table_->attributes(index_).readOnly || isCalculated(); }
void Field::setReadOnly(bool readOnly) { table_->attributes(index_).readOnly = readOnly; }
int Field::displayWidth() const { return table_->attributes(index_).displayWidth; }
void Field::setDisplayWidth(int width) { table_->attributes(index_).displayWidth = width; }

} // namespace tables
