#pragma once
// The floor of a phase: its recorded statements replayed through the Firebird layer alone, in
// the order recorded and with the recorded values. Each distinct text is prepared once; a select's
// rows are fetched and dropped; statements that ran inside the phase's explicit transaction run
// inside one here too (started where the record enters one, committed where it leaves it or at
// the end), the others in the connection's own transaction handling, as the phase ran them.
#include "Clock.h"

#include "platform/sql/Connection.h"

#include <cstdint>
#include <string>

namespace bench {

struct ReplayFigures {
    Span time; // the execution only: reading the record is left out
    std::uint64_t statements = 0;
    std::uint64_t texts = 0;       // distinct statements prepared
    std::uint64_t rowsFetched = 0;
    std::uint64_t rowsWritten = 0; // rows inserted, updated or deleted
    int transactions = 0;          // explicit transactions started and committed
};

ReplayFigures Replay(fat::sql::Connection& connection, const std::string& recordPath);

} // namespace bench
