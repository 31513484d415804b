// The demo's fixed material: payment terms and plans, products of a footwear maker, the sales
// force and the customers. Texts are written here in UTF-8 and kept as WIN1252 bytes.
#include "db/DemoCatalog.h"

#include "db/DemoRandom.h"
#include "platform/core/Win1252.h"

#include <algorithm>
#include <cstdio>

namespace fat::db {
namespace {

std::string Digits(int value, int width) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "%0*d", width, value);
    return buffer;
}

std::string Cut(std::string text, std::size_t size) {
    if (text.size() > size) text.resize(size);
    while (!text.empty() && text.back() == ' ') text.pop_back();
    return text;
}

std::vector<DemoTerm> Terms() {
    return {
        {"01", "A VISTA", {0}, 6},
        {"02", "30 DIAS", {30}, 10},
        {"03", "30/60 DIAS", {30, 60}, 14},
        {"04", "30/60/90 DIAS", {30, 60, 90}, 24},
        {"05", "28/56/84 DDL", {28, 56, 84}, 10},
        {"06", "30/45/60 DDL", {30, 45, 60}, 8},
        {"07", "C/ APRES", {0}, 5},
        {"08", "60/90/120 DIAS", {60, 90, 120}, 5},
        {"09", "30/60/90/120 DIAS", {30, 60, 90, 120}, 8},
        {"10", "15/30/45/60/75 DDL", {15, 30, 45, 60, 75}, 4},
        {"11", "A VISTA CX", {0}, 2},
        {"12", "C/APRES", {0}, 2},
        {"", "35 DDL", {35}, 2}, // a term the tables do not know
    };
}

std::vector<DemoPaymentPlan> Plans() {
    auto charged = [](std::vector<int> days, const std::string& sit) {
        std::vector<DemoPlanRow> rows;
        const double share = 100.0 / static_cast<double>(days.size());
        for (int d : days) rows.push_back({d, sit, share, false, true});
        return rows;
    };
    std::vector<DemoPaymentPlan> plans = {
        {1, charged({30, 60, 90}, "01")},
        {2, {{0, "01", 50, true, true}, {30, "01", 50, false, true}}},
        {3, charged({28, 56, 84}, "14")},
        {4, {{30, "01", 50, false, true}, {60, "01", 50, false, true}, {90, "01", 0, false, false}}},
        {5, {{0, "03", 100, true, true}}},
        {6, {{30, "", 25, false, true}, {60, "14", 25, false, true}, {90, "14", 25, false, true},
             {120, "14", 25, false, true}}},
        {7, charged({15, 30, 45, 60, 75}, "01")},
        {8, charged({30}, "17")},
    };
    return plans;
}

struct ProductLine {
    const char* name;
    const char* unit;
    int firstSize, lastSize; // 0, 0: sizes by letter
    int minPrice, maxPrice;  // whole reais; prices end in ,90
};
const ProductLine Lines[] = {
    {"SAPATO SOCIAL", "PR", 37, 44, 129, 289},  {"SCARPIN", "PR", 33, 40, 99, 229},
    {"TÊNIS CORRIDA", "PR", 34, 44, 149, 399},  {"TÊNIS CASUAL", "PR", 34, 44, 119, 259},
    {"SANDÁLIA RASTEIRA", "PR", 33, 40, 49, 129}, {"SANDÁLIA SALTO ALTO", "PR", 33, 40, 89, 199},
    {"BOTA CANO MÉDIO", "PR", 33, 40, 179, 349}, {"BOTA COTURNO", "PR", 34, 44, 199, 379},
    {"MOCASSIM", "PR", 37, 44, 139, 259},       {"CHINELO", "PR", 33, 44, 19, 49},
    {"SAPATILHA", "PR", 33, 40, 59, 139},       {"TÊNIS INFANTIL", "PR", 20, 32, 79, 159},
    {"CINTO", "UN", 0, 0, 59, 129},             {"BOLSA", "UN", -1, -1, 149, 399},
};
const char* const Materials[] = {"COURO", "CAMURÇA", "NOBUCK", "VERNIZ", "SINTÉTICO", "LONA",
                                 "COURO LEGÍTIMO", "TECIDO"};
const char* const Colours[] = {"PRETO", "MARROM", "CAFÉ", "BRANCO", "AZUL MARINHO", "VERMELHO",
                               "CARAMELO", "BEGE", "NUDE", "PRATA", "DOURADO", "CINZA"};

const char* const RepresentativeNames[] = {
    "CARLOS ANDRÉ REPRESENTAÇÕES", "MÁRCIA REGINA SIMÕES", "JOÃO BATISTA & FILHOS REPRESENTAÇÕES",
    "PAULO CÉSAR GONÇALVES", "ANDRÉIA LÚCIA PEÇANHA", "RAFAEL ARAÚJO", "SÉRGIO MENDONÇA",
    "FÁTIMA APARECIDA", "VINÍCIUS CONCEIÇÃO REPRES.", "LUÍS OTÁVIO BRANDÃO"};
const char* const SubAgentNames[] = {"ANTÔNIO CARLOS", "JOSÉ VITOR", "CONCEIÇÃO MARTINS",
                                     "ÉRICA SANTANA", "MOISÉS", "INÊS FERRAZ"};
const char* const ManagerNames[] = {"GERÊNCIA SUL", "GERÊNCIA NORDESTE"};

const char* const StorePrefixes[] = {"CALÇADOS", "LOJAS", "MAGAZINE", "BOUTIQUE", "COMERCIAL",
                                     "SAPATARIA", "DISTRIBUIDORA", "PÉ DIREITO"};
const char* const Surnames[] = {"ARAÚJO", "GONÇALVES", "CONCEIÇÃO", "FRANÇA", "ESTÊVÃO", "SIMÕES",
                                "BRANDÃO", "LOURENÇO", "MAGALHÃES", "ASSUNÇÃO", "SILVA", "SOUZA",
                                "OLIVEIRA", "PEREIRA", "LIMA", "CARVALHO", "RIBEIRO", "MONTEIRO"};
const char* const FirstNames[] = {"JOSÉ", "JOÃO", "MARIA", "ANTÔNIO", "LÚCIA", "INÊS", "ÂNGELA",
                                  "SEBASTIÃO", "JOAQUIM", "TEREZINHA", "FÁBIO", "MÔNICA"};
const char* const Places[] = {"SÃO JOÃO", "SÃO PAULO", "PARANÁ", "GOIÂNIA", "MACEIÓ", "VITÓRIA",
                              "CUIABÁ", "BELÉM", "JUNDIAÍ", "ARAÇATUBA"};
const char* const Suffixes[] = {"LTDA", "ME", "EIRELI", "& CIA LTDA", "S/A", "LTDA EPP"};
struct StateShare {
    const char* state;
    int weight;
};
// The company sits in SP; CFOPs 5xxx go to customers there, 6xxx to the other states.
const StateShare States[] = {{"SP", 55}, {"MG", 10}, {"RJ", 8}, {"PR", 6}, {"SC", 4}, {"RS", 5},
                             {"BA", 4}, {"GO", 3}, {"PE", 3}, {"AM", 2}};

template <typename T, std::size_t N>
const T& PickFrom(DemoRandom& random, const T (&items)[N]) {
    return items[static_cast<std::size_t>(random.between(0, static_cast<int>(N) - 1))];
}

} // namespace

std::string PlanForm(const std::vector<int>& days) {
    std::string text = Digits(static_cast<int>(days.size()), 2) + " ";
    for (std::size_t i = 0; i < days.size(); ++i) text += (i ? "/" : "") + Digits(days[i], 3);
    return text;
}

DemoCatalog::DemoCatalog(DemoRandom& random, int customerCount) : terms_(Terms()), plans_(Plans()) {
    for (int i = 0; i < 10; ++i) representatives_.push_back({i + 1, Win1252(RepresentativeNames[i])});
    for (int i = 0; i < 6; ++i) representatives_.push_back({SubAgentBase + i, Win1252(SubAgentNames[i])});
    for (int i = 0; i < 2; ++i) representatives_.push_back({ManagerBase + i, Win1252(ManagerNames[i])});
    makeProducts(random);
    makeCustomers(random, customerCount);
}

void DemoCatalog::makeProducts(DemoRandom& random) {
    constexpr int Count = 120;
    for (int i = 0; i < Count; ++i) {
        const ProductLine& line = Lines[static_cast<std::size_t>(i) % std::size(Lines)];
        DemoProduct p;
        p.code = std::to_string(1001 + i);
        p.unit = line.unit;
        const std::string material = PickFrom(random, Materials);
        p.description = Cut(Win1252(std::string(line.name) + " " + material + " REF " + p.code), 60);
        if (random.percent(30)) p.invoiceDescription = Cut(Win1252("CALÇADO EM " + material + " " + p.code), 60);
        const int variants = random.between(2, 4);
        int colour = random.between(0, static_cast<int>(std::size(Colours)) - 1);
        for (int v = 0; v < variants; ++v) {
            colour = (colour + 1 + random.between(0, 2)) % static_cast<int>(std::size(Colours));
            const std::string code = Digits(colour + 1, 2);
            const bool taken = std::any_of(p.variants.begin(), p.variants.end(),
                                           [&](const DemoVariant& x) { return x.code == code; });
            if (!taken) p.variants.push_back({code, Win1252(Colours[colour])});
        }
        if (line.firstSize > 0) {
            for (int s = line.firstSize; s <= line.lastSize; ++s) p.sizes.push_back(std::to_string(s));
        } else if (line.firstSize == 0) {
            p.sizes = {"P", "M", "G", "GG"};
        } else {
            p.sizes = {"U"};
        }
        p.basePrice = Amount::fromRaw((random.between(line.minPrice, line.maxPrice) * 100 + 90) * 100);
        p.licensed = random.percent(10);
        if (i < 8) {
            p.customerCode = "C" + p.code;
            p.customerDescription = p.description.substr(0, 45) + " (CLIENTE)";
        }
        products_.push_back(std::move(p));
    }
}

void DemoCatalog::makeCustomers(DemoRandom& random, int count) {
    // The first two are fixed, so that the accented bytes of a known name can be looked for.
    const std::string fixed[] = {Win1252("JOSÉ DA CONCEIÇÃO CALÇADOS ME"), Win1252("LOJAS ARAÚJO & IRMÃOS LTDA")};
    for (int i = 0; i < count; ++i) {
        DemoCustomer c;
        c.code = i + 1;
        if (i < 2) {
            c.name = fixed[i];
        } else {
            std::string name;
            switch (random.between(0, 2)) {
            case 0: name = std::string(PickFrom(random, StorePrefixes)) + " " + PickFrom(random, Surnames); break;
            case 1: name = std::string(PickFrom(random, FirstNames)) + " " + PickFrom(random, Surnames) + " DA " +
                           PickFrom(random, Surnames); break;
            default: name = std::string(PickFrom(random, StorePrefixes)) + " " + PickFrom(random, Places); break;
            }
            name += std::string(" ") + PickFrom(random, Suffixes);
            c.name = Cut(Win1252(name), 40);
        }
        int roll = random.between(0, 99);
        c.state = "SP";
        for (const auto& s : States) {
            if (roll < s.weight) { c.state = s.state; break; }
            roll -= s.weight;
        }
        if (i == 1) c.state = "MG"; // an interstate customer among the first
        const int root = random.between(10000000, 99999999);
        char taxId[32];
        std::snprintf(taxId, sizeof taxId, "%02d.%03d.%03d/0001-%02d", root / 1000000, root / 1000 % 1000,
                      root % 1000, random.between(10, 99));
        c.taxId = taxId;
        c.stateRegistration = Digits(random.between(100000, 999999), 6) + Digits(random.between(100000, 999999), 6);
        c.accountCode = "1.1.2.01." + Digits(c.code % 10000, 4);
        c.representative = random.percent(3) ? UnknownRepresentative : random.between(1, 10);
        c.subAgent = random.percent(30) ? SubAgentBase + random.between(0, 5) : 0;
        c.manager = random.percent(25) ? ManagerBase + random.between(0, 1) : 0;
        customers_.push_back(std::move(c));
    }
}

const DemoTerm& DemoCatalog::pickTerm(DemoRandom& random) const {
    int total = 0;
    for (const auto& t : terms_) total += t.weight;
    int roll = random.between(0, total - 1);
    for (const auto& t : terms_) {
        if (roll < t.weight) return t;
        roll -= t.weight;
    }
    return terms_.back();
}

const DemoPaymentPlan& DemoCatalog::planFor(const DemoTerm& term, DemoRandom& random) const {
    for (const auto& plan : plans_) {
        std::vector<int> days;
        for (const auto& row : plan.rows)
            if (row.charged) days.push_back(row.days);
        if (days == term.days) return plan;
    }
    return random.pick(plans_);
}

} // namespace fat::db
