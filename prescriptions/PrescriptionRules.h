#pragma once

#include <QString>

#include <cstdint>

namespace tables {
class Table;
}

namespace prescriptions {

// Only prescriptions not yet sent (an empty date gives 18991230).
inline const QString kUnsentFilter = QStringLiteral("DTOS(DateSnd) = '18991230'");

// The number after a prescription's Number text: its leading digits (blanks
// before them skipped) as an integer, plus one. Empty or non-numeric text
// counts as 0, so "41" gives 42, "12a" 13 and "" 1. Digits beyond the range
// of the counter give its largest value.
std::int32_t numberAfter(const QString &number);

// The current prescription carries a send date.
bool isSent(tables::Table &prescriptions);

// The current prescription can go into a request: drug, components, number,
// quantity, an age above 0 in years, months or days, patient and diagnosis.
bool isComplete(tables::Table &prescriptions);

} // namespace prescriptions
