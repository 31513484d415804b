#pragma once
#include "platform/data/Delta.h"
#include "platform/data/FieldDef.h"
#include "platform/data/UpdateError.h"

#include <functional>
#include <vector>

namespace fat::data {

// What a provider hands to a client dataset: the fields and every row, values in field order.
struct ProviderData {
    std::vector<FieldDef> fields;
    std::vector<std::vector<Value>> rows;
};

// The outcome of applying a delta: which changes reached the database, and how many failed.
struct ApplyResult {
    std::vector<bool> applied;
    int errorCount = 0;
};

// Feeds client datasets with data and applies their changes back.
//
// applyUpdates() hands the changes, in order, to applyChange(). A change that fails with an
// Error goes to the update-error handler: when the handler throws, that error ends the apply;
// when it returns (or there is none) the failure is counted, and once the count exceeds
// maxErrors (0: none tolerated, negative: no limit) the failure itself is raised. An apply that
// raises is aborted (abortApply), one that ends is finished (finishApply).
class Provider {
public:
    using UpdateErrorHandler = std::function<void(const UpdateError&)>;

    virtual ~Provider() = default;

    virtual ProviderData fetch() = 0;
    // The fields without rows; by default those of a fetch.
    virtual std::vector<FieldDef> describe() { return fetch().fields; }

    void setOnUpdateError(UpdateErrorHandler handler) { onUpdateError_ = std::move(handler); }
    const UpdateErrorHandler& onUpdateError() const { return onUpdateError_; }

    // The `count` changes are made one at a time by `changeAt` (0 to count - 1, in order): a
    // large apply then never holds a second copy of every pending row. The hooks see a delta
    // with the fields and no changes.
    ApplyResult applyUpdates(const std::vector<FieldDef>& fields, std::size_t count,
                             const std::function<RowChange(std::size_t)>& changeAt, int maxErrors);

protected:
    virtual void beginApply(const Delta& delta) { (void)delta; }
    virtual void applyChange(const Delta& delta, const RowChange& change) = 0;
    virtual void finishApply() {}
    virtual void abortApply() noexcept {}
    // The fields of a failed row as its update-error handler sees them: indexes into
    // delta.fields, in the order of the table's columns. By default all fields in their order.
    virtual std::vector<std::size_t> errorFieldOrder(const Delta& delta);

private:
    UpdateErrorHandler onUpdateError_;

    UpdateError describeFailure(const Delta& delta, const RowChange& change, const std::string& message,
                                std::exception_ptr error);
};

} // namespace fat::data
