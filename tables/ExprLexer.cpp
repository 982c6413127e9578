#include "ExprLexer.h"

#include "ExprError.h"

namespace tables::expr {

namespace {

bool isDigit(QChar c) { return c >= u'0' && c <= u'9'; }
bool isHexDigit(QChar c) { return isDigit(c) || (c >= u'a' && c <= u'f') || (c >= u'A' && c <= u'F'); }
bool isNameStart(QChar c) { return c == u'_' || c.isLetter(); }
bool isNameChar(QChar c) { return c == u'_' || c.isLetterOrNumber(); }

class Lexer {
public:
    explicit Lexer(const QString &text) : s_(text) {}

    std::vector<Token> run()
    {
        std::vector<Token> tokens;
        while (true) {
            while (pos_ < s_.size() && s_[pos_].isSpace())
                ++pos_;
            if (pos_ >= s_.size())
                break;
            tokens.push_back(next());
        }
        Token end;
        end.position = int(s_.size()) + 1;
        tokens.push_back(end);
        return tokens;
    }

private:
    QChar at(qsizetype i) const { return i < s_.size() ? s_[i] : QChar(); }

    Token next()
    {
        Token t;
        t.position = int(pos_) + 1;
        const QChar c = s_[pos_];
        if (c == u'\'' || c == u'"')
            return string(t, c);
        if (isDigit(c) || (c == u'.' && isDigit(at(pos_ + 1))))
            return decimal(t);
        if (c == u'$')
            return hex(t);
        if (isNameStart(c)) {
            const qsizetype start = pos_;
            while (pos_ < s_.size() && isNameChar(s_[pos_]))
                ++pos_;
            t.kind = TokenKind::Name;
            t.text = s_.mid(start, pos_ - start);
            return t;
        }
        static const char *const twoChar[] = {"<>", "<=", ">="};
        for (const char *op : twoChar)
            if (c == QLatin1Char(op[0]) && at(pos_ + 1) == QLatin1Char(op[1])) {
                pos_ += 2;
                t.kind = TokenKind::Operator;
                t.text = QLatin1String(op);
                return t;
            }
        if (QStringLiteral("+-*/=<>(),").contains(c)) {
            ++pos_;
            t.kind = TokenKind::Operator;
            t.text = c;
            return t;
        }
        throw ExprError{QStringLiteral("unexpected character \"%1\" at position %2").arg(c).arg(t.position)};
    }

    // 'text' or "text"; the delimiter doubled stands for itself.
    Token string(Token t, QChar quote)
    {
        ++pos_;
        while (true) {
            if (pos_ >= s_.size())
                throw ExprError{QStringLiteral("unterminated string starting at position %1").arg(t.position)};
            if (s_[pos_] == quote) {
                if (at(pos_ + 1) != quote)
                    break;
                ++pos_;
            }
            t.text += s_[pos_++];
        }
        ++pos_;
        t.kind = TokenKind::String;
        return t;
    }

    // 10, 010, 10., .5, 1.25e0, 1e3: integers without '.' or exponent.
    Token decimal(Token t)
    {
        const qsizetype start = pos_;
        bool isFloat = false;
        while (isDigit(at(pos_)))
            ++pos_;
        if (at(pos_) == u'.') {
            isFloat = true;
            ++pos_;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        if ((at(pos_) == u'e' || at(pos_) == u'E')
            && (isDigit(at(pos_ + 1)) || ((at(pos_ + 1) == u'+' || at(pos_ + 1) == u'-') && isDigit(at(pos_ + 2))))) {
            isFloat = true;
            pos_ += 2;
            while (isDigit(at(pos_)))
                ++pos_;
        }
        t.text = s_.mid(start, pos_ - start);
        bool ok = false;
        if (!isFloat) {
            t.integer = t.text.toLongLong(&ok, 10);
            if (ok) {
                t.kind = TokenKind::Integer;
                return t;
            }
        }
        // too large for an integer, or written as a decimal
        t.kind = TokenKind::Float;
        t.number = t.text.toDouble(&ok);
        return t;
    }

    // $1E
    Token hex(Token t)
    {
        const qsizetype start = ++pos_;
        while (isHexDigit(at(pos_)))
            ++pos_;
        bool ok = false;
        t.text = s_.mid(start - 1, pos_ - start + 1);
        t.integer = s_.mid(start, pos_ - start).toLongLong(&ok, 16);
        if (!ok)
            throw ExprError{
                QStringLiteral("\"%1\" at position %2 is no hexadecimal number").arg(t.text).arg(t.position)};
        t.kind = TokenKind::Integer;
        return t;
    }

    const QString &s_;
    qsizetype pos_ = 0;
};

} // namespace

std::vector<Token> tokenize(const QString &text) { return Lexer(text).run(); }

} // namespace tables::expr
