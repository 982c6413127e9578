#include "NumberText.h"

#include "config/IniDateTime.h"

#include "tables/Field.h"

namespace ordering {

QString generalNumberText(double value, const QLocale &locale)
{
    QLocale plain = locale;
    plain.setNumberOptions(locale.numberOptions() | QLocale::OmitGroupSeparator);
    if (value == 0)
        value = 0; // no "-0"
    return plain.toString(value, 'g', 15);
}

QString fieldDisplayText(const tables::Field &field, const QLocale &locale)
{
    if (!field.isValid() || field.isNull())
        return {};
    switch (field.kind()) {
    case tables::FieldKind::SmallInt:
    case tables::FieldKind::Integer:
    case tables::FieldKind::LargeInt:
    case tables::FieldKind::AutoInc: return QString::number(field.asInteger());
    case tables::FieldKind::Float: return generalNumberText(field.asFloat(), locale);
    case tables::FieldKind::Date: return locale.toString(field.asDate(), config::shortDateFormat(locale));
    case tables::FieldKind::DateTime: return config::formatIniDateTime(field.asDateTime(), locale);
    default: return field.asString();
    }
}

double numberOrZero(const tables::Field &field)
{
    if (!field.isValid() || field.isNull())
        return 0;
    return field.asFloat();
}

} // namespace ordering
