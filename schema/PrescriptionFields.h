#pragma once

#include <QString>

// Field names of prescr.dbf, of the request files (same layout) and of the
// drug tables PharmCom.dbf and PharmComP.dbf.
namespace schema::prescr {

inline const QString kIDRow = QStringLiteral("IDRow");
inline const QString kNumber = QStringLiteral("Number");
inline const QString kFIO = QStringLiteral("FIO");
inline const QString kDateCreate = QStringLiteral("DateCreate");
inline const QString kCodePST = QStringLiteral("CodePST");
inline const QString kName = QStringLiteral("Name");
inline const QString kAgeY = QStringLiteral("AGEY");
inline const QString kAgeM = QStringLiteral("AGEM");
inline const QString kAgeD = QStringLiteral("AGED");
inline const QString kDS = QStringLiteral("DS");
inline const QString kQnt = QStringLiteral("Qnt");
inline const QString kComponent1 = QStringLiteral("Component1");
inline const QString kComponent2 = QStringLiteral("Component2");
inline const QString kDateSnd = QStringLiteral("DateSnd");
inline const QString kDateRC = QStringLiteral("DateRC");
inline const QString kProvided = QStringLiteral("Provided");
inline const QString kDesc = QStringLiteral("DESC");
inline const QString kDelivDate = QStringLiteral("DELIVDATE");

// PharmCom.dbf: the drug code, and the component list the picker shows.
inline const QString kDrug = QStringLiteral("Drug");
inline const QString kComponents = QStringLiteral("Components");

} // namespace schema::prescr
