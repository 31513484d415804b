#include "platform/data/Provider.h"

#include "platform/core/Errors.h"

namespace fat::data {

std::vector<std::size_t> Provider::errorFieldOrder(const Delta& delta) {
    std::vector<std::size_t> order(delta.fields.size());
    for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
    return order;
}

UpdateError Provider::describeFailure(const Delta& delta, const RowChange& change, const std::string& message,
                                      std::exception_ptr error) {
    const std::vector<Value>& source = change.kind == ChangeKind::Delete ? change.original : change.values;
    std::vector<std::string> names;
    std::vector<Value> values;
    for (std::size_t i : errorFieldOrder(delta)) {
        names.push_back(delta.fields[i].name);
        values.push_back(i < source.size() ? source[i] : Value());
    }
    return UpdateError(change.kind, message, std::move(names), std::move(values), std::move(error));
}

ApplyResult Provider::applyUpdates(const std::vector<FieldDef>& fields, std::size_t count,
                                   const std::function<RowChange(std::size_t)>& changeAt, int maxErrors) {
    Delta delta; // the fields only: the changes come one at a time
    delta.fields = fields;
    ApplyResult result;
    result.applied.assign(count, false);
    if (count == 0) return result;
    beginApply(delta);
    try {
        for (std::size_t i = 0; i < count; ++i) {
            const RowChange change = changeAt(i);
            try {
                applyChange(delta, change);
                result.applied[i] = true;
            } catch (const Error& e) {
                const std::exception_ptr failure = std::current_exception();
                if (onUpdateError_) onUpdateError_(describeFailure(delta, change, e.what(), failure));
                ++result.errorCount;
                if (maxErrors >= 0 && result.errorCount > maxErrors) std::rethrow_exception(failure);
            }
        }
        finishApply();
    } catch (...) {
        abortApply();
        throw;
    }
    return result;
}

} // namespace fat::data
