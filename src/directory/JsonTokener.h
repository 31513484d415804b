#pragma once
#include "directory/JsonErrors.h"
#include "directory/JsonValue.h"

#include <string>

namespace fat::directory {

// Reads JSON text character by character, leniently: comments (#, //, /* */), single-quoted
// and unquoted strings, ';' as a separator, '=' and '=>' after keys, trailing separators.
// The position counts from 1; reading just past the end yields the end marker 0 and still
// advances, reading further yields 0 and stays.
class JSONTokener : public TZAbstractObject {
public:
    explicit JSONTokener(std::string source) : source_(std::move(source)) {}

    char next();
    // Steps back one character, never before the first.
    void back();
    // The next n characters; at least n + 1 must remain.
    std::string next(int n);
    // The next character that is not white space (codes 1..32) or inside a comment; 0 at the end.
    char nextClean();
    // The rest of a string opened by `quote`, escapes resolved, the closing quote consumed.
    std::string nextString(char quote);
    // One value: string, array, object, true/false/null, number or unquoted word. An unquoted
    // token ends at white space or at any of , : ] } / \ " [ { ; = # so that "[1 2]" is an
    // error, not the one word "1 2".
    JsonPtr nextValue();

    // A ParseException: the message, toString(), " próximo a : ", the next ten characters,
    // a line feed, a carriage return, " erro no caracter : " and the position.
    ParseException syntaxError(const std::string& message) const;
    // " at character " + position + " of " + the whole source text.
    std::string toString() const override;
    const char* className() const override { return "JSONTokener"; }

    int position() const { return position_; }
    const std::string& source() const { return source_; }

    // Held by the array and object parsers while they read their contents, so that a text
    // nested deeper than the limit fails instead of exhausting the stack.
    class Nesting {
    public:
        explicit Nesting(JSONTokener& tokener);
        ~Nesting() { --tokener_.depth_; }
        Nesting(const Nesting&) = delete;
        Nesting& operator=(const Nesting&) = delete;

    private:
        JSONTokener& tokener_;
    };
    static constexpr int kMaxNesting = 512;

private:
    int length() const { return static_cast<int>(source_.size()); }

    std::string source_;
    int position_ = 1;
    int depth_ = 0;
};

} // namespace fat::directory
