// Date ranges of the pending load that a user may give by mistake: an end before the start, the
// same day twice, bounds far apart, bounds not given. None is an error; the list is what the
// bounds say.
#include "../billing/LoadFixture.h"

namespace fat::test {
namespace {

using HostileDateRanges = LoadFixture;

TEST_F(HostileDateRanges, GiveTheInvoicesInsideTheBoundsAndNeverAnError) {
    const std::pair<const char*, const char*> invoices[] = {
        {"000001", "'2026-03-05'"}, {"000002", "'2026-03-10 23:59:59'"}, {"000003", "'2026-03-20'"}};
    for (const auto& [docto, emissao] : invoices) {
        Invoice n;
        n.docto = docto;
        n.emissao = emissao;
        invoice(n);
    }
    const TDateTime d5 = EncodeDate(2026, 3, 5), d10 = EncodeDate(2026, 3, 10), d20 = EncodeDate(2026, 3, 20);
    const std::vector<std::string> all = {"000001/1", "000002/1", "000003/1"};
    struct Case {
        const char* what;
        TDateTime ini, fim;
        std::vector<std::string> expected;
    };
    const std::vector<Case> cases = {
        {"end before start", d20, d10, {}},
        {"end one day before start", d10 + 1, d10, {}},
        {"end before start, both around every invoice", EncodeDate(2030, 1, 1), EncodeDate(2020, 1, 1), {}},
        {"one day, with a time of day", d10, d10, {"000002/1"}},
        {"bounds given with a time of day", d10 + 0.75, d10 + 0.25, {"000002/1"}},
        {"no bounds", 0, 0, all},
        {"a date before 30/12/1899 is no bound", EncodeDate(1800, 1, 1), 0, all},
        {"only an end", 0, d5, {"000001/1"}},
        {"only a start", d10 + 1, 0, {"000003/1"}},
        {"the widest range the engine holds", EncodeDate(1900, 1, 1), EncodeDate(9999, 12, 31), all},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        EXPECT_NO_THROW(dm.AbrirNotasPendentes("", c.ini, c.fim));
        EXPECT_EQ(listed(), c.expected);
    }
}

} // namespace
} // namespace fat::test
