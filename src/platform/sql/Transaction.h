#pragma once
#include "platform/sql/Connection.h"

namespace fat::sql {

// Starts an explicit transaction and rolls it back when it goes out of scope uncommitted, so
// that any error between start and commit leaves nothing behind.
class Transaction {
public:
    explicit Transaction(Connection& connection, int id = 0) : connection_(connection) {
        connection_.startTransaction(id);
    }
    ~Transaction() {
        if (!done_) {
            try { connection_.rollback(); } catch (...) {}
        }
    }
    Transaction(const Transaction&) = delete;
    Transaction& operator=(const Transaction&) = delete;

    void commit() { connection_.commit(); done_ = true; }
    void rollback() { done_ = true; connection_.rollback(); }

private:
    Connection& connection_;
    bool done_ = false;
};

} // namespace fat::sql
