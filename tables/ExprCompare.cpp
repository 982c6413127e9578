#include "ExprCompare.h"

#include "CodePage.h"
#include "ExprError.h"

#include <algorithm>
#include <cstring>

namespace tables::expr {

namespace {

template <typename T>
bool holds(CompareOp op, const T &a, const T &b)
{
    switch (op) {
    case CompareOp::Equal: return a == b;
    case CompareOp::NotEqual: return a != b;
    case CompareOp::Less: return a < b;
    case CompareOp::Greater: return a > b;
    case CompareOp::LessEqual: return a <= b;
    case CompareOp::GreaterEqual: return a >= b;
    }
    return false;
}

class Comparison : public Node {
public:
    Comparison(CompareOp op, NodePtr l, NodePtr r)
        : Node(ExprType::Boolean), op_(op), l_(std::move(l)), r_(std::move(r)) {}

protected:
    CompareOp op_;
    NodePtr l_, r_;
};

class IntegerComparison final : public Comparison {
public:
    using Comparison::Comparison;
    bool boolean(const EvalContext &ctx) const override { return holds(op_, l_->integer(ctx), r_->integer(ctx)); }
};

class FloatComparison final : public Comparison {
public:
    using Comparison::Comparison;
    bool boolean(const EvalContext &ctx) const override { return holds(op_, l_->number(ctx), r_->number(ctx)); }
};

class DateComparison final : public Comparison {
public:
    using Comparison::Comparison;
    bool boolean(const EvalContext &ctx) const override { return holds(op_, l_->day(ctx), r_->day(ctx)); }
};

// Byte-wise three-way comparison, after case folding when a code page is given.
int compareBytes(std::string_view a, std::string_view b, const CodePage *folding)
{
    const size_t n = std::min(a.size(), b.size());
    if (!folding) {
        if (const int c = n ? std::memcmp(a.data(), b.data(), n) : 0)
            return c;
    } else {
        for (size_t i = 0; i < n; ++i) {
            const int x = folding->fold(std::uint8_t(a[i])), y = folding->fold(std::uint8_t(b[i]));
            if (x != y)
                return x - y;
        }
    }
    return a.size() < b.size() ? -1 : (a.size() > b.size() ? 1 : 0);
}

bool equalBytes(std::string_view a, std::string_view b, const CodePage *folding)
{
    if (a.size() != b.size())
        return false;
    return folding ? compareBytes(a, b, folding) == 0 : a == b;
}

class StringComparison final : public Comparison {
public:
    StringComparison(CompareOp op, NodePtr l, NodePtr r, const CodePage *folding)
        : Comparison(op, std::move(l), std::move(r)), folding_(folding) {}

    bool boolean(const EvalContext &ctx) const override
    {
        const std::string_view a = l_->string(ctx);
        const std::string_view b = r_->string(ctx);
        switch (op_) {
        case CompareOp::Equal: return equalBytes(a, b, folding_);
        case CompareOp::NotEqual: return !equalBytes(a, b, folding_);
        default: return holds(op_, compareBytes(a, b, folding_), 0);
        }
    }

private:
    const CodePage *folding_;
};

enum class PatternKind { Prefix, Suffix, Contains };

// Text = 'AB*' (prefix), '*AB' (suffix), '*AB*' (contains).
class PatternMatch final : public Node {
public:
    PatternMatch(NodePtr text, PatternKind kind, std::string pattern, const CodePage *folding)
        : Node(ExprType::Boolean), text_(std::move(text)), kind_(kind), pattern_(std::move(pattern)),
          folding_(folding)
    {
    }

    bool boolean(const EvalContext &ctx) const override
    {
        const std::string_view s = text_->string(ctx);
        const std::string_view p = pattern_;
        if (p.size() > s.size())
            return false;
        switch (kind_) {
        case PatternKind::Prefix: return equalBytes(s.substr(0, p.size()), p, folding_);
        case PatternKind::Suffix: return equalBytes(s.substr(s.size() - p.size()), p, folding_);
        case PatternKind::Contains: break;
        }
        if (!folding_)
            return s.find(p) != std::string_view::npos;
        for (size_t i = 0; i + p.size() <= s.size(); ++i)
            if (equalBytes(s.substr(i, p.size()), p, folding_))
                return true;
        return false;
    }

private:
    NodePtr text_;
    PatternKind kind_;
    std::string pattern_;
    const CodePage *folding_;
};

QString opText(CompareOp op)
{
    static const char *const texts[] = {"=", "<>", "<", ">", "<=", ">="};
    return QLatin1String(texts[int(op)]);
}

} // namespace

NodePtr makeComparison(CompareOp op, NodePtr left, NodePtr right, const BuildContext &build)
{
    const ExprType lt = left->type(), rt = right->type();
    if (left->isNumeric() && right->isNumeric()) {
        if (lt == ExprType::Integer && rt == ExprType::Integer)
            return std::make_unique<IntegerComparison>(op, std::move(left), std::move(right));
        return std::make_unique<FloatComparison>(op, std::move(left), std::move(right));
    }
    if (lt == ExprType::Date && rt == ExprType::Date)
        return std::make_unique<DateComparison>(op, std::move(left), std::move(right));
    if (lt == ExprType::String && rt == ExprType::String) {
        const CodePage *folding = build.options.caseInsensitive ? build.codePage : nullptr;
        const auto *literal = dynamic_cast<const Literal *>(right.get());
        if (op == CompareOp::Equal && literal && !build.options.noPartialCompare) {
            const std::string &p = literal->text();
            const bool starts = !p.empty() && p.front() == '*';
            const bool ends = !p.empty() && p.back() == '*';
            if (starts && ends) // '*' alone contains the empty text: matches all
                return std::make_unique<PatternMatch>(std::move(left), PatternKind::Contains,
                                                      p.size() > 1 ? p.substr(1, p.size() - 2) : std::string(), folding);
            if (starts)
                return std::make_unique<PatternMatch>(std::move(left), PatternKind::Suffix, p.substr(1), folding);
            if (ends)
                return std::make_unique<PatternMatch>(std::move(left), PatternKind::Prefix,
                                                      p.substr(0, p.size() - 1), folding);
        }
        return std::make_unique<StringComparison>(op, std::move(left), std::move(right), folding);
    }
    const bool dateAndText = (lt == ExprType::Date && rt == ExprType::String)
                             || (lt == ExprType::String && rt == ExprType::Date);
    throw ExprError{QStringLiteral("type mismatch: \"%1\" cannot compare %2 with %3%4")
                        .arg(opText(op), typeName(lt), typeName(rt),
                             dateAndText ? QStringLiteral(" (compare DTOS(date) with a text)") : QString())};
}

} // namespace tables::expr
