#include "platform/sql/ParamParser.h"

#include <gtest/gtest.h>

using fat::sql::ParseNamedParams;

TEST(ParamParser, ReplacesNamesOutsideLiteralsAndComments) {
    struct Case {
        const char* in;
        const char* text;
        std::vector<std::string> names;
    };
    const Case cases[] = {
        {"select * from T where A=:A and B = :b", "select * from T where A=? and B = ?", {"A", "B"}},
        {"update T set X = :V, Y = :V where K=:K", "update T set X = ?, Y = ? where K=?", {"V", "V", "K"}},
        {"select ':NOPE' from T where A = :A", "select ':NOPE' from T where A = ?", {"A"}},
        {"select 'it''s :X' from T", "select 'it''s :X' from T", {}},
        {"select \"A:B\" from T -- :C\nwhere D = :D", "select \"A:B\" from T -- :C\nwhere D = ?", {"D"}},
        {"select /* :E */ 1 from T where F=:F_1$", "select /* :E */ 1 from T where F=?", {"F_1$"}},
        {"select 12:30 from T", "select 12:30 from T", {}}, // a colon before a digit is no name
    };
    for (const auto& c : cases) {
        const auto parsed = ParseNamedParams(c.in);
        EXPECT_EQ(parsed.text, c.text) << c.in;
        EXPECT_EQ(parsed.names, c.names) << c.in;
    }
}
