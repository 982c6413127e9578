#include "ExprFields.h"

#include "ExprError.h"
#include "FieldCodec.h"

namespace tables::expr {

namespace {

class StringField final : public Node {
public:
    explicit StringField(const FieldDef &f) : Node(ExprType::String), offset_(f.offset), size_(f.size) {}

    // In place: the stored bytes up to a NUL, trailing blanks removed.
    std::string_view string(const EvalContext &ctx) const override
    {
        return codec::textValue(ctx.record + offset_, size_);
    }
    bool storedText(int *offset, int *size) const override
    {
        *offset = offset_;
        *size = size_;
        return true;
    }

private:
    int offset_;
    int size_;
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
