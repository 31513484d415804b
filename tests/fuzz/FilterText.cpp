#include "FilterText.h"

#include "platform/data/FilterNode.h"

namespace fat::fuzz {

using data::FilterNode;
using data::FilterOp;
using data::FilterOperand;

const char* OperatorText(FilterOp op) {
    switch (op) {
    case FilterOp::Equal: return "=";
    case FilterOp::NotEqual: return "<>";
    case FilterOp::Less: return "<";
    case FilterOp::LessEqual: return "<=";
    case FilterOp::Greater: return ">";
    case FilterOp::GreaterEqual: return ">=";
    }
    return "=";
}

std::string OperandText(const FilterOperand& operand) {
    switch (operand.kind) {
    case FilterOperand::Kind::Field:
        return "[" + operand.name + "]";
    case FilterOperand::Kind::Text: {
        std::string out = "'";
        for (char c : operand.value.asString()) {
            out += c;
            if (c == '\'') out += '\'';
        }
        return out + "'";
    }
    case FilterOperand::Kind::Number:
        return operand.value.isDecimal() ? operand.value.asDecimal(operand.scale).toString()
                                         : std::to_string(operand.value.asInteger());
    case FilterOperand::Kind::Boolean:
        return operand.value.asBoolean() ? "TRUE" : "FALSE";
    }
    return {};
}

std::string FilterText(const FilterNode& node) {
    switch (node.kind) {
    case FilterNode::Kind::And:
    case FilterNode::Kind::Or: {
        std::string out;
        for (const auto& term : node.terms) {
            if (!out.empty()) out += node.kind == FilterNode::Kind::And ? " AND " : " OR ";
            out += "(" + FilterText(*term) + ")";
        }
        return out;
    }
    case FilterNode::Kind::Not:
        return "NOT (" + FilterText(*node.terms.front()) + ")";
    case FilterNode::Kind::IsNull:
        return OperandText(node.a) + (node.negated ? " IS NOT NULL" : " IS NULL");
    case FilterNode::Kind::Compare:
        return OperandText(node.a) + " " + OperatorText(node.op) + " " + OperandText(node.b);
    }
    return {};
}

} // namespace fat::fuzz
