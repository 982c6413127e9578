#include "IniFile.h"

#include "ConfigError.h"
#include "IniDateTime.h"
#include "IniDocument.h"
#include "IniNumbers.h"

#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

namespace config {

namespace {

bool hasLineBreak(const QString &text)
{
    return text.contains(u'\r') || text.contains(u'\n') || text.contains(QChar(0));
}

} // namespace

IniFile::IniFile(QString fileName) : fileName_(std::move(fileName)) {}

IniDocument IniFile::load() const
{
    QFile file(fileName_);
    if (!file.open(QIODevice::ReadOnly))
        return IniDocument::parse({});
    if (file.size() > kMaxFileSize)
        throw ConfigError(ConfigErrorKind::TooLarge, QFileInfo(fileName_).absoluteFilePath(),
                          QStringLiteral("The settings file %1 is too large (%2 bytes)")
                              .arg(QFileInfo(fileName_).absoluteFilePath())
                              .arg(file.size()));
    return IniDocument::parse(file.read(kMaxFileSize + 1));
}

void IniFile::failWrite() const
{
    throw ConfigError(ConfigErrorKind::Unwritable, QFileInfo(fileName_).absoluteFilePath(),
                      QStringLiteral("Unable to write to %1").arg(QFileInfo(fileName_).absoluteFilePath()));
}

void IniFile::store(const IniDocument &doc) const
{
    QSaveFile file(fileName_);
    // A writable file in a folder that refuses new files is still written,
    // as in place; otherwise the new text replaces the old one atomically.
    file.setDirectWriteFallback(true);
    const QByteArray bytes = doc.serialize();
    if (!file.open(QIODevice::WriteOnly) || file.write(bytes) != bytes.size() || !file.commit())
        failWrite();
}

QString IniFile::readString(const QString &section, const QString &key, const QString &defaultValue) const
{
    const std::optional<QString> value = load().value(section, key);
    if (!value)
        return defaultValue.left(kMaxValueLength);
    return value->left(kMaxValueLength);
}

void IniFile::writeString(const QString &section, const QString &key, const QString &value) const
{
    if (hasLineBreak(section) || section.contains(u']') || hasLineBreak(key) || key.contains(u'=')
        || trimIniText(key).isEmpty())
        throw ConfigError(ConfigErrorKind::InvalidValue, QFileInfo(fileName_).absoluteFilePath(),
                          QStringLiteral("Invalid settings name [%1] %2 for %3")
                              .arg(section, key, QFileInfo(fileName_).absoluteFilePath()));
    if (hasLineBreak(value))
        throw ConfigError(ConfigErrorKind::InvalidValue, QFileInfo(fileName_).absoluteFilePath(),
                          QStringLiteral("The value of %1 in [%2] holds a line break and cannot be written to %3")
                              .arg(key, section, QFileInfo(fileName_).absoluteFilePath()));
    const QFileInfo info(fileName_);
    if (info.exists() && (!info.isFile() || !info.isWritable()))
        failWrite();
    IniDocument doc = load();
    doc.setValue(section, key, value);
    store(doc);
}

int IniFile::readInteger(const QString &section, const QString &key, int defaultValue) const
{
    const std::optional<QString> value = load().value(section, key);
    if (!value)
        return defaultValue;
    return parseIniInteger(QStringView(*value).left(kMaxValueLength)).value_or(defaultValue);
}

void IniFile::writeInteger(const QString &section, const QString &key, int value) const
{
    writeString(section, key, QString::number(value));
}

bool IniFile::readBool(const QString &section, const QString &key, bool defaultValue) const
{
    return readInteger(section, key, defaultValue ? 1 : 0) != 0;
}

void IniFile::writeBool(const QString &section, const QString &key, bool value) const
{
    writeString(section, key, value ? QStringLiteral("1") : QStringLiteral("0"));
}

QDateTime IniFile::readDateTime(const QString &section, const QString &key, const QDateTime &defaultValue) const
{
    const std::optional<QString> value = load().value(section, key);
    if (!value)
        return defaultValue;
    return parseIniDateTime(value->left(kMaxValueLength)).value_or(defaultValue);
}

void IniFile::writeDateTime(const QString &section, const QString &key, const QDateTime &value) const
{
    writeString(section, key, formatIniDateTime(value));
}

bool IniFile::sectionExists(const QString &section) const { return load().hasSection(section); }

bool IniFile::valueExists(const QString &section, const QString &key) const
{
    return load().value(section, key).has_value();
}

QStringList IniFile::readSections() const { return load().sectionNames(); }

QStringList IniFile::readSection(const QString &section) const { return load().keyNames(section); }

QStringList IniFile::readSectionValues(const QString &section) const
{
    QStringList values;
    for (const auto &[key, value] : load().entries(section))
        values << value.left(kMaxValueLength);
    return values;
}

} // namespace config
