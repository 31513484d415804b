#include "directory/JsonArray.h"
#include "directory/JsonConstants.h"
#include "directory/JsonErrors.h"
#include "directory/JsonNumber.h"
#include "directory/JsonObject.h"
#include "directory/JsonString.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

using namespace fat::directory;

namespace {

const char* kSample = R"([{
    "s": "txt", "d": 5, "pos": 7.9, "neg": -7.9, "hex": 0x10, "zero": 0,
    "s75": "7.5", "s65": "6.5", "sneg": " -2.5 ", "sbad": "abc", "scomma": "7,5",
    "b": true, "n": null, "arr": [1, "two"], "o": {"k": 'v'}, "big": 1e12, "sbig": "3e9"
}])";

// The type and message of the exception the call raises.
std::string Failure(const std::function<void()>& call) {
    try {
        call();
    } catch (const ParseException& e) {
        return std::string("ParseException: ") + e.what();
    } catch (const NoSuchElementException& e) {
        return std::string("NoSuchElementException: ") + e.what();
    } catch (const NumberFormatException& e) {
        return std::string("NumberFormatException: ") + e.what();
    } catch (const NullPointerException& e) {
        return std::string("NullPointerException: ") + e.what();
    } catch (const NotImplmentedFeature& e) {
        return std::string("NotImplmentedFeature: ") + e.what();
    } catch (const fat::ConversionError&) {
        return "ConversionError";
    }
    return "no error";
}

} // namespace

TEST(JsonValues, ObjectGetters) {
    const TJSONArray array(kSample);
    const TJSONObject& o = array.getJSONObject(0);

    EXPECT_EQ(o.getString("s"), "txt");
    EXPECT_EQ(o.getString("S"), "txt");
    EXPECT_EQ(o.getString("d"), "\"5.00\""); // the quotes belong to the text
    EXPECT_EQ(o.getString("b"), "true");
    EXPECT_EQ(o.getString("n"), "null");
    EXPECT_EQ(o.getString("arr"), "[\"1.00\",\"two\"]");
    EXPECT_EQ(o.getString("o"), "{\"k\":\"v\"}");

    struct IntCase {
        const char* key;
        int value;
    };
    const IntCase ints[] = {
        {"pos", 7}, {"neg", -7}, {"hex", 16}, {"zero", 0}, {"d", 5},
        {"s75", 8}, {"s65", 6}, {"sneg", -2}, // strings round, ties to even
    };
    for (const auto& c : ints) EXPECT_EQ(o.getInt(c.key), c.value) << c.key;

    EXPECT_DOUBLE_EQ(o.getDouble("pos"), 7.9);
    EXPECT_DOUBLE_EQ(o.getDouble("hex"), 16.0);
    EXPECT_DOUBLE_EQ(o.getDouble("s75"), 7.5);
    EXPECT_EQ(o.getJSONArray("ARR").length(), 2);
    EXPECT_EQ(o.opt("missing"), nullptr);
}

TEST(JsonValues, GetterErrors) {
    const TJSONArray array(R"([1,,{"a":1},"x",[2]])");
    const TJSONArray sample(kSample);
    const TJSONObject& o = sample.getJSONObject(0);
    struct Case {
        const char* name;
        std::function<void()> call;
        const char* failure;
    };
    const Case cases[] = {
        {"get missing", [&] { o.get("missing"); }, "NoSuchElementException: TJSONObject[\"missing\"] not found."},
        {"getString missing", [&] { o.getString("nome"); }, "NoSuchElementException: TJSONObject[\"nome\"] not found."},
        {"getInt missing", [&] { o.getInt("codigo"); }, "NoSuchElementException: TJSONObject[\"codigo\"] not found."},
        {"quoted key", [&] { o.get("a\"b\\c"); }, "NoSuchElementException: TJSONObject[\"a\\\"b\\\\c\"] not found."},
        {"getDouble of a boolean", [&] { o.getDouble("b"); }, "NumberFormatException: TJSONObject[\"b\"] is not a number."},
        {"getInt of null", [&] { o.getInt("n"); }, "NumberFormatException: TJSONObject[\"n\"] is not a number."},
        {"getInt of an array", [&] { o.getInt("arr"); }, "NumberFormatException: TJSONObject[\"arr\"] is not a number."},
        {"getInt of a word", [&] { o.getInt("sbad"); }, "ConversionError"},
        {"decimal comma", [&] { o.getDouble("scomma"); }, "ConversionError"},
        {"beyond 32 bits", [&] { o.getInt("big"); }, "ConversionError"},
        {"string beyond 32 bits", [&] { o.getInt("sbig"); }, "ConversionError"},
        {"getJSONArray missing", [&] { o.getJSONArray("bancos"); },
         "NoSuchElementException: TJSONObject[\"bancos\"] is not a TJSONArray."},
        {"getJSONArray of an object", [&] { o.getJSONArray("o"); },
         "NoSuchElementException: TJSONObject[\"o\"] is not a TJSONArray."},
        {"empty key", [&] { o.opt(""); }, "NullPointerException: Null key"},
        {"array empty entry", [&] { array.get(1); }, "NoSuchElementException: TJSONArray[1] not found."},
        {"array past the end", [&] { array.get(5); }, "NoSuchElementException: TJSONArray[5] not found."},
        {"array negative", [&] { array.getJSONObject(-1); }, "NoSuchElementException: TJSONArray[-1] not found."},
        {"array number not object", [&] { array.getJSONObject(0); },
         "NoSuchElementException: TJSONArray[0] is not a TJSONObject is _Double"},
        {"array string not object", [&] { array.getJSONObject(3); },
         "NoSuchElementException: TJSONArray[3] is not a TJSONObject is _String"},
        {"array array not object", [&] { array.getJSONObject(4); },
         "NoSuchElementException: TJSONArray[4] is not a TJSONObject is TJSONArray"},
        {"clone of an array", [&] { array.clone(); }, "NotImplmentedFeature: Rotina N\xE3o Implementada"},
        {"clone of null", [&] { JsonNull().clone(); }, "NotImplmentedFeature: Rotina N\xE3o Implementada"},
    };
    for (const auto& c : cases) EXPECT_EQ(Failure(c.call), c.failure) << c.name;
    EXPECT_EQ(array.getJSONObject(2).getInt("A"), 1);
}

TEST(JsonValues, TextForms) {
    struct Case {
        double value;
        const char* text;
    };
    const Case doubles[] = {
        {5, "\"5.00\""}, {2.5, "\"2.50\""}, {-7.9, "\"-7.90\""}, {1234567.891, "\"1234567.89\""},
        {-0.001, "\"0.00\""}, {0.125, "\"0.12\""}, {1e15, "\"1000000000000000.00\""},
    };
    for (const auto& c : doubles) EXPECT_EQ(JSONDouble(c.value).toString(), c.text) << c.value;
    EXPECT_EQ(JSONInteger(-31).toString(), "-31");
    EXPECT_EQ(JSONString("a\"b").toString(), "a\"b");

    const TJSONArray array("[\"q\\\"uo\\\\te\\n\", null, , true, 0x1F, {'k': [false]}]");
    EXPECT_EQ(array.toString(), "[\"q\\\"uo\\\\te\\n\",null,null,true,31,{\"k\":[false]}]");
}

TEST(JsonValues, EqualsAndClone) {
    const JSONString abc("Abc"), same("Abc"), lower("abc");
    EXPECT_TRUE(abc.equals(&same));
    EXPECT_FALSE(abc.equals(&lower));
    EXPECT_FALSE(abc.equals(nullptr));
    EXPECT_TRUE(JsonNull().equals(nullptr));
    EXPECT_TRUE(JsonNull().equals(&JsonNull()));
    EXPECT_FALSE(JsonNull().equals(&abc));
    const JSONInteger one(1), another(1);
    EXPECT_TRUE(one.equals(&one));
    EXPECT_FALSE(one.equals(&another)); // numbers compare by identity

    const JsonPtr text = abc.clone();
    EXPECT_NE(text.get(), &abc);
    EXPECT_TRUE(abc.equals(text.get()));
    const JsonPtr flag = JsonTrue().clone();
    EXPECT_FALSE(flag->isShared());
    EXPECT_EQ(flag->toString(), "true");

    const TJSONObject original(R"(  {"d": 5, "i": 0x10, "a": [1, {"x": "y"}, ], "n": null, "t": true} tail)");
    const JsonPtr copy = original.clone();
    const auto& c = dynamic_cast<const TJSONObject&>(*copy);
    EXPECT_EQ(c.toString(), original.toString());
    EXPECT_STREQ(c.get("d").className(), "_Double"); // not reparsed into the text "5.00"
    EXPECT_DOUBLE_EQ(c.getDouble("d"), 5.0);
    EXPECT_EQ(c.opt("n"), &JsonNull());
    EXPECT_EQ(c.opt("t"), &JsonTrue());
    EXPECT_NE(c.opt("a"), original.opt("a"));
    EXPECT_EQ(c.getJSONArray("a").getJSONObject(1).getString("x"), "y");

    EXPECT_NE(Failure([] { TJSONObject("[1]"); }).find("A TJSONObject must begin with \"{\" at character"),
              std::string::npos);
}
