#include "CellText.h"

#include "tables/Field.h"
#include "tables/TableError.h"

#include <QLocale>
#include <cmath>

namespace grid {

namespace {

// Made once: every cell of every row drawn passes here.
const QLocale &numberLocale()
{
    static const QLocale locale = [] {
        QLocale l;
        l.setNumberOptions(QLocale::OmitGroupSeparator);
        return l;
    }();
    return locale;
}

QString numberText(const tables::Field &field)
{
    if (field.kind() == tables::FieldKind::Float)
        return numberLocale().toString(field.asFloat(), 'g', 15);
    return QString::number(field.asInteger());
}

// The short date format with a four-digit year, so a typed date keeps its century.
const QString &dateFormat()
{
    static const QString format = [] {
        QString f = QLocale().dateFormat(QLocale::ShortFormat);
        if (!f.contains(QLatin1String("yyyy")))
            f.replace(QLatin1String("yy"), QLatin1String("yyyy"));
        return f;
    }();
    return format;
}

double parseNumber(const QString &text, const tables::Field &field)
{
    QString t = text.trimmed();
    t.remove(QChar::Nbsp).remove(u' ');
    t.replace(u',', u'.');
    bool ok = false;
    const double value = QLocale::c().toDouble(t, &ok);
    if (!ok || !std::isfinite(value))
        throw tables::TableError(QStringLiteral("\"%1\" не является числом (поле %2)").arg(text, field.name()));
    return value;
}

QDate parseDate(const QString &text, const tables::Field &field)
{
    const QString t = text.trimmed();
    for (const QString &format : {dateFormat(), QStringLiteral("dd.MM.yyyy"), QStringLiteral("d.M.yyyy"),
                                  QStringLiteral("yyyyMMdd"), QStringLiteral("yyyy-MM-dd")}) {
        const QDate date = QDate::fromString(t, format);
        if (date.isValid())
            return date;
    }
    throw tables::TableError(QStringLiteral("\"%1\" не является датой (поле %2)").arg(text, field.name()));
}

} // namespace

QString displayText(const tables::Field &field)
{
    using K = tables::FieldKind;
    if (field.isNull())
        return {};
    switch (field.kind()) {
    case K::SmallInt:
    case K::Integer:
    case K::LargeInt:
    case K::AutoInc:
    case K::Float: return numberText(field);
    case K::Date: return field.asDate().toString(dateFormat());
    case K::DateTime: return field.asDateTime().toString(dateFormat() + QLatin1String(" hh:mm:ss"));
    case K::Boolean: return field.asBoolean() ? QStringLiteral("Да") : QStringLiteral("Нет");
    default: {
        const QVariant v = field.value();
        if (v.typeId() == QMetaType::Double)
            return numberLocale().toString(v.toDouble(), 'g', 15);
        if (v.typeId() == QMetaType::QDate)
            return v.toDate().toString(dateFormat());
        return field.asString();
    }
    }
}

QString editText(const tables::Field &field) { return displayText(field); }

void setFromEditText(tables::Field &field, const QString &text)
{
    using K = tables::FieldKind;
    if (text.trimmed().isEmpty() && field.kind() != K::String) {
        field.clear();
        return;
    }
    switch (field.kind()) {
    case K::SmallInt:
    case K::Integer:
    case K::LargeInt:
    case K::AutoInc: {
        const double value = parseNumber(text, field);
        if (value != std::floor(value))
            throw tables::TableError(
                QStringLiteral("\"%1\" не является целым числом (поле %2)").arg(text, field.name()));
        field.setInteger(static_cast<std::int64_t>(value));
        return;
    }
    case K::Float: field.setFloat(parseNumber(text, field)); return;
    case K::Date: field.setDate(parseDate(text, field)); return;
    case K::Boolean: {
        const QString t = text.trimmed().toUpper();
        field.setBoolean(t.startsWith(u'Y') || t.startsWith(u'T') || t.startsWith(u'Д') || t == QLatin1String("1"));
        return;
    }
    default: field.setString(text); return;
    }
}

QVariant exportValue(const tables::Field &field)
{
    if (field.isNull())
        return QString();
    if (field.isNumeric())
        return field.kind() == tables::FieldKind::Float ? field.asFloat() : double(field.asInteger());
    const QVariant v = field.value();
    if (field.isCalculated() && v.typeId() == QMetaType::Double)
        return v.toDouble();
    return displayText(field);
}

bool isRightAligned(const tables::Field &field)
{
    if (field.isNumeric())
        return true;
    return field.isCalculated() && field.def().isNumeric();
}

} // namespace grid
