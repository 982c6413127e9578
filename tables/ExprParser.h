#pragma once

#include "ExprLexer.h"
#include "ExprNode.h"

#include <vector>

namespace tables::expr {

// Recursive descent over the tokens, usual precedence, loosest first:
// OR, AND, NOT, comparisons, + -, * /, unary minus. Sub-expressions that read
// no field are folded into literals. ExprError on any fault.
class Parser {
public:
    Parser(const QString &text, const TableSchema &schema, BuildContext &build);

    NodePtr parse();

private:
    struct Parsed {
        NodePtr node;
        bool constant = false;
    };

    Parsed parseOr();
    Parsed parseAnd();
    Parsed parseNot();
    Parsed parseComparison();
    Parsed parseAdditive();
    Parsed parseTerm();
    Parsed parseUnary();
    Parsed parsePrimary();
    Parsed parseName();

    // Folds the node when it depends on constants only.
    Parsed finish(NodePtr node, bool constant);
    const Token &peek() const { return tokens_[pos_]; }
    const Token &take() { return tokens_[pos_++]; }
    [[noreturn]] void missingOperand() const;
    // Bounds the recursion of parentheses, NOT, unary minus and arguments.
    struct Nesting {
        explicit Nesting(Parser &parser);
        ~Nesting() { --parser.depth_; }
        Parser &parser;
    };

    std::vector<Token> tokens_;
    size_t pos_ = 0;
    int depth_ = 0;
    const TableSchema &schema_;
    BuildContext &build_;
};

} // namespace tables::expr
