#include "SettingsAccessors.h"

#include "IniFile.h"
#include "PasswordScrambler.h"
#include "SettingsKeys.h"

namespace config {

SettingsAccessors::SettingsAccessors(QString settingsFileName) : fileName_(std::move(settingsFileName)) {}

QString SettingsAccessors::GetActiveCustomer() const
{
    return IniFile(fileName_).readString(keys::kOrderSection, keys::kActiveCustomer);
}

void SettingsAccessors::SetActiveCustomer(const QString &text) const
{
    IniFile(fileName_).writeString(keys::kOrderSection, keys::kActiveCustomer, text);
}

int SettingsAccessors::GetActiveCustomerID() const
{
    return IniFile(fileName_).readInteger(keys::kOrderSection, keys::kActiveCustomerID, -1);
}

void SettingsAccessors::SetActiveCustomerID(int id) const
{
    IniFile(fileName_).writeInteger(keys::kOrderSection, keys::kActiveCustomerID, id);
}

QString SettingsAccessors::GetActivePercent() const
{
    return IniFile(fileName_).readString(keys::kOrderSection, keys::kActivePercent);
}

void SettingsAccessors::SetActivePercent(const QString &text) const
{
    IniFile(fileName_).writeString(keys::kOrderSection, keys::kActivePercent, text);
}

int SettingsAccessors::GetActivePercentID() const
{
    return IniFile(fileName_).readInteger(keys::kOrderSection, keys::kActivePercentID, -1);
}

void SettingsAccessors::SetActivePercentID(int id) const
{
    IniFile(fileName_).writeInteger(keys::kOrderSection, keys::kActivePercentID, id);
}

int SettingsAccessors::GetDeltaEx() const
{
    const int value = IniFile(fileName_).readInteger(keys::kOrderSection, keys::kDeltaEx, -1);
    if (value >= 0)
        return value;
    IniFile(fileName_).writeInteger(keys::kOrderSection, keys::kDeltaEx, kDefaultDeltaEx);
    return kDefaultDeltaEx;
}

bool SettingsAccessors::GetPassiveMode() const
{
    return IniFile(fileName_).readBool(keys::kFtp, keys::kPassive, false);
}

QDateTime SettingsAccessors::defaultLastRefresh() { return QDateTime(QDate(1900, 1, 1), QTime(0, 0)); }

QDateTime SettingsAccessors::GetLastRefresh() const
{
    return IniFile(fileName_).readDateTime(keys::kFtp, keys::kLastRefresh, defaultLastRefresh());
}

QString SettingsAccessors::GetModemPassword() const
{
    return plainPasswordFromStored(IniFile(fileName_).readString(keys::kModem, keys::kPassword));
}

void SettingsAccessors::SetModemPassword(const QString &plain) const
{
    IniFile(fileName_).writeString(keys::kModem, keys::kPassword, storedPasswordForm(plain));
}

QString SettingsAccessors::GetActiveField() const
{
    return IniFile(fileName_).readString(keys::kOrderSection, keys::kActiveField, QStringLiteral("Price1"));
}

SettingsAccessors::GridFont SettingsAccessors::GetGridFont() const
{
    // One reading of the file for the four values.
    const IniFile file(fileName_);
    GridFont font;
    font.name = file.readString(keys::kFont, keys::kName, font.name);
    font.size = file.readInteger(keys::kFont, keys::kSize, font.size);
    font.color = file.readInteger(keys::kFont, keys::kColor, font.color);
    font.style = file.readInteger(keys::kFont, keys::kStyle, font.style) & 0xff;
    return font;
}

void SettingsAccessors::SetGridFont(const GridFont &font) const
{
    const IniFile file(fileName_);
    file.writeString(keys::kFont, keys::kName, font.name);
    file.writeInteger(keys::kFont, keys::kSize, font.size);
    file.writeInteger(keys::kFont, keys::kColor, font.color);
    file.writeInteger(keys::kFont, keys::kStyle, font.style);
}

} // namespace config
