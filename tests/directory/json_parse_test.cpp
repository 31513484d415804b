#include "directory/JsonArray.h"
#include "directory/JsonConstants.h"
#include "directory/JsonErrors.h"
#include "directory/JsonNumber.h"
#include "directory/JsonObject.h"
#include "directory/JsonString.h"
#include "directory/JsonTokener.h"

#include <gtest/gtest.h>

#include <string>

using namespace fat::directory;

namespace {

// Each entry as class=text, "(empty)" for an empty entry, joined by " | ".
std::string Describe(const TJSONArray& array) {
    std::string out;
    for (int i = 0; i < array.length(); ++i) {
        if (i) out += " | ";
        const TZAbstractObject* v = array.opt(i);
        out += v ? std::string(v->className()) + "=" + v->toString() : "(empty)";
    }
    return out;
}

// The message of the ParseException the text raises ("" when it parses).
std::string ParseFailure(const std::string& text) {
    try {
        TJSONArray array(text);
    } catch (const ParseException& e) {
        return e.what();
    }
    return "";
}

} // namespace

TEST(JsonParse, LenientGrammar) {
    struct Case {
        const char* text;
        const char* entries;
    };
    const Case cases[] = {
        {"[]", ""},
        {"[,]", "(empty)"},
        {"[1,,2]", "_Double=\"1.00\" | (empty) | _Double=\"2.00\""},
        {"[1,2,]", "_Double=\"1.00\" | _Double=\"2.00\""},
        {"[1;2;]", "_Double=\"1.00\" | _Double=\"2.00\""},
        {" \t\r\n/* block */ // line\n # hash\n[ /*in*/ 1 # tail\n ]", "_Double=\"1.00\""},
        {"[True, NULL, false]", "_Boolean=true | NULL=null | _Boolean=false"},
        {"['single', \"double\", bare]", "_String=single | _String=double | _String=bare"},
        {"[0, 00, 012, 0x1F, 0XfF, 0x7FFFFFFF]",
         "_Integer=0 | _Double=\"0.00\" | _Double=\"12.00\" | _Integer=31 | _Integer=255 | _Integer=2147483647"},
        {"[-7.5, +3, .5, 0.25, 0., 1e3, -0]",
         "_Double=\"-7.50\" | _Double=\"3.00\" | _Double=\"0.50\" | _Double=\"0.25\" | _Double=\"0.00\" | "
         "_Double=\"1000.00\" | _Double=\"0.00\""},
        // Tokens that look like numbers but are not stay words.
        {"[12ab, 0x, 0xZZ, 0x80000000, -, ., 1e999, -inf, +-1]",
         "_String=12ab | _String=0x | _String=0xZZ | _String=0x80000000 | _String=- | _String=. | "
         "_String=1e999 | _String=-inf | _String=+-1"},
        {"[\"a\\u00e9\\u20AC\\u4e2d\\q\\/\\\"\\\\\\t\"]", "_String=a\xE9\x80?q/\"\\\t"},
        {"[[1,[]],{a:[2],'b':{}}]", "TJSONArray=[\"1.00\",[]] | TJSONObject={\"a\":[\"2.00\"],\"b\":{}}"},
        {"[1] trailing text, even [broken", "_Double=\"1.00\""},
        {"[\"\xC1gua\"]", "_String=\xC1gua"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            EXPECT_EQ(Describe(TJSONArray(c.text)), c.entries);
        } catch (const std::exception& e) {
            ADD_FAILURE() << e.what();
        }
    }
}

TEST(JsonParse, ObjectForms) {
    const TJSONArray array("[{ 'a' : 1 ; b => x }, {Id:1, id:2, k=v,}, {1:2}]");
    const TJSONObject& first = array.getJSONObject(0);
    ASSERT_EQ(first.length(), 2);
    EXPECT_EQ(first.keyAt(0), "a");
    EXPECT_EQ(first.keyAt(1), "b");
    EXPECT_STREQ(first.get("a").className(), "_Double");
    EXPECT_EQ(first.getDouble("a"), 1.0);
    EXPECT_STREQ(first.get("b").className(), "_String");
    EXPECT_EQ(first.getString("b"), "x");

    const TJSONObject& twice = array.getJSONObject(1);
    EXPECT_EQ(twice.length(), 3); // both "Id" and "id" stay
    EXPECT_EQ(twice.getInt("ID"), 1);
    EXPECT_EQ(twice.getString("K"), "v");
    EXPECT_EQ(twice.toString(), "{\"Id\":\"1.00\",\"id\":\"2.00\",\"k\":\"v\"}");

    // Accented keys are found ignoring case too.
    EXPECT_EQ(TJSONObject("{\"\xC1GUA\": 1}").getInt("\xE1gua"), 1);

    // A number as key is its text form.
    EXPECT_EQ(array.getJSONObject(2).keyAt(0), "\"1.00\"");
}

TEST(JsonParse, SharedInstances) {
    const TJSONArray array("[true, FALSE, null, tRuE, Null]");
    EXPECT_EQ(array.opt(0), &JsonTrue());
    EXPECT_EQ(array.opt(1), &JsonFalse());
    EXPECT_EQ(array.opt(2), &JsonNull());
    EXPECT_EQ(array.opt(3), &JsonTrue());
    EXPECT_EQ(array.opt(4), &JsonNull());
    {
        const TJSONArray another("[true, null]");
    } // freeing a container leaves the shared instances alone
    EXPECT_TRUE(JsonTrue().value());
    EXPECT_EQ(JsonNull().toString(), "null");
}

TEST(JsonParse, SyntaxErrors) {
    struct Case {
        std::string text;
        std::string message;
    };
    const Case cases[] = {
        {"", "A TJSONArray must start with \"[\""},
        {"  ", "A TJSONArray must start with \"[\""},
        {"{\"a\":1}", "A TJSONArray must start with \"[\""},
        {"[1 2]", "Expected a \",\" or \"]\""},
        {"[1", "Expected a \",\" or \"]\""},
        {"[1/2]", "Expected a \",\" or \"]\""},
        {"[", "Missing value."},
        {"[=]", "Missing value."},
        {"[{a:1]", "Expected a \",\" or \"}\""},
        {"[{a 1}]", "Expected a \":\" after a key"},
        {"[{a:1", "Expected a \",\" or \"}\""},
        {"[{", "A TJSONObject must end with \"}\""},
        {"[\"abc]", "Unterminated string"},
        {"[\"a\nb\"]", "Unterminated string"},
        {"['a\rb']", "Unterminated string"},
        {"[/* never closed", "Unclosed comment."},
        {"[\"\\u12\"]", "Substring bounds error"},
        {std::string(600, '['), "Nesting too deep."},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.substr(0, 40));
        const std::string message = ParseFailure(c.text);
        EXPECT_EQ(message.substr(0, c.message.size() + 14), c.message + " at character ") << message;
    }
}

TEST(JsonParse, SyntaxErrorLayout) {
    struct Case {
        const char* text;
        int position;
        const char* message;
    };
    const Case cases[] = {
        {"[1 2]", 5, "Expected a \",\" or \"]\" at character 5 of [1 2] pr\xF3ximo a : ]\n\r erro no caracter : 5"},
        // At the end there is nothing left to show.
        {"[1", 4, "Expected a \",\" or \"]\" at character 4 of [1 pr\xF3ximo a : \n\r erro no caracter : 4"},
        // Ten characters from the position, no more.
        {"[1 0123456789abc]", 5,
         "Expected a \",\" or \"]\" at character 5 of [1 0123456789abc] pr\xF3ximo a : 123456789a\n\r"
         " erro no caracter : 5"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text);
        try {
            TJSONArray array(c.text);
            ADD_FAILURE() << "parsed";
        } catch (const ParseException& e) {
            EXPECT_EQ(e.position(), c.position);
            EXPECT_EQ(std::string(e.what()), c.message);
        }
    }
}

TEST(JsonParse, BadUnicodeEscapeIsAConversionError) {
    EXPECT_THROW(TJSONArray("[\"\\u00zz\"]"), fat::ConversionError);
    try {
        TJSONArray("[\"\\u00zz\"]");
    } catch (const ParseException&) {
        ADD_FAILURE() << "not a parse error";
    } catch (const fat::ConversionError&) {
    }
}

TEST(JsonTokener, ReadsPastTheEndAsZero) {
    JSONTokener x("ab");
    EXPECT_EQ(x.next(), 'a');
    EXPECT_EQ(x.next(), 'b');
    EXPECT_EQ(x.position(), 3);
    EXPECT_EQ(x.next(), 0);
    EXPECT_EQ(x.position(), 4); // the first read past the end still advances
    EXPECT_EQ(x.next(), 0);
    EXPECT_EQ(x.position(), 4);
    x.back();
    x.back();
    x.back();
    x.back();
    x.back();
    EXPECT_EQ(x.position(), 1); // never before the first character
    EXPECT_EQ(x.toString(), " at character 1 of ab");

    JSONTokener y("abcd");
    EXPECT_THROW(y.next(4), ParseException); // needs one character more than it takes
    EXPECT_EQ(y.next(3), "abc");
    EXPECT_EQ(y.position(), 4);
}
