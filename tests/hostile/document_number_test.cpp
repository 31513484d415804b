// Document numbers as a user (or a pasted text) may give them to the pending load: quotes, SQL
// text, comments, parameter markers, wildcards, very long and accented texts. Each one selects
// exactly the invoices whose number is that text, raises no SQL error and changes nothing.
#include "../billing/LoadFixture.h"

#include "platform/core/Win1252.h"

namespace fat::test {
namespace {

struct HostileDocumentNumbers : LoadFixture {
    HostileDocumentNumbers() {
        for (const char* docto : {"000001", "000002", "1'2"}) {
            Invoice n;
            n.docto = docto;
            invoice(n);
        }
    }
    std::vector<std::string> all() { return {"000001/1", "000002/1", "1'2/1"}; }
    // Everything the load could have changed, as one text.
    std::string invoiceTable() {
        return db.scalar("select count(*) || '|' || count(DTGERACONT_NS) || '|' || list(DOCTO_NS, ',') from NOTASAI");
    }
};

TEST_F(HostileDocumentNumbers, SelectOnlyTheNumberTheySpellAndChangeNothing) {
    struct Case {
        std::string documento;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"12'3", {}},
        {"' OR '1'='1", {}},
        {"000001' OR '1'='1", {}},
        {"000001' OR DOCTO_NS <> '", {}},
        {"x'; delete from NOTASAI; --", {}},
        {"000001' --", {}},
        {"' union select * from NOTASAI --", {}},
        {"/*", {}},
        {"*/ or 1=1 /*", {}},
        {":DOC", {}},          // no parameter marker inside a literal
        {"000001:EMISSAOINI", {}},
        {"00000_", {}},        // equality, not a pattern
        {"%", {}},
        {"0000\\1", {}},
        {"\"000001\"", {}},
        {"''", {}},
        {"'", {}},
        {"1''2", {}},          // two quotes are two quotes
        {"1'2", {"1'2/1"}},    // the invoice whose number holds a quote
        {std::string(1000, '9'), {}},
        {std::string(1000, '\''), {}},
        {Win1252("ÇÃÕ001"), {}},
        {"000001\t", {}},
        {"000001\n", {}},
    };
    const std::string before = invoiceTable();
    for (const Case& c : cases) {
        SCOPED_TRACE("document '" + c.documento.substr(0, 40) + "'");
        EXPECT_NO_THROW(dm.AbrirNotasPendentes(c.documento, 0, 0));
        EXPECT_EQ(listed(), c.expected);
        EXPECT_EQ(invoiceTable(), before);
    }
    // The module still loads normally afterwards.
    dm.AbrirNotasPendentes("", 0, 0);
    EXPECT_EQ(listed(), all());
}

// A NUL byte would end the statement text where the engine reads it; the number stays one
// literal, so it selects nothing and raises nothing. A number of NUL bytes alone is blank.
TEST_F(HostileDocumentNumbers, ANulByteNeverCutsTheStatementShort) {
    const std::string before = invoiceTable();
    struct Case {
        std::string documento;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {std::string("000001\0' or ''='", 16), {}},
        {std::string("000001\0", 7), {}},
        {std::string("\0\0", 2), all()},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE("document with a NUL byte, " + std::to_string(c.documento.size()) + " bytes");
        EXPECT_NO_THROW(dm.AbrirNotasPendentes(c.documento, 0, 0));
        EXPECT_EQ(listed(), c.expected);
        EXPECT_EQ(invoiceTable(), before);
    }
}

} // namespace
} // namespace fat::test
