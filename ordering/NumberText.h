#pragma once

#include <QLocale>
#include <QString>

namespace tables {
class Field;
}

namespace ordering {

// The shortest general form of a number: up to 15 significant digits, no
// trailing zeros, the locale's decimal separator, no digit grouping.
QString generalNumberText(double value, const QLocale &locale = QLocale());

// A field's value as the order printout shows it: numbers in the general
// form, dates in the short date format, text as stored; empty when null.
QString fieldDisplayText(const tables::Field &field, const QLocale &locale = QLocale());

// A numeric field's value with an empty value (or a missing field) as 0.
double numberOrZero(const tables::Field &field);

} // namespace ordering
