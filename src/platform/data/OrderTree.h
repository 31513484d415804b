#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

namespace fat::data {

struct Row;
class RowOrder;

// The rows of a dataset (or of its filtered view) in walk order, with positions: insert, erase,
// the row at a position and the position of a row all take O(log n). A randomised balanced
// search tree (treap) whose nodes count the rows below them.
//
// The order reads the rows' values, so a row must be erased before a value that the order uses
// changes, and inserted again afterwards.
class OrderTree {
public:
    explicit OrderTree(const RowOrder& order);

    void clear();
    std::size_t size() const { return root_ < 0 ? 0 : nodes_[static_cast<std::size_t>(root_)].size; }
    bool empty() const { return root_ < 0; }

    void insert(Row* row);
    // False when the row is not in the tree.
    bool erase(const Row* row);
    // The row at a position (0-based); null when out of range.
    Row* at(std::size_t position) const;
    // The count of rows ordered before `row`, which need not be in the tree.
    std::size_t rank(const Row* row) const;

    // Every row in order.
    template <typename Visit>
    void forEach(Visit visit) const {
        std::vector<std::int32_t> stack;
        std::int32_t t = root_;
        while (t >= 0 || !stack.empty()) {
            while (t >= 0) {
                stack.push_back(t);
                t = nodes_[static_cast<std::size_t>(t)].left;
            }
            t = stack.back();
            stack.pop_back();
            visit(nodes_[static_cast<std::size_t>(t)].row);
            t = nodes_[static_cast<std::size_t>(t)].right;
        }
    }

private:
    struct Node {
        Row* row = nullptr;
        std::int32_t left = -1;
        std::int32_t right = -1;
        std::uint32_t priority = 0;
        std::uint32_t size = 1;
    };

    const RowOrder* order_;
    std::vector<Node> nodes_;
    std::vector<std::int32_t> free_;
    std::int32_t root_ = -1;
    std::uint64_t random_ = 0x9E3779B97F4A7C15ull;

    Node& node(std::int32_t i) { return nodes_[static_cast<std::size_t>(i)]; }
    const Node& node(std::int32_t i) const { return nodes_[static_cast<std::size_t>(i)]; }
    std::uint32_t sizeOf(std::int32_t i) const { return i < 0 ? 0 : node(i).size; }
    void update(std::int32_t i) { node(i).size = 1 + sizeOf(node(i).left) + sizeOf(node(i).right); }
    std::uint32_t nextPriority();
    std::int32_t newNode(Row* row);
    bool less(const Row* a, const Row* b) const;

    // Splits t into the rows ordered before `row` and the others.
    void split(std::int32_t t, const Row* row, std::int32_t& left, std::int32_t& right);
    std::int32_t merge(std::int32_t left, std::int32_t right);
    std::int32_t insertAt(std::int32_t t, std::int32_t n);
    std::int32_t eraseAt(std::int32_t t, const Row* row, bool& erased);
};

} // namespace fat::data
