#include "platform/data/SqlProvider.h"

#include "platform/core/Errors.h"
#include "platform/core/Format.h"
#include "platform/data/SqlStatements.h"
#include "platform/sql/Connection.h"
#include "platform/sql/Query.h"
#include "platform/sql/Transaction.h"

#include <map>
#include <set>

namespace fat::data {

// One prepared query per text, with its parameters in the order the values come (:P1 ..., then
// :K1 ...; a null key has none), found once when the text is first used.
struct SqlProvider::PlanStatement {
    std::unique_ptr<sql::Query> query;
    std::vector<sql::Param*> set;
    std::vector<sql::Param*> keys;
};

struct SqlProvider::Plan {
    std::string table;
    std::vector<std::string> column;    // per delta field: its column in the table, "" when none
    std::vector<bool> matchable;        // per delta field: usable to find a row (not a blob)
    std::vector<std::size_t> key;       // delta fields of the primary key; empty: the table has none
    std::vector<std::size_t> tableOrder; // delta fields that are columns, in the table's order
    std::map<std::string, PlanStatement> statements;
    PlanStatement* insert = nullptr; // every insert of an apply sends the same columns
    std::unique_ptr<sql::Transaction> ownTransaction;
};

SqlProvider::SqlProvider(sql::Query& query) : query_(&query) {}

SqlProvider::~SqlProvider() = default;

// --- Fetch ----------------------------------------------------------------------------------

ProviderData SqlProvider::fetch() {
    struct Closer {
        sql::Query& q;
        ~Closer() {
            try {
                q.close();
            } catch (...) {
            }
        }
    };
    query_->close();
    query_->open();
    Closer closer{*query_};
    columns_ = query_->columns();
    ProviderData data;
    for (const auto& c : columns_) data.fields.push_back(FieldDef::fromColumn(c));
    for (; !query_->eof(); query_->next()) data.rows.push_back(query_->row());
    return data;
}

std::vector<FieldDef> SqlProvider::describe() {
    query_->prepare();
    columns_ = query_->columns();
    std::vector<FieldDef> fields;
    for (const auto& c : columns_) fields.push_back(FieldDef::fromColumn(c));
    return fields;
}

// --- Apply ----------------------------------------------------------------------------------

namespace {

const sql::ColumnInfo* ColumnNamed(const std::vector<sql::ColumnInfo>& columns, const std::string& name) {
    const std::string wanted = UpperCase(name);
    for (const auto& c : columns)
        if (UpperCase(c.name) == wanted) return &c;
    return nullptr;
}

} // namespace

std::string SqlProvider::decideTable(const Delta& delta) const {
    std::set<std::string> relations;
    for (const auto& f : delta.fields)
        if (const sql::ColumnInfo* c = ColumnNamed(columns_, f.name); c && !c->relation.empty())
            relations.insert(c->relation);
    if (relations.size() == 1) return *relations.begin();
    std::string names;
    for (const auto& r : relations) names += (names.empty() ? "" : ", ") + r;
    throw Error("Cannot apply the changes: " +
                (relations.empty() ? std::string("no field of the data comes from a table")
                                   : "the fields come from several tables (" + names + ")") +
                "; the table to update must be named");
}

void SqlProvider::beginApply(const Delta& delta) {
    sql::Connection& connection = query_->connection();
    if (columns_.empty()) {
        query_->prepare();
        columns_ = query_->columns();
    }
    auto plan = std::make_unique<Plan>();
    plan->table = updateTable_.empty() ? decideTable(delta) : UpperCase(updateTable_);
    const std::vector<sql::ColumnInfo> tableColumns = connection.tableColumns(plan->table);
    if (tableColumns.empty()) throw Error("Cannot apply the changes: table '" + plan->table + "' not found");

    for (const auto& f : delta.fields) {
        // A field is a column of the table when the query read it from that table, or, for a
        // field the query does not have, when the table has a column of its name.
        std::string name;
        if (const sql::ColumnInfo* c = ColumnNamed(columns_, f.name)) {
            if (c->relation == plan->table) name = c->origin.empty() ? c->name : c->origin;
        } else {
            name = f.name;
        }
        const sql::ColumnInfo* tc = name.empty() ? nullptr : ColumnNamed(tableColumns, name);
        plan->column.push_back(tc ? tc->name : std::string());
        plan->matchable.push_back(tc && tc->type != DataType::Blob && tc->type != DataType::Memo);
    }
    for (const auto& tc : tableColumns)
        for (std::size_t i = 0; i < plan->column.size(); ++i)
            if (plan->column[i] == tc.name) plan->tableOrder.push_back(i);

    for (const auto& keyColumn : connection.primaryKey(plan->table)) {
        std::size_t found = plan->column.size();
        for (std::size_t i = 0; i < plan->column.size(); ++i)
            if (plan->column[i] == keyColumn) found = i;
        if (found == plan->column.size())
            throw Error("Cannot apply the changes: key column '" + keyColumn + "' of table '" + plan->table +
                        "' is not among the fields of the data");
        plan->key.push_back(found);
    }
    if (!connection.inTransaction()) plan->ownTransaction = std::make_unique<sql::Transaction>(connection);
    plan_ = std::move(plan);
}

SqlProvider::PlanStatement& SqlProvider::statementFor(const std::string& text, const std::vector<const Value*>& set,
                                                      const std::vector<const Value*>& keys) {
    PlanStatement& slot = plan_->statements[text];
    if (!slot.query) {
        PlanStatement made;
        made.query = std::make_unique<sql::Query>(query_->connection());
        made.query->setSql(text);
        for (std::size_t i = 0; i < set.size(); ++i)
            made.set.push_back(&made.query->paramByName("P" + std::to_string(i + 1)));
        for (std::size_t i = 0; i < keys.size(); ++i)
            made.keys.push_back(keys[i] ? &made.query->paramByName("K" + std::to_string(i + 1)) : nullptr);
        slot = std::move(made);
    }
    return slot;
}

std::int64_t SqlProvider::run(PlanStatement& statement, const std::vector<const Value*>& set,
                              const std::vector<const Value*>& keys) {
    for (std::size_t i = 0; i < set.size(); ++i) statement.set[i]->setValue(*set[i]);
    for (std::size_t i = 0; i < keys.size(); ++i)
        if (keys[i]) statement.keys[i]->setValue(*keys[i]);
    return statement.query->execSql();
}

void SqlProvider::applyChange(const Delta& delta, const RowChange& change) {
    (void)delta;
    Plan& plan = *plan_;
    if (change.kind == ChangeKind::Insert) {
        std::vector<const Value*> values;
        for (std::size_t i = 0; i < plan.column.size(); ++i)
            if (!plan.column[i].empty()) values.push_back(&change.values[i]);
        if (!plan_->insert) {
            std::vector<std::string> columns;
            for (const auto& column : plan.column)
                if (!column.empty()) columns.push_back(column);
            plan_->insert = &statementFor(InsertStatement(plan.table, columns), values, {});
        }
        run(*plan_->insert, values, {});
        return;
    }

    // The row as it is stored: by its key, or by every value that can be compared.
    std::vector<WhereColumn> where;
    std::vector<const Value*> keys;
    const auto match = [&](std::size_t i) {
        const Value& v = change.original[i];
        where.push_back({plan.column[i], v.isNull()});
        keys.push_back(v.isNull() ? nullptr : &v);
    };
    if (!plan.key.empty()) {
        for (std::size_t i : plan.key) match(i);
    } else {
        for (std::size_t i = 0; i < plan.column.size(); ++i)
            if (plan.matchable[i]) match(i);
    }
    if (where.empty()) throw Error("Cannot find the row to " + std::string(ChangeKindName(change.kind)) +
                                   " in table '" + plan.table + "': it has no column to compare");

    std::int64_t rows = 0;
    if (change.kind == ChangeKind::Update) {
        std::vector<std::string> columns;
        std::vector<const Value*> values;
        for (std::size_t i = 0; i < plan.column.size(); ++i) {
            if (plan.column[i].empty() || i >= change.changed.size() || !change.changed[i]) continue;
            columns.push_back(plan.column[i]);
            values.push_back(&change.values[i]);
        }
        if (columns.empty()) return; // only values that are no columns of the table changed
        rows = run(statementFor(UpdateStatement(plan.table, columns, where), values, keys), values, keys);
    } else {
        rows = run(statementFor(DeleteStatement(plan.table, where), {}, keys), {}, keys);
    }
    if (rows == 0) throw Error("Record not found or changed by another user (" + std::string(ChangeKindName(change.kind)) +
                               " of table '" + plan.table + "')");
    if (rows > 1)
        throw Error("The " + std::string(ChangeKindName(change.kind)) + " of one row changed " + std::to_string(rows) +
                    " rows of table '" + plan.table + "'");
}

void SqlProvider::finishApply() {
    plan_->statements.clear();
    if (plan_->ownTransaction) plan_->ownTransaction->commit();
    plan_.reset();
}

void SqlProvider::abortApply() noexcept {
    if (!plan_) return;
    plan_->statements.clear();
    plan_.reset(); // an own transaction rolls back as it goes
}

std::vector<std::size_t> SqlProvider::errorFieldOrder(const Delta& delta) {
    if (!plan_) return Provider::errorFieldOrder(delta);
    return plan_->tableOrder;
}

} // namespace fat::data
