#include "ExprOperators.h"

#include "ExprError.h"

namespace tables::expr {

namespace {

enum class Arith { Add, Sub, Mul, Div };

Arith arithOf(QChar op)
{
    switch (op.unicode()) {
    case u'+': return Arith::Add;
    case u'-': return Arith::Sub;
    case u'*': return Arith::Mul;
    default: return Arith::Div;
    }
}

// Integer arithmetic wraps instead of overflowing; division by zero gives 0
// (TDbf stops with an error there, a filter scan cannot).
class IntegerArithmetic final : public Node {
public:
    IntegerArithmetic(Arith op, NodePtr l, NodePtr r)
        : Node(ExprType::Integer), op_(op), l_(std::move(l)), r_(std::move(r))
    {
    }

    std::int64_t integer(const EvalContext &ctx) const override
    {
        const auto a = std::uint64_t(l_->integer(ctx));
        const auto b = std::uint64_t(r_->integer(ctx));
        switch (op_) {
        case Arith::Add: return std::int64_t(a + b);
        case Arith::Sub: return std::int64_t(a - b);
        case Arith::Mul: return std::int64_t(a * b);
        case Arith::Div: break;
        }
        const auto x = std::int64_t(a), y = std::int64_t(b);
        if (y == 0)
            return 0;
        if (y == -1)
            return std::int64_t(0 - a);
        return x / y;
    }

private:
    Arith op_;
    NodePtr l_, r_;
};

class FloatArithmetic final : public Node {
public:
    FloatArithmetic(Arith op, NodePtr l, NodePtr r) : Node(ExprType::Float), op_(op), l_(std::move(l)), r_(std::move(r))
    {
    }

    double number(const EvalContext &ctx) const override
    {
        const double a = l_->number(ctx);
        const double b = r_->number(ctx);
        switch (op_) {
        case Arith::Add: return a + b;
        case Arith::Sub: return a - b;
        case Arith::Mul: return a * b;
        case Arith::Div: break;
        }
        return a / b;
    }

private:
    Arith op_;
    NodePtr l_, r_;
};

class Concatenation final : public Node {
public:
    Concatenation(NodePtr l, NodePtr r, int slot)
        : Node(ExprType::String), l_(std::move(l)), r_(std::move(r)), slot_(slot)
    {
    }

    std::string_view string(const EvalContext &ctx) const override
    {
        const std::string_view a = l_->string(ctx);
        const std::string_view b = r_->string(ctx);
        std::string &out = ctx.scratch[slot_];
        out.assign(a);
        out.append(b);
        return out;
    }

private:
    NodePtr l_, r_;
    int slot_;
};

class Negation final : public Node {
public:
    explicit Negation(NodePtr operand) : Node(operand->type()), operand_(std::move(operand)) {}
    std::int64_t integer(const EvalContext &ctx) const override
    {
        return std::int64_t(0 - std::uint64_t(operand_->integer(ctx)));
    }
    double number(const EvalContext &ctx) const override
    {
        return type() == ExprType::Integer ? double(integer(ctx)) : -operand_->number(ctx);
    }

private:
    NodePtr operand_;
};

class Logical final : public Node {
public:
    Logical(bool isAnd, NodePtr l, NodePtr r)
        : Node(ExprType::Boolean), isAnd_(isAnd), l_(std::move(l)), r_(std::move(r))
    {
    }
    bool boolean(const EvalContext &ctx) const override
    {
        return isAnd_ ? l_->boolean(ctx) && r_->boolean(ctx) : l_->boolean(ctx) || r_->boolean(ctx);
    }

private:
    bool isAnd_;
    NodePtr l_, r_;
};

class Not final : public Node {
public:
    explicit Not(NodePtr operand) : Node(ExprType::Boolean), operand_(std::move(operand)) {}
    bool boolean(const EvalContext &ctx) const override { return !operand_->boolean(ctx); }

private:
    NodePtr operand_;
};

[[noreturn]] void mismatch(const QString &op, const Node &l, const Node &r)
{
    throw ExprError{QStringLiteral("type mismatch: \"%1\" cannot combine %2 with %3")
                        .arg(op, typeName(l.type()), typeName(r.type()))};
}

} // namespace

NodePtr makeArithmetic(QChar op, NodePtr left, NodePtr right, BuildContext &build)
{
    if (op == u'+' && left->type() == ExprType::String && right->type() == ExprType::String)
        return std::make_unique<Concatenation>(std::move(left), std::move(right), build.newSlot());
    if (!left->isNumeric() || !right->isNumeric())
        mismatch(op, *left, *right);
    if (left->type() == ExprType::Integer && right->type() == ExprType::Integer)
        return std::make_unique<IntegerArithmetic>(arithOf(op), std::move(left), std::move(right));
    return std::make_unique<FloatArithmetic>(arithOf(op), std::move(left), std::move(right));
}

NodePtr makeNegation(NodePtr operand)
{
    if (!operand->isNumeric())
        throw ExprError{QStringLiteral("type mismatch: \"-\" cannot negate %1").arg(typeName(operand->type()))};
    return std::make_unique<Negation>(std::move(operand));
}

NodePtr makeLogical(bool isAnd, NodePtr left, NodePtr right)
{
    if (left->type() != ExprType::Boolean || right->type() != ExprType::Boolean)
        mismatch(isAnd ? QStringLiteral("AND") : QStringLiteral("OR"), *left, *right);
    return std::make_unique<Logical>(isAnd, std::move(left), std::move(right));
}

NodePtr makeNot(NodePtr operand)
{
    if (operand->type() != ExprType::Boolean)
        throw ExprError{
            QStringLiteral("type mismatch: \"NOT\" needs a logical value, not %1").arg(typeName(operand->type()))};
    return std::make_unique<Not>(std::move(operand));
}

} // namespace tables::expr
