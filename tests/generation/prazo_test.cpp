// The term text read back into an instalment count and a day list.
#include "datamodule/TDM.h"

#include <gtest/gtest.h>

namespace fat {
namespace {

TEST(LerPrazoPedido, PlanFormGivesTheCountAndTheDayList) {
    struct Caso {
        const char* prazo;
        int parcelas;
        const char* dias;
    };
    const std::vector<Caso> casos = {
        {"03 030/060/090", 3, "030/060/090"},
        {"01 000", 1, "000"},
        {"02 028/400", 2, "028/400"},
        {"02 030/060/090", 2, "030/060"},  // the count wins over the entries
        {"", 0, ""},
        {"03 30/60/90", 0, ""},             // the notes form with two-digit days
        {"02 A VISTA (CX)/030", 0, ""},     // a cash entry
        {"02 030/401", 0, ""},              // above 400 days
        {"51 030", 0, ""},                  // more than 50 instalments
        {"XX 030", 0, ""},
        {"03 030/060", 0, ""},              // fewer entries than the count
        {"00 030", 0, ""},
    };
    for (const auto& c : casos) {
        std::string dias = "stale";
        EXPECT_EQ(TDM::LerPrazoPedido(c.prazo, dias), c.parcelas) << c.prazo;
        EXPECT_EQ(dias, c.dias) << c.prazo;
    }
    std::string cinquenta = "50 ";
    for (int i = 1; i <= 50; ++i) cinquenta += (i > 1 ? "/" : "") + std::string("007");
    std::string dias;
    EXPECT_EQ(TDM::LerPrazoPedido(cinquenta, dias), 50);
    EXPECT_EQ(dias.size(), 50u * 4 - 1);
}

} // namespace
} // namespace fat
