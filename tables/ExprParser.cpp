#include "ExprParser.h"

#include "ExprCompare.h"
#include "ExprError.h"
#include "ExprFields.h"
#include "ExprFunctions.h"
#include "ExprOperators.h"

#include "CodePage.h"

namespace tables::expr {

namespace {

// Generous for any filter a person or the program writes; keeps recursion,
// here and in the evaluation of the tree, far from the stack's limits.
constexpr size_t kMaxTokens = 10000;
constexpr int kMaxNesting = 200;

bool comparisonOf(const Token &t, CompareOp *op)
{
    static const struct {
        const char *text;
        CompareOp op;
    } ops[] = {{"=", CompareOp::Equal},   {"<>", CompareOp::NotEqual},  {"<", CompareOp::Less},
               {">", CompareOp::Greater}, {"<=", CompareOp::LessEqual}, {">=", CompareOp::GreaterEqual}};
    for (const auto &o : ops)
        if (t.is(o.text)) {
            *op = o.op;
            return true;
        }
    return false;
}

QString quoted(const Token &t)
{
    return t.kind == TokenKind::String ? QStringLiteral("'%1'").arg(t.text) : QStringLiteral("\"%1\"").arg(t.text);
}

} // namespace

Parser::Parser(const QString &text, const TableSchema &schema, BuildContext &build)
    : tokens_(tokenize(text)), schema_(schema), build_(build)
{
    if (tokens_.size() > kMaxTokens)
        throw ExprError{QStringLiteral("the expression is too long (more than %1 tokens)").arg(kMaxTokens)};
}

Parser::Nesting::Nesting(Parser &p) : parser(p)
{
    if (++parser.depth_ > kMaxNesting)
        throw ExprError{QStringLiteral("the expression is nested too deeply (more than %1 levels)").arg(kMaxNesting)};
}

NodePtr Parser::parse()
{
    Parsed result = parseOr();
    const Token &t = peek();
    if (t.kind != TokenKind::End) {
        if (t.is(")"))
            throw ExprError{QStringLiteral("\")\" at position %1 has no matching \"(\"").arg(t.position)};
        throw ExprError{QStringLiteral("missing operator before %1 at position %2").arg(quoted(t)).arg(t.position)};
    }
    return std::move(result.node);
}

Parser::Parsed Parser::finish(NodePtr node, bool constant)
{
    if (constant && node->type() != ExprType::Date)
        return {Literal::fold(*node, build_.slotCount), true};
    return {std::move(node), constant};
}

void Parser::missingOperand() const
{
    const Token &t = peek();
    if (pos_ == 0)
        throw ExprError{QStringLiteral("missing operand before %1 at position %2").arg(quoted(t)).arg(t.position)};
    const Token &before = tokens_[pos_ - 1];
    if (t.kind == TokenKind::End)
        throw ExprError{
            QStringLiteral("%1 at position %2 has no right operand").arg(quoted(before)).arg(before.position)};
    throw ExprError{QStringLiteral("missing operand between %1 and %2 at position %3")
                        .arg(quoted(before), quoted(t))
                        .arg(t.position)};
}

Parser::Parsed Parser::parseOr()
{
    const Nesting nesting(*this);
    Parsed left = parseAnd();
    while (peek().isKeyword("OR")) {
        take();
        Parsed right = parseAnd();
        const bool constant = left.constant && right.constant;
        left = finish(makeLogical(false, std::move(left.node), std::move(right.node)), constant);
    }
    return left;
}

Parser::Parsed Parser::parseAnd()
{
    Parsed left = parseNot();
    while (peek().isKeyword("AND")) {
        take();
        Parsed right = parseNot();
        const bool constant = left.constant && right.constant;
        left = finish(makeLogical(true, std::move(left.node), std::move(right.node)), constant);
    }
    return left;
}

// NOT binds looser than comparisons: NOT Code = 60 is NOT (Code = 60).
Parser::Parsed Parser::parseNot()
{
    if (!peek().isKeyword("NOT"))
        return parseComparison();
    take();
    const Nesting nesting(*this);
    Parsed operand = parseNot();
    return finish(makeNot(std::move(operand.node)), operand.constant);
}

Parser::Parsed Parser::parseComparison()
{
    Parsed left = parseAdditive();
    CompareOp op;
    if (!comparisonOf(peek(), &op))
        return left;
    take();
    Parsed right = parseAdditive();
    CompareOp again;
    if (comparisonOf(peek(), &again))
        throw ExprError{QStringLiteral("comparisons cannot be chained (\"%1\" at position %2)")
                            .arg(peek().text)
                            .arg(peek().position)};
    const bool constant = left.constant && right.constant;
    return finish(makeComparison(op, std::move(left.node), std::move(right.node), build_), constant);
}

Parser::Parsed Parser::parseAdditive()
{
    Parsed left = parseTerm();
    while (peek().is("+") || peek().is("-")) {
        const QChar op = take().text[0];
        Parsed right = parseTerm();
        const bool constant = left.constant && right.constant;
        left = finish(makeArithmetic(op, std::move(left.node), std::move(right.node), build_), constant);
    }
    return left;
}

Parser::Parsed Parser::parseTerm()
{
    Parsed left = parseUnary();
    while (peek().is("*") || peek().is("/")) {
        const QChar op = take().text[0];
        Parsed right = parseUnary();
        const bool constant = left.constant && right.constant;
        left = finish(makeArithmetic(op, std::move(left.node), std::move(right.node), build_), constant);
    }
    return left;
}

Parser::Parsed Parser::parseUnary()
{
    if (!peek().is("-"))
        return parsePrimary();
    take();
    const Nesting nesting(*this);
    Parsed operand = parseUnary();
    return finish(makeNegation(std::move(operand.node)), operand.constant);
}

Parser::Parsed Parser::parsePrimary()
{
    const Token &t = peek();
    switch (t.kind) {
    case TokenKind::Integer: take(); return {std::make_unique<Literal>(t.integer), true};
    case TokenKind::Float: take(); return {std::make_unique<Literal>(t.number), true};
    case TokenKind::String:
        take();
        return {std::make_unique<Literal>(build_.codePage->encode(t.text).toStdString()), true};
    case TokenKind::Name:
        if (t.isKeyword("AND") || t.isKeyword("OR") || t.isKeyword("NOT"))
            missingOperand();
        return parseName();
    case TokenKind::Operator:
        if (t.is("(")) {
            const int open = t.position;
            take();
            Parsed inner = parseOr();
            if (!peek().is(")")) {
                if (peek().kind == TokenKind::End)
                    throw ExprError{QStringLiteral("\"(\" at position %1 is not closed").arg(open)};
                throw ExprError{
                    QStringLiteral("expected \")\" before %1 at position %2").arg(quoted(peek())).arg(peek().position)};
            }
            take();
            return inner;
        }
        break;
    case TokenKind::End: break;
    }
    missingOperand();
}

// A field, or a function call when "(" follows the name.
Parser::Parsed Parser::parseName()
{
    const Token &name = take();
    if (!peek().is("(")) {
        const int index = schema_.indexOf(name.text);
        if (index < 0)
            throw ExprError{QStringLiteral("unknown field \"%1\"").arg(name.text)};
        return {makeFieldNode(schema_.fields[size_t(index)]), false};
    }
    take();
    std::vector<NodePtr> args;
    bool constant = true;
    if (!peek().is(")")) {
        while (true) {
            Parsed arg = parseOr();
            constant = constant && arg.constant;
            args.push_back(std::move(arg.node));
            if (!peek().is(","))
                break;
            take();
        }
        if (!peek().is(")")) {
            if (peek().kind == TokenKind::End)
                throw ExprError{QStringLiteral("the argument list of %1 is not closed").arg(name.text)};
            throw ExprError{QStringLiteral("expected \",\" or \")\" before %1 at position %2")
                                .arg(quoted(peek()))
                                .arg(peek().position)};
        }
    }
    take();
    return finish(makeFunction(name.text, std::move(args), build_), constant);
}

} // namespace tables::expr
