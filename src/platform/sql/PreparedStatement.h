#pragma once
// Internal to the SQL layer: one prepared statement and its parameter and row buffers.
#include "platform/sql/ColumnInfo.h"
#include "platform/core/Value.h"

#include <ibase.h>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace fat::sql {

class Connection;

class PreparedStatement {
public:
    PreparedStatement(Connection& connection, const std::string& sqlText);
    ~PreparedStatement();
    PreparedStatement(const PreparedStatement&) = delete;
    PreparedStatement& operator=(const PreparedStatement&) = delete;

    const std::string& sqlText() const { return sqlText_; }
    const std::vector<std::string>& paramNames() const { return paramNames_; }
    const std::vector<ColumnInfo>& columns() const { return columns_; }
    bool returnsRows() const { return columns_.size() > 0; }
    // Inserts, updates, deletes, procedures and DDL: what must be committed afterwards.
    bool changesData() const;
    std::uint64_t generation() const { return generation_; }

    // Binds the values by marker position and runs; a select's cursor is then open.
    void execute(const std::vector<Value>& params);
    // Next row into `row`; false at the end (the cursor is then closed).
    bool fetch(std::vector<Value>& row);
    void closeCursor();
    bool cursorOpen() const { return cursorOpen_; }
    std::int64_t rowsAffected();

private:
    struct Buffer {
        std::vector<char> data;
        short indicator = 0;
    };

    Connection& connection_;
    std::string sqlText_;
    std::vector<std::string> paramNames_;
    isc_stmt_handle handle_ = 0;
    int statementType_ = 0;
    std::unique_ptr<char[]> inArea_, outArea_;
    XSQLDA* in_ = nullptr;
    XSQLDA* out_ = nullptr;
    std::vector<Buffer> inBuffers_, outBuffers_;
    std::vector<ColumnInfo> columns_;
    bool cursorOpen_ = false;
    bool singletonPending_ = false; // a procedure's output row, returned by the next fetch
    std::uint64_t generation_ = 0;

    void describe();
    void bind(int index, const Value& value);
    Value read(int index) const;
    void readRow(std::vector<Value>& row) const;
};

XSQLDA* AllocateSqlda(std::unique_ptr<char[]>& area, int count);

} // namespace fat::sql
