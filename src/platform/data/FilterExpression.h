#pragma once
#include "platform/core/Value.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace fat::data {

class Field;
struct FilterNode;

// A filter text of a client dataset, parsed and bound to the dataset's fields:
//   DOCTO_SA = '000123'
//   FILIAL_SA = 100 AND DOCTO_SA = '000123' AND SERIE_SA = '1'
//   NOME = 'D''AVILA' OR (VALOR >= 10.5 AND NOT SIT IS NULL)
// Comparisons = <> < <= > >=, AND, OR, NOT, parentheses, IS NULL / IS NOT NULL; operands are
// field names (also [in brackets]), quoted texts with inner quotes doubled, numbers with '.'
// as the decimal point, TRUE and FALSE. A constant is compared with a field by the field's type
// (texts exactly, byte for byte). A comparison with a null value is neither true nor false (as
// in SQL), and a row passes only when the whole expression is true.
class FilterExpression {
public:
    // Raises Error naming the position and the token when the text cannot be parsed.
    explicit FilterExpression(const std::string& text);
    ~FilterExpression();
    FilterExpression(FilterExpression&&) noexcept;
    FilterExpression& operator=(FilterExpression&&) noexcept;

    const std::string& text() const { return text_; }

    // Binds the field names; `find` returns null for a name the dataset does not have. Raises
    // Error naming an unknown field, or a constant that cannot be compared with its field.
    void bind(const std::function<const Field*(const std::string&)>& find);
    bool bound() const { return bound_; }

    // True when the row (values in the order of the dataset's fields) passes.
    bool matches(const std::vector<Value>& values) const;

    // The "field = constant" terms that the whole expression requires (the top-level AND
    // chain): every row that passes has these values, so an index can supply the candidates.
    struct EqualityTerm {
        const Field* field;
        Value value; // the constant, converted for the comparison
    };
    std::vector<EqualityTerm> equalityTerms() const;

private:
    std::string text_;
    std::unique_ptr<FilterNode> root_;
    bool bound_ = false;
};

} // namespace fat::data
