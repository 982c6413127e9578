#pragma once

#include <QString>

#include <cstdint>
#include <vector>

namespace tables::expr {

enum class TokenKind { End, Integer, Float, String, Name, Operator };

struct Token {
    TokenKind kind = TokenKind::End;
    QString text; // as written (a string's content without quotes and escapes)
    std::int64_t integer = 0;
    double number = 0;
    int position = 0; // 1-based character position in the expression

    bool is(const char *op) const { return kind == TokenKind::Operator && text == QLatin1String(op); }
    // AND, OR, NOT in any case.
    bool isKeyword(const char *word) const
    {
        return kind == TokenKind::Name && text.compare(QLatin1String(word), Qt::CaseInsensitive) == 0;
    }
};

// Splits an expression into tokens, ending with an End token; ExprError on a
// character that starts no token or an unterminated string.
std::vector<Token> tokenize(const QString &text);

} // namespace tables::expr
