#include "platform/data/FilterExpression.h"

#include "platform/core/Errors.h"
#include "platform/data/Field.h"
#include "platform/data/FilterNode.h"
#include "platform/data/ValueCompare.h"

#include <algorithm>

namespace fat::data {

namespace {

enum class Tri { False, True, Unknown };

bool IsExactNumericType(DataType t) { return IsIntegerType(t) || t == DataType::Decimal; }
bool IsNumericType(DataType t) {
    return IsExactNumericType(t) || t == DataType::Float || t == DataType::Currency;
}

FilterOp Mirrored(FilterOp op) {
    switch (op) {
    case FilterOp::Less: return FilterOp::Greater;
    case FilterOp::LessEqual: return FilterOp::GreaterEqual;
    case FilterOp::Greater: return FilterOp::Less;
    case FilterOp::GreaterEqual: return FilterOp::LessEqual;
    default: return op;
    }
}

int ScaleOf(const Field& f) { return f.dataType() == DataType::Decimal ? f.scale() : 0; }

class Binder {
public:
    Binder(const std::string& text, const std::function<const Field*(const std::string&)>& find)
        : text_(text), find_(find) {}

    void bind(FilterNode& node) {
        switch (node.kind) {
        case FilterNode::Kind::And:
        case FilterNode::Kind::Or:
            bind(*node.left);
            bind(*node.right);
            return;
        case FilterNode::Kind::Not:
            bind(*node.left);
            return;
        case FilterNode::Kind::IsNull:
            bindField(node.a);
            return;
        case FilterNode::Kind::Compare:
            bindCompare(node);
            return;
        }
    }

private:
    const std::string& text_;
    const std::function<const Field*(const std::string&)>& find_;

    [[noreturn]] void fail(const std::string& what) const {
        throw Error("Invalid filter \"" + text_ + "\": " + what);
    }

    void bindField(FilterOperand& o) {
        if (o.kind != FilterOperand::Kind::Field) return;
        o.field = find_(o.name);
        if (!o.field) fail("unknown field '" + o.name + "'");
    }

    void bindCompare(FilterNode& node) {
        bindField(node.a);
        bindField(node.b);
        if (node.a.kind != FilterOperand::Kind::Field && node.b.kind == FilterOperand::Kind::Field) {
            std::swap(node.a, node.b);
            node.op = Mirrored(node.op);
        }
        if (node.a.kind != FilterOperand::Kind::Field) {
            node.compareScale = std::max(node.a.scale, node.b.scale);
            return;
        }
        const Field& f = *node.a.field;
        if (node.b.kind == FilterOperand::Kind::Field) {
            node.compareScale = std::max(ScaleOf(f), ScaleOf(*node.b.field));
            return;
        }
        FilterOperand& c = node.b;
        if (IsNumericType(f.dataType()) && c.kind == FilterOperand::Kind::Number) {
            // Numbers stay exact: 1.005 is not rounded to the field's decimals before comparing.
            node.compareScale = std::max(ScaleOf(f), c.scale);
            return;
        }
        try {
            c.value = f.comparable(c.value);
        } catch (const ConversionError& e) {
            fail(e.what());
        }
        node.compareScale = ScaleOf(f);
    }
};

Tri Not(Tri t) { return t == Tri::Unknown ? t : (t == Tri::True ? Tri::False : Tri::True); }

bool Holds(FilterOp op, int c) {
    switch (op) {
    case FilterOp::Equal: return c == 0;
    case FilterOp::NotEqual: return c != 0;
    case FilterOp::Less: return c < 0;
    case FilterOp::LessEqual: return c <= 0;
    case FilterOp::Greater: return c > 0;
    case FilterOp::GreaterEqual: return c >= 0;
    }
    return false;
}

const Value& OperandValue(const FilterOperand& o, const std::vector<Value>& values) {
    if (o.kind == FilterOperand::Kind::Field) return values[static_cast<std::size_t>(o.field->index())];
    return o.value;
}

Tri Compare(const FilterNode& node, const std::vector<Value>& values) {
    const Value& left = OperandValue(node.a, values);
    const Value* right = &OperandValue(node.b, values);
    if (left.isNull() || right->isNull()) return Tri::Unknown;
    DataType type = DataType::String;
    Value converted;
    if (node.a.kind == FilterOperand::Kind::Field) {
        type = node.a.field->dataType();
        if (node.b.kind == FilterOperand::Kind::Field && node.b.field->dataType() != type) {
            try {
                converted = node.a.field->comparable(*right);
            } catch (const ConversionError&) {
                return Tri::Unknown;
            }
            right = &converted;
        }
    } else if (node.a.kind == FilterOperand::Kind::Number && node.b.kind == FilterOperand::Kind::Number) {
        type = DataType::Decimal;
    }
    return Holds(node.op, CompareValues(left, *right, type, node.compareScale)) ? Tri::True : Tri::False;
}

Tri Evaluate(const FilterNode& node, const std::vector<Value>& values) {
    switch (node.kind) {
    case FilterNode::Kind::And: {
        const Tri l = Evaluate(*node.left, values);
        if (l == Tri::False) return l;
        const Tri r = Evaluate(*node.right, values);
        if (r == Tri::False) return r;
        return l == Tri::True && r == Tri::True ? Tri::True : Tri::Unknown;
    }
    case FilterNode::Kind::Or: {
        const Tri l = Evaluate(*node.left, values);
        if (l == Tri::True) return l;
        const Tri r = Evaluate(*node.right, values);
        if (r == Tri::True) return r;
        return l == Tri::False && r == Tri::False ? Tri::False : Tri::Unknown;
    }
    case FilterNode::Kind::Not:
        return Not(Evaluate(*node.left, values));
    case FilterNode::Kind::IsNull:
        return OperandValue(node.a, values).isNull() != node.negated ? Tri::True : Tri::False;
    case FilterNode::Kind::Compare:
        return Compare(node, values);
    }
    return Tri::Unknown;
}

void CollectEqualities(const FilterNode& node, std::vector<FilterExpression::EqualityTerm>& terms) {
    if (node.kind == FilterNode::Kind::And) {
        CollectEqualities(*node.left, terms);
        CollectEqualities(*node.right, terms);
    } else if (node.kind == FilterNode::Kind::Compare && node.op == FilterOp::Equal &&
               node.a.kind == FilterOperand::Kind::Field && node.b.kind != FilterOperand::Kind::Field &&
               !node.b.value.isNull()) {
        terms.push_back({node.a.field, node.b.value});
    }
}

} // namespace

FilterExpression::FilterExpression(const std::string& text) : text_(text), root_(ParseFilter(text)) {}
FilterExpression::~FilterExpression() = default;
FilterExpression::FilterExpression(FilterExpression&&) noexcept = default;
FilterExpression& FilterExpression::operator=(FilterExpression&&) noexcept = default;

void FilterExpression::bind(const std::function<const Field*(const std::string&)>& find) {
    // Bind a copy of the tree, so that a failed bind leaves the expression as it was.
    auto fresh = ParseFilter(text_);
    Binder(text_, find).bind(*fresh);
    root_ = std::move(fresh);
    bound_ = true;
}

bool FilterExpression::matches(const std::vector<Value>& values) const {
    if (!bound_) throw Error("Filter \"" + text_ + "\" is not bound to the fields of its dataset");
    return Evaluate(*root_, values) == Tri::True;
}

std::vector<FilterExpression::EqualityTerm> FilterExpression::equalityTerms() const {
    std::vector<EqualityTerm> terms;
    if (bound_) CollectEqualities(*root_, terms);
    return terms;
}

} // namespace fat::data
