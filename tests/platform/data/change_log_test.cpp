#include "MemoryProvider.h"

#include "platform/sql/DatabaseError.h"

#include <gtest/gtest.h>

#include <functional>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

// A buffer opened over stored rows, with a calculated field beside the data fields.
struct ChangeLog : ::testing::Test {
    MemoryProvider provider;
    ClientDataSet ds{"cdsNP100"};
    void SetUp() override {
        provider.columns = {FieldDef("FILIAL_NP", DataType::Integer), FieldDef("NUMNOTA_NP", DataType::String, 6),
                            FieldDef("NUMPED_NP", DataType::String, 8)};
        provider.rows = {{I(100), S("000001"), S("P1")}, {I(100), S("000002"), S("P2")}};
        ds.addField(FieldDef::calculated("MARCA", DataType::String, 1));
        ds.setProvider(&provider);
        ds.open();
    }
    void go(const char* nota) { ASSERT_TRUE(ds.locate("NUMNOTA_NP", S(nota))); }
    void set(const char* field, Value v) {
        ds.edit();
        ds.fieldByName(field).setValue(v);
        ds.post();
    }
    void insert(const char* nota, const char* ped) {
        AppendRow(ds, {{"FILIAL_NP", I(100)}, {"NUMNOTA_NP", S(nota)}, {"NUMPED_NP", S(ped)}});
    }
};

TEST_F(ChangeLog, KeepsOneChangePerRowWithItsStoredValues) {
    struct Case {
        const char* what;
        std::function<void(ChangeLog&)> act;
        std::vector<ChangeKind> kinds;
    };
    const std::vector<Case> cases = {
        {"insert", [](ChangeLog& t) { t.insert("000003", "P3"); }, {ChangeKind::Insert}},
        {"insert then edit", [](ChangeLog& t) { t.insert("000003", "P3"); t.set("NUMPED_NP", S("P4")); },
         {ChangeKind::Insert}},
        {"insert then delete", [](ChangeLog& t) { t.insert("000003", "P3"); t.ds.deleteRecord(); }, {}},
        {"edit", [](ChangeLog& t) { t.go("000001"); t.set("NUMPED_NP", S("PX")); }, {ChangeKind::Update}},
        {"edit twice", [](ChangeLog& t) { t.go("000001"); t.set("NUMPED_NP", S("PX")); t.set("NUMPED_NP", S("PY")); },
         {ChangeKind::Update}},
        {"edit and back", [](ChangeLog& t) { t.go("000001"); t.set("NUMPED_NP", S("PX")); t.set("NUMPED_NP", S("P1")); },
         {}},
        {"calculated field only", [](ChangeLog& t) { t.go("000001"); t.set("MARCA", S("S")); }, {}},
        {"delete", [](ChangeLog& t) { t.go("000002"); t.ds.deleteRecord(); }, {ChangeKind::Delete}},
        {"edit then delete", [](ChangeLog& t) { t.go("000002"); t.set("FILIAL_NP", I(200)); t.ds.deleteRecord(); },
         {ChangeKind::Delete}},
    };
    for (const auto& c : cases) {
        ds.cancelUpdates();
        c.act(*this);
        const Delta delta = ds.pendingChanges();
        std::vector<ChangeKind> kinds;
        for (const auto& ch : delta.changes) kinds.push_back(ch.kind);
        EXPECT_EQ(kinds, c.kinds) << c.what;
        EXPECT_EQ(ds.changeCount(), static_cast<int>(c.kinds.size())) << c.what;
    }
}

TEST_F(ChangeLog, ChangesCarryValuesOriginalsAndNoCalculatedField) {
    go("000002");
    set("FILIAL_NP", I(200));
    set("MARCA", S("S"));
    set("NUMPED_NP", S("PZ"));
    go("000001");
    set("NUMPED_NP", S("PX"));
    ds.deleteRecord();
    insert("000003", "P3");
    set("NUMPED_NP", S("P4"));
    const Delta delta = ds.pendingChanges();
    ASSERT_EQ(delta.fields.size(), 3u);
    for (const auto& f : delta.fields) EXPECT_NE(f.name, "MARCA");
    ASSERT_EQ(delta.changes.size(), 3u);
    const RowChange& update = delta.changes[0];
    EXPECT_EQ(update.kind, ChangeKind::Update);
    EXPECT_EQ(update.values, (std::vector<Value>{I(200), S("000002"), S("PZ")}));
    EXPECT_EQ(update.original, (std::vector<Value>{I(100), S("000002"), S("P2")}));
    EXPECT_EQ(update.changed, (std::vector<bool>{true, false, true}));
    const RowChange& del = delta.changes[1];
    EXPECT_EQ(del.kind, ChangeKind::Delete);
    EXPECT_EQ(del.original, (std::vector<Value>{I(100), S("000001"), S("P1")})); // as stored, not as edited
    const RowChange& ins = delta.changes[2];
    EXPECT_EQ(ins.kind, ChangeKind::Insert);
    EXPECT_EQ(ins.values, (std::vector<Value>{I(100), S("000003"), S("P4")}));
}

TEST_F(ChangeLog, CancelUpdatesRestoresTheStoredRows) {
    go("000001");
    ds.deleteRecord();
    go("000002");
    set("NUMPED_NP", S("PX"));
    insert("000003", "P3");
    ds.cancelUpdates();
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(Walk(ds, "NUMPED_NP"), (std::vector<std::string>{"P1", "P2"})); // back in their places
    EXPECT_FALSE(ds.locate("NUMNOTA_NP", S("000003")));
}

TEST_F(ChangeLog, MergedRowsAreStoredRows) {
    insert("000003", "P3");
    go("000001");
    set("NUMPED_NP", S("PX"));
    ds.mergeChangeLog();
    EXPECT_EQ(ds.changeCount(), 0);
    set("NUMPED_NP", S("PY"));
    go("000003");
    ds.deleteRecord();
    const Delta delta = ds.pendingChanges();
    ASSERT_EQ(delta.changes.size(), 2u);
    EXPECT_EQ(delta.changes[0].original[2], S("PX"));
    EXPECT_EQ(delta.changes[1].kind, ChangeKind::Delete);
    ds.cancelUpdates();
    EXPECT_EQ(Walk(ds, "NUMPED_NP"), (std::vector<std::string>{"PX", "P2", "P3"}));
}

// --- Applying ------------------------------------------------------------------------------

struct Apply : ChangeLog {
    void SetUp() override {
        ChangeLog::SetUp();
        go("000001");
        set("NUMPED_NP", S("PX"));
        insert("000003", "P3");
        go("000002");
        ds.deleteRecord();
        insert("000004", "P4");
    }
    std::vector<ChangeKind> appliedKinds() const {
        std::vector<ChangeKind> k;
        for (const auto& a : provider.applied) k.push_back(a.kind);
        return k;
    }
    // The insert of 000003 fails as a database would refuse it.
    void failInsertOf3() {
        provider.failWhen = [](const RowChange& c) {
            if (c.kind == ChangeKind::Insert && c.values[1] == S("000003"))
                throw sql::DatabaseError("violation of PRIMARY or UNIQUE KEY constraint", -803, 335544665);
        };
    }
};

TEST_F(Apply, HandsTheChangesInOrderAndMergesThem) {
    set("MARCA", S("S"));
    EXPECT_EQ(ds.applyUpdates(0), 0);
    EXPECT_EQ(appliedKinds(), (std::vector<ChangeKind>{ChangeKind::Update, ChangeKind::Insert, ChangeKind::Delete,
                                                       ChangeKind::Insert}));
    EXPECT_EQ(provider.applied[0].names, (std::vector<std::string>{"FILIAL_NP", "NUMNOTA_NP", "NUMPED_NP"}));
    EXPECT_EQ(provider.begun, 1);
    EXPECT_EQ(provider.finished, 1);
    EXPECT_EQ(ds.changeCount(), 0);
    EXPECT_EQ(ds.applyUpdates(0), 0); // nothing left: the provider is not asked again
    EXPECT_EQ(provider.begun, 1);
    go("000003");
    set("NUMPED_NP", S("P5"));
    ASSERT_EQ(ds.pendingChanges().changes.size(), 1u);
    EXPECT_EQ(ds.pendingChanges().changes[0].kind, ChangeKind::Update); // a stored row now
}

TEST_F(Apply, AFailureBeyondMaxErrorsRaisesTheDatabaseErrorAndKeepsTheLog) {
    failInsertOf3();
    std::vector<UpdateError> reported;
    provider.setOnUpdateError([&](const UpdateError& e) { reported.push_back(e); });
    provider.reportOrder = {2, 0, 1};
    try {
        ds.applyUpdates(0);
        FAIL() << "the failure was not raised";
    } catch (const sql::DatabaseError& e) {
        EXPECT_EQ(e.sqlCode(), -803);
    }
    EXPECT_EQ(provider.aborted, 1);
    EXPECT_EQ(provider.finished, 0);
    EXPECT_EQ(ds.changeCount(), 4); // an apply that failed merges nothing
    ASSERT_EQ(reported.size(), 1u);
    EXPECT_EQ(reported[0].kind(), ChangeKind::Insert);
    EXPECT_EQ(reported[0].message(), "violation of PRIMARY or UNIQUE KEY constraint");
    EXPECT_EQ(reported[0].fieldNames(), (std::vector<std::string>{"NUMPED_NP", "FILIAL_NP", "NUMNOTA_NP"}));
    EXPECT_EQ(reported[0].values(), (std::vector<Value>{S("P3"), I(100), S("000003")}));
    EXPECT_EQ(reported[0].value("numnota_np"), S("000003"));
    EXPECT_THROW(reported[0].raise(), sql::DatabaseError);
}

TEST_F(Apply, ToleratedFailuresStayInTheLogAndTheRestIsMerged) {
    failInsertOf3();
    EXPECT_EQ(ds.applyUpdates(1), 1);
    EXPECT_EQ(provider.finished, 1);
    EXPECT_EQ(provider.applied.size(), 3u);
    ASSERT_EQ(ds.changeCount(), 1);
    const Delta left = ds.pendingChanges();
    EXPECT_EQ(left.changes[0].kind, ChangeKind::Insert);
    EXPECT_EQ(left.changes[0].values[1], S("000003"));

    provider.failWhen = [](const RowChange&) { throw Error("refused"); };
    EXPECT_EQ(ds.applyUpdates(-1), 1); // a negative limit tolerates any number
    EXPECT_EQ(ds.changeCount(), 1);
}

TEST_F(Apply, AHandlerThatThrowsEndsTheApplyWithItsError) {
    failInsertOf3();
    provider.setOnUpdateError([](const UpdateError& e) {
        throw Error(e.message() + "\r" + e.values()[0].asString() + "," + e.values()[1].asString() + "," +
                    e.values()[2].asString());
    });
    try {
        ds.applyUpdates(5);
        FAIL();
    } catch (const sql::DatabaseError&) {
        FAIL() << "the database error went past the handler";
    } catch (const Error& e) {
        EXPECT_STREQ(e.what(), "violation of PRIMARY or UNIQUE KEY constraint\r100,000003,P3");
    }
    EXPECT_EQ(provider.aborted, 1);
    EXPECT_EQ(provider.applied.size(), 1u); // the update before it; nothing after
    EXPECT_EQ(ds.changeCount(), 4);
}

TEST_F(Apply, PostsAPendingEditAndNeedsAProvider) {
    go("000001");
    ds.edit();
    ds.fieldByName("NUMPED_NP").setAsString("PQ");
    ds.applyUpdates(0);
    EXPECT_EQ(ds.state(), DataSetState::Browse);
    EXPECT_EQ(provider.applied[0].values[2], S("PQ"));

    ClientDataSet memoryOnly;
    memoryOnly.addField(FieldDef("A", DataType::Integer));
    memoryOnly.createDataSet();
    AppendRow(memoryOnly, {{"A", I(1)}});
    EXPECT_THROW(memoryOnly.applyUpdates(0), Error);
    EXPECT_EQ(memoryOnly.changeCount(), 1);
}

} // namespace
