#pragma once

#include <QByteArray>
#include <QString>
#include <QStringList>
#include <QStringView>

#include <optional>
#include <utility>
#include <vector>

namespace config {

// The text of one INI file in memory, line by line, so that a write changes
// only the line of its key and keeps everything else as it was. Names are
// compared without regard to case (Latin and Cyrillic alike).
class IniDocument {
public:
    // Code page 1251, or UTF-8 when the file starts with a UTF-8 byte order mark.
    static IniDocument parse(const QByteArray &bytes);
    QByteArray serialize() const;

    // The value of the first key of that name in the first section of that name.
    std::optional<QString> value(QStringView section, QStringView key) const;
    // Replaces the key's value, or adds the key at the end of the section, or
    // adds the section at the end of the text.
    void setValue(const QString &section, const QString &key, const QString &value);

    bool hasSection(QStringView section) const;
    QStringList sectionNames() const;
    QStringList keyNames(QStringView section) const;
    // Every key line of the section in file order, repeated names included.
    std::vector<std::pair<QString, QString>> entries(QStringView section) const;

private:
    enum class Kind { Other, Section, Key };
    struct Line {
        Kind kind = Kind::Other;
        QString text; // the line as read (rewritten when the value changes)
        QString name; // section or key name, trimmed
        QString value; // key value, trimmed
    };

    // Index of the section header line, -1 when absent.
    qsizetype findSection(QStringView section) const;
    // End of the section's lines (the next header or the end of the text).
    qsizetype sectionEnd(qsizetype header) const;

    std::vector<Line> lines_;
    bool utf8_ = false;
    QString lineEnd_ = QStringLiteral("\r\n");
};

// Leading and trailing characters with codes 0 to 32 removed.
QString trimIniText(QStringView text);

} // namespace config
