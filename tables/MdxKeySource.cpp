#include "MdxKeySource.h"

#include "FieldCodec.h"
#include "MdxLayout.h"
#include "TableError.h"

#include <algorithm>
#include <cstring>

namespace tables {

namespace {

[[noreturn]] void notIndexable(const QString &expression, const QString &why)
{
    throw TableError(QStringLiteral("Index expression \"%1\" cannot be used: %2").arg(expression, why));
}

bool isIdentifier(QStringView s)
{
    if (s.isEmpty() || s.front().isDigit())
        return false;
    return std::all_of(s.begin(), s.end(),
                       [](QChar c) { return c == u'_' || (c.unicode() < 128 && c.isLetterOrNumber()); });
}

// Splits at `separator` outside quotes and parentheses.
QStringList splitTopLevel(const QString &text, QChar separator)
{
    QStringList parts;
    int depth = 0;
    QChar quote;
    int start = 0;
    for (int i = 0; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
            continue;
        }
        if (c == u'\'' || c == u'"')
            quote = c;
        else if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        else if (c == separator && depth == 0) {
            parts << text.mid(start, i - start).trimmed();
            start = i + 1;
        }
    }
    parts << text.mid(start).trimmed();
    return parts;
}

// Position of the parenthesis closing the one at `open`, -1 when none.
int closingParenthesis(const QString &text, int open)
{
    int depth = 0;
    QChar quote;
    for (int i = open; i < text.size(); ++i) {
        const QChar c = text[i];
        if (!quote.isNull()) {
            if (c == quote)
                quote = QChar();
        } else if (c == u'\'' || c == u'"') {
            quote = c;
        } else if (c == u'(') {
            ++depth;
        } else if (c == u')' && --depth == 0) {
            return i;
        }
    }
    return -1;
}

// "(A)" -> "A", but "(A)+(B)" stays.
QString stripParentheses(QString term)
{
    term = term.trimmed();
    while (term.startsWith(u'(') && closingParenthesis(term, 0) == term.size() - 1)
        term = term.mid(1, term.size() - 2).trimmed();
    return term;
}

// Bytes a string term stands for in a key, as TDbf's index parser sizes
// them; -1 when it cannot tell.
int termLength(const QString &text, const TableSchema &schema)
{
    const QString term = stripParentheses(text);
    if (term.size() >= 2 && (term.front() == u'\'' || term.front() == u'"') && term.back() == term.front()) {
        const QChar q = term.front();
        QString body = term.mid(1, term.size() - 2);
        body.replace(QString(2, q), QString(q));
        return int(body.size());
    }
    if (isIdentifier(term)) {
        const int f = schema.indexOf(term);
        return f >= 0 ? schema.fields[size_t(f)].size : -1;
    }
    const int open = int(term.indexOf(u'('));
    if (open <= 0 || !term.endsWith(u')'))
        return -1;
    const QString name = term.left(open).trimmed().toUpper();
    const QStringList args = splitTopLevel(term.mid(open + 1, term.size() - open - 2), u',');
    auto number = [&](int i) {
        bool ok = false;
        const int n = i < args.size() ? args[i].toInt(&ok) : 0;
        return ok && n >= 0 ? n : -1;
    };
    if (name == QLatin1String("DTOS"))
        return 8;
    if (name == QLatin1String("UPPER") || name == QLatin1String("LOWER") || name == QLatin1String("UPPERCASE")
        || name == QLatin1String("LOWERCASE"))
        return args.isEmpty() ? -1 : termLength(args[0], schema);
    if (name == QLatin1String("LEFT"))
        return number(1);
    if (name == QLatin1String("SUBSTR"))
        return number(2);
    if (name == QLatin1String("STR"))
        return args.size() >= 2 ? number(1) : 10;
    return -1;
}

} // namespace

MdxKeySource MdxKeySource::compile(const QString &expression, const TableSchema &schema)
{
    MdxKeySource s;
    s.expression_ = expression.trimmed();
    const Expression whole = Expression::compile(s.expression_, schema);
    if (whole.isEmpty())
        notIndexable(expression, QStringLiteral("it is empty"));
    const QString bare = stripParentheses(s.expression_);
    const int fieldIndex = isIdentifier(bare) ? schema.indexOf(bare) : -1;
    s.isField_ = fieldIndex >= 0;
    if (s.isField_)
        s.fieldName_ = schema.fields[size_t(fieldIndex)].name;

    switch (whole.resultType()) {
    case ExprType::String: {
        s.type_ = MdxKeyType::Character;
        for (const QString &term : splitTopLevel(s.expression_, u'+')) {
            Part part;
            const QString t = stripParentheses(term);
            const int f = isIdentifier(t) ? schema.indexOf(t) : -1;
            if (f >= 0) {
                const FieldDef &def = schema.fields[size_t(f)];
                if (!def.isText())
                    notIndexable(expression, QStringLiteral("field %1 is not text").arg(def.name));
                part.offset = def.offset;
                part.size = def.size;
            } else {
                part.size = termLength(t, schema);
                if (part.size < 0)
                    notIndexable(expression, QStringLiteral("the key length of \"%1\" is unknown").arg(t));
                part.expr = Expression::compile(t, schema);
                if (part.expr.resultType() != ExprType::String)
                    notIndexable(expression, QStringLiteral("\"%1\" is not text").arg(t));
            }
            s.length_ += part.size;
            s.parts_.push_back(std::move(part));
        }
        if (s.length_ < 1 || s.length_ > mdx::kMaxKeyLength)
            notIndexable(expression,
                         QStringLiteral("keys of %1 bytes (1 to %2 possible)").arg(s.length_).arg(mdx::kMaxKeyLength));
        break;
    }
    case ExprType::Integer:
    case ExprType::Float:
        s.type_ = MdxKeyType::Numeric;
        s.length_ = mdxkey::kNumericLength;
        if (s.isField_) {
            s.field_ = schema.fields[size_t(fieldIndex)];
            s.fieldIsFloat_ = s.field_.kind() == FieldKind::Float;
        } else {
            s.numericExpr_ = whole;
        }
        break;
    default:
        notIndexable(expression, QStringLiteral("only text and numbers can be indexed (index DTOS(field) for dates)"));
    }
    return s;
}

void MdxKeySource::keyInto(const char *record, char *out) const
{
    if (type_ == MdxKeyType::Numeric) {
        QByteArray key;
        if (numericExpr_.isEmpty()) {
            key = fieldIsFloat_ ? mdxkey::numeric(codec::asFloat(field_, record))
                                : mdxkey::numeric(std::int64_t(codec::asInteger(field_, record)));
        } else {
            const ExprValue v = numericExpr_.evaluate(record);
            key = v.type == ExprType::Float ? mdxkey::numeric(v.f) : mdxkey::numeric(std::int64_t(v.i));
        }
        std::memcpy(out, key.constData(), mdxkey::kNumericLength);
        return;
    }
    for (const Part &part : parts_) {
        if (part.expr.isEmpty()) {
            std::memcpy(out, record + part.offset, size_t(part.size));
        } else {
            const QByteArray text = part.expr.evaluate(record).text;
            const int n = std::min<int>(int(text.size()), part.size);
            std::memcpy(out, text.constData(), size_t(n));
            std::memset(out + n, ' ', size_t(part.size - n));
        }
        out += part.size;
    }
}

QByteArray MdxKeySource::key(const char *record) const
{
    QByteArray k(length_, Qt::Uninitialized);
    keyInto(record, k.data());
    return k;
}

} // namespace tables
