#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QDateTime>
#include <QString>
#include <QVariant>

#include <cstdint>
#include <string_view>

namespace codepages {
class CodePage;
}

namespace tables {

using codepages::CodePage;

// Reading and writing one field inside a record buffer, with TDbf's rules:
// blank text-stored fields are null, unparsable numbers read as 0, dates that
// cannot exist read as 1899-12-30, only T/t is true.
namespace codec {

// The day TDbf counts dates from; an empty date is this day in expressions.
inline QDate zeroDate() { return QDate(1899, 12, 30); }

bool isNull(const FieldDef &f, const char *record);

// Stored bytes of the field with trailing blanks removed (C: up to a NUL).
QByteArray trimmedBytes(const FieldDef &f, const char *record);
// The same bytes in place, valid while the record buffer is.
std::string_view trimmedText(const FieldDef &f, const char *record);
// A C field's value in place: the bytes up to a NUL, trailing blanks removed.
std::string_view textValue(const char *field, int size);

// Text of a C field (trailing blanks removed) or of any field as its value
// reads: numbers as stored without padding, dates YYYYMMDD, logicals T/F.
QString asString(const FieldDef &f, const char *record, const CodePage &cp);
// asString into a buffer the caller keeps: no allocation once it is large
// enough. An empty field gives an empty (not null) text.
void readString(const FieldDef &f, const char *record, const CodePage &cp, QString &out);
std::int64_t asInteger(const FieldDef &f, const char *record);
double asFloat(const FieldDef &f, const char *record);
QDate asDate(const FieldDef &f, const char *record); // null date when blank
QDateTime asDateTime(const FieldDef &f, const char *record);
bool asBoolean(const FieldDef &f, const char *record);
// Null QVariant for an empty field; otherwise QString, qint64, double, QDate,
// QDateTime or bool after the field's kind.
QVariant asVariant(const FieldDef &f, const char *record, const CodePage &cp);
// Memo block number (0 when none).
std::uint32_t memoBlock(const FieldDef &f, const char *record);

// Writers raise TableError when the value does not fit or does not convert.
void clear(const FieldDef &f, char *record);
void setString(const FieldDef &f, char *record, const QString &value, const CodePage &cp);
void setBytes(const FieldDef &f, char *record, const QByteArray &bytes); // C: cut/pad
void setInteger(const FieldDef &f, char *record, std::int64_t value);
void setFloat(const FieldDef &f, char *record, double value);
void setDate(const FieldDef &f, char *record, const QDate &value);
void setDateTime(const FieldDef &f, char *record, const QDateTime &value);
void setBoolean(const FieldDef &f, char *record, bool value);
void setVariant(const FieldDef &f, char *record, const QVariant &value, const CodePage &cp);
void setMemoBlock(const FieldDef &f, char *record, std::uint32_t block);

// Number text parsing as TDbf reads N/F fields; false when the text is no number.
bool parseNumber(const QByteArray &text, bool integerOnly, double *value, std::int64_t *intValue);
bool parseNumber(const char *text, int size, bool integerOnly, double *value, std::int64_t *intValue);

} // namespace codec
} // namespace tables
