#include "MemoryProvider.h"

#include <gtest/gtest.h>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

struct Navigation : ::testing::Test {
    ClientDataSet ds{"cdsPrazos"};
    void SetUp() override {
        ds.addField(FieldDef("NUMNF", DataType::String, 6));
        ds.addField(FieldDef("DIAS", DataType::Integer));
        ds.createDataSet();
    }
    void fill(std::initializer_list<int> days) {
        for (int d : days) AppendRow(ds, {{"NUMNF", S("000001")}, {"DIAS", I(d)}});
    }
};

TEST_F(Navigation, WalksForwardAndBackWithEofAndBof) {
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.eof());
    EXPECT_TRUE(ds.bof());
    EXPECT_EQ(ds.recNo(), 0);
    fill({30, 60, 90});
    EXPECT_EQ(Walk(ds, "DIAS"), (std::vector<std::string>{"30", "60", "90"}));
    EXPECT_TRUE(ds.eof());
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 90); // eof leaves the cursor on the last row
    ds.last();
    EXPECT_TRUE(ds.eof());
    std::vector<std::int64_t> back;
    for (; !ds.bof(); ds.prior()) back.push_back(ds.fieldByName("DIAS").asInteger());
    EXPECT_EQ(back, (std::vector<std::int64_t>{90, 60, 30}));
    ds.first();
    EXPECT_TRUE(ds.bof());
    EXPECT_FALSE(ds.eof());
    ds.next();
    EXPECT_EQ(ds.recNo(), 2);
    ds.setRecNo(3);
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 90);
    EXPECT_EQ(ds.recordCount(), 3);
    EXPECT_THROW(ds.setRecNo(4), Error);
}

TEST_F(Navigation, DeleteMakesTheNextVisibleRowCurrent) {
    fill({30, 60, 90});
    ds.first();
    ds.next();
    ds.deleteRecord();
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 90);
    EXPECT_FALSE(ds.eof());
    ds.deleteRecord(); // the last one: the new last row is current, at eof
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 30);
    EXPECT_TRUE(ds.eof());
    ds.deleteRecord();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_TRUE(ds.fieldByName("DIAS").isNull());
    EXPECT_THROW(ds.deleteRecord(), Error);
}

TEST_F(Navigation, DeletingFromTheFirstUntilEofEmptiesTheDataset) {
    fill({1, 2, 3, 4, 5});
    ds.first();
    while (!ds.eof()) ds.deleteRecord();
    EXPECT_TRUE(ds.isEmpty());
}

TEST_F(Navigation, MovingWhileEditingPostsFirst) {
    fill({30, 60});
    ds.first();
    ds.edit();
    ds.fieldByName("DIAS").setAsInteger(31);
    ds.next();
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    ds.first();
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 31);

    ds.append();
    ds.fieldByName("DIAS").setAsInteger(120);
    EXPECT_EQ(ds.state(), DataSetState::Insert);
    EXPECT_TRUE(ds.locate("DIAS", I(60)));
    EXPECT_EQ(ds.recordCount(), 3); // the append was posted by the locate
}

TEST_F(Navigation, CancelDiscardsTheEditAndTheAppend) {
    fill({30});
    ds.edit();
    ds.fieldByName("DIAS").setAsInteger(99);
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 99);
    ds.cancel();
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 30);
    ds.append();
    ds.fieldByName("DIAS").setAsInteger(45);
    ds.cancel();
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.fieldByName("DIAS").asInteger(), 30);
    ds.append();
    ds.deleteRecord(); // deleting the row being appended drops it
    EXPECT_EQ(ds.recordCount(), 1);
    EXPECT_EQ(ds.changeCount(), 1);
}

TEST_F(Navigation, EditOnAnEmptyDatasetIsAnErrorAndAClosedOneRefusesToMove) {
    EXPECT_THROW(ds.edit(), Error);
    ds.close();
    EXPECT_EQ(ds.state(), DataSetState::Inactive);
    EXPECT_THROW(ds.first(), Error);
    EXPECT_THROW(ds.append(), Error);
    EXPECT_EQ(ds.recordCount(), 0);
}

TEST_F(Navigation, EmptyDataSetDropsRowsAndTheirChanges) {
    fill({30, 60});
    ds.emptyDataSet();
    EXPECT_TRUE(ds.isEmpty());
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_TRUE(ds.active());
    fill({90});
    EXPECT_EQ(Walk(ds, "DIAS"), (std::vector<std::string>{"90"}));
}

TEST_F(Navigation, ValueAtReadsAnyVisibleRowWithoutMoving) {
    fill({30, 60, 90});
    ds.first();
    EXPECT_EQ(ds.valueAt(2, 1), I(90));
    EXPECT_EQ(ds.recNo(), 1);
    ds.edit();
    ds.fieldByName("DIAS").setAsInteger(10);
    EXPECT_EQ(ds.valueAt(0, 1), I(10)); // the row being edited shows its new value
    EXPECT_THROW(ds.valueAt(3, 1), Error);
}

TEST(OpenClose, OpenFetchesOnceAndCloseDiscardsPendingChanges) {
    MemoryProvider p;
    p.columns = {FieldDef("COD_RE", DataType::Integer), FieldDef("NOME_RE", DataType::String, 30)};
    p.rows = {{I(1), S("ANA")}, {I(2), S("RUI")}};
    ClientDataSet ds("cdsRepres");
    EXPECT_THROW(ds.open(), Error); // no provider
    ds.setProvider(&p);
    ds.open();
    ds.open(); // already open: keeps the rows it read
    EXPECT_EQ(p.fetches, 1);
    AppendRow(ds, {{"COD_RE", I(3)}, {"NOME_RE", S("EVA")}});
    EXPECT_EQ(ds.recordCount(), 3);
    ds.close();
    ds.open();
    EXPECT_EQ(ds.recordCount(), 2);
    EXPECT_EQ(ds.changeCount(), 0);
}

} // namespace
