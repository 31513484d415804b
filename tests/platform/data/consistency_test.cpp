#include "MemoryProvider.h"

#include "platform/core/Win1252.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <random>

using namespace fat;
using namespace fat::data;
using namespace fat::data::test;

namespace {

// The indexes behind the walk, locate and filters are kept up to date row by row. This test
// drives a dataset through a long random mix of appends, edits, deletes, locates, filters,
// index changes, merges and cancels, and after every step compares what it shows with a plain
// model that recomputes everything from scratch.
struct ModelRow {
    int id;
    std::optional<int> key;
    int group;
    std::optional<std::string> name;
    std::uint64_t seq;
};

struct Model {
    std::vector<ModelRow> rows, merged;
    std::string index; // "", "KEY", "GRP;KEY", "NAME"
    int filter = 0;    // 0 none, 1 "GRP = g", 2 "GRP = g AND KEY > k", 3 "NAME IS NULL OR KEY < k"
    int g = 0, k = 0;

    bool visible(const ModelRow& r) const {
        switch (filter) {
        case 1: return r.group == g;
        case 2: return r.group == g && r.key && *r.key > k;
        case 3: return !r.name || (r.key && *r.key < k);
        default: return true;
        }
    }
    static int cmpKey(const std::optional<int>& a, const std::optional<int>& b) {
        if (!a || !b) return a.has_value() - b.has_value();
        return *a < *b ? -1 : (*a > *b ? 1 : 0);
    }
    bool before(const ModelRow& a, const ModelRow& b) const {
        int c = 0;
        if (index == "KEY") c = cmpKey(a.key, b.key);
        else if (index == "GRP;KEY") c = a.group != b.group ? (a.group < b.group ? -1 : 1) : cmpKey(a.key, b.key);
        else if (index == "NAME") {
            if (!a.name || !b.name) c = a.name.has_value() - b.name.has_value();
            else c = a.name->compare(*b.name);
        }
        if (c != 0) return c < 0;
        return a.seq < b.seq;
    }
    std::vector<int> walk() const {
        std::vector<ModelRow> v;
        for (const auto& r : rows)
            if (visible(r)) v.push_back(r);
        std::sort(v.begin(), v.end(), [this](const ModelRow& a, const ModelRow& b) { return before(a, b); });
        std::vector<int> ids;
        for (const auto& r : v) ids.push_back(r.id);
        return ids;
    }
};

std::vector<int> Shown(ClientDataSet& ds) {
    std::vector<int> ids;
    for (int i = 0; i < ds.recordCount(); ++i) ids.push_back(static_cast<int>(ds.valueAt(i, 0).asInteger()));
    return ids;
}

TEST(Consistency, RandomChangesKeepWalkLocateAndFiltersRight) {
    const std::vector<std::string> names = {"ana", "ANA", Win1252("Ângela"), Win1252("ÂNGELA"), "bia", "Zé"};
    std::mt19937 random(20240611);
    const auto pick = [&random](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };

    ClientDataSet ds("random");
    ds.addField(FieldDef("ID", DataType::Integer));
    ds.addField(FieldDef("KEY", DataType::Integer));
    ds.addField(FieldDef("GRP", DataType::Integer));
    ds.addField(FieldDef("NAME", DataType::String, 10));
    ds.createDataSet();
    Model model;
    int nextId = 1;
    std::uint64_t nextSeq = 1;

    const auto randomValues = [&](ModelRow& r) {
        r.key = pick(8) == 0 ? std::nullopt : std::optional<int>(pick(20));
        r.group = pick(4);
        r.name = pick(6) == 0 ? std::nullopt : std::optional<std::string>(names[static_cast<std::size_t>(pick(6))]);
    };
    const auto store = [&](const ModelRow& r) {
        ds.fieldByName("KEY").setValue(r.key ? I(*r.key) : Value());
        ds.fieldByName("GRP").setAsInteger(r.group);
        ds.fieldByName("NAME").setValue(r.name ? S(*r.name) : Value());
    };
    const auto currentModelRow = [&]() -> ModelRow* {
        if (ds.recNo() == 0) return nullptr;
        const int id = static_cast<int>(ds.fieldByName("ID").asInteger());
        for (auto& r : model.rows)
            if (r.id == id) return &r;
        return nullptr;
    };

    for (int step = 0; step < 4000; ++step) {
        const int op = pick(100);
        std::string what;
        if (op < 30) {
            what = "append";
            ModelRow r{nextId++, {}, 0, {}, nextSeq++};
            randomValues(r);
            ds.append();
            ds.fieldByName("ID").setAsInteger(r.id);
            store(r);
            ds.post();
            model.rows.push_back(r);
        } else if (op < 50) {
            what = "edit";
            if (ModelRow* r = currentModelRow()) {
                randomValues(*r);
                ds.edit();
                store(*r);
                ds.post();
            }
        } else if (op < 62) {
            what = "delete";
            if (ModelRow* r = currentModelRow()) {
                const int id = r->id;
                ds.deleteRecord();
                model.rows.erase(std::remove_if(model.rows.begin(), model.rows.end(),
                                                [id](const ModelRow& m) { return m.id == id; }),
                                 model.rows.end());
            }
        } else if (op < 78) {
            what = "locate";
            const int by = pick(3);
            std::optional<int> expected;
            const std::vector<int> walk = model.walk();
            bool found = false;
            if (by == 2) {
                const std::string start = names[static_cast<std::size_t>(pick(6))].substr(0, 1 + pick(2));
                found = ds.locate("NAME", S(start), {true, true});
                for (int id : walk)
                    for (const auto& r : model.rows)
                        if (!expected && r.id == id && r.name && r.name->size() >= start.size() &&
                            SameTextWin1252(r.name->substr(0, start.size()), start))
                            expected = id;
            } else if (by == 1) {
                const std::string name = names[static_cast<std::size_t>(pick(6))];
                found = ds.locate("NAME", S(name), {true, false});
                for (int id : walk)
                    for (const auto& r : model.rows)
                        if (!expected && r.id == id && r.name && SameTextWin1252(*r.name, name)) expected = id;
            } else {
                const int grp = pick(4), key = pick(20);
                found = ds.locate("GRP;KEY", {I(grp), I(key)});
                for (int id : walk)
                    for (const auto& r : model.rows)
                        if (!expected && r.id == id && r.group == grp && r.key == key) expected = id;
            }
            ASSERT_EQ(found, expected.has_value()) << "step " << step;
            if (found) {
                ASSERT_EQ(ds.fieldByName("ID").asInteger(), *expected) << "step " << step;
            }
        } else if (op < 86) {
            what = "filter";
            model.filter = pick(4);
            model.g = pick(4);
            model.k = pick(20);
            const std::string g = std::to_string(model.g), k = std::to_string(model.k);
            const char* texts[] = {"", "GRP = ", "GRP = ", "NAME IS NULL OR KEY < "};
            std::string text = texts[model.filter];
            if (model.filter == 1) text += g;
            if (model.filter == 2) text += g + " AND KEY > " + k;
            if (model.filter == 3) text += k;
            ds.setFilter(text);
            ds.setFiltered(model.filter != 0);
        } else if (op < 91) {
            what = "index";
            const char* indexes[] = {"", "KEY", "GRP;KEY", "NAME"};
            model.index = indexes[pick(4)];
            ds.setIndexFieldNames(model.index);
        } else if (op < 93) {
            what = "merge";
            ds.mergeChangeLog();
            model.merged = model.rows;
        } else if (op < 95) {
            what = "cancel";
            ds.cancelUpdates();
            model.rows = model.merged;
        } else {
            what = "move";
            switch (pick(4)) {
            case 0: ds.first(); break;
            case 1: ds.next(); break;
            case 2: ds.prior(); break;
            default: ds.last(); break;
            }
        }
        const std::vector<int> expected = model.walk();
        ASSERT_EQ(Shown(ds), expected) << "after " << what << " at step " << step;
        if (!expected.empty()) {
            ASSERT_GE(ds.recNo(), 1) << "no current row after " << what << " at step " << step;
            ASSERT_EQ(ds.valueAt(ds.recNo() - 1, 0), ds.fieldByName("ID").value()) << "step " << step;
        }
    }
}

} // namespace
