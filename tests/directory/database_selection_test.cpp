#include "directory/DatabaseChooser.h"
#include "directory/DatabaseSelection.h"
#include "directory/QDXConnection.h"
#include "support/HttpTestServer.h"
#include "DirectoryFixture.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace fat::directory;
using fat::test::DirectoryHandler;
using fat::test::HttpTestServer;

namespace {

// (id, kind, parent) rows as one company's databases.
struct Row {
    int id, kind, parent;
};
TCompanyInfo MakeCompany(const std::vector<Row>& rows) {
    TCompanyInfo company;
    for (const auto& r : rows) {
        auto database = std::make_unique<TDatabaseInfo>();
        database->Id = r.id;
        database->Kind = r.kind;
        database->Parent = r.parent;
        database->Company = &company;
        company.Bancos.push_back(std::move(database));
    }
    return company;
}

std::vector<int> Ids(const std::vector<const TDatabaseInfo*>& list) {
    std::vector<int> ids;
    for (const auto* d : list) ids.push_back(d->Id);
    return ids;
}

// Answers as scripted and remembers what it was offered.
class RecordingChooser : public DatabaseChooser {
public:
    explicit RecordingChooser(Choice answer) : answer_(answer) {}
    Choice Choose(const std::vector<std::string>& descriptions, int selected) override {
        offered = descriptions;
        initiallySelected = selected;
        ++calls;
        return answer_;
    }
    std::vector<std::string> offered;
    int initiallySelected = -2;
    int calls = 0;

private:
    Choice answer_;
};

// A client loaded from a directory answer.
class Loaded {
public:
    explicit Loaded(const std::string& list) : server_(DirectoryHandler(list)) {
        fat::test::PointAt(connection, server_);
        connection.LoadDatabases();
        EXPECT_FALSE(connection.Offline()) << connection.LastLoadError();
    }
    TQDXConnection connection;

private:
    HttpTestServer server_;
};

std::string Database(int id, const char* type, const char* description, int parent = 0) {
    return "{\"id\":" + std::to_string(id) + ",\"host\":\"h" + std::to_string(id) + ":/db.fdb\",\"password\":\"p\","
           "\"type\":\"" + type + "\",\"description\":\"" + description + "\",\"parent\":" + std::to_string(parent) + "}";
}
std::string Company(int codigo, const std::vector<std::string>& databases) {
    std::string list;
    for (const auto& d : databases) list += (list.empty() ? "" : ",") + d;
    return "{\"codigo\":" + std::to_string(codigo) + ",\"nome\":\"c\",\"bancos\":[" + list + "]}";
}

} // namespace

TEST(DatabaseSelection, FindDatabasesByKindAndParent) {
    const TCompanyInfo company = MakeCompany({{1, 0, 0}, {2, 2, 0}, {3, 0, 5}, {4, 0, 7}, {5, 1, 5}});
    struct Case {
        int kind, parent;
        std::vector<int> ids;
    };
    const Case cases[] = {
        {0, 0, {1, 3, 4}}, {0, -1, {1, 3, 4}}, {0, 5, {3}}, {0, 7, {4}}, {0, 9, {}},
        {1, 5, {5}},       {1, 7, {}},         {2, 0, {2}}, {3, 0, {}},
    };
    for (const auto& c : cases) EXPECT_EQ(Ids(FindDatabases(company, c.kind, c.parent)), c.ids) << c.kind << "/" << c.parent;
}

TEST(DatabaseSelection, FirstDatabaseWithAndWithoutRetry) {
    const TCompanyInfo company = MakeCompany({{1, 2, 0}, {2, 0, 5}, {3, 0, 0}, {4, 0, 5}});
    struct Case {
        int kind, parent;
        bool retry;
        int id; // 0: none
    };
    const Case cases[] = {
        {0, 0, false, 2}, {0, 5, false, 2}, {0, 9, false, 0}, {0, 9, true, 2},
        {2, 5, false, 0}, {2, 5, true, 1},  {4, 0, true, 0},
    };
    for (const auto& c : cases) {
        const TDatabaseInfo* found = FirstDatabase(&company, c.kind, c.parent, c.retry);
        EXPECT_EQ(found ? found->Id : 0, c.id) << c.kind << "/" << c.parent << "/" << c.retry;
    }
    EXPECT_EQ(FirstDatabase(nullptr, 0, 0, true), nullptr);
}

TEST(DatabaseSelection, AutomaticChoiceOfTheOnlyCompany) {
    // One company with kinds 0, 2, 0: the first kind-0 database in server order.
    Loaded one("[" + Company(1, {Database(31, "O", "first but kind 2"), Database(32, "G", "wanted"), Database(33, "G", "later")}) + "]");
    ASSERT_EQ(one.connection.CompanyCount(), 1);
    const TDatabaseInfo* chosen = FirstDatabase(one.connection.Company(0), 0, 0, false);
    ASSERT_NE(chosen, nullptr);
    EXPECT_EQ(chosen->Id, 32);

    Loaded none("[" + Company(1, {Database(41, "A", "kind 1")}) + "]");
    EXPECT_EQ(FirstDatabase(none.connection.Company(0), 0, 0, false), nullptr);
    Loaded empty("[]");
    EXPECT_EQ(FirstDatabase(empty.connection.Company(0), 0, 0, false), nullptr);
}

TEST(DatabaseSelection, SelectDatabaseOffersEveryDatabaseOfTheKind) {
    Loaded loaded("[" +
                  Company(1, {Database(11, "G", "Alfa"), Database(12, "A", "Alfa A"), Database(13, "G", "Mesmo nome", 11)}) +
                  "," + Company(2, {Database(21, "Z", "Beta (letra desconhecida)"), Database(22, "G", "Mesmo nome")}) + "]");
    TQDXConnection& c = loaded.connection;

    RecordingChooser pickSecondLookalike({DialogResult::Ok, 3});
    c.SetDatabaseChooser(&pickSecondLookalike);
    EXPECT_EQ(c.SelectDatabase(0), DialogResult::Ok);
    EXPECT_EQ(pickSecondLookalike.offered,
              (std::vector<std::string>{"Alfa", "Mesmo nome", "Beta (letra desconhecida)", "Mesmo nome"}));
    EXPECT_EQ(pickSecondLookalike.initiallySelected, 0);
    ASSERT_NE(c.SelectedDatabase(), nullptr);
    EXPECT_EQ(c.SelectedDatabase()->Id, 22); // looks like entry 1 but is another database
    EXPECT_EQ(c.SelectedDatabase()->Host, "h22:/db.fdb");

    RecordingChooser cancel({DialogResult::Cancel, 0});
    c.SetDatabaseChooser(&cancel);
    EXPECT_EQ(c.SelectDatabase(0), DialogResult::Cancel);
    EXPECT_EQ(c.SelectedDatabase()->Id, 22); // unchanged

    RecordingChooser kindOne({DialogResult::Ok, 0});
    c.SetDatabaseChooser(&kindOne);
    EXPECT_EQ(c.SelectDatabase(1), DialogResult::Ok);
    EXPECT_EQ(kindOne.offered, (std::vector<std::string>{"Alfa A"}));
    EXPECT_EQ(c.SelectedDatabase()->Id, 12);
}

TEST(DatabaseSelection, SelectDatabaseErrors) {
    Loaded loaded("[" + Company(1, {Database(11, "A", "only kind 1")}) + "]");
    TQDXConnection& c = loaded.connection;
    EXPECT_THROW(c.SelectDatabase(0), fat::Error); // no chooser installed

    RecordingChooser confirmEmpty({DialogResult::Ok, -1});
    c.SetDatabaseChooser(&confirmEmpty);
    EXPECT_THROW(c.SelectDatabase(0), fat::Error);
    EXPECT_TRUE(confirmEmpty.offered.empty());
    EXPECT_EQ(confirmEmpty.initiallySelected, -1);
    EXPECT_EQ(c.SelectedDatabase(), nullptr);

    RecordingChooser outOfRange({DialogResult::Ok, 1});
    c.SetDatabaseChooser(&outOfRange);
    EXPECT_THROW(c.SelectDatabase(1), fat::Error);

    RecordingChooser cancelEmpty({DialogResult::Cancel, -1});
    c.SetDatabaseChooser(&cancelEmpty);
    EXPECT_EQ(c.SelectDatabase(0), DialogResult::Cancel);
}
