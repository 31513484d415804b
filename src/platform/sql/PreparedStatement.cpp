#include "platform/sql/PreparedStatement.h"

#include "platform/sql/Blob.h"
#include "platform/sql/Connection.h"
#include "platform/sql/DatabaseError.h"
#include "platform/sql/IscStatus.h"
#include "platform/sql/ParamParser.h"
#include "platform/sql/StatementText.h"
#include "platform/core/Format.h"

#include <cstring>

namespace fat::sql {

XSQLDA* AllocateSqlda(std::unique_ptr<char[]>& area, int count) {
    const int n = count < 1 ? 1 : count;
    area = std::make_unique<char[]>(XSQLDA_LENGTH(n));
    std::memset(area.get(), 0, XSQLDA_LENGTH(n));
    auto* da = reinterpret_cast<XSQLDA*>(area.get());
    da->version = SQLDA_VERSION1;
    da->sqln = static_cast<ISC_SHORT>(n);
    return da;
}

namespace {

DataType ColumnType(const XSQLVAR& v) {
    switch (v.sqltype & ~1) {
    case SQL_TEXT: return DataType::FixedChar;
    case SQL_VARYING: return DataType::String;
    case SQL_SHORT: return v.sqlscale < 0 ? DataType::Decimal : DataType::SmallInt;
    case SQL_LONG: return v.sqlscale < 0 ? DataType::Decimal : DataType::Integer;
    case SQL_INT64: return v.sqlscale < 0 ? DataType::Decimal : DataType::LargeInt;
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return DataType::Float;
    case SQL_TIMESTAMP: return DataType::DateTime;
    case SQL_TYPE_DATE: return DataType::Date;
    case SQL_TYPE_TIME: return DataType::Time;
    case SQL_BLOB: return v.sqlsubtype == 1 ? DataType::Memo : DataType::Blob;
    case SQL_BOOLEAN: return DataType::Boolean;
    default: return DataType::Unknown;
    }
}

std::string Name(const char* text, ISC_SHORT length) {
    std::string s(text, static_cast<std::size_t>(length < 0 ? 0 : length));
    while (!s.empty() && s.back() == ' ') s.pop_back();
    return s;
}

template <typename T> T Load(const char* p) { T v; std::memcpy(&v, p, sizeof v); return v; }
template <typename T> void Store(std::vector<char>& data, T v) {
    data.resize(sizeof v);
    std::memcpy(data.data(), &v, sizeof v);
}

} // namespace

PreparedStatement::PreparedStatement(Connection& connection, const std::string& sqlText)
    : connection_(connection), sqlText_(sqlText), generation_(connection.generation()) {
    const ParsedSql parsed = ParseNamedParams(sqlText);
    paramNames_ = parsed.names;
    ISC_STATUS_ARRAY status;
    isc_dsql_allocate_statement(status, connection_.dbHandle(), &handle_);
    CheckStatus(status);
    out_ = AllocateSqlda(outArea_, 1);
    const int configured = StrToIntDef(connection_.param("SQLDialect"), 3);
    const auto dialect = static_cast<unsigned short>(configured > 0 ? configured : 3);
    isc_dsql_prepare(status, connection_.currentTransaction(), &handle_, StatementTextLength(parsed.text),
                     parsed.text.c_str(), dialect, out_);
    if (status[0] == 1 && status[1]) {
        ISC_STATUS_ARRAY ignored;
        isc_dsql_free_statement(ignored, &handle_, DSQL_drop);
        CheckStatus(status);
    }
    describe();
}

PreparedStatement::~PreparedStatement() {
    if (handle_ && generation_ == connection_.generation() && connection_.connected()) {
        ISC_STATUS_ARRAY status;
        if (cursorOpen_) {
            isc_dsql_free_statement(status, &handle_, DSQL_close);
            connection_.cursorClosed();
        }
        isc_dsql_free_statement(status, &handle_, DSQL_drop);
    }
}

void PreparedStatement::describe() {
    ISC_STATUS_ARRAY status;
    static const char typeItem[] = {isc_info_sql_stmt_type};
    char info[16];
    isc_dsql_sql_info(status, &handle_, sizeof typeItem, typeItem, sizeof info, info);
    CheckStatus(status);
    if (info[0] == isc_info_sql_stmt_type) {
        const short len = static_cast<short>(isc_vax_integer(info + 1, 2));
        statementType_ = static_cast<int>(isc_vax_integer(info + 3, len));
    }

    if (out_->sqld > out_->sqln) {
        out_ = AllocateSqlda(outArea_, out_->sqld);
        isc_dsql_describe(status, &handle_, SQLDA_VERSION1, out_);
        CheckStatus(status);
    }
    outBuffers_.assign(static_cast<std::size_t>(out_->sqld), {});
    columns_.clear();
    for (int i = 0; i < out_->sqld; ++i) {
        XSQLVAR& v = out_->sqlvar[i];
        auto& buffer = outBuffers_[static_cast<std::size_t>(i)];
        const int type = v.sqltype & ~1;
        buffer.data.assign(static_cast<std::size_t>(v.sqllen) + (type == SQL_VARYING ? 2 : 0) + 8, 0);
        v.sqldata = buffer.data.data();
        v.sqlind = &buffer.indicator;

        ColumnInfo c;
        c.name = Name(v.aliasname, v.aliasname_length);
        c.origin = Name(v.sqlname, v.sqlname_length);
        c.relation = Name(v.relname, v.relname_length);
        c.type = ColumnType(v);
        c.scale = v.sqlscale < 0 ? -v.sqlscale : 0;
        c.nullable = (v.sqltype & 1) != 0;
        if (c.type == DataType::String || c.type == DataType::FixedChar) c.size = v.sqllen;
        if (c.type == DataType::Decimal) c.precision = type == SQL_SHORT ? 4 : type == SQL_LONG ? 9 : 18;
        if (c.type == DataType::Decimal && !connection_.exactDecimals()) c.type = DataType::Float;
        columns_.push_back(c);
        v.sqltype = static_cast<ISC_SHORT>(v.sqltype | 1); // every output gets an indicator
    }

    in_ = AllocateSqlda(inArea_, 1);
    isc_dsql_describe_bind(status, &handle_, SQLDA_VERSION1, in_);
    CheckStatus(status);
    if (in_->sqld > in_->sqln) {
        in_ = AllocateSqlda(inArea_, in_->sqld);
        isc_dsql_describe_bind(status, &handle_, SQLDA_VERSION1, in_);
        CheckStatus(status);
    }
    inBuffers_.assign(static_cast<std::size_t>(in_->sqld), {});
    if (static_cast<std::size_t>(in_->sqld) != paramNames_.size())
        throw DatabaseError("the statement has " + std::to_string(in_->sqld) +
                            " parameter markers but " + std::to_string(paramNames_.size()) +
                            " named parameters: " + sqlText_);
}

bool PreparedStatement::changesData() const {
    return statementType_ != isc_info_sql_stmt_select && statementType_ != isc_info_sql_stmt_select_for_upd;
}

void PreparedStatement::bind(int index, const Value& value) {
    XSQLVAR& v = in_->sqlvar[index];
    Buffer& b = inBuffers_[static_cast<std::size_t>(index)];
    const int described = v.sqltype & ~1;
    if (value.isNull()) {
        b.indicator = -1;
        b.data.assign(static_cast<std::size_t>(v.sqllen) + 8, 0);
        v.sqltype = static_cast<ISC_SHORT>(described | 1);
        v.sqldata = b.data.data();
        v.sqlind = &b.indicator;
        return;
    }
    b.indicator = 0;
    switch (described) {
    case SQL_SHORT:
    case SQL_LONG:
    case SQL_INT64: {
        const int scale = v.sqlscale < 0 ? -v.sqlscale : 0;
        const std::int64_t n = scale ? value.asDecimal(scale).unscaled() : value.asInteger();
        Store(b.data, static_cast<ISC_INT64>(n));
        v.sqltype = SQL_INT64 | 1;
        v.sqllen = sizeof(ISC_INT64);
        break;
    }
    case SQL_FLOAT:
    case SQL_DOUBLE:
    case SQL_D_FLOAT:
        Store(b.data, value.asFloat());
        v.sqltype = SQL_DOUBLE | 1;
        v.sqllen = sizeof(double);
        break;
    case SQL_TIMESTAMP:
    case SQL_TYPE_DATE:
    case SQL_TYPE_TIME: {
        const DbTimestamp t = ToDbTimestamp(value.asDateTime());
        ISC_TIMESTAMP ts{t.date, t.time};
        Store(b.data, ts);
        v.sqltype = SQL_TIMESTAMP | 1;
        v.sqllen = sizeof(ISC_TIMESTAMP);
        break;
    }
    case SQL_BOOLEAN:
        Store(b.data, static_cast<FB_BOOLEAN>(value.asBoolean() ? FB_TRUE : FB_FALSE));
        v.sqltype = SQL_BOOLEAN | 1;
        v.sqllen = sizeof(FB_BOOLEAN);
        break;
    case SQL_BLOB: {
        const ISC_QUAD id = WriteBlob(connection_, value.asString());
        Store(b.data, id);
        v.sqltype = SQL_BLOB | 1;
        v.sqllen = sizeof(ISC_QUAD);
        break;
    }
    default: {
        // Texts, and markers whose type the engine leaves open, go as text.
        const std::string text = value.asString();
        if (text.size() > 32765) throw DatabaseError("text parameter too long");
        b.data.assign(text.begin(), text.end());
        b.data.push_back('\0');
        v.sqltype = SQL_TEXT | 1;
        v.sqlsubtype = 0;
        v.sqllen = static_cast<ISC_SHORT>(text.size());
        break;
    }
    }
    v.sqldata = b.data.data();
    v.sqlind = &b.indicator;
}

void PreparedStatement::execute(const std::vector<Value>& params) {
    if (params.size() != paramNames_.size())
        throw DatabaseError("wrong number of parameter values for: " + sqlText_);
    closeCursor();
    for (int i = 0; i < in_->sqld; ++i) bind(i, params[static_cast<std::size_t>(i)]);
    ISC_STATUS_ARRAY status;
    XSQLDA* in = in_->sqld > 0 ? in_ : nullptr;
    if (statementType_ == isc_info_sql_stmt_exec_procedure && out_->sqld > 0) {
        isc_dsql_execute2(status, connection_.currentTransaction(), &handle_, SQLDA_VERSION1, in, out_);
        CheckStatus(status);
        singletonPending_ = true;
        return;
    }
    isc_dsql_execute(status, connection_.currentTransaction(), &handle_, SQLDA_VERSION1, in);
    CheckStatus(status);
    if (returnsRows()) {
        cursorOpen_ = true;
        connection_.cursorOpened();
    }
}

bool PreparedStatement::fetch(std::vector<Value>& row) {
    if (singletonPending_) {
        singletonPending_ = false;
        readRow(row);
        return true;
    }
    if (!cursorOpen_) return false;
    ISC_STATUS_ARRAY status;
    const ISC_STATUS r = isc_dsql_fetch(status, &handle_, SQLDA_VERSION1, out_);
    if (r == 100) {
        closeCursor();
        return false;
    }
    if (r != 0) {
        const std::string text = StatusText(status);
        const long sqlCode = isc_sqlcode(status);
        const long gds = status[1];
        closeCursor();
        throw DatabaseError(text, sqlCode, gds);
    }
    readRow(row);
    return true;
}

void PreparedStatement::closeCursor() {
    singletonPending_ = false;
    if (!cursorOpen_) return;
    cursorOpen_ = false;
    connection_.cursorClosed();
    if (generation_ != connection_.generation() || !connection_.connected()) return;
    ISC_STATUS_ARRAY status;
    isc_dsql_free_statement(status, &handle_, DSQL_close);
}

std::int64_t PreparedStatement::rowsAffected() {
    static const char item[] = {isc_info_sql_records};
    char info[64];
    ISC_STATUS_ARRAY status;
    isc_dsql_sql_info(status, &handle_, sizeof item, item, sizeof info, info);
    CheckStatus(status);
    if (info[0] != isc_info_sql_records) return 0;
    std::int64_t total = 0;
    for (const char* p = info + 3; *p != isc_info_end;) {
        const char kind = *p++;
        const short len = static_cast<short>(isc_vax_integer(p, 2));
        p += 2;
        const long count = isc_vax_integer(p, len);
        p += len;
        if (kind == isc_info_req_insert_count || kind == isc_info_req_update_count ||
            kind == isc_info_req_delete_count)
            total += count;
    }
    return total;
}

void PreparedStatement::readRow(std::vector<Value>& row) const {
    row.resize(columns_.size());
    const bool exact = connection_.exactDecimals();
    for (int i = 0; i < out_->sqld; ++i) {
        Value v = read(i);
        if (!exact && v.isDecimal()) v = Value::fromFloat(v.asFloat());
        row[static_cast<std::size_t>(i)] = std::move(v);
    }
}

Value PreparedStatement::read(int index) const {
    const XSQLVAR& v = out_->sqlvar[index];
    if (v.sqlind && *v.sqlind < 0) return Value();
    const char* p = v.sqldata;
    const int scale = v.sqlscale < 0 ? -v.sqlscale : 0;
    switch (v.sqltype & ~1) {
    case SQL_TEXT: return Value::fromString(std::string(p, static_cast<std::size_t>(v.sqllen)));
    case SQL_VARYING: {
        const auto len = Load<unsigned short>(p);
        return Value::fromString(std::string(p + 2, len));
    }
    case SQL_SHORT: {
        const auto n = Load<ISC_SHORT>(p);
        return scale ? Value::fromDecimal(Decimal(n, scale)) : Value::fromInteger(n);
    }
    case SQL_LONG: {
        const auto n = Load<ISC_LONG>(p);
        return scale ? Value::fromDecimal(Decimal(n, scale)) : Value::fromInteger(n);
    }
    case SQL_INT64: {
        const auto n = Load<ISC_INT64>(p);
        return scale ? Value::fromDecimal(Decimal(n, scale)) : Value::fromInteger(n);
    }
    case SQL_FLOAT: return Value::fromFloat(Load<float>(p));
    case SQL_DOUBLE:
    case SQL_D_FLOAT: return Value::fromFloat(Load<double>(p));
    case SQL_TIMESTAMP: {
        const auto ts = Load<ISC_TIMESTAMP>(p);
        return Value::fromDateTime(FromDbTimestamp({ts.timestamp_date, ts.timestamp_time}));
    }
    case SQL_TYPE_DATE: return Value::fromDateTime(FromDbTimestamp({Load<ISC_DATE>(p), 0}));
    case SQL_TYPE_TIME: {
        // A time of day alone is the fraction of day zero.
        const auto t = Load<ISC_TIME>(p);
        return Value::fromDateTime(static_cast<double>(t) / (86400.0 * 10000));
    }
    case SQL_BLOB: return Value::fromString(ReadBlob(connection_, Load<ISC_QUAD>(p)));
    case SQL_BOOLEAN: return Value::fromBoolean(Load<FB_BOOLEAN>(p) != FB_FALSE);
    default: throw DatabaseError("unsupported column type in: " + sqlText_);
    }
}

} // namespace fat::sql
