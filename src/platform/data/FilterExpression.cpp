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

int ScaleOf(const Field& f) { return f.dataType() == DataType::Decimal ? f.scale() : 0; }

class Binder {
public:
    Binder(const std::string& text, const std::function<const Field*(const std::string&)>& find)
        : text_(text), find_(find) {}

    void bind(FilterNode& node) {
        switch (node.kind) {
        case FilterNode::Kind::And:
        case FilterNode::Kind::Or:
        case FilterNode::Kind::Not:
            for (auto& term : node.terms) bind(*term);
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

bool IsTextLike(DataType t) { return IsTextType(t) || t == DataType::Blob || t == DataType::Unknown; }
bool IsDateType(DataType t) { return t == DataType::Date || t == DataType::Time || t == DataType::DateTime; }

// The type two fields of different types are compared as, the same whichever side each is on:
// numbers by value (exactly when both are exact; a boolean counts as 0 or 1), dates with dates
// or numbers as day counts, a text as the other field's type.
DataType CommonType(DataType x, DataType y) {
    if (IsTextLike(x) && IsTextLike(y)) return DataType::String;
    if (IsTextLike(x)) return y;
    if (IsTextLike(y)) return x;
    const auto exact = [](DataType t) { return IsExactNumericType(t) || t == DataType::Boolean; };
    if (exact(x) && exact(y)) return DataType::Decimal;
    if (IsDateType(x) || IsDateType(y)) return DataType::DateTime;
    return DataType::Float;
}

// Two fields of different types; Unknown when a value cannot take the common type.
Tri CompareMixed(const FilterNode& node, const Value& left, const Value& right) {
    const DataType common = CommonType(node.a.field->dataType(), node.b.field->dataType());
    const auto as = [common, &node](const Field& f, const Value& v) {
        return IsTextLike(f.dataType()) && !IsTextLike(common) ? v.convertedTo(common, node.compareScale) : v;
    };
    try {
        const Value l = as(*node.a.field, left), r = as(*node.b.field, right);
        return Holds(node.op, CompareValues(l, r, common, node.compareScale)) ? Tri::True : Tri::False;
    } catch (const ConversionError&) {
        return Tri::Unknown;
    }
}

Tri Compare(const FilterNode& node, const std::vector<Value>& values) {
    const Value& left = OperandValue(node.a, values);
    const Value& right = OperandValue(node.b, values);
    if (left.isNull() || right.isNull()) return Tri::Unknown;
    DataType type = DataType::String;
    if (node.a.kind == FilterOperand::Kind::Field) {
        type = node.a.field->dataType();
        if (node.b.kind == FilterOperand::Kind::Field && node.b.field->dataType() != type)
            return CompareMixed(node, left, right);
    } else if (node.a.kind == FilterOperand::Kind::Number && node.b.kind == FilterOperand::Kind::Number) {
        type = DataType::Decimal;
    }
    return Holds(node.op, CompareValues(left, right, type, node.compareScale)) ? Tri::True : Tri::False;
}

Tri Evaluate(const FilterNode& node, const std::vector<Value>& values) {
    switch (node.kind) {
    case FilterNode::Kind::And:
    case FilterNode::Kind::Or: {
        // AND: false as soon as one term is false; OR: true as soon as one is true.
        const Tri decisive = node.kind == FilterNode::Kind::And ? Tri::False : Tri::True;
        bool unknown = false;
        for (const auto& term : node.terms) {
            const Tri t = Evaluate(*term, values);
            if (t == decisive) return t;
            unknown = unknown || t == Tri::Unknown;
        }
        return unknown ? Tri::Unknown : Not(decisive);
    }
    case FilterNode::Kind::Not:
        return Not(Evaluate(*node.terms.front(), values));
    case FilterNode::Kind::IsNull:
        return OperandValue(node.a, values).isNull() != node.negated ? Tri::True : Tri::False;
    case FilterNode::Kind::Compare:
        return Compare(node, values);
    }
    return Tri::Unknown;
}

void CollectEqualities(const FilterNode& node, std::vector<FilterExpression::EqualityTerm>& terms) {
    if (node.kind == FilterNode::Kind::And) {
        for (const auto& term : node.terms) CollectEqualities(*term, terms);
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

FilterOp Mirrored(FilterOp op) {
    switch (op) {
    case FilterOp::Less: return FilterOp::Greater;
    case FilterOp::LessEqual: return FilterOp::GreaterEqual;
    case FilterOp::Greater: return FilterOp::Less;
    case FilterOp::GreaterEqual: return FilterOp::LessEqual;
    default: return op;
    }
}

} // namespace fat::data
