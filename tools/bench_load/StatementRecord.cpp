#include "StatementRecord.h"

#include "platform/core/Errors.h"

#include <cstring>

namespace bench {
namespace {

constexpr std::size_t FlushAt = 1 << 20;

template <typename T> void Put(std::vector<char>& out, T v) {
    const auto at = out.size();
    out.resize(at + sizeof v);
    std::memcpy(out.data() + at, &v, sizeof v);
}

void PutBytes(std::vector<char>& out, const std::string& s) {
    Put(out, static_cast<std::uint32_t>(s.size()));
    out.insert(out.end(), s.begin(), s.end());
}

// An exact decimal with the fewest decimals that keep its value (its own scale is not
// observable; binding never depends on it, only on the value).
fat::Decimal ExactDecimal(const fat::Value& v) {
    for (int scale = 0; scale <= 18; ++scale) {
        try {
            const fat::Decimal d = v.asDecimal(scale);
            if (fat::Value::fromDecimal(d) == v) return d;
        } catch (const fat::Error&) {
            break;
        }
    }
    throw fat::Error("a decimal parameter that cannot be recorded exactly: " + v.asString());
}

void PutValue(std::vector<char>& out, const fat::Value& v) {
    if (v.isNull()) {
        out.push_back('n');
    } else if (v.isBoolean()) {
        out.push_back('b');
        out.push_back(v.asBoolean() ? 1 : 0);
    } else if (v.isInteger()) {
        out.push_back('i');
        Put(out, v.asInteger());
    } else if (v.isFloat()) {
        out.push_back('f');
        Put(out, v.asFloat());
    } else if (v.isDecimal()) {
        const fat::Decimal d = ExactDecimal(v);
        out.push_back('d');
        Put(out, d.unscaled());
        out.push_back(static_cast<char>(d.scale()));
    } else if (v.isDateTime()) {
        out.push_back('t');
        Put(out, v.asDateTime());
    } else {
        out.push_back('s');
        PutBytes(out, v.asString());
    }
}

void ReadExactly(std::FILE* f, void* into, std::size_t size) {
    if (size && std::fread(into, 1, size, f) != size) throw fat::Error("the statement record is cut short");
}

template <typename T> T Get(std::FILE* f) {
    T v;
    ReadExactly(f, &v, sizeof v);
    return v;
}

std::string GetBytes(std::FILE* f) {
    std::string s(Get<std::uint32_t>(f), '\0');
    ReadExactly(f, s.data(), s.size());
    return s;
}

fat::Value GetValue(std::FILE* f) {
    switch (Get<char>(f)) {
    case 'n': return {};
    case 'b': return fat::Value::fromBoolean(Get<char>(f) != 0);
    case 'i': return fat::Value::fromInteger(Get<std::int64_t>(f));
    case 'f': return fat::Value::fromFloat(Get<double>(f));
    case 'd': {
        const auto unscaled = Get<std::int64_t>(f);
        return fat::Value::fromDecimal(fat::Decimal(unscaled, Get<char>(f)));
    }
    case 't': return fat::Value::fromDateTime(Get<double>(f));
    case 's': return fat::Value::fromString(GetBytes(f));
    default: throw fat::Error("the statement record holds an unknown value kind");
    }
}

} // namespace

StatementRecorder::StatementRecorder(fat::sql::Connection& connection, const std::string& path)
    : connection_(connection), path_(path) {
    file_ = std::fopen(path.c_str(), "wb");
    if (!file_) throw fat::Error("cannot write the statement record " + path);
    buffer_.reserve(FlushAt + 4096);
    connection_.setStatementObserver(
        [this](const std::string& sql, const std::vector<fat::Value>& params) { record(sql, params); });
}

StatementRecorder::~StatementRecorder() {
    try {
        finish();
    } catch (...) {
    }
    if (file_) std::fclose(file_);
}

void StatementRecorder::finish() {
    if (!recording_) return;
    recording_ = false;
    connection_.setStatementObserver({});
    flush();
    if (std::fflush(file_) != 0) throw fat::Error("cannot write the statement record " + path_);
}

void StatementRecorder::record(const std::string& sql, const std::vector<fat::Value>& params) {
    std::uint32_t number = 0;
    const auto known = byAddress_.find(&sql);
    if (known != byAddress_.end() && *textOf_[known->second] == sql) {
        number = known->second;
    } else {
        auto [at, added] = texts_.try_emplace(sql, static_cast<std::uint32_t>(texts_.size()));
        if (added) {
            textOf_.push_back(&at->first);
            buffer_.push_back('T');
            PutBytes(buffer_, sql);
        }
        number = at->second;
        byAddress_[&sql] = number;
    }
    buffer_.push_back('S');
    Put(buffer_, number);
    buffer_.push_back(connection_.inTransaction() ? 1 : 0);
    Put(buffer_, static_cast<std::uint16_t>(params.size()));
    for (const auto& v : params) PutValue(buffer_, v);
    ++statements_;
    if (buffer_.size() >= FlushAt) flush();
}

void StatementRecorder::flush() {
    if (!buffer_.empty() && std::fwrite(buffer_.data(), 1, buffer_.size(), file_) != buffer_.size())
        throw fat::Error("cannot write the statement record " + path_);
    buffer_.clear();
}

RecordReader::RecordReader(const std::string& path) {
    file_ = std::fopen(path.c_str(), "rb");
    if (!file_) throw fat::Error("cannot read the statement record " + path);
}

RecordReader::~RecordReader() {
    if (file_) std::fclose(file_);
}

bool RecordReader::read(std::vector<RecordedStatement>& chunk, std::size_t max) {
    chunk.clear();
    while (chunk.size() < max) {
        const int tag = std::fgetc(file_);
        if (tag == EOF) break;
        if (tag == 'T') {
            texts_.push_back(GetBytes(file_));
            continue;
        }
        if (tag != 'S') throw fat::Error("the statement record is damaged");
        RecordedStatement s;
        s.text = Get<std::uint32_t>(file_);
        if (s.text >= texts_.size()) throw fat::Error("the statement record names a text it never gave");
        s.inTransaction = Get<char>(file_) != 0;
        const auto count = Get<std::uint16_t>(file_);
        s.params.reserve(count);
        for (std::uint16_t i = 0; i < count; ++i) s.params.push_back(GetValue(file_));
        chunk.push_back(std::move(s));
    }
    return !chunk.empty();
}

} // namespace bench
