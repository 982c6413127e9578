#pragma once

#include <QDateTime>
#include <QString>
#include <QStringList>

namespace config {

class IniDocument;

// One INI file by name. Every call opens the file, reads or writes one value
// and closes it again: there is no cache, so each reader sees the last write.
// A missing file, section or key reads as the default; a write creates the
// file and the section and raises ConfigError "Unable to write to <file>"
// when the file cannot be written.
class IniFile {
public:
    // Longest value a read returns; longer values are cut.
    static constexpr int kMaxValueLength = 2047;
    // Files above this size are refused as damaged rather than read.
    static constexpr qint64 kMaxFileSize = 8 * 1024 * 1024;

    explicit IniFile(QString fileName);

    const QString &fileName() const { return fileName_; }

    QString readString(const QString &section, const QString &key, const QString &defaultValue = {}) const;
    void writeString(const QString &section, const QString &key, const QString &value) const;

    // Decimal or "0x" hexadecimal; anything else gives the default.
    int readInteger(const QString &section, const QString &key, int defaultValue) const;
    void writeInteger(const QString &section, const QString &key, int value) const;

    // Stored as "1" and "0"; any integer other than 0 reads as true.
    bool readBool(const QString &section, const QString &key, bool defaultValue) const;
    void writeBool(const QString &section, const QString &key, bool value) const;

    // The user's short date and long time format; empty or unparsable gives the default.
    QDateTime readDateTime(const QString &section, const QString &key, const QDateTime &defaultValue) const;
    void writeDateTime(const QString &section, const QString &key, const QDateTime &value) const;

    bool sectionExists(const QString &section) const;
    bool valueExists(const QString &section, const QString &key) const;
    QStringList readSections() const;
    // Key names of a section, in file order.
    QStringList readSection(const QString &section) const;
    // Values of a section's key lines in file order, also of keys that repeat.
    QStringList readSectionValues(const QString &section) const;

private:
    IniDocument load() const;
    void store(const IniDocument &doc) const;
    [[noreturn]] void failWrite() const;

    QString fileName_;
};

} // namespace config
