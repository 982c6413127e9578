#pragma once

#include "Expression.h"
#include "FieldDef.h"
#include "MdxKey.h"

#include <QByteArray>
#include <QString>

#include <vector>

namespace tables {

// Computes a tag's key from a record buffer, as dBase builds index keys.
// Character keys are fixed-length bytes: a field contributes its stored bytes
// (padded, not trimmed), so NAME+FIRM is the two padded fields; other string
// terms (DTOS(DAY), UPPER(NAME), LEFT(NAME,5), STR(CODE,6)...) are evaluated
// and padded with spaces to the length the term stands for. Numeric keys are
// BCD of the field or expression value (an empty field is 0).
class MdxKeySource {
public:
    // TableError when the expression is invalid or of a type that has no
    // index key (dates, logicals: index DTOS(field) instead).
    static MdxKeySource compile(const QString &expression, const TableSchema &schema);

    MdxKeyType type() const { return type_; }
    int length() const { return length_; }
    // The expression is one field of the table (named fieldName()).
    bool isField() const { return isField_; }
    const QString &fieldName() const { return fieldName_; }
    const QString &expression() const { return expression_; }

    QByteArray key(const char *record) const;
    // Writes length() bytes.
    void keyInto(const char *record, char *out) const;

private:
    struct Part {
        int offset = 0; // a stored field: bytes of the record
        int size = 0;
        Expression expr; // otherwise: its text, cut or padded to `size`
    };

    MdxKeyType type_ = MdxKeyType::Character;
    int length_ = 0;
    bool isField_ = false;
    QString fieldName_;
    QString expression_;
    std::vector<Part> parts_;
    // Numeric keys.
    FieldDef field_;
    bool fieldIsFloat_ = false;
    Expression numericExpr_;
};

} // namespace tables
