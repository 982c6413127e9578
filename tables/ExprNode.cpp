#include "ExprNode.h"

#include <QDate>

#include <stdexcept>
#include <vector>

namespace tables::expr {

namespace {
[[noreturn]] void wrongType() { throw std::logic_error("expression node asked for a value of another type"); }
} // namespace

bool Node::boolean(const EvalContext &) const { wrongType(); }
std::int64_t Node::integer(const EvalContext &) const { wrongType(); }
double Node::number(const EvalContext &ctx) const
{
    if (type_ != ExprType::Integer)
        wrongType();
    return double(integer(ctx));
}
std::string_view Node::string(const EvalContext &) const { wrongType(); }
std::int64_t Node::day(const EvalContext &) const { wrongType(); }

std::int64_t zeroDay()
{
    static const std::int64_t day = QDate(1899, 12, 30).toJulianDay();
    return day;
}

QString typeName(ExprType type)
{
    switch (type) {
    case ExprType::String: return QStringLiteral("a text");
    case ExprType::Integer: return QStringLiteral("an integer");
    case ExprType::Float: return QStringLiteral("a number");
    case ExprType::Date: return QStringLiteral("a date");
    case ExprType::Boolean: return QStringLiteral("a logical value");
    }
    return {};
}

NodePtr Literal::fold(const Node &node, int slotCount)
{
    std::vector<std::string> scratch(size_t(slotCount) + 1);
    const EvalContext ctx{nullptr, scratch.data()};
    switch (node.type()) {
    case ExprType::String: return std::make_unique<Literal>(std::string(node.string(ctx)));
    case ExprType::Integer: return std::make_unique<Literal>(node.integer(ctx));
    case ExprType::Float: return std::make_unique<Literal>(node.number(ctx));
    case ExprType::Boolean: return std::make_unique<Literal>(node.boolean(ctx));
    case ExprType::Date: break;
    }
    return nullptr; // no constant dates exist
}

} // namespace tables::expr
