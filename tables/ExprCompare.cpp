#include "ExprCompare.h"

#include "CodePage.h"
#include "ExprError.h"

#include <algorithm>
#include <cstring>

namespace tables::expr {

namespace {

template <typename T> bool holds(CompareOp op, const T &a, const T &b)
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
        : Node(ExprType::Boolean), op_(op), l_(std::move(l)), r_(std::move(r))
    {
    }

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
        : Comparison(op, std::move(l), std::move(r)), folding_(folding)
    {
    }

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

// A text literal compared with a text, prepared once: folded when case is
// ignored (so that only the other side folds per record), and, when that side
// is a C field, its place in the record for a first test on the stored bytes.
class LiteralText {
public:
    LiteralText(std::string text, const Node &other, const CodePage *folding) : folding_(folding)
    {
        if (folding)
            for (char &c : text)
                c = char(folding->fold(std::uint8_t(c)));
        text_ = std::move(text);
        if (!other.storedText(&fieldOffset_, &fieldSize_))
            fieldOffset_ = -1;
    }

    const std::string &text() const { return text_; }

    // a equals the first n bytes of the literal (a is folded here).
    bool equalsStart(const char *a, size_t n) const
    {
        if (!folding_)
            return std::memcmp(a, text_.data(), n) == 0;
        for (size_t i = 0; i < n; ++i)
            if (folding_->fold(std::uint8_t(a[i])) != std::uint8_t(text_[i]))
                return false;
        return true;
    }
    bool equals(std::string_view a) const { return a.size() == text_.size() && equalsStart(a.data(), a.size()); }

    // False when the field's stored bytes show that its value cannot begin
    // with the literal; true when they do not tell.
    bool mayBegin(const char *record) const
    {
        if (fieldOffset_ < 0 || text_.empty())
            return true;
        return text_.size() <= size_t(fieldSize_) && equalsStart(record + fieldOffset_, text_.size());
    }

    bool containedIn(std::string_view s) const
    {
        const size_t n = text_.size();
        if (n > s.size())
            return false;
        if (!folding_)
            return s.find(text_) != std::string_view::npos;
        if (n == 0)
            return true;
        const std::uint8_t first = std::uint8_t(text_[0]);
        for (size_t i = 0; i + n <= s.size(); ++i)
            if (folding_->fold(std::uint8_t(s[i])) == first && equalsStart(s.data() + i, n))
                return true;
        return false;
    }

private:
    std::string text_;
    const CodePage *folding_;
    int fieldOffset_ = -1;
    int fieldSize_ = 0;
};

// Text = literal and text <> literal.
class LiteralEquality final : public Node {
public:
    LiteralEquality(NodePtr text, std::string literal, bool equal, const CodePage *folding)
        : Node(ExprType::Boolean), literal_(std::move(literal), *text, folding), text_(std::move(text)), equal_(equal)
    {
    }

    bool boolean(const EvalContext &ctx) const override
    {
        if (!literal_.mayBegin(ctx.record))
            return !equal_;
        return literal_.equals(text_->string(ctx)) == equal_;
    }

private:
    LiteralText literal_;
    NodePtr text_;
    bool equal_;
};

enum class PatternKind { Prefix, Suffix, Contains };

// Text = 'AB*' (prefix), '*AB' (suffix), '*AB*' (contains).
class PatternMatch final : public Node {
public:
    PatternMatch(NodePtr text, PatternKind kind, std::string pattern, const CodePage *folding)
        : Node(ExprType::Boolean), pattern_(std::move(pattern), *text, folding), text_(std::move(text)), kind_(kind)
    {
    }

    bool boolean(const EvalContext &ctx) const override
    {
        if (kind_ == PatternKind::Prefix && !pattern_.mayBegin(ctx.record))
            return false;
        const std::string_view s = text_->string(ctx);
        const size_t n = pattern_.text().size();
        if (n > s.size())
            return false;
        switch (kind_) {
        case PatternKind::Prefix: return pattern_.equalsStart(s.data(), n);
        case PatternKind::Suffix: return pattern_.equalsStart(s.data() + s.size() - n, n);
        case PatternKind::Contains: return pattern_.containedIn(s);
        }
        return false;
    }

private:
    LiteralText pattern_;
    NodePtr text_;
    PatternKind kind_;
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
                                                      p.size() > 1 ? p.substr(1, p.size() - 2) : std::string(),
                                                      folding);
            if (starts)
                return std::make_unique<PatternMatch>(std::move(left), PatternKind::Suffix, p.substr(1), folding);
            if (ends)
                return std::make_unique<PatternMatch>(std::move(left), PatternKind::Prefix, p.substr(0, p.size() - 1),
                                                      folding);
        }
        if (literal && (op == CompareOp::Equal || op == CompareOp::NotEqual))
            return std::make_unique<LiteralEquality>(std::move(left), literal->text(), op == CompareOp::Equal, folding);
        return std::make_unique<StringComparison>(op, std::move(left), std::move(right), folding);
    }
    const bool dateAndText =
        (lt == ExprType::Date && rt == ExprType::String) || (lt == ExprType::String && rt == ExprType::Date);
    throw ExprError{QStringLiteral("type mismatch: \"%1\" cannot compare %2 with %3%4")
                        .arg(opText(op), typeName(lt), typeName(rt),
                             dateAndText ? QStringLiteral(" (compare DTOS(date) with a text)") : QString())};
}

} // namespace tables::expr
