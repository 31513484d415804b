#pragma once
// What a save adds to the database, counted: invoice copies, order links, receivables and item
// copies under the derived branches, and stamped invoices.
#include "platform/sql/Connection.h"
#include "platform/sql/Query.h"

#include <cstdint>
#include <ostream>

namespace fat::test {

struct SaveRows {
    std::int64_t copies = 0, links = 0, receivables = 0, itemCopies = 0, stamped = 0;

    friend bool operator==(const SaveRows&, const SaveRows&) = default;
    friend SaveRows operator-(const SaveRows& a, const SaveRows& b) {
        return {a.copies - b.copies, a.links - b.links, a.receivables - b.receivables, a.itemCopies - b.itemCopies,
                a.stamped - b.stamped};
    }
    friend std::ostream& operator<<(std::ostream& os, const SaveRows& r) {
        return os << "{copies " << r.copies << ", links " << r.links << ", receivables " << r.receivables
                  << ", item copies " << r.itemCopies << ", stamped " << r.stamped << "}";
    }
};

// Read in a transaction of its own, committed at once, so that each call sees the latest commits.
inline SaveRows CountSaveRows(sql::Connection& connection) {
    connection.startTransaction();
    SaveRows r;
    {
        sql::Query q(connection);
        q.setSql("select (select count(*) from NOTASAI where FILIAL_NS >= 100),"
                 " (select count(*) from NOTASAI_PEDVEND where FILIAL_NP >= 100),"
                 " (select count(*) from DUPLICATAS where FILIAL_DP >= 100),"
                 " (select count(*) from ITENSNS where FILIAL_SA >= 100),"
                 " (select count(*) from NOTASAI where FILIAL_NS <= 90 and DTGERACONT_NS is not null)"
                 " from RDB$DATABASE");
        q.open();
        r = {q.field(0).asInteger(), q.field(1).asInteger(), q.field(2).asInteger(), q.field(3).asInteger(),
             q.field(4).asInteger()};
    }
    connection.commit();
    return r;
}

} // namespace fat::test
