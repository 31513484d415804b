#include "MemoryProvider.h"

#include <gtest/gtest.h>

#include <memory>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

// cdsGera and its orders cdsPed, linked by invoice number as the load links them.
struct MasterDetail : ::testing::Test {
    ClientDataSet gera{"cdsGera"};
    ClientDataSet ped{"cdsPed"};
    void SetUp() override {
        gera.addField(FieldDef("FILIAL_NS", DataType::Integer));
        gera.addField(FieldDef("DOCTO_NS", DataType::String, 6));
        gera.createDataSet();
        for (const char* d : {"000001", "000002", "000003"})
            AppendRow(gera, {{"FILIAL_NS", I(1)}, {"DOCTO_NS", S(d)}});
        ped.addField(FieldDef("Num", DataType::String, 8));
        ped.addField(FieldDef("NUMNOTA", DataType::String, 6));
        ped.addField(FieldDef("FILIAL", DataType::Integer));
        ped.createDataSet();
        addOrder("P3", "000002", 1);
        addOrder("P1", "000001", 1);
        addOrder("P2", "000002", 1);
        addOrder("P9", "000002", 2);
    }
    void addOrder(const char* num, const char* nota, int filial) {
        AppendRow(ped, {{"Num", S(num)}, {"NUMNOTA", S(nota)}, {"FILIAL", I(filial)}});
    }
    void link() {
        ped.setIndexFieldNames("NUMNOTA");
        ped.setMasterSource(&gera);
        ped.setMasterFields("DOCTO_NS");
    }
    std::vector<std::string> orders() { return Walk(ped, "Num"); }
    using Names = std::vector<std::string>;
};

TEST_F(MasterDetail, TheDetailShowsTheRowsOfTheMastersCurrentRow) {
    link();
    gera.first();
    EXPECT_EQ(orders(), (Names{"P1"}));
    gera.next();
    EXPECT_EQ(orders(), (Names{"P3", "P2", "P9"}));
    EXPECT_EQ(ped.recordCount(), 3);
    gera.next();
    EXPECT_TRUE(ped.isEmpty());
    EXPECT_TRUE(gera.locate("DOCTO_NS", S("000001")));
    EXPECT_EQ(orders(), (Names{"P1"}));
}

TEST_F(MasterDetail, TheDetailFollowsTheMastersValuesAndItsOwnChanges) {
    link();
    gera.locate("DOCTO_NS", S("000003"));
    gera.edit();
    gera.fieldByName("DOCTO_NS").setAsString("000001"); // followed before the post
    EXPECT_EQ(orders(), (Names{"P1"}));
    gera.post();
    EXPECT_EQ(orders(), (Names{"P1"}));
    ped.first();
    ped.edit();
    ped.fieldByName("NUMNOTA").setAsString("000003");
    ped.post();
    EXPECT_TRUE(ped.isEmpty());
    gera.edit();
    gera.fieldByName("DOCTO_NS").setAsString("000003");
    gera.post();
    EXPECT_EQ(orders(), (Names{"P1"}));
}

TEST_F(MasterDetail, AppendedDetailRowsGetTheLinkFieldsFromTheMaster) {
    link();
    gera.locate("DOCTO_NS", S("000003"));
    ped.append();
    EXPECT_EQ(ped.fieldByName("NUMNOTA").asString(), "000003");
    ped.fieldByName("Num").setAsString("P7");
    ped.post();
    EXPECT_EQ(orders(), (Names{"P7"}));
    // In the load the master row is in edit state while its orders are appended.
    gera.first();
    gera.edit();
    AppendRow(ped, {{"Num", S("P8")}});
    gera.post();
    EXPECT_EQ(orders(), (Names{"P1", "P8"}));
}

TEST_F(MasterDetail, TheLinkFollowsWhileDisplayUpdatesAreSuspended) {
    link();
    gera.disableControls();
    ped.disableControls();
    std::vector<Names> seen;
    for (gera.first(); !gera.eof(); gera.next()) seen.push_back(orders());
    EXPECT_EQ(seen, (std::vector<Names>{{"P1"}, {"P3", "P2", "P9"}, {}}));
    ped.enableControls();
    gera.enableControls();
}

TEST_F(MasterDetail, DetachingShowsAllRowsAgain) {
    link();
    gera.first();
    ASSERT_EQ(ped.recordCount(), 1);
    ped.setMasterSource(nullptr);
    ped.setMasterFields("");
    ped.setIndexFieldNames("");
    EXPECT_EQ(orders(), (Names{"P3", "P1", "P2", "P9"}));
    link();
    EXPECT_EQ(ped.recordCount(), 1);
    gera.close();
    EXPECT_EQ(ped.recordCount(), 4); // a closed master selects nothing
}

TEST_F(MasterDetail, SeveralLinkFieldsAndTheRestOfTheIndexOrderTheDetail) {
    ped.setIndexFieldNames("FILIAL;NUMNOTA;Num");
    ped.setMasterSource(&gera);
    ped.setMasterFields("FILIAL_NS;DOCTO_NS");
    gera.locate("DOCTO_NS", S("000002"));
    EXPECT_EQ(orders(), (Names{"P2", "P3"}));
    AppendRow(gera, {{"FILIAL_NS", I(2)}, {"DOCTO_NS", S("000002")}});
    EXPECT_EQ(orders(), (Names{"P9"}));
}

TEST_F(MasterDetail, AMasterRowWithoutALinkValueSelectsNothing) {
    link();
    AppendRow(gera, {{"FILIAL_NS", I(1)}});
    EXPECT_TRUE(ped.isEmpty());
    gera.emptyDataSet();
    EXPECT_TRUE(ped.isEmpty());
}

TEST_F(MasterDetail, ImpossibleLinksAreRefused) {
    ped.setMasterSource(&gera);
    EXPECT_THROW(ped.setMasterFields("DOCTO_NS"), Error); // no index fields to link with
    EXPECT_EQ(ped.masterFields(), "");
    ped.setIndexFieldNames("NUMNOTA");
    try {
        ped.setMasterFields("NUMERO_NS");
        FAIL();
    } catch (const Error& e) {
        EXPECT_NE(std::string(e.what()).find("'NUMERO_NS'"), std::string::npos) << e.what();
    }
    EXPECT_THROW(gera.setMasterSource(&ped), Error); // a cycle
    EXPECT_THROW(ped.setMasterSource(&ped), Error);
    EXPECT_EQ(ped.recordCount(), 4);
}

TEST(MasterDetailLife, ADetailOutlivingItsMasterShowsAllRows) {
    auto master = std::make_unique<ClientDataSet>("m");
    master->addField(FieldDef("K", DataType::Integer));
    master->createDataSet();
    AppendRow(*master, {{"K", I(1)}});
    ClientDataSet detail("d");
    detail.addField(FieldDef("K", DataType::Integer));
    detail.createDataSet();
    AppendRow(detail, {{"K", I(1)}});
    AppendRow(detail, {{"K", I(2)}});
    detail.setIndexFieldNames("K");
    detail.setMasterSource(master.get());
    detail.setMasterFields("K");
    ASSERT_EQ(detail.recordCount(), 1);
    master.reset();
    EXPECT_EQ(detail.masterSource(), nullptr);
    EXPECT_EQ(detail.recordCount(), 2);
}

} // namespace
