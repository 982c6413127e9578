#pragma once

#include "tables/FieldDef.h"

#include <QString>

namespace schema {

// File names of the system's tables, spelled as the program spells them;
// look them up with findFileNoCase.
inline const QString kPrice = QStringLiteral("price.dbf");
inline const QString kNarcoticsPrice = QStringLiteral("PriceN.dbf");
inline const QString kNarcoticsCustomers = QStringLiteral("CustomerN.dbf");
inline const QString kSubCustomers = QStringLiteral("SubCustomer.dbf");
inline const QString kMarkups = QStringLiteral("WorkScheme.dbf");
inline const QString kArchive = QStringLiteral("Archiv.dbf");
inline const QString kArchivePositions = QStringLiteral("ArchivPos.dbf");
inline const QString kOrderTemplate = QStringLiteral("order.dbf");
inline const QString kOrderWorkCopy = QStringLiteral("orderN.dbf");
inline const QString kPrescriptions = QStringLiteral("prescr.dbf");
inline const QString kPharmCom = QStringLiteral("PharmCom.dbf");
inline const QString kPharmComP = QStringLiteral("PharmComP.dbf");

// The 18 fields of the prescriptions table, in order (integers without size:
// N(9,0) at level 3).
tables::FieldSpecs prescriptionFields();
constexpr int kPrescriptionLevel = 3;

// Creates folder + "prescr.dbf" when no such file exists (any letter case);
// an existing file is never touched. True when it was created.
bool createPrescriptionTable(const QString &folder);

} // namespace schema
