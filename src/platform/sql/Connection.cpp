#include "platform/sql/Connection.h"

#include "platform/sql/DatabaseError.h"
#include "platform/sql/IscStatus.h"
#include "platform/sql/PreparedStatement.h"
#include "platform/sql/Query.h"
#include "platform/sql/StatementText.h"
#include "platform/core/Format.h"

#include <ibase.h>

namespace fat::sql {
namespace {

// The transaction parameters the settings ask for: read committed (seeing the latest committed
// version) or snapshot; waiting on locks or failing at once.
std::string TransactionParameters(const std::string& isolation, const std::string& wait) {
    std::string tpb{static_cast<char>(isc_tpb_version3), static_cast<char>(isc_tpb_write)};
    if (UpperCase(isolation) == "REPEATABLEREAD") {
        tpb += static_cast<char>(isc_tpb_concurrency);
    } else {
        tpb += static_cast<char>(isc_tpb_read_committed);
        tpb += static_cast<char>(isc_tpb_rec_version);
    }
    tpb += static_cast<char>(UpperCase(wait) == "FALSE" ? isc_tpb_nowait : isc_tpb_wait);
    return tpb;
}

// The value of the first line whose name ends with `suffix` ("DevartInterBase TransIsolation").
std::string ParamEndingWith(const std::vector<std::string>& lines, const std::string& suffix) {
    const std::string wanted = UpperCase(suffix);
    for (const auto& line : lines) {
        const auto eq = line.find('=');
        if (eq == std::string::npos || eq < wanted.size()) continue;
        if (UpperCase(line.substr(eq - wanted.size(), wanted.size())) == wanted) return line.substr(eq + 1);
    }
    return {};
}

void AddDpbText(std::string& dpb, char item, const std::string& value) {
    if (value.size() > 255) throw DatabaseError("connection parameter too long");
    dpb += item;
    dpb += static_cast<char>(value.size());
    dpb += value;
}

constexpr std::size_t StatementCacheLimit = 512;

std::string Unpadded(std::string s) {
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

} // namespace

Connection::Connection() = default;

Connection::~Connection() {
    try { close(); } catch (...) {}
}

std::string Connection::param(const std::string& name) const {
    const std::string wanted = UpperCase(name);
    for (const auto& line : params_) {
        const auto eq = line.find('=');
        if (eq != std::string::npos && UpperCase(line.substr(0, eq)) == wanted) return line.substr(eq + 1);
    }
    return {};
}

void Connection::open() {
    if (connected()) return;
    std::string dpb(1, static_cast<char>(isc_dpb_version1));
    AddDpbText(dpb, isc_dpb_user_name, param("User_Name"));
    AddDpbText(dpb, isc_dpb_password, param("Password"));
    AddDpbText(dpb, isc_dpb_lc_ctype, "WIN1252");
    const std::string location = param("Database");
    tpb_ = TransactionParameters(ParamEndingWith(params_, "TransIsolation"), param("WaitOnLocks"));
    exactDecimals_ = UpperCase(param("EnableBCD")) != "FALSE";
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    isc_attach_database(status, 0, location.c_str(), &db, static_cast<short>(dpb.size()), dpb.data());
    CheckStatus(status);
    db_ = db;
}

bool Connection::connected() const { return db_ != 0; }

void Connection::dropStatements() {
    cacheAge_.clear();
    statementCache_.clear(); // frees the handles while the attachment is alive
}

void Connection::close() {
    if (!connected()) return;
    ISC_STATUS_ARRAY status;
    dropStatements();
    if (explicitTx_) isc_rollback_transaction(status, &explicitTx_);
    if (autoTx_) isc_commit_transaction(status, &autoTx_);
    explicitTx_ = autoTx_ = 0;
    openCursors_ = 0;
    ++generation_;
    isc_detach_database(status, &db_);
    db_ = 0;
}

unsigned int* Connection::dbHandle() {
    if (!connected()) throw DatabaseError("the database connection is not open");
    return &db_;
}

void Connection::startAutoTransaction() {
    ISC_STATUS_ARRAY status;
    isc_start_transaction(status, &autoTx_, 1, dbHandle(), static_cast<unsigned short>(tpb_.size()),
                          tpb_.data());
    CheckStatus(status);
}

unsigned int* Connection::currentTransaction() {
    if (explicitTx_) return &explicitTx_;
    if (!autoTx_) startAutoTransaction();
    return &autoTx_;
}

void Connection::autoCommit() {
    if (explicitTx_ || !autoTx_) return;
    ISC_STATUS_ARRAY status;
    // With a cursor still open the transaction must live on: commit and keep its context.
    if (openCursors_ > 0) {
        isc_commit_retaining(status, &autoTx_);
    } else {
        isc_commit_transaction(status, &autoTx_);
        if (!(status[0] == 1 && status[1])) autoTx_ = 0;
    }
    CheckStatus(status);
}

void Connection::startTransaction(int id) {
    if (explicitTx_) throw DatabaseError("a transaction is already active");
    ISC_STATUS_ARRAY status;
    isc_tr_handle tr = 0;
    isc_start_transaction(status, &tr, 1, dbHandle(), static_cast<unsigned short>(tpb_.size()), tpb_.data());
    CheckStatus(status);
    explicitTx_ = tr;
    transactionId_ = id;
}

void Connection::commit() {
    if (!explicitTx_) throw DatabaseError("no transaction is active");
    ISC_STATUS_ARRAY status;
    isc_commit_transaction(status, &explicitTx_);
    CheckStatus(status); // a failed commit leaves the transaction for a rollback
    explicitTx_ = 0;
}

void Connection::rollback() {
    if (!explicitTx_) throw DatabaseError("no transaction is active");
    ISC_STATUS_ARRAY status;
    isc_rollback_transaction(status, &explicitTx_);
    explicitTx_ = 0;
    CheckStatus(status);
}

bool Connection::inTransaction() const { return explicitTx_ != 0; }

std::vector<std::string> Connection::primaryKey(const std::string& table) {
    Query q(*this);
    q.setSql("select s.RDB$FIELD_NAME from RDB$RELATION_CONSTRAINTS c\n"
             "join RDB$INDEX_SEGMENTS s on s.RDB$INDEX_NAME = c.RDB$INDEX_NAME\n"
             "where c.RDB$RELATION_NAME = :T and c.RDB$CONSTRAINT_TYPE = 'PRIMARY KEY'\n"
             "order by s.RDB$FIELD_POSITION");
    q.paramByName("T").setAsString(UpperCase(table));
    std::vector<std::string> key;
    for (q.open(); !q.eof(); q.next()) key.push_back(Unpadded(q.field(0).asString()));
    return key;
}

std::vector<ColumnInfo> Connection::tableColumns(const std::string& table) {
    Query q(*this);
    q.setSql("select rf.RDB$FIELD_NAME, f.RDB$FIELD_TYPE, f.RDB$FIELD_SUB_TYPE, f.RDB$CHARACTER_LENGTH,\n"
             "f.RDB$FIELD_PRECISION, f.RDB$FIELD_SCALE, coalesce(rf.RDB$NULL_FLAG, f.RDB$NULL_FLAG, 0)\n"
             "from RDB$RELATION_FIELDS rf join RDB$FIELDS f on f.RDB$FIELD_NAME = rf.RDB$FIELD_SOURCE\n"
             "where rf.RDB$RELATION_NAME = :T order by rf.RDB$FIELD_POSITION");
    q.paramByName("T").setAsString(UpperCase(table));
    std::vector<ColumnInfo> columns;
    for (q.open(); !q.eof(); q.next()) {
        ColumnInfo c;
        c.name = c.origin = Unpadded(q.field(0).asString());
        c.relation = UpperCase(table);
        const auto type = q.field(1).asInteger();
        const int scale = static_cast<int>(-q.field(5).asInteger());
        switch (type) {
        case 7: c.type = scale ? DataType::Decimal : DataType::SmallInt; break;
        case 8: c.type = scale ? DataType::Decimal : DataType::Integer; break;
        case 16: c.type = scale ? DataType::Decimal : DataType::LargeInt; break;
        case 10: case 27: c.type = DataType::Float; break;
        case 12: c.type = DataType::Date; break;
        case 13: c.type = DataType::Time; break;
        case 35: c.type = DataType::DateTime; break;
        case 14: c.type = DataType::FixedChar; break;
        case 37: c.type = DataType::String; break;
        case 23: c.type = DataType::Boolean; break;
        case 261: c.type = q.field(2).asInteger() == 1 ? DataType::Memo : DataType::Blob; break;
        default: c.type = DataType::Unknown;
        }
        c.size = static_cast<int>(q.field(3).asInteger());
        c.precision = static_cast<int>(q.field(4).asInteger());
        c.scale = scale;
        c.nullable = q.field(6).asInteger() == 0;
        columns.push_back(c);
    }
    return columns;
}

void Connection::createDatabase(const std::string& location, const std::string& user,
                                const std::string& password) {
    const std::string sqlText = "create database " + QuotedStr(location) + " user " + QuotedStr(user) +
                                " password " + QuotedStr(password) +
                                " page_size 8192 default character set WIN1252";
    ISC_STATUS_ARRAY status;
    isc_db_handle db = 0;
    isc_tr_handle tr = 0;
    isc_dsql_execute_immediate(status, &db, &tr, StatementTextLength(sqlText), sqlText.c_str(), 3, nullptr);
    CheckStatus(status);
    isc_detach_database(status, &db);
}

void Connection::executeImmediate(const std::string& sqlText) {
    ISC_STATUS_ARRAY status;
    isc_dsql_execute_immediate(status, dbHandle(), currentTransaction(), StatementTextLength(sqlText),
                               sqlText.c_str(), 3, nullptr);
    CheckStatus(status);
    noteExecuted(sqlText, {});
    autoCommit();
}

std::shared_ptr<PreparedStatement> Connection::acquireStatement(const std::string& sqlText) {
    const auto found = statementCache_.find(sqlText);
    if (found != statementCache_.end()) {
        auto statement = std::move(found->second.statement);
        cacheAge_.erase(found->second.released);
        statementCache_.erase(found);
        return statement;
    }
    ++statementsPrepared_;
    return std::make_shared<PreparedStatement>(*this, sqlText);
}

void Connection::releaseStatement(std::shared_ptr<PreparedStatement> statement) {
    if (!statement || statement->generation() != generation_ || !connected()) return;
    statement->closeCursor();
    if (statementCache_.size() >= StatementCacheLimit) {
        const auto oldest = cacheAge_.begin();
        statementCache_.erase(oldest->second);
        cacheAge_.erase(oldest);
    }
    const std::uint64_t released = ++releases_;
    std::string text = statement->sqlText();
    const auto cached = statementCache_.emplace(std::move(text), CachedStatement{std::move(statement), released});
    cacheAge_.emplace(released, cached);
}

void Connection::noteExecuted(const std::string& sqlText, const std::vector<Value>& params) {
    ++statementsExecuted_;
    if (observer_) observer_(sqlText, params);
}

} // namespace fat::sql
