#pragma once
#include "platform/core/Errors.h"
#include "platform/data/ClientDataSet.h"
#include "platform/data/Provider.h"

#include <functional>
#include <string>
#include <vector>

namespace fat::data::test {

// A provider over rows held in memory that records what it is asked to apply. `failWhen`
// decides which changes fail (it throws), so that error handling can be tested without a
// database.
class MemoryProvider : public Provider {
public:
    std::vector<FieldDef> columns;
    std::vector<std::vector<Value>> rows;

    struct Applied {
        ChangeKind kind;
        std::vector<std::string> names;
        std::vector<Value> values;
        std::vector<Value> original;
        std::vector<bool> changed;
    };
    std::vector<Applied> applied; // what reached the "database", in order
    std::function<void(const RowChange&)> failWhen;
    std::vector<std::size_t> reportOrder; // errorFieldOrder; empty: the default
    int begun = 0, finished = 0, aborted = 0, fetches = 0;

    ProviderData fetch() override {
        ++fetches;
        return ProviderData{columns, rows};
    }

protected:
    void beginApply(const Delta&) override { ++begun; }
    void applyChange(const Delta& delta, const RowChange& change) override {
        if (failWhen) failWhen(change);
        Applied a{change.kind, {}, change.values, change.original, change.changed};
        for (const auto& f : delta.fields) a.names.push_back(f.name);
        applied.push_back(std::move(a));
    }
    void finishApply() override { ++finished; }
    void abortApply() noexcept override { ++aborted; }
    std::vector<std::size_t> errorFieldOrder(const Delta& delta) override {
        return reportOrder.empty() ? Provider::errorFieldOrder(delta) : reportOrder;
    }
};

// Values of one field over the visible rows, in walk order (the cursor ends after the last).
inline std::vector<std::string> Walk(ClientDataSet& ds, const std::string& fieldName) {
    std::vector<std::string> out;
    for (ds.first(); !ds.eof(); ds.next()) out.push_back(ds.fieldByName(fieldName).asString());
    return out;
}

inline void AppendRow(ClientDataSet& ds, const std::vector<std::pair<std::string, Value>>& values) {
    ds.append();
    for (const auto& [name, value] : values) ds.fieldByName(name).setValue(value);
    ds.post();
}

inline Value S(const std::string& text) { return Value::fromString(text); }
inline Value I(std::int64_t v) { return Value::fromInteger(v); }
inline Value F(double v) { return Value::fromFloat(v); }
inline Value D(const std::string& text) { return Value::fromDecimal(Decimal::parse(text)); }

} // namespace fat::data::test
