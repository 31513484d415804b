#pragma once
// The record of the statements a phase executed: each statement's text, its parameter values
// and whether it ran inside the connection's explicit transaction, in the order executed. It is
// written to a file while the phase runs (a phase of tens of thousands of invoices executes
// millions of statements; kept in memory their values would weigh more than the phase itself).
//
// File layout, a sequence of entries: a text entry (tag 'T', length, bytes) introduces the next
// text number; a statement entry (tag 'S', text number, transaction flag, count, values) refers
// to one. A value is a kind byte and its bytes.
#include "platform/core/Value.h"
#include "platform/sql/Connection.h"

#include <cstdint>
#include <cstdio>
#include <string>
#include <unordered_map>
#include <vector>

namespace bench {

struct RecordedStatement {
    std::uint32_t text = 0;
    bool inTransaction = false;
    std::vector<fat::Value> params;
};

// Records every statement executed on the connection while it lives; the file stays for the
// replay.
class StatementRecorder {
public:
    StatementRecorder(fat::sql::Connection& connection, const std::string& path);
    ~StatementRecorder();
    StatementRecorder(const StatementRecorder&) = delete;
    StatementRecorder& operator=(const StatementRecorder&) = delete;

    std::uint64_t statements() const { return statements_; }
    // Stops recording and writes what is buffered.
    void finish();

private:
    fat::sql::Connection& connection_;
    std::FILE* file_ = nullptr;
    std::string path_;
    std::vector<char> buffer_;
    std::unordered_map<std::string, std::uint32_t> texts_;
    // A statement hands the same string at every run: found by its address first (and compared,
    // since an address can be reused by another text), so that recording does not hash a long
    // text per statement inside the measured phase.
    std::unordered_map<const std::string*, std::uint32_t> byAddress_;
    std::vector<const std::string*> textOf_; // by text number, the key kept in texts_
    std::uint64_t statements_ = 0;
    bool recording_ = true;

    void record(const std::string& sql, const std::vector<fat::Value>& params);
    void flush();
};

// Reads a record back, statements in chunks.
class RecordReader {
public:
    explicit RecordReader(const std::string& path);
    ~RecordReader();
    RecordReader(const RecordReader&) = delete;
    RecordReader& operator=(const RecordReader&) = delete;

    // Fills `chunk` with up to `max` statements; false when none is left.
    bool read(std::vector<RecordedStatement>& chunk, std::size_t max);
    // Texts by number, as far as read.
    const std::vector<std::string>& texts() const { return texts_; }

private:
    std::FILE* file_ = nullptr;
    std::vector<std::string> texts_;
};

} // namespace bench
