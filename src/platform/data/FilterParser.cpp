#include "platform/core/Decimal.h"
#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/data/FilterNode.h"

#include <vector>

namespace fat::data {

namespace {

struct Token {
    enum class Kind { Name, Text, Number, Op, Open, Close, Keyword, End } kind = Kind::End;
    std::string text; // the name, the literal's value, the operator or the keyword (upper case)
    std::size_t position = 0; // 1-based
    std::string shown;        // as written, for messages
};

bool IsNameStart(char c) {
    return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_' ||
           static_cast<unsigned char>(c) >= 0xC0;
}

bool IsNameChar(char c) { return IsNameStart(c) || (c >= '0' && c <= '9') || c == '$'; }

class Parser {
public:
    explicit Parser(const std::string& text) : text_(text) { tokenize(); }

    std::unique_ptr<FilterNode> parse() {
        if (peek().kind == Token::Kind::End) fail("the expression is empty", peek());
        auto node = parseOr();
        if (peek().kind != Token::Kind::End) unexpected(peek());
        return node;
    }

private:
    const std::string& text_;
    std::vector<Token> tokens_;
    std::size_t at_ = 0;
    int depth_ = 0; // parentheses and NOTs open at this point

    [[noreturn]] void fail(const std::string& what, const Token& t) const {
        throw Error("Invalid filter \"" + text_ + "\": " + what + " at position " + std::to_string(t.position));
    }
    [[noreturn]] void unexpected(const Token& t) const {
        if (t.kind == Token::Kind::End) fail("unexpected end of the expression", t);
        fail("unexpected '" + t.shown + "'", t);
    }

    void tokenize() {
        std::size_t i = 0;
        const std::size_t n = text_.size();
        while (true) {
            while (i < n && static_cast<unsigned char>(text_[i]) <= ' ') ++i;
            Token t;
            t.position = i + 1;
            if (i >= n) {
                tokens_.push_back(t);
                return;
            }
            const char c = text_[i];
            const std::size_t start = i;
            if (c == '\'') {
                t.kind = Token::Kind::Text;
                ++i;
                while (true) {
                    if (i >= n) fail("text constant not closed", t);
                    if (text_[i] == '\'') {
                        if (i + 1 < n && text_[i + 1] == '\'') {
                            t.text += '\'';
                            i += 2;
                            continue;
                        }
                        ++i;
                        break;
                    }
                    t.text += text_[i++];
                }
            } else if (c == '[') {
                t.kind = Token::Kind::Name;
                const auto close = text_.find(']', i + 1);
                if (close == std::string::npos) fail("field name not closed", t);
                t.text = text_.substr(i + 1, close - i - 1);
                i = close + 1;
            } else if ((c >= '0' && c <= '9') || (c == '.' && i + 1 < n && text_[i + 1] >= '0' && text_[i + 1] <= '9')) {
                t.kind = Token::Kind::Number;
                while (i < n && ((text_[i] >= '0' && text_[i] <= '9') || text_[i] == '.')) ++i;
                t.text = text_.substr(start, i - start);
                if (i < n && IsNameChar(text_[i])) {
                    while (i < n && IsNameChar(text_[i])) ++i;
                    t.shown = text_.substr(start, i - start);
                    fail("invalid number '" + t.shown + "'", t);
                }
            } else if (IsNameStart(c)) {
                while (i < n && IsNameChar(text_[i])) ++i;
                t.text = text_.substr(start, i - start);
                const std::string upper = UpperCase(t.text);
                if (upper == "AND" || upper == "OR" || upper == "NOT" || upper == "IS" || upper == "NULL" ||
                    upper == "TRUE" || upper == "FALSE") {
                    t.kind = Token::Kind::Keyword;
                    t.text = upper;
                } else {
                    t.kind = Token::Kind::Name;
                }
            } else if (c == '(' || c == ')') {
                t.kind = c == '(' ? Token::Kind::Open : Token::Kind::Close;
                t.text = std::string(1, c);
                ++i;
            } else if (c == '=' || c == '<' || c == '>') {
                t.kind = Token::Kind::Op;
                ++i;
                if (i < n && ((c == '<' && (text_[i] == '=' || text_[i] == '>')) || (c == '>' && text_[i] == '=')))
                    ++i;
                t.text = text_.substr(start, i - start);
            } else if (c == '-') {
                // A sign belongs to the number that follows.
                ++i;
                while (i < n && text_[i] == ' ') ++i;
                if (i < n && ((text_[i] >= '0' && text_[i] <= '9') || text_[i] == '.')) {
                    const std::size_t digits = i;
                    while (i < n && ((text_[i] >= '0' && text_[i] <= '9') || text_[i] == '.')) ++i;
                    t.kind = Token::Kind::Number;
                    t.text = "-" + text_.substr(digits, i - digits);
                } else {
                    fail("unexpected '-'", t);
                }
            } else {
                fail("unexpected '" + std::string(1, c) + "'", t);
            }
            if (t.shown.empty()) t.shown = text_.substr(start, i - start);
            tokens_.push_back(t);
        }
    }

    const Token& peek() const { return tokens_[at_]; }
    const Token& take() { return tokens_[at_++]; }
    bool takeKeyword(const char* word) {
        if (peek().kind == Token::Kind::Keyword && peek().text == word) {
            ++at_;
            return true;
        }
        return false;
    }

    std::unique_ptr<FilterNode> parseOr() { return parseChain(FilterNode::Kind::Or, "OR"); }
    std::unique_ptr<FilterNode> parseAnd() { return parseChain(FilterNode::Kind::And, "AND"); }

    // "t OR t OR t" (each t an AND chain) or "t AND t AND t" (each t a NOT term), as one node.
    std::unique_ptr<FilterNode> parseChain(FilterNode::Kind kind, const char* word) {
        auto first = kind == FilterNode::Kind::Or ? parseAnd() : parseNot();
        if (peek().kind != Token::Kind::Keyword || peek().text != word) return first;
        auto node = std::make_unique<FilterNode>();
        node->kind = kind;
        node->terms.push_back(std::move(first));
        while (takeKeyword(word)) node->terms.push_back(kind == FilterNode::Kind::Or ? parseAnd() : parseNot());
        return node;
    }

    // Counts a level of parentheses or NOT while it is parsed.
    class Nesting {
    public:
        Nesting(Parser& parser, const Token& at) : parser_(parser) {
            if (++parser_.depth_ > MaxFilterNesting)
                parser_.fail("nested more than " + std::to_string(MaxFilterNesting) + " levels deep", at);
        }
        ~Nesting() { --parser_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        Parser& parser_;
    };

    std::unique_ptr<FilterNode> parseNot() {
        const Token& at = peek();
        if (takeKeyword("NOT")) {
            const Nesting level(*this, at);
            auto node = std::make_unique<FilterNode>();
            node->kind = FilterNode::Kind::Not;
            node->terms.push_back(parseNot());
            return node;
        }
        return parsePrimary();
    }

    std::unique_ptr<FilterNode> parsePrimary() {
        if (peek().kind == Token::Kind::Open) {
            const Nesting level(*this, take());
            auto inner = parseOr();
            if (peek().kind != Token::Kind::Close) {
                if (peek().kind == Token::Kind::End) fail("')' expected", peek());
                unexpected(peek());
            }
            take();
            return inner;
        }
        auto node = std::make_unique<FilterNode>();
        node->a = parseOperand();
        if (takeKeyword("IS")) {
            node->kind = FilterNode::Kind::IsNull;
            node->negated = takeKeyword("NOT");
            if (!takeKeyword("NULL")) {
                if (peek().kind == Token::Kind::End) fail("NULL expected", peek());
                unexpected(peek());
            }
            return node;
        }
        if (peek().kind != Token::Kind::Op) {
            if (peek().kind == Token::Kind::End) fail("comparison operator expected", peek());
            unexpected(peek());
        }
        const std::string op = take().text;
        node->kind = FilterNode::Kind::Compare;
        node->op = op == "=" ? FilterOp::Equal
                 : op == "<>" ? FilterOp::NotEqual
                 : op == "<" ? FilterOp::Less
                 : op == "<=" ? FilterOp::LessEqual
                 : op == ">" ? FilterOp::Greater
                             : FilterOp::GreaterEqual;
        node->b = parseOperand();
        return node;
    }

    FilterOperand parseOperand() {
        const Token& t = peek();
        FilterOperand o;
        switch (t.kind) {
        case Token::Kind::Name:
            o.kind = FilterOperand::Kind::Field;
            o.name = t.text;
            break;
        case Token::Kind::Text:
            o.kind = FilterOperand::Kind::Text;
            o.value = Value::fromString(t.text);
            break;
        case Token::Kind::Number: {
            o.kind = FilterOperand::Kind::Number;
            Decimal d;
            try {
                d = Decimal::parse(t.text);
            } catch (const ConversionError&) {
                fail("invalid number '" + t.shown + "'", t);
            }
            o.scale = d.scale();
            o.value = d.scale() == 0 ? Value::fromInteger(d.unscaled()) : Value::fromDecimal(d);
            break;
        }
        case Token::Kind::Keyword:
            if (t.text == "TRUE" || t.text == "FALSE") {
                o.kind = FilterOperand::Kind::Boolean;
                o.value = Value::fromBoolean(t.text == "TRUE");
                break;
            }
            unexpected(t);
        case Token::Kind::End:
            fail("operand expected", t);
        default:
            unexpected(t);
        }
        take();
        return o;
    }
};

} // namespace

std::unique_ptr<FilterNode> ParseFilter(const std::string& text) { return Parser(text).parse(); }

} // namespace fat::data
