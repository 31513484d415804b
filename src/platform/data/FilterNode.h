#pragma once
#include "platform/core/Value.h"

#include <memory>
#include <string>

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

struct FilterNode {
    enum class Kind { And, Or, Not, Compare, IsNull } kind = Kind::Compare;
    std::unique_ptr<FilterNode> left, right; // And, Or (both), Not (left)
    FilterOperand a, b;                      // Compare (both), IsNull (a)
    FilterOp op = FilterOp::Equal;
    bool negated = false;                    // IS NOT NULL
    int compareScale = 0;                    // scale for exact comparisons, once bound
};

// Parses a filter text; raises Error naming the position and the token.
std::unique_ptr<FilterNode> ParseFilter(const std::string& text);

} // namespace fat::data
