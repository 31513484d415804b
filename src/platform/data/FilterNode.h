#pragma once
#include "platform/core/Value.h"

#include <memory>
#include <string>
#include <vector>

namespace fat::data {

class Field;

// The syntax tree of a filter expression (see FilterExpression).
struct FilterOperand {
    enum class Kind { Field, Text, Number, Boolean } kind = Kind::Text;
    std::string name;            // field name as written
    const Field* field = nullptr; // once bound
    Value value;                  // a constant, converted to the compared field's type once bound
    int scale = 0;                // decimals of a number as written
};

enum class FilterOp { Equal, NotEqual, Less, LessEqual, Greater, GreaterEqual };

// The operator that gives the same answer with the operands swapped (a < b is b > a).
FilterOp Mirrored(FilterOp op);

// A chain "a AND b AND c" is one node with three terms, so that a long chain does not make the
// tree (and the recursion that walks it) deep; only parentheses and NOT nest, and the parser
// limits how deep.
struct FilterNode {
    enum class Kind { And, Or, Not, Compare, IsNull } kind = Kind::Compare;
    std::vector<std::unique_ptr<FilterNode>> terms; // And, Or (two or more), Not (one)
    FilterOperand a, b;                      // Compare (both), IsNull (a)
    FilterOp op = FilterOp::Equal;
    bool negated = false;                    // IS NOT NULL
    int compareScale = 0;                    // scale for exact comparisons, once bound
};

// Parentheses and NOTs nested deeper than this are refused.
constexpr int MaxFilterNesting = 200;

// Parses a filter text; raises Error naming the position and the token.
std::unique_ptr<FilterNode> ParseFilter(const std::string& text);

} // namespace fat::data
