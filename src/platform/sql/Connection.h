#pragma once
#include "platform/sql/ColumnInfo.h"

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

namespace fat::sql {

class PreparedStatement;

// One attachment to a Firebird database through the client library. The location decides
// the route: "/path/db.fdb" opens the file with the embedded engine, "host:/path" and
// "host/port:/path" go to a server over TCP.
//
// The parameter list holds "Name=Value" lines; open() uses Database, User_Name, Password,
// SQLDialect, "... TransIsolation" (ReadCommited, the default, or RepeatableRead), WaitOnLocks
// (True, the default, or False) and EnableBCD (True, the default: exact decimals; False: NUMERIC
// and DECIMAL columns as floats). Texts are always single-byte WIN1252.
//
// Statements run inside the explicit transaction while one is active; otherwise in the
// connection's own transaction, which commits after every statement that changes data.
class Connection {
public:
    Connection();
    ~Connection();
    Connection(const Connection&) = delete;
    Connection& operator=(const Connection&) = delete;

    std::vector<std::string>& params() { return params_; }
    const std::vector<std::string>& params() const { return params_; }
    // Value of the first "Name=..." line, names compared without regard to case; "" if none.
    std::string param(const std::string& name) const;

    void open();
    void close();
    bool connected() const;

    // Explicit transaction: read committed, waiting on locks. Only one at a time.
    void startTransaction(int id = 0);
    void commit();
    void rollback();
    bool inTransaction() const;
    bool exactDecimals() const { return exactDecimals_; }
    int transactionId() const { return transactionId_; }

    // Columns of a table's primary key, in key order; empty when it has none.
    std::vector<std::string> primaryKey(const std::string& table);
    // Columns of a table, in their table order.
    std::vector<ColumnInfo> tableColumns(const std::string& table);

    // Creates a database file (single-byte WIN1252 texts, dialect 3) at the location.
    static void createDatabase(const std::string& location, const std::string& user,
                               const std::string& password);
    // Runs a statement at once (DDL included) in the connection's own transaction handling.
    void executeImmediate(const std::string& sqlText);

    // Called with the text and parameter values of every statement executed (for benchmarks
    // and tests that count round trips). Empty by default.
    using StatementObserver = std::function<void(const std::string& sql, const std::vector<Value>& params)>;
    void setStatementObserver(StatementObserver observer) { observer_ = std::move(observer); }
    std::uint64_t statementsExecuted() const { return statementsExecuted_; }
    std::uint64_t statementsPrepared() const { return statementsPrepared_; }
    // Changes whenever the attachment is closed; statements of an older one are stale.
    std::uint64_t generation() const { return generation_; }

    // --- used by Query ---
    unsigned int* dbHandle();
    // The transaction a statement runs in now (explicit or the connection's own).
    unsigned int* currentTransaction();
    // After a statement that changed data outside an explicit transaction.
    void autoCommit();
    std::shared_ptr<PreparedStatement> acquireStatement(const std::string& sqlText);
    void releaseStatement(std::shared_ptr<PreparedStatement> statement);
    void noteExecuted(const std::string& sql, const std::vector<Value>& params);
    void cursorOpened() { ++openCursors_; }
    void cursorClosed() { if (openCursors_ > 0) --openCursors_; }

private:
    std::vector<std::string> params_;
    std::string tpb_;
    bool exactDecimals_ = true;
    unsigned int db_ = 0;
    unsigned int autoTx_ = 0;
    unsigned int explicitTx_ = 0;
    int transactionId_ = 0;
    int openCursors_ = 0;
    // Statements whose queries were closed for good or given another text, kept for the next
    // query of the same text. When full, the one released longest ago goes: texts made once
    // (with literal values) then leave before the statements that are used over and over.
    struct CachedStatement {
        std::shared_ptr<PreparedStatement> statement;
        std::uint64_t released = 0; // its key in cacheAge_
    };
    using StatementCache = std::multimap<std::string, CachedStatement>;
    StatementCache statementCache_;
    std::map<std::uint64_t, StatementCache::iterator> cacheAge_; // oldest release first
    std::uint64_t releases_ = 0;
    StatementObserver observer_;
    std::uint64_t statementsExecuted_ = 0;
    std::uint64_t statementsPrepared_ = 0;
    std::uint64_t generation_ = 1;

    void startAutoTransaction();
    void dropStatements();
};

} // namespace fat::sql
