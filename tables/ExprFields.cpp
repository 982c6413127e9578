#include "ExprFields.h"

#include "ExprError.h"
#include "FieldCodec.h"

#include <cstring>

namespace tables::expr {

namespace {

class StringField final : public Node {
public:
    explicit StringField(const FieldDef &f) : Node(ExprType::String), offset_(f.offset), size_(size_t(f.size)) {}

    // In place: the stored bytes up to a NUL, trailing blanks removed.
    std::string_view string(const EvalContext &ctx) const override
    {
        const char *p = ctx.record + offset_;
        size_t n = size_;
        if (const void *nul = std::memchr(p, 0, n))
            n = size_t(static_cast<const char *>(nul) - p);
        while (n > 0 && p[n - 1] == ' ')
            --n;
        return {p, n};
    }

private:
    int offset_;
    size_t size_;
};

class IntegerField final : public Node {
public:
    explicit IntegerField(const FieldDef &f) : Node(ExprType::Integer), field_(f) {}
    std::int64_t integer(const EvalContext &ctx) const override { return codec::asInteger(field_, ctx.record); }

private:
    FieldDef field_;
};

class FloatField final : public Node {
public:
    explicit FloatField(const FieldDef &f) : Node(ExprType::Float), field_(f) {}
    double number(const EvalContext &ctx) const override { return codec::asFloat(field_, ctx.record); }

private:
    FieldDef field_;
};

class DateField final : public Node {
public:
    explicit DateField(const FieldDef &f) : Node(ExprType::Date), field_(f) {}
    std::int64_t day(const EvalContext &ctx) const override
    {
        const QDate d = codec::asDate(field_, ctx.record);
        return d.isValid() ? d.toJulianDay() : zeroDay();
    }

private:
    FieldDef field_;
};

class BooleanField final : public Node {
public:
    explicit BooleanField(const FieldDef &f) : Node(ExprType::Boolean), field_(f) {}
    bool boolean(const EvalContext &ctx) const override { return codec::asBoolean(field_, ctx.record); }

private:
    FieldDef field_;
};

} // namespace

NodePtr makeFieldNode(const FieldDef &field)
{
    switch (field.kind()) {
    case FieldKind::String: return std::make_unique<StringField>(field);
    case FieldKind::SmallInt:
    case FieldKind::Integer:
    case FieldKind::LargeInt:
    case FieldKind::AutoInc: return std::make_unique<IntegerField>(field);
    case FieldKind::Float: return std::make_unique<FloatField>(field);
    case FieldKind::Date:
    case FieldKind::DateTime: return std::make_unique<DateField>(field);
    case FieldKind::Boolean: return std::make_unique<BooleanField>(field);
    case FieldKind::Memo:
        throw ExprError{QStringLiteral("memo field \"%1\" cannot be used in an expression").arg(field.name)};
    case FieldKind::Unknown: break;
    }
    throw ExprError{QStringLiteral("field \"%1\" of type %2 cannot be used in an expression")
                        .arg(field.name, QString(QLatin1Char(field.type)))};
}

} // namespace tables::expr
