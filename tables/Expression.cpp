#include "Expression.h"

#include "CodePage.h"
#include "ExprError.h"
#include "ExprNode.h"
#include "ExprParser.h"
#include "TableError.h"

#include <bit>
#include <string>
#include <vector>

namespace tables {

struct Expression::Impl {
    QString text;
    const CodePage *codePage = nullptr;
    expr::NodePtr root;
    int slotCount = 0;
};

namespace {

// Scratch strings of the text-building nodes, kept per thread so that
// evaluation allocates only while they grow.
expr::EvalContext contextFor(const char *record, int slotCount)
{
    thread_local std::vector<std::string> scratch;
    if (scratch.size() < size_t(slotCount))
        scratch.resize(size_t(slotCount));
    return {record, scratch.data()};
}

// The first byte of a little-endian double, as TDbf tests it.
bool lowByte(double value) { return (std::bit_cast<std::uint64_t>(value) & 0xFF) != 0; }

} // namespace

Expression::Expression() = default;

Expression::Expression(std::shared_ptr<const Impl> impl) : impl_(std::move(impl)) {}

Expression Expression::compile(const QString &text, const TableSchema &schema, ExprOptions options)
{
    if (text.trimmed().isEmpty())
        return {};
    auto impl = std::make_shared<Impl>();
    impl->text = text;
    impl->codePage = schema.codePage ? schema.codePage : &CodePage::byNumber(defaultOpenCodePage());
    expr::BuildContext build{impl->codePage, options};
    try {
        impl->root = expr::Parser(text, schema, build).parse();
    } catch (const expr::ExprError &e) {
        throw TableError(TableErrorKind::BadExpression, QString(),
                         QStringLiteral("Invalid expression \"%1\": %2").arg(text, e.detail));
    }
    impl->slotCount = build.slotCount;
    return Expression(std::move(impl));
}

QString Expression::text() const { return impl_ ? impl_->text : QString(); }

ExprType Expression::resultType() const { return impl_ ? impl_->root->type() : ExprType::Boolean; }

ExprValue Expression::evaluate(const char *record) const
{
    ExprValue v;
    if (!impl_) {
        v.b = true;
        return v;
    }
    const expr::Node &root = *impl_->root;
    const expr::EvalContext ctx = contextFor(record, impl_->slotCount);
    v.type = root.type();
    switch (v.type) {
    case ExprType::String: {
        const std::string_view s = root.string(ctx);
        v.text = QByteArray(s.data(), qsizetype(s.size()));
        break;
    }
    case ExprType::Integer: v.i = root.integer(ctx); break;
    case ExprType::Float: v.f = root.number(ctx); break;
    case ExprType::Date: v.date = QDate::fromJulianDay(root.day(ctx)); break;
    case ExprType::Boolean: v.b = root.boolean(ctx); break;
    }
    return v;
}

bool Expression::accepts(const char *record) const
{
    if (!impl_)
        return true;
    const expr::Node &root = *impl_->root;
    const expr::EvalContext ctx = contextFor(record, impl_->slotCount);
    switch (root.type()) {
    case ExprType::Boolean: return root.boolean(ctx);
    case ExprType::String: {
        const std::string_view s = root.string(ctx);
        return !s.empty() && s.front() != '\0';
    }
    case ExprType::Integer: return (std::uint64_t(root.integer(ctx)) & 0xFF) != 0;
    case ExprType::Float: return lowByte(root.number(ctx));
    case ExprType::Date: return lowByte(double(root.day(ctx) - expr::zeroDay())); // TDbf's day count
    }
    return false;
}

QString Expression::valueText(const char *record) const
{
    if (!impl_)
        return {};
    const ExprValue v = evaluate(record);
    switch (v.type) {
    case ExprType::String: return impl_->codePage->decode(v.text);
    case ExprType::Integer: return QString::number(v.i);
    case ExprType::Float: return QString::number(v.f, 'g', 15);
    case ExprType::Date: return v.date.toString(Qt::ISODate);
    case ExprType::Boolean: return v.b ? QStringLiteral("T") : QStringLiteral("F");
    }
    return {};
}

} // namespace tables
