#pragma once

#include <QString>

// Section and key names of the settings file, shared by every window that
// reads or writes them.
namespace config::keys {

inline const QString kMain = QStringLiteral("Main");
inline const QString kTop = QStringLiteral("Top");
inline const QString kLeft = QStringLiteral("Left");
inline const QString kWidth = QStringLiteral("Width");
inline const QString kHeight = QStringLiteral("Height");

inline const QString kPath = QStringLiteral("Path");
inline const QString kPrice = QStringLiteral("Price");
inline const QString kOrder = QStringLiteral("Order");
inline const QString kInvoice = QStringLiteral("Invoice");
inline const QString kReference = QStringLiteral("Reference");
inline const QString kArchiv = QStringLiteral("Archiv");
inline const QString kPrescription = QStringLiteral("Prescription");
inline const QString kOutboundn = QStringLiteral("Outboundn");

inline const QString kModem = QStringLiteral("Modem");
inline const QString kPhone = QStringLiteral("Phone");
inline const QString kUserName = QStringLiteral("UserName");
inline const QString kPassword = QStringLiteral("Password");

inline const QString kFtp = QStringLiteral("FTP");
inline const QString kPassive = QStringLiteral("Passive");
inline const QString kLastRefresh = QStringLiteral("LastRefresh");

inline const QString kFont = QStringLiteral("Font");
inline const QString kName = QStringLiteral("Name");
inline const QString kSize = QStringLiteral("Size");
inline const QString kColor = QStringLiteral("Color");
inline const QString kStyle = QStringLiteral("Style");

// The transfer library's own settings file, beside it, section Server.
inline const QString kTransferFile = QStringLiteral("KXOrder.ini");
inline const QString kServer = QStringLiteral("Server");
inline const QString kServerUrl = QStringLiteral("URL");
inline const QString kServerUser = QStringLiteral("User");
inline const QString kServerPassword = QStringLiteral("Password");
// Set by the program for the transfer library when the two live in different
// folders (an installed program): the folder of both settings files.
inline constexpr char kProgramFolderVariable[] = "KXORDERS_FOLDER";

inline const QString kOrderSection = QStringLiteral("ЗАКАЗ");
inline const QString kActiveField = QStringLiteral("ActiveField");
inline const QString kActiveCustomer = QStringLiteral("ActiveCustomer");
inline const QString kActiveCustomerID = QStringLiteral("ActiveCustomerID");
inline const QString kActivePercent = QStringLiteral("ActivePercent");
inline const QString kActivePercentID = QStringLiteral("ActivePercentID");
inline const QString kDeltaEx = QStringLiteral("DeltaEx");

// Section Prescription, key NumZ: the next request number.
inline const QString kNumZ = QStringLiteral("NumZ");

// properties.ini: the table's caption in the table menus.
inline const QString kDBFCaption = QStringLiteral("DBFCaption");

} // namespace config::keys
