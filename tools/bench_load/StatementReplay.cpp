#include "StatementReplay.h"

#include "StatementRecord.h"

#include "platform/sql/PreparedStatement.h"

#include <memory>
#include <vector>

namespace bench {

ReplayFigures Replay(fat::sql::Connection& connection, const std::string& recordPath) {
    ReplayFigures f;
    RecordReader reader(recordPath);
    std::vector<std::unique_ptr<fat::sql::PreparedStatement>> prepared; // by text number
    std::vector<RecordedStatement> chunk;
    std::vector<fat::Value> row;
    while (reader.read(chunk, 4096)) {
        const Instant start = Now();
        for (const RecordedStatement& s : chunk) {
            if (s.inTransaction && !connection.inTransaction()) {
                connection.startTransaction();
                ++f.transactions;
            } else if (!s.inTransaction && connection.inTransaction()) {
                connection.commit();
            }
            if (prepared.size() <= s.text) prepared.resize(s.text + 1);
            auto& statement = prepared[s.text];
            if (!statement) {
                statement = std::make_unique<fat::sql::PreparedStatement>(connection, reader.texts()[s.text]);
                ++f.texts;
            }
            statement->execute(s.params);
            if (statement->returnsRows()) {
                while (statement->fetch(row)) ++f.rowsFetched;
            } else {
                const bool changes = statement->changesData();
                if (changes) f.rowsWritten += static_cast<std::uint64_t>(statement->rowsAffected());
                statement->closeCursor();
                if (changes) connection.autoCommit();
            }
            ++f.statements;
        }
        f.time += Since(start);
    }
    if (connection.inTransaction()) {
        const Instant start = Now();
        connection.commit();
        f.time += Since(start);
    }
    prepared.clear(); // while the attachment is alive
    return f;
}

} // namespace bench
