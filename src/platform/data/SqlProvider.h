#pragma once
#include "platform/data/Provider.h"
#include "platform/sql/ColumnInfo.h"

#include <memory>
#include <string>
#include <vector>

namespace fat::sql { class Query; }

namespace fat::data {

// A provider over a query: fetching opens the query, takes its columns as fields, reads every
// row and closes it. Applying writes the changes into the query's table (the one table its
// columns come from, or the one named with setUpdateTable):
// - an insert sends every field that is a column of the table, nulls included;
// - an update sends only the columns that changed;
// - updates and deletes find their row by the table's primary key, or, for a table without
//   one, by all of the row's stored values ("is null" for nulls); a change that finds no row
//   (or more than one) fails.
// Each statement text is prepared once and reused for every row that needs it. Inside the
// connection's explicit transaction the apply leaves commit and rollback to the caller, also
// when it fails; without one it runs in a transaction of its own, committed at the end and
// rolled back on failure, so that nothing or everything is written.
class SqlProvider : public Provider {
public:
    explicit SqlProvider(sql::Query& query);
    ~SqlProvider() override;

    sql::Query& query() const { return *query_; }
    void setUpdateTable(std::string table) { updateTable_ = std::move(table); }
    const std::string& updateTable() const { return updateTable_; }

    ProviderData fetch() override;
    // Prepares the query and reports its columns without running it.
    std::vector<FieldDef> describe() override;

protected:
    void beginApply(const Delta& delta) override;
    void applyChange(const Delta& delta, const RowChange& change) override;
    void finishApply() override;
    void abortApply() noexcept override;
    std::vector<std::size_t> errorFieldOrder(const Delta& delta) override;

private:
    struct Plan;
    struct PlanStatement;
    sql::Query* query_;
    std::string updateTable_;
    std::vector<sql::ColumnInfo> columns_; // of the last fetch or describe
    std::unique_ptr<Plan> plan_;           // while an apply runs

    std::string decideTable(const Delta& delta) const;
    PlanStatement& statementFor(const std::string& text, const std::vector<const Value*>& set,
                                  const std::vector<const Value*>& keys);
    std::int64_t run(PlanStatement& statement, const std::vector<const Value*>& set,
                     const std::vector<const Value*>& keys);
};

} // namespace fat::data
