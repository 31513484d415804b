#include "platform/data/LookupIndex.h"
#include "platform/data/OrderTree.h"
#include "platform/data/Row.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <memory>
#include <random>
#include <set>

using namespace fat;
using namespace fat::data;

namespace {

// The hash table and the order tree under random adds and removes, compared with std::multimap
// and std::vector: every key's rows in walk order, and every position of the walk.
TEST(LookupIndexAndOrderTree, MatchAPlainModelUnderRandomChanges) {
    RowOrder order; // insertion order
    LookupIndex index({KeyField{0, DataType::Integer, 0}}, false, order);
    OrderTree tree(order);
    std::vector<std::unique_ptr<Row>> rows;
    for (int i = 0; i < 6000; ++i) {
        auto r = std::make_unique<Row>();
        r->values = {Value::fromInteger(i % 1500)}; // four rows per key
        r->seq = static_cast<std::uint64_t>(i + 1);
        rows.push_back(std::move(r));
    }
    std::set<Row*> in;
    std::multimap<std::int64_t, std::uint64_t> model;
    // Half the rows at once, as an index made for rows already loaded (given in walk order).
    std::vector<Row*> initial;
    for (std::size_t i = 0; i < rows.size(); i += 2) {
        Row* r = rows[i].get();
        initial.push_back(r);
        tree.insert(r);
        in.insert(r);
        model.emplace(r->values[0].asInteger(), r->seq);
    }
    index.build(initial);
    std::mt19937 random(7);
    for (int step = 0; step < 60000; ++step) {
        Row* r = rows[random() % rows.size()].get();
        const std::int64_t key = r->values[0].asInteger();
        if (in.count(r)) {
            index.remove(r);
            ASSERT_TRUE(tree.erase(r));
            in.erase(r);
            for (auto it = model.lower_bound(key); it != model.end(); ++it)
                if (it->second == r->seq) {
                    model.erase(it);
                    break;
                }
        } else {
            index.add(r);
            tree.insert(r);
            in.insert(r);
            model.emplace(key, r->seq);
        }
        if (step % 97 == 0) {
            for (std::int64_t k = 0; k < 1500; k += 7) {
                std::vector<std::uint64_t> found, expected;
                index.findEqual(index.keyOfValues({Value::fromInteger(k)}), [&](Row* row) {
                    found.push_back(row->seq);
                    return false;
                });
                auto [b, e] = model.equal_range(k);
                for (auto it = b; it != e; ++it) expected.push_back(it->second);
                std::sort(expected.begin(), expected.end());
                ASSERT_EQ(found, expected) << "key " << k << " at step " << step;
            }
            ASSERT_EQ(tree.size(), in.size());
            std::vector<Row*> walk(in.begin(), in.end());
            std::sort(walk.begin(), walk.end(), [](const Row* a, const Row* b) { return a->seq < b->seq; });
            for (std::size_t p = 0; p < walk.size(); p += 13) {
                ASSERT_EQ(tree.at(p), walk[p]) << "position " << p;
                ASSERT_EQ(tree.rank(walk[p]), p);
            }
        }
    }
    EXPECT_EQ(index.keyCount(), [&] {
        std::set<std::int64_t> keys;
        for (const auto& [k, s] : model) keys.insert(k);
        return keys.size();
    }());
}

} // namespace
