#include "FieldCodec.h"

#include "CodePage.h"
#include "TableError.h"

#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>

namespace tables::codec {

namespace {

const char *fieldStart(const FieldDef &f, const char *record) { return record + f.offset; }

bool isTextStored(const FieldDef &f)
{
    switch (f.type) {
    case 'I':
    case '+':
    case '@':
    case 'O': return false;
    default: return true;
    }
}

bool allZero(const char *p, int n)
{
    for (int i = 0; i < n; ++i)
        if (p[i] != 0)
            return false;
    return true;
}

// Blank-trimmed view of a text-stored field: leading blanks too for non-C fields.
std::pair<const char *, int> trimmedView(const FieldDef &f, const char *record)
{
    const char *p = fieldStart(f, record);
    if (f.type == 'C') {
        const std::string_view v = textValue(p, f.size);
        return {v.data(), int(v.size())};
    }
    int n = f.size;
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0'))
        --n;
    while (n > 0 && *p == ' ') {
        ++p;
        --n;
    }
    return {p, n};
}

quint32 readBigEndian32(const char *p)
{
    const auto *u = reinterpret_cast<const unsigned char *>(p);
    return (quint32(u[0]) << 24) | (quint32(u[1]) << 16) | (quint32(u[2]) << 8) | quint32(u[3]);
}

void writeBigEndian32(char *p, quint32 v)
{
    p[0] = char(v >> 24);
    p[1] = char(v >> 16);
    p[2] = char(v >> 8);
    p[3] = char(v);
}

quint64 readBigEndian64(const char *p) { return (quint64(readBigEndian32(p)) << 32) | readBigEndian32(p + 4); }

void writeBigEndian64(char *p, quint64 v)
{
    writeBigEndian32(p, quint32(v >> 32));
    writeBigEndian32(p + 4, quint32(v));
}

std::int32_t readLong(const char *p) { return std::int32_t(readBigEndian32(p) ^ 0x80000000u); }

double readPlainDouble(const char *p)
{
    const quint64 bits = readBigEndian64(p);
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

void writePlainDouble(char *p, double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, 8);
    writeBigEndian64(p, bits);
}

double readOrderedDouble(const char *p)
{
    quint64 bits = readBigEndian64(p);
    if (bits & 0x8000000000000000ull)
        bits &= ~0x8000000000000000ull;
    else
        bits = ~bits;
    double d;
    std::memcpy(&d, &bits, 8);
    return d;
}

void writeOrderedDouble(char *p, double d)
{
    quint64 bits;
    std::memcpy(&bits, &d, 8);
    if (bits & 0x8000000000000000ull)
        bits = ~bits;
    else
        bits |= 0x8000000000000000ull;
    writeBigEndian64(p, bits);
}

// Milliseconds since 0001-01-01 counted as day 1 (BDE timestamp).
constexpr double kMsPerDay = 86400000.0;
const qint64 kJulianDayOf0001 = QDate(1, 1, 1).toJulianDay();

QDateTime timestampToDateTime(double ms)
{
    const qint64 totalMs = qint64(std::llround(ms));
    const qint64 days = totalMs / qint64(kMsPerDay);
    const qint64 rest = totalMs % qint64(kMsPerDay);
    const QDate d = QDate::fromJulianDay(kJulianDayOf0001 + days - 1);
    return QDateTime(d, QTime::fromMSecsSinceStartOfDay(int(rest)));
}

double dateTimeToTimestamp(const QDateTime &dt)
{
    const qint64 days = dt.date().toJulianDay() - kJulianDayOf0001 + 1;
    return double(days) * kMsPerDay + double(dt.time().msecsSinceStartOfDay());
}

int parseDigits(const char *p, int n, bool *ok)
{
    int v = 0;
    *ok = n > 0;
    for (int i = 0; i < n; ++i) {
        if (p[i] < '0' || p[i] > '9') {
            *ok = false;
            return 0;
        }
        v = v * 10 + (p[i] - '0');
    }
    return v;
}

QString fieldLabel(const FieldDef &f) { return f.name; }

[[noreturn]] void overflow(const FieldDef &f, const QString &value)
{
    throw TableError(TableErrorKind::BadValue, QString(),
                     QStringLiteral("Value %1 does not fit field %2 (%3,%4)")
                         .arg(value, fieldLabel(f), QString(QChar(f.type)) + QString::number(f.size))
                         .arg(f.decimals));
}

void putRightAligned(const FieldDef &f, char *record, const QByteArray &text)
{
    if (text.size() > f.size)
        overflow(f, QString::fromLatin1(text));
    char *p = record + f.offset;
    std::memset(p, ' ', size_t(f.size));
    std::memcpy(p + f.size - text.size(), text.constData(), size_t(text.size()));
}

// Fixed-point text with `decimals` digits, rounded half away from zero on the
// 15-significant-digit decimal expansion (what TDbf writes: 2.25 -> 2.3).
QByteArray formatFixed(double value, int decimals)
{
    if (!std::isfinite(value))
        return {};
    char buf[64];
    std::snprintf(buf, sizeof buf, "%.14e", value);
    // buf: [-]d.dddddddddddddde[+-]xx
    const bool negative = buf[0] == '-';
    const char *m = buf + (negative ? 1 : 0);
    QByteArray digits;
    digits.append(m[0]);
    digits.append(m + 2, 14);
    const int exp = std::atoi(std::strchr(buf, 'e') + 1);
    // digits d0 d1 ... with the decimal point after position exp+1
    int pointPos = exp + 1; // number of digits before the point
    if (pointPos < 0) {
        digits.prepend(QByteArray(-pointPos, '0'));
        pointPos = 0;
    }
    const int keep = pointPos + decimals;
    if (keep < digits.size()) {
        const bool roundUp = keep >= 0 && digits[keep] >= '5';
        digits.truncate(std::max(keep, 0));
        if (roundUp) {
            int i = digits.size() - 1;
            while (i >= 0 && digits[i] == '9') {
                digits[i] = '0';
                --i;
            }
            if (i >= 0)
                digits[i] = char(digits[i] + 1);
            else {
                digits.prepend('1');
                ++pointPos;
            }
        }
    } else {
        digits.append(QByteArray(keep - digits.size(), '0'));
    }
    QByteArray intPart = digits.left(pointPos);
    QByteArray fracPart = digits.mid(pointPos, decimals);
    while (intPart.size() > 1 && intPart[0] == '0')
        intPart.remove(0, 1);
    if (intPart.isEmpty())
        intPart = "0";
    QByteArray out = intPart;
    if (decimals > 0)
        out += '.' + fracPart;
    const bool isZero = out.count('0') + out.count('.') == out.size();
    if (negative && !isZero)
        out.prepend('-');
    return out;
}

} // namespace

bool parseNumber(const char *text, int size, bool integerOnly, double *value, std::int64_t *intValue)
{
    while (size > 0 && (*text == ' ' || *text == '\t')) {
        ++text;
        --size;
    }
    while (size > 0 && (text[size - 1] == ' ' || text[size - 1] == '\t'))
        --size;
    if (size <= 0 || size > 64)
        return false;
    auto isDigit = [](char c) { return c >= '0' && c <= '9'; };
    int i = 0;
    const bool negative = text[0] == '-';
    if (text[0] == '+' || text[0] == '-')
        ++i;
    if (integerOnly) {
        if (i == size)
            return false;
        std::int64_t v = 0;
        for (; i < size; ++i) {
            if (!isDigit(text[i]) || v > (std::numeric_limits<std::int64_t>::max() - 9) / 10)
                return false;
            v = v * 10 + (text[i] - '0');
        }
        if (negative)
            v = -v;
        if (intValue)
            *intValue = v;
        if (value)
            *value = double(v);
        return true;
    }
    // Plain decimal syntax only: [+-] digits [. digits] [e [+-] digits], at least one digit.
    int mantissaDigits = 0;
    int fractionDigits = 0;
    std::uint64_t mantissa = 0;
    while (i < size && isDigit(text[i])) {
        mantissa = mantissa * 10 + std::uint64_t(text[i] - '0');
        ++i;
        ++mantissaDigits;
    }
    if (i < size && text[i] == '.') {
        ++i;
        while (i < size && isDigit(text[i])) {
            mantissa = mantissa * 10 + std::uint64_t(text[i] - '0');
            ++i;
            ++mantissaDigits;
            ++fractionDigits;
        }
    }
    if (mantissaDigits == 0)
        return false;
    // Both operands exact and one correctly rounded division: the same double
    // strtod gives, without its cost.
    static constexpr double kPowersOf10[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                             1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
    if (i == size && mantissaDigits <= 15 && fractionDigits <= 22) {
        const double magnitude = double(mantissa) / kPowersOf10[fractionDigits];
        const double d = negative ? -magnitude : magnitude;
        if (value)
            *value = d;
        if (intValue)
            *intValue = std::int64_t(d);
        return true;
    }
    if (i < size && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < size && (text[i] == '+' || text[i] == '-'))
            ++i;
        int expDigits = 0;
        while (i < size && isDigit(text[i])) {
            ++i;
            ++expDigits;
        }
        if (expDigits == 0)
            return false;
    }
    if (i != size)
        return false;
    char buf[72];
    std::memcpy(buf, text, size_t(size));
    buf[size] = 0;
    const double d = std::strtod(buf, nullptr);
    if (value)
        *value = d;
    if (intValue)
        *intValue = std::isfinite(d) && std::fabs(d) < 9.2e18 ? std::int64_t(d) : 0;
    return true;
}

bool parseNumber(const QByteArray &text, bool integerOnly, double *value, std::int64_t *intValue)
{
    return parseNumber(text.constData(), int(text.size()), integerOnly, value, intValue);
}

bool isNull(const FieldDef &f, const char *record)
{
    const char *p = fieldStart(f, record);
    switch (f.type) {
    case 'I':
    case '+': return allZero(p, 4);
    case '@':
    case 'O': return allZero(p, 8);
    default: break;
    }
    if (!isTextStored(f))
        return false;
    return trimmedView(f, record).second == 0;
}

QByteArray trimmedBytes(const FieldDef &f, const char *record)
{
    const std::string_view text = trimmedText(f, record);
    return QByteArray(text.data(), qsizetype(text.size()));
}

std::string_view textValue(const char *p, int size)
{
    int n = size;
    // Trailing blanks first, eight at a time: text fields are mostly padding.
    constexpr std::uint64_t kBlanks = 0x2020202020202020ull;
    while (n >= 8) {
        std::uint64_t word;
        std::memcpy(&word, p + n - 8, 8);
        if (word != kBlanks)
            break;
        n -= 8;
    }
    while (n > 0 && (p[n - 1] == ' ' || p[n - 1] == '\0'))
        --n;
    // A NUL ends the value; what remains before it is trimmed the same way.
    if (n > 0) {
        if (const void *nul = std::memchr(p, 0, size_t(n))) {
            n = int(static_cast<const char *>(nul) - p);
            while (n > 0 && p[n - 1] == ' ')
                --n;
        }
    }
    return {p, size_t(n)};
}

std::string_view trimmedText(const FieldDef &f, const char *record)
{
    if (!isTextStored(f))
        return {fieldStart(f, record), size_t(f.size)};
    auto [p, n] = trimmedView(f, record);
    return {p, size_t(n)};
}

std::int64_t asInteger(const FieldDef &f, const char *record)
{
    switch (f.type) {
    case 'N':
    case 'F': {
        // The blank test and the parse share one trimmed view.
        auto [p, n] = trimmedView(f, record);
        if (n == 0)
            return 0;
        double d = 0;
        std::int64_t i = 0;
        const bool integerOnly = f.decimals == 0;
        if (!parseNumber(p, n, integerOnly, &d, &i))
            return 0;
        if (integerOnly)
            return i;
        return std::isfinite(d) && std::fabs(d) < 9.2e18 ? std::int64_t(std::nearbyint(d)) : 0;
    }
    default: break;
    }
    if (isNull(f, record))
        return 0;
    switch (f.type) {
    case 'I':
    case '+': return readLong(fieldStart(f, record));
    case 'O': return std::int64_t(std::nearbyint(readOrderedDouble(fieldStart(f, record))));
    default: {
        std::int64_t i = 0;
        auto [p, n] = trimmedView(f, record);
        return parseNumber(p, n, true, nullptr, &i) ? i : 0;
    }
    }
}

double asFloat(const FieldDef &f, const char *record)
{
    switch (f.type) {
    case 'N':
    case 'F': {
        auto [p, n] = trimmedView(f, record);
        double d = 0;
        return n > 0 && parseNumber(p, n, f.decimals == 0, &d, nullptr) ? d : 0;
    }
    default: break;
    }
    if (isNull(f, record))
        return 0;
    switch (f.type) {
    case 'I':
    case '+': return readLong(fieldStart(f, record));
    case 'O': return readOrderedDouble(fieldStart(f, record));
    case '@': return readPlainDouble(fieldStart(f, record));
    case 'D': return double(zeroDate().daysTo(asDate(f, record)));
    default: {
        double d = 0;
        auto [p, n] = trimmedView(f, record);
        return parseNumber(p, n, f.isNumeric() && f.decimals == 0, &d, nullptr) ? d : 0;
    }
    }
}

QDate asDate(const FieldDef &f, const char *record)
{
    if (isNull(f, record))
        return {};
    if (f.type == '@')
        return asDateTime(f, record).date();
    const char *p = fieldStart(f, record);
    if (f.type != 'D' || f.size < 8)
        return zeroDate();
    // Year, month and day parse separately; a part that does not parse counts as 1.
    auto part = [](const char *s, int n) {
        int b = 0, e = n;
        while (b < e && s[b] == ' ')
            ++b;
        while (e > b && s[e - 1] == ' ')
            --e;
        bool ok = false;
        const int v = parseDigits(s + b, e - b, &ok);
        return ok ? v : 1;
    };
    const QDate d(part(p, 4), part(p + 4, 2), part(p + 6, 2));
    return d.isValid() ? d : zeroDate();
}

QDateTime asDateTime(const FieldDef &f, const char *record)
{
    if (isNull(f, record))
        return {};
    if (f.type == '@')
        return timestampToDateTime(readPlainDouble(fieldStart(f, record)));
    return QDateTime(asDate(f, record), QTime(0, 0));
}

bool asBoolean(const FieldDef &f, const char *record)
{
    if (f.type == 'L') {
        const char c = *fieldStart(f, record);
        return c == 'T' || c == 't';
    }
    if (f.isNumeric() || f.type == 'I')
        return asInteger(f, record) != 0;
    return false;
}

std::uint32_t memoBlock(const FieldDef &f, const char *record)
{
    if (f.size == 4 && !isTextStored(f)) {
        std::uint32_t v;
        std::memcpy(&v, fieldStart(f, record), 4);
        return v;
    }
    std::int64_t i = 0;
    if (!parseNumber(trimmedBytes(f, record), true, nullptr, &i) || i < 0 || i > 0xFFFFFFFFll)
        return 0;
    return std::uint32_t(i);
}

namespace {

void putLatin1(const char *p, int n, QString &out)
{
    out.resize(n);
    QChar *dst = out.data();
    for (int i = 0; i < n; ++i)
        dst[i] = QLatin1Char(p[i]);
}

void putYyyyMmDd(const QDate &d, QString &out)
{
    const int y = d.year();
    if (y < 1000 || y > 9999) {
        out = d.toString(QStringLiteral("yyyyMMdd"));
        return;
    }
    const int parts[] = {y / 100, y % 100, d.month(), d.day()};
    out.resize(8);
    QChar *dst = out.data();
    for (int part : parts) {
        *dst++ = QLatin1Char(char('0' + part / 10));
        *dst++ = QLatin1Char(char('0' + part % 10));
    }
}

} // namespace

void readString(const FieldDef &f, const char *record, const CodePage &cp, QString &out)
{
    switch (f.type) {
    case 'C': {
        auto [p, n] = trimmedView(f, record);
        cp.decodeInto(p, n, out);
        return;
    }
    case 'N':
    case 'F':
    case 'M':
    case 'B':
    case 'G': {
        auto [p, n] = trimmedView(f, record);
        putLatin1(p, n, out);
        return;
    }
    default: break;
    }
    if (isNull(f, record)) {
        out.resize(0);
        return;
    }
    switch (f.type) {
    case 'D': putYyyyMmDd(asDate(f, record), out); return;
    case 'L': out = asBoolean(f, record) ? QStringLiteral("T") : QStringLiteral("F"); return;
    case 'I':
    case '+': out = QString::number(asInteger(f, record)); return;
    case 'O': out = QString::number(asFloat(f, record), 'g', 15); return;
    case '@': out = asDateTime(f, record).toString(Qt::ISODate); return;
    default: {
        auto [p, n] = trimmedView(f, record);
        cp.decodeInto(p, n, out);
        return;
    }
    }
}

QString asString(const FieldDef &f, const char *record, const CodePage &cp)
{
    if (isNull(f, record))
        return {};
    QString out;
    readString(f, record, cp, out);
    return out;
}

QVariant asVariant(const FieldDef &f, const char *record, const CodePage &cp)
{
    if (isNull(f, record))
        return {};
    switch (f.kind()) {
    case FieldKind::String: return asString(f, record, cp);
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::AutoInc: return QVariant::fromValue<qint64>(asInteger(f, record));
    case FieldKind::Float: return asFloat(f, record);
    case FieldKind::Date: return asDate(f, record);
    case FieldKind::DateTime: return asDateTime(f, record);
    case FieldKind::Boolean: return asBoolean(f, record);
    case FieldKind::Memo:
    case FieldKind::Unknown: return asString(f, record, cp);
    }
    return {};
}

void clear(const FieldDef &f, char *record)
{
    std::memset(record + f.offset, isTextStored(f) ? ' ' : 0, size_t(f.size));
}

void setBytes(const FieldDef &f, char *record, const QByteArray &bytes)
{
    char *p = record + f.offset;
    const int n = std::min<int>(int(bytes.size()), f.size);
    std::memcpy(p, bytes.constData(), size_t(n));
    std::memset(p + n, ' ', size_t(f.size - n));
}

void setInteger(const FieldDef &f, char *record, std::int64_t value)
{
    switch (f.type) {
    case 'I':
    case '+':
        if (value < std::numeric_limits<std::int32_t>::min() || value > std::numeric_limits<std::int32_t>::max())
            overflow(f, QString::number(value));
        writeBigEndian32(record + f.offset, quint32(std::int32_t(value)) ^ 0x80000000u);
        return;
    case 'N':
    case 'F':
        if (f.decimals > 0)
            return setFloat(f, record, double(value));
        return putRightAligned(f, record, QByteArray::number(qlonglong(value)));
    default: return setFloat(f, record, double(value));
    }
}

void setFloat(const FieldDef &f, char *record, double value)
{
    if (!std::isfinite(value))
        throw TableError(TableErrorKind::BadValue, QString(),
                         QStringLiteral("Value is not a number for field %1").arg(f.name));
    switch (f.type) {
    case 'N':
    case 'F':
        if (f.decimals == 0) {
            if (std::fabs(value) >= 9.2e18)
                overflow(f, QString::number(value, 'g', 17));
            return putRightAligned(f, record, QByteArray::number(qlonglong(std::llround(value))));
        }
        return putRightAligned(f, record, formatFixed(value, f.decimals));
    case 'O': return writeOrderedDouble(record + f.offset, value);
    case 'I':
    case '+': return setInteger(f, record, std::llround(value));
    case 'L': return setBoolean(f, record, value != 0);
    default:
        throw TableError(TableErrorKind::BadValue, QString(),
                         QStringLiteral("Field %1 cannot hold a number").arg(f.name));
    }
}

void setDate(const FieldDef &f, char *record, const QDate &value)
{
    if (!value.isValid())
        return clear(f, record);
    if (f.type == '@')
        return setDateTime(f, record, QDateTime(value, QTime(0, 0)));
    if (f.type != 'D')
        throw TableError(TableErrorKind::BadValue, QString(),
                         QStringLiteral("Field %1 cannot hold a date").arg(f.name));
    if (value.year() < 0 || value.year() > 9999)
        overflow(f, value.toString(Qt::ISODate));
    setBytes(f, record, value.toString(QStringLiteral("yyyyMMdd")).toLatin1());
}

void setDateTime(const FieldDef &f, char *record, const QDateTime &value)
{
    if (!value.isValid())
        return clear(f, record);
    if (f.type == '@')
        return writePlainDouble(record + f.offset, dateTimeToTimestamp(value));
    setDate(f, record, value.date());
}

void setBoolean(const FieldDef &f, char *record, bool value)
{
    if (f.type == 'L') {
        record[f.offset] = value ? 'T' : 'F';
        return;
    }
    if (f.isNumeric() || f.type == 'I')
        return setInteger(f, record, value ? 1 : 0);
    throw TableError(TableErrorKind::BadValue, QString(),
                     QStringLiteral("Field %1 cannot hold a logical value").arg(f.name));
}

void setString(const FieldDef &f, char *record, const QString &value, const CodePage &cp)
{
    switch (f.kind()) {
    case FieldKind::String:
    case FieldKind::Unknown: return setBytes(f, record, cp.encode(value));
    case FieldKind::Memo:
        throw TableError(TableErrorKind::BadValue, QString(), QStringLiteral("Field %1 is a memo").arg(f.name));
    case FieldKind::Boolean: {
        const QString t = value.trimmed();
        if (t.isEmpty())
            return clear(f, record);
        const QChar c = t[0].toUpper();
        return setBoolean(f, record, c == u'T' || c == u'Y' || c == u'1' || c == u'Д');
    }
    case FieldKind::Date:
    case FieldKind::DateTime: {
        const QString t = value.trimmed();
        if (t.isEmpty())
            return clear(f, record);
        QDate d = QDate::fromString(t, QStringLiteral("yyyyMMdd"));
        if (!d.isValid())
            d = QDate::fromString(t, QStringLiteral("dd.MM.yyyy"));
        if (!d.isValid())
            d = QDate::fromString(t, Qt::ISODate);
        if (!d.isValid())
            throw TableError(TableErrorKind::BadValue, QString(),
                             QStringLiteral("\"%1\" is not a date for field %2").arg(value, f.name));
        return setDate(f, record, d);
    }
    default: {
        QByteArray t = value.trimmed().toLatin1();
        if (t.isEmpty())
            return clear(f, record);
        t.replace(',', '.');
        double d = 0;
        std::int64_t i = 0;
        const bool integerOnly = f.kind() != FieldKind::Float;
        if (integerOnly && parseNumber(t, true, &d, &i))
            return setInteger(f, record, i);
        if (!parseNumber(t, false, &d, &i))
            throw TableError(TableErrorKind::BadValue, QString(),
                             QStringLiteral("\"%1\" is not a number for field %2").arg(value, f.name));
        return setFloat(f, record, d);
    }
    }
}

void setVariant(const FieldDef &f, char *record, const QVariant &value, const CodePage &cp)
{
    if (!value.isValid() || value.isNull())
        return clear(f, record);
    switch (value.typeId()) {
    case QMetaType::Bool: return setBoolean(f, record, value.toBool());
    case QMetaType::Int:
    case QMetaType::UInt:
    case QMetaType::LongLong:
    case QMetaType::ULongLong:
    case QMetaType::Long:
    case QMetaType::Short:
        if (f.kind() == FieldKind::String)
            return setString(f, record, value.toString(), cp);
        return setInteger(f, record, value.toLongLong());
    case QMetaType::Double:
    case QMetaType::Float:
        if (f.kind() == FieldKind::String)
            return setString(f, record, QString::number(value.toDouble(), 'g', 15), cp);
        return setFloat(f, record, value.toDouble());
    case QMetaType::QDate: return setDate(f, record, value.toDate());
    case QMetaType::QDateTime: return setDateTime(f, record, value.toDateTime());
    default: return setString(f, record, value.toString(), cp);
    }
}

void setMemoBlock(const FieldDef &f, char *record, std::uint32_t block)
{
    if (block == 0)
        return clear(f, record);
    if (f.size == 4 && !isTextStored(f)) {
        std::memcpy(record + f.offset, &block, 4);
        return;
    }
    QByteArray digits = QByteArray::number(block);
    if (digits.size() > f.size)
        overflow(f, QString::number(block));
    digits = digits.rightJustified(f.size, '0');
    setBytes(f, record, digits);
}

} // namespace tables::codec
