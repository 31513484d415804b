// libFuzzer target: any text as the filter of a small dataset with fields of every kind, parsed,
// bound and evaluated on every row. A text is either refused with the filter's own Error, at
// parse or at bind, or it gives every row a yes or no; any other exception escapes to libFuzzer
// and a broken invariant aborts. The invariants:
//   - the dataset shows exactly the rows the expression accepts (its lookup index for the
//     equality terms loses none);
//   - no row passes both the expression and NOT (expression);
//   - the expression written back as text (FilterText) accepts the same rows;
//   - every comparison in it accepts the same rows with its operands swapped, and its six
//     operators agree with each other (at most one of <, =, > holds; <= is < or =; ...).
#include "FilterText.h"

#include "platform/core/DateTime.h"
#include "platform/core/Errors.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/FilterExpression.h"
#include "platform/data/FilterNode.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <limits>
#include <optional>
#include <string>
#include <vector>

using namespace fat;
using namespace fat::data;

namespace {

[[noreturn]] void Broken(const std::string& what, const std::string& text) {
    std::fprintf(stderr, "invariant broken: %s\nfilter: %s\n", what.c_str(), text.c_str());
    std::abort();
}

Value S(const char* text) { return Value::fromString(text); }
Value I(std::int64_t v) { return Value::fromInteger(v); }
Value D(const char* text) { return Value::fromDecimal(Decimal::parse(text)); }
Value F(double v) { return Value::fromFloat(v); }
Value Day(int y, int m, int d) { return Value::fromDateTime(EncodeDate(y, m, d)); }

// K numbers the rows; the other fields hold the values a filter can trip on: nulls, signs,
// the ends of their ranges, texts with quotes, blanks and WIN1252 letters.
void Fill(ClientDataSet& ds) {
    ds.addField(FieldDef("K", DataType::Integer));
    ds.addField(FieldDef("ID", DataType::Integer));
    ds.addField(FieldDef("SM", DataType::SmallInt));
    ds.addField(FieldDef("N", DataType::LargeInt));
    ds.addField(FieldDef::decimal("V", 15, 2));
    ds.addField(FieldDef::decimal("W", 18, 4));
    ds.addField(FieldDef("P", DataType::Float));
    ds.addField(FieldDef("M", DataType::Currency));
    ds.addField(FieldDef("S", DataType::String, 10));
    ds.addField(FieldDef("C", DataType::FixedChar, 3));
    ds.addField(FieldDef("DT", DataType::Date));
    ds.addField(FieldDef("TS", DataType::DateTime));
    ds.addField(FieldDef("B", DataType::Boolean));
    ds.createDataSet();
    const std::int64_t big = std::numeric_limits<std::int64_t>::max();
    const std::vector<std::vector<Value>> rows = {
        {I(1), I(1), I(1), I(1), D("1.00"), D("1.0000"), F(1), F(1), S("1"), S("1"), Day(2024, 1, 1), Day(2024, 1, 1), Value::fromBoolean(true)},
        {I(2), I(2), I(-2), I(big), D("1.50"), D("-0.0001"), F(1.5), F(-0.01), S("01"), S("abc"), Day(1899, 12, 30), Value::fromDateTime(45000.5), Value::fromBoolean(false)},
        {I(3), I(-7), I(32767), I(-big), D("-9999999999999.99"), D("99999999999999.9999"), F(1e300), F(2.675), S("D'AVILA"), S(" a "), Day(1901, 1, 1), Value(), Value()},
        {I(4), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value(), Value()},
        {I(5), I(0), I(0), I(0), D("0.00"), D("0.0000"), F(-0.0), F(0), S(""), S("S"), Day(9999, 12, 31), Day(100, 1, 1), Value::fromBoolean(true)},
        {I(6), I(2147483647), I(-32768), I(1000000000000000000), D("0.01"), D("0.5000"), F(0.1), F(1e-9), S("\xC9tica \xE7"), S("N"), Day(2000, 2, 29), Value::fromDateTime(-1.25), Value::fromBoolean(false)},
    };
    for (const auto& row : rows) {
        ds.append();
        for (std::size_t i = 0; i < row.size(); ++i) ds.field(static_cast<int>(i)).setValue(row[i]);
        ds.post();
    }
}

struct Rows {
    const ClientDataSet& ds;
    std::vector<std::vector<Value>> values;

    explicit Rows(ClientDataSet& dataSet) : ds(dataSet) {
        for (dataSet.first(); !dataSet.eof(); dataSet.next()) {
            std::vector<Value> row;
            for (const Field* f : dataSet.fields()) row.push_back(f->value());
            values.push_back(std::move(row));
        }
    }

    // Which rows the text accepts; nothing when it is refused with Error.
    std::optional<std::vector<bool>> accepted(const std::string& text) const {
        std::optional<FilterExpression> e;
        try {
            e.emplace(text);
            e->bind([this](const std::string& name) { return ds.findField(name); });
        } catch (const Error&) {
            return std::nullopt;
        }
        std::vector<bool> out;
        for (const auto& row : values) out.push_back(e->matches(row)); // must not throw
        return out;
    }

    // As accepted(), for a text made from one that was accepted: it must be accepted too.
    std::vector<bool> mustAccept(const std::string& text, const std::string& from) const {
        auto r = accepted(text);
        if (!r) Broken("a text written from an accepted one is refused: " + text, from);
        return *r;
    }
};

// How deep FilterText(node) nests parentheses and NOTs.
int WrittenNesting(const FilterNode& node) {
    int deepest = 0;
    for (const auto& term : node.terms) deepest = std::max(deepest, WrittenNesting(*term));
    if (node.kind == FilterNode::Kind::Not) return deepest + 2;
    return node.terms.empty() ? 0 : deepest + 1;
}

void CheckComparison(const Rows& rows, const FilterNode& node, const std::string& text) {
    const std::string a = fuzz::OperandText(node.a), b = fuzz::OperandText(node.b);
    const std::string as = a + " " + fuzz::OperatorText(node.op) + " " + b;
    const auto direct = rows.accepted(as);
    if (!direct) return; // a constant that cannot be compared with its field
    const std::string swapped = b + " " + fuzz::OperatorText(data::Mirrored(node.op)) + " " + a;
    if (rows.mustAccept(swapped, text) != *direct) Broken("'" + as + "' and '" + swapped + "' differ", text);

    std::vector<std::vector<bool>> by; // by operator, in FilterOp order
    for (FilterOp op : {FilterOp::Equal, FilterOp::NotEqual, FilterOp::Less, FilterOp::LessEqual,
                        FilterOp::Greater, FilterOp::GreaterEqual})
        by.push_back(rows.mustAccept(a + " " + fuzz::OperatorText(op) + " " + b, text));
    const auto nullA = rows.mustAccept(a + " IS NULL", text), nullB = rows.mustAccept(b + " IS NULL", text);
    for (std::size_t r = 0; r < rows.values.size(); ++r) {
        const bool eq = by[0][r], ne = by[1][r], lt = by[2][r], le = by[3][r], gt = by[4][r], ge = by[5][r];
        if (int(eq) + int(lt) + int(gt) > 1) Broken("more than one of <, =, > holds for " + as, text);
        if (le != (lt || eq) || ge != (gt || eq) || ne != (lt || gt))
            Broken("the operators disagree for " + as + " on row " + std::to_string(r + 1), text);
        if ((nullA[r] || nullB[r]) && (eq || ne || lt || gt)) Broken("a null compares for " + as, text);
    }
}

void CheckComparisons(const Rows& rows, const FilterNode& node, const std::string& text, int& budget) {
    if (budget <= 0) return;
    if (node.kind == FilterNode::Kind::Compare) {
        --budget;
        CheckComparison(rows, node, text);
    }
    for (const auto& term : node.terms) CheckComparisons(rows, *term, text, budget);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    ClientDataSet ds("cdsFuzz");
    Fill(ds);
    const Rows rows(ds);

    const auto accepted = rows.accepted(text);
    bool blank = true;
    for (char c : text) blank = blank && static_cast<unsigned char>(c) <= ' ';

    ds.setFiltered(true);
    try {
        ds.setFilter(text);
    } catch (const Error&) {
        if (accepted) Broken("the dataset refuses a filter the expression accepts", text);
        if (!ds.filter().empty()) Broken("a refused filter is in force", text);
        return 0;
    }
    if (!accepted) {
        if (!blank) Broken("the dataset takes a filter the expression refuses", text);
        return 0;
    }

    std::vector<bool> shown(rows.values.size(), false);
    for (ds.first(); !ds.eof(); ds.next()) shown[static_cast<std::size_t>(ds.fieldByName("K").asInteger() - 1)] = true;
    if (shown != *accepted) Broken("the dataset shows other rows than the expression accepts", text);
    if (ds.recordCount() != static_cast<int>(std::count(shown.begin(), shown.end(), true)))
        Broken("recordCount differs from the rows walked", text);

    const auto tree = ParseFilter(text);
    // The texts written below nest deeper than the one given; near the limit they may be refused.
    if (WrittenNesting(*tree) + 2 <= MaxFilterNesting) {
        const std::string written = fuzz::FilterText(*tree);
        if (rows.mustAccept(written, text) != *accepted) Broken("written back as '" + written + "' it differs", text);
        const auto negated = rows.mustAccept("NOT (" + written + ")", text);
        for (std::size_t r = 0; r < negated.size(); ++r)
            if (negated[r] && (*accepted)[r]) Broken("a row passes the filter and its negation", text);
    }

    int budget = 8; // comparisons checked per input, so that long chains stay fast
    CheckComparisons(rows, *tree, text, budget);
    return 0;
}
