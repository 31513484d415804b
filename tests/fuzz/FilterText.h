#pragma once
#include <string>

namespace fat::data {
struct FilterNode;
struct FilterOperand;
enum class FilterOp;
} // namespace fat::data

namespace fat::fuzz {

// Writes a parsed (unbound) filter back as text that parses to the same tree: every AND, OR
// and NOT with its operands in parentheses, field names in brackets, texts quoted with inner
// quotes doubled, numbers with the decimals they were written with.
std::string FilterText(const data::FilterNode& node);
std::string OperandText(const data::FilterOperand& operand);
const char* OperatorText(data::FilterOp op);

} // namespace fat::fuzz
