#pragma once

#include <QDateTime>
#include <QString>

namespace config {

// The settings that several windows share, each read or written through its
// own access to the settings file.
class SettingsAccessors {
public:
    explicit SettingsAccessors(QString settingsFileName);

    const QString &settingsFileName() const { return fileName_; }

    QString GetActiveCustomer() const;
    void SetActiveCustomer(const QString &text) const;
    int GetActiveCustomerID() const;
    void SetActiveCustomerID(int id) const;
    QString GetActivePercent() const;
    void SetActivePercent(const QString &text) const;
    int GetActivePercentID() const;
    void SetActivePercentID(int id) const;
    // ЗАКАЗ/DeltaEx; an absent or negative value is replaced by 9 in the file.
    int GetDeltaEx() const;
    bool GetPassiveMode() const;
    // FTP/LastRefresh, 1 January 1900 00:00:00 when absent or unreadable.
    QDateTime GetLastRefresh() const;

    // ЗАКАЗ/ActiveField: the price column shown without a markup, "Price1" when absent.
    QString GetActiveField() const;

    // Section Font: the order windows' grid font. Colour as 0x00BBGGRR, style
    // as bits (bold 1, italic 2, underline 4, strike-out 8).
    struct GridFont {
        QString name = QStringLiteral("Tahoma");
        int size = 8;
        int color = 0;
        int style = 0;
    };
    GridFont GetGridFont() const;
    void SetGridFont(const GridFont &font) const;

    // Modem/Password, unscrambled; stored through storedPasswordForm.
    QString GetModemPassword() const;
    void SetModemPassword(const QString &plain) const;

    static constexpr int kDefaultDeltaEx = 9;
    static QDateTime defaultLastRefresh();

private:
    QString fileName_;
};

} // namespace config
