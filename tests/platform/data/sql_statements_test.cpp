#include "platform/data/SqlStatements.h"

#include <gtest/gtest.h>

using namespace fat::data;

TEST(SqlStatements, InsertNamesEveryColumnWithOneParameterEach) {
    EXPECT_EQ(InsertStatement("ITENSNS", {"FILIAL_SA", "DOCTO_SA"}),
              "insert into \"ITENSNS\" (\"FILIAL_SA\", \"DOCTO_SA\") values (:P1, :P2)");
}

TEST(SqlStatements, UpdateAndDeleteFindTheRowWithNullsMatchedByIsNull) {
    EXPECT_EQ(UpdateStatement("T", {"VALOR"}, {{"FILIAL", false}, {"DOCTO", false}}),
              "update \"T\" set \"VALOR\" = :P1 where \"FILIAL\" = :K1 and \"DOCTO\" = :K2");
    EXPECT_EQ(DeleteStatement("LINKS", {{"FILIAL", false}, {"OBS", true}, {"NUMPED", false}}),
              "delete from \"LINKS\" where \"FILIAL\" = :K1 and \"OBS\" is null and \"NUMPED\" = :K3");
}

TEST(SqlStatements, NamesAreQuotedSoThatNoneIsTakenForAKeyword) {
    EXPECT_EQ(QuotedName("VALUE"), "\"VALUE\"");
    EXPECT_EQ(QuotedName("A\"B"), "\"A\"\"B\"");
}
