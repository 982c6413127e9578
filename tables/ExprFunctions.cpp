#include "ExprFunctions.h"

#include "CodePage.h"
#include "ExprError.h"
#include "ExprNumberText.h"

#include <QDate>

#include <algorithm>
#include <cstdio>
#include <string_view>

namespace tables::expr {

namespace {

// DTOS(date): YYYYMMDD.
class Dtos final : public Node {
public:
    Dtos(NodePtr date, int slot) : Node(ExprType::String), date_(std::move(date)), slot_(slot) {}
    std::string_view string(const EvalContext &ctx) const override
    {
        int y = 0, m = 0, d = 0;
        QDate::fromJulianDay(date_->day(ctx)).getDate(&y, &m, &d);
        char buf[16];
        const int n = std::snprintf(buf, sizeof buf, "%04d%02d%02d", y, m, d);
        std::string &out = ctx.scratch[slot_];
        out.assign(buf, size_t(std::max(n, 0)));
        return out;
    }

private:
    NodePtr date_;
    int slot_;
};

// STR(number [, width [, decimals]]) as dBase: right-aligned in width (10),
// decimals 0.
class Str final : public Node {
public:
    Str(std::vector<NodePtr> args, int slot) : Node(ExprType::String), args_(std::move(args)), slot_(slot) {}
    std::string_view string(const EvalContext &ctx) const override
    {
        const std::int64_t width = args_.size() > 1 ? args_[1]->integer(ctx) : 10;
        const std::int64_t decimals = args_.size() > 2 ? args_[2]->integer(ctx) : 0;
        std::string &out = ctx.scratch[slot_];
        if (args_[0]->type() == ExprType::Integer && decimals <= 0)
            numberText(args_[0]->integer(ctx), width, out);
        else
            numberText(args_[0]->number(ctx), width, decimals, out);
        return out;
    }

private:
    std::vector<NodePtr> args_;
    int slot_;
};

// LEFT(text, n) and SUBSTR(text, start, count) are views of their argument.
class Left final : public Node {
public:
    Left(NodePtr text, NodePtr count) : Node(ExprType::String), text_(std::move(text)), count_(std::move(count)) {}
    std::string_view string(const EvalContext &ctx) const override
    {
        const std::string_view s = text_->string(ctx);
        const std::int64_t n = count_->integer(ctx);
        return s.substr(0, size_t(std::clamp<std::int64_t>(n, 0, std::int64_t(s.size()))));
    }

private:
    NodePtr text_, count_;
};

// A start before 1 counts as 1 (TDbf reads outside the text there).
class Substr final : public Node {
public:
    Substr(NodePtr text, NodePtr start, NodePtr count)
        : Node(ExprType::String), text_(std::move(text)), start_(std::move(start)), count_(std::move(count))
    {
    }
    std::string_view string(const EvalContext &ctx) const override
    {
        const std::string_view s = text_->string(ctx);
        const auto size = std::int64_t(s.size());
        const std::int64_t from = std::clamp<std::int64_t>(start_->integer(ctx) - 1, 0, size);
        const std::int64_t n = std::clamp<std::int64_t>(count_->integer(ctx), 0, size - from);
        return s.substr(size_t(from), size_t(n));
    }

private:
    NodePtr text_, start_, count_;
};

// UPPER / LOWER through the code page's case tables.
class CaseMap final : public Node {
public:
    CaseMap(NodePtr text, bool upper, const CodePage &cp, int slot)
        : Node(ExprType::String), text_(std::move(text)), upper_(upper), cp_(cp), slot_(slot)
    {
    }
    std::string_view string(const EvalContext &ctx) const override
    {
        const std::string_view s = text_->string(ctx);
        std::string &out = ctx.scratch[slot_];
        out.resize(s.size());
        for (size_t i = 0; i < s.size(); ++i) {
            const auto b = std::uint8_t(s[i]);
            out[i] = char(upper_ ? cp_.upper(b) : cp_.lower(b));
        }
        return out;
    }

private:
    NodePtr text_;
    bool upper_;
    const CodePage &cp_;
    int slot_;
};

// INSTR(a, b): 1-based position of a in b, 0 when absent or a is empty;
// always case-sensitive.
class Instr final : public Node {
public:
    Instr(NodePtr needle, NodePtr haystack)
        : Node(ExprType::Integer), needle_(std::move(needle)), haystack_(std::move(haystack))
    {
    }
    std::int64_t integer(const EvalContext &ctx) const override
    {
        const std::string_view a = needle_->string(ctx);
        const std::string_view b = haystack_->string(ctx);
        if (a.empty())
            return 0;
        const size_t at = b.find(a);
        return at == std::string_view::npos ? 0 : std::int64_t(at) + 1;
    }

private:
    NodePtr needle_, haystack_;
};

struct Signature {
    const char *name;
    const char *alias;
    // one letter per argument: S text, N number, I integer, D date; lower case = optional
    const char *arguments;
};

const Signature kSignatures[] = {
    {"DTOS", nullptr, "D"},      {"STR", nullptr, "Nii"},     {"LEFT", nullptr, "SI"},  {"SUBSTR", nullptr, "SII"},
    {"UPPER", "UPPERCASE", "S"}, {"LOWER", "LOWERCASE", "S"}, {"INSTR", nullptr, "SS"},
};

bool accepts(char letter, ExprType type)
{
    switch (QChar::toUpper(char16_t(letter))) {
    case u'S': return type == ExprType::String;
    case u'N': return type == ExprType::Integer || type == ExprType::Float;
    case u'I': return type == ExprType::Integer;
    case u'D': return type == ExprType::Date;
    }
    return false;
}

QString letterName(char letter)
{
    switch (QChar::toUpper(char16_t(letter))) {
    case u'S': return QStringLiteral("a text");
    case u'N': return QStringLiteral("a number");
    case u'I': return QStringLiteral("an integer");
    default: return QStringLiteral("a date");
    }
}

void checkArguments(const Signature &sig, const std::vector<NodePtr> &args)
{
    const std::string_view argKinds(sig.arguments);
    const auto required =
        size_t(std::count_if(argKinds.begin(), argKinds.end(), [](char c) { return c >= 'A' && c <= 'Z'; }));
    if (args.size() < required || args.size() > argKinds.size()) {
        const QString count = required == argKinds.size()
            ? QString::number(required)
            : QStringLiteral("%1 to %2").arg(required).arg(argKinds.size());
        throw ExprError{
            QStringLiteral("%1 takes %2 argument(s), not %3").arg(QLatin1String(sig.name), count).arg(args.size())};
    }
    for (size_t i = 0; i < args.size(); ++i)
        if (!accepts(argKinds[i], args[i]->type()))
            throw ExprError{QStringLiteral("type mismatch: argument %1 of %2 must be %3, not %4")
                                .arg(i + 1)
                                .arg(QLatin1String(sig.name), letterName(argKinds[i]), typeName(args[i]->type()))};
}

} // namespace

NodePtr makeFunction(const QString &name, std::vector<NodePtr> args, BuildContext &build)
{
    const Signature *sig = nullptr;
    for (const Signature &s : kSignatures)
        if (name.compare(QLatin1String(s.name), Qt::CaseInsensitive) == 0
            || (s.alias && name.compare(QLatin1String(s.alias), Qt::CaseInsensitive) == 0))
            sig = &s;
    if (!sig)
        throw ExprError{QStringLiteral("unknown function \"%1\"").arg(name)};
    checkArguments(*sig, args);

    const QLatin1String n(sig->name);
    if (n == QLatin1String("DTOS"))
        return std::make_unique<Dtos>(std::move(args[0]), build.newSlot());
    if (n == QLatin1String("STR"))
        return std::make_unique<Str>(std::move(args), build.newSlot());
    if (n == QLatin1String("LEFT"))
        return std::make_unique<Left>(std::move(args[0]), std::move(args[1]));
    if (n == QLatin1String("SUBSTR"))
        return std::make_unique<Substr>(std::move(args[0]), std::move(args[1]), std::move(args[2]));
    if (n == QLatin1String("INSTR"))
        return std::make_unique<Instr>(std::move(args[0]), std::move(args[1]));
    return std::make_unique<CaseMap>(std::move(args[0]), n == QLatin1String("UPPER"), *build.codePage, build.newSlot());
}

} // namespace tables::expr
