#pragma once

#include "FieldDef.h"

#include <QByteArray>
#include <QDate>
#include <QString>

#include <cstdint>
#include <memory>

namespace tables {

struct ExprOptions {
    bool caseInsensitive = false; // string comparisons and patterns fold case
    bool noPartialCompare = false; // '*' in a right-hand literal is an ordinary character
};

enum class ExprType { String, Integer, Float, Date, Boolean };

// One result of an expression; only the member of `type` is meaningful.
struct ExprValue {
    ExprType type = ExprType::Boolean;
    QByteArray text; // String: bytes in the table's code page
    std::int64_t i = 0;
    double f = 0;
    QDate date; // an empty date is 1899-12-30
    bool b = false;
};

// A compiled filter or index expression in TDbf's expression language, bound
// to one table layout. Evaluation reads a raw record buffer and never parses
// again. Copies share the immutable compiled tree; evaluation keeps its
// scratch text per thread, so several threads may evaluate at once.
class Expression {
public:
    Expression(); // empty: isEmpty() true, accepts every record

    // Throws TableError whose message names the expression text. A blank text
    // gives an empty expression.
    static Expression compile(const QString &text, const TableSchema &schema, ExprOptions options = {});

    bool isEmpty() const { return impl_ == nullptr; }
    QString text() const;
    ExprType resultType() const;

    // record = raw record bytes, deletion byte at offset 0.
    ExprValue evaluate(const char *record) const;
    // TDbf's filter rule: the first byte of the result is non-zero (a true
    // boolean, a non-empty string, an integer whose low byte is not 0...).
    bool accepts(const char *record) const;
    // The result as Unicode text (numbers plainly, dates YYYY-MM-DD, T/F).
    QString valueText(const char *record) const;

private:
    struct Impl;
    explicit Expression(std::shared_ptr<const Impl> impl);

    std::shared_ptr<const Impl> impl_;
};

} // namespace tables
