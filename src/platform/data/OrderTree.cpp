#include "platform/data/OrderTree.h"

#include "platform/data/Row.h"
#include "platform/data/RowOrder.h"

namespace fat::data {

OrderTree::OrderTree(const RowOrder& order) : order_(&order) {}

void OrderTree::clear() {
    nodes_.clear();
    free_.clear();
    root_ = -1;
}

std::uint32_t OrderTree::nextPriority() {
    // xorshift64*: cheap and well spread, which is all a treap needs.
    random_ ^= random_ >> 12;
    random_ ^= random_ << 25;
    random_ ^= random_ >> 27;
    return static_cast<std::uint32_t>((random_ * 0x2545F4914F6CDD1Dull) >> 32);
}

std::int32_t OrderTree::newNode(Row* row) {
    Node n;
    n.row = row;
    n.priority = nextPriority();
    if (!free_.empty()) {
        const std::int32_t i = free_.back();
        free_.pop_back();
        node(i) = n;
        return i;
    }
    nodes_.push_back(n);
    return static_cast<std::int32_t>(nodes_.size() - 1);
}

bool OrderTree::less(const Row* a, const Row* b) const { return order_->compare(*a, *b) < 0; }

void OrderTree::split(std::int32_t t, const Row* row, std::int32_t& left, std::int32_t& right) {
    if (t < 0) {
        left = right = -1;
        return;
    }
    if (less(node(t).row, row)) {
        std::int32_t l = -1, r = -1;
        split(node(t).right, row, l, r);
        node(t).right = l;
        update(t);
        left = t;
        right = r;
    } else {
        std::int32_t l = -1, r = -1;
        split(node(t).left, row, l, r);
        node(t).left = r;
        update(t);
        left = l;
        right = t;
    }
}

std::int32_t OrderTree::merge(std::int32_t left, std::int32_t right) {
    if (left < 0) return right;
    if (right < 0) return left;
    if (node(left).priority > node(right).priority) {
        node(left).right = merge(node(left).right, right);
        update(left);
        return left;
    }
    node(right).left = merge(left, node(right).left);
    update(right);
    return right;
}

std::int32_t OrderTree::insertAt(std::int32_t t, std::int32_t n) {
    if (t < 0) return n;
    if (node(n).priority > node(t).priority) {
        std::int32_t l = -1, r = -1;
        split(t, node(n).row, l, r);
        node(n).left = l;
        node(n).right = r;
        update(n);
        return n;
    }
    if (less(node(n).row, node(t).row)) {
        const std::int32_t child = insertAt(node(t).left, n);
        node(t).left = child;
    } else {
        const std::int32_t child = insertAt(node(t).right, n);
        node(t).right = child;
    }
    update(t);
    return t;
}

void OrderTree::insert(Row* row) {
    const std::int32_t n = newNode(row); // before the descent: it may move the node storage
    root_ = insertAt(root_, n);
}

std::int32_t OrderTree::eraseAt(std::int32_t t, const Row* row, bool& erased) {
    if (t < 0) return t;
    const int c = order_->compare(*row, *node(t).row);
    if (c == 0) {
        const std::int32_t replacement = merge(node(t).left, node(t).right);
        free_.push_back(t);
        erased = true;
        return replacement;
    }
    if (c < 0) {
        const std::int32_t child = eraseAt(node(t).left, row, erased);
        node(t).left = child;
    } else {
        const std::int32_t child = eraseAt(node(t).right, row, erased);
        node(t).right = child;
    }
    if (erased) update(t);
    return t;
}

bool OrderTree::erase(const Row* row) {
    bool erased = false;
    root_ = eraseAt(root_, row, erased);
    return erased;
}

Row* OrderTree::at(std::size_t position) const {
    std::int32_t t = root_;
    while (t >= 0) {
        const std::size_t leftSize = sizeOf(node(t).left);
        if (position < leftSize) t = node(t).left;
        else if (position == leftSize) return node(t).row;
        else {
            position -= leftSize + 1;
            t = node(t).right;
        }
    }
    return nullptr;
}

std::size_t OrderTree::rank(const Row* row) const {
    std::size_t r = 0;
    std::int32_t t = root_;
    while (t >= 0) {
        if (less(node(t).row, row)) {
            r += sizeOf(node(t).left) + 1;
            t = node(t).right;
        } else {
            t = node(t).left;
        }
    }
    return r;
}

} // namespace fat::data
