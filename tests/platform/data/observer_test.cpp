#include "MemoryProvider.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

struct Recorder : DataSetObserver {
    std::vector<DataEvent> events;
    std::vector<std::string> fields;
    void dataSetEvent(ClientDataSet&, DataEvent event, const Field* field) override {
        events.push_back(event);
        if (field) fields.push_back(field->name());
    }
    int count(DataEvent e) const { return static_cast<int>(std::count(events.begin(), events.end(), e)); }
};

struct Observers : ::testing::Test {
    ClientDataSet ds{"cdsGera"};
    Recorder grid;
    void SetUp() override {
        ds.addField(FieldDef("DOCTO_NS", DataType::String, 6));
        ds.createDataSet();
        AppendRow(ds, {{"DOCTO_NS", S("000001")}});
        AppendRow(ds, {{"DOCTO_NS", S("000002")}});
        ds.addObserver(&grid);
    }
};

TEST_F(Observers, HearDataRecordScrollAndStateChanges) {
    ds.first();
    EXPECT_EQ(grid.events, (std::vector<DataEvent>{DataEvent::Scrolled}));
    grid.events.clear();
    ds.edit();
    ds.fieldByName("DOCTO_NS").setAsString("000009");
    ds.post();
    EXPECT_EQ(grid.count(DataEvent::StateChanged), 2);
    EXPECT_EQ(grid.count(DataEvent::RecordChanged), 1);
    EXPECT_EQ(grid.fields, (std::vector<std::string>{"DOCTO_NS"}));
    EXPECT_GE(grid.count(DataEvent::DataSetChanged), 1);
    grid.events.clear();
    ds.first(); // already there: nothing moved
    EXPECT_TRUE(grid.events.empty());
    ds.setFilter("DOCTO_NS = '000002'");
    ds.setFiltered(true);
    EXPECT_GE(grid.count(DataEvent::DataSetChanged), 1);
    grid.events.clear();
    ds.removeObserver(&grid);
    ds.setFiltered(false);
    EXPECT_TRUE(grid.events.empty());
}

TEST_F(Observers, NothingIsHeardWhileSuspendedAndOneRefreshWhenTheLastEnableComes) {
    ds.disableControls();
    ds.disableControls();
    EXPECT_TRUE(ds.controlsDisabled());
    for (ds.first(); !ds.eof(); ds.next()) {
        ds.edit();
        ds.fieldByName("DOCTO_NS").setAsString(ds.fieldByName("DOCTO_NS").asString() + "x");
        ds.post();
    }
    AppendRow(ds, {{"DOCTO_NS", S("000003")}});
    ds.enableControls();
    EXPECT_TRUE(grid.events.empty());
    EXPECT_TRUE(ds.controlsDisabled());
    ds.enableControls();
    EXPECT_FALSE(ds.controlsDisabled());
    EXPECT_EQ(grid.events, (std::vector<DataEvent>{DataEvent::DataSetChanged}));
    ds.enableControls(); // one too many: no effect
    EXPECT_FALSE(ds.controlsDisabled());
    EXPECT_EQ(grid.events.size(), 1u);
}

TEST_F(Observers, AnObserverMayRemoveItselfWhileBeingTold) {
    struct Once : DataSetObserver {
        int calls = 0;
        void dataSetEvent(ClientDataSet& d, DataEvent, const Field*) override {
            ++calls;
            d.removeObserver(this);
        }
    } once;
    ds.addObserver(&once);
    ds.first(); // SetUp left the cursor on the last row
    ds.last();
    EXPECT_EQ(once.calls, 1);
    EXPECT_EQ(grid.count(DataEvent::Scrolled), 2);
}

} // namespace
