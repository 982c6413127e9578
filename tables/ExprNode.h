#pragma once

#include "Expression.h"

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

namespace codepages {
class CodePage;
}

namespace tables {
using codepages::CodePage;
}

namespace tables::expr {

// What one evaluation sees: the record and the scratch strings of the nodes
// that build text (one per node, indexed by the node's slot).
struct EvalContext {
    const char *record = nullptr;
    std::string *scratch = nullptr;
};

// State shared while an expression is being built.
struct BuildContext {
    const CodePage *codePage = nullptr;
    ExprOptions options;
    int slotCount = 0;

    int newSlot() { return slotCount++; }
};

// A node of the compiled tree. The parser checks types, so a node is only
// asked for the value of its own type(); Integer nodes also answer number().
class Node {
public:
    explicit Node(ExprType type) : type_(type) {}
    virtual ~Node() = default;
    Node(const Node &) = delete;
    Node &operator=(const Node &) = delete;

    ExprType type() const { return type_; }
    bool isNumeric() const { return type_ == ExprType::Integer || type_ == ExprType::Float; }

    virtual bool boolean(const EvalContext &ctx) const;
    virtual std::int64_t integer(const EvalContext &ctx) const;
    virtual double number(const EvalContext &ctx) const; // Float, or an Integer widened
    // Valid until the evaluation that asked for it ends.
    virtual std::string_view string(const EvalContext &ctx) const;
    virtual std::int64_t day(const EvalContext &ctx) const; // Date: Julian day number
    // A C field read as it is stored: its place in the record. A value of
    // such a node begins with the stored bytes, so comparisons can reject a
    // record on those bytes before trimming.
    virtual bool storedText(int *, int *) const { return false; }

private:
    ExprType type_;
};

using NodePtr = std::unique_ptr<Node>;

// Julian day of 1899-12-30, the value of an empty or impossible date.
std::int64_t zeroDay();

// "a text", "an integer"... for messages.
QString typeName(ExprType type);

// A value known at compile time: literals and folded constant sub-expressions.
class Literal final : public Node {
public:
    explicit Literal(std::string text) : Node(ExprType::String), text_(std::move(text)) {}
    explicit Literal(std::int64_t value) : Node(ExprType::Integer), integer_(value) {}
    explicit Literal(double value) : Node(ExprType::Float), number_(value) {}
    explicit Literal(bool value) : Node(ExprType::Boolean), boolean_(value) {}

    // Evaluates a node that reads no record (scratch sized for all slots so far).
    static NodePtr fold(const Node &node, int slotCount);

    bool boolean(const EvalContext &) const override { return boolean_; }
    std::int64_t integer(const EvalContext &) const override { return integer_; }
    double number(const EvalContext &) const override
    {
        return type() == ExprType::Integer ? double(integer_) : number_;
    }
    std::string_view string(const EvalContext &) const override { return text_; }
    const std::string &text() const { return text_; }

private:
    std::string text_;
    std::int64_t integer_ = 0;
    double number_ = 0;
    bool boolean_ = false;
};

} // namespace tables::expr
