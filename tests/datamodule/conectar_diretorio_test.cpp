#include "DataModuleFixture.h"

#include "directory/DatabaseChooser.h"
#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"
#include "support/HttpTestServer.h"

using namespace fat;

namespace {

// Answers the list request with a fixed JSON text, encoded as the directory server does.
test::HttpTestServer::Handler ListHandler(std::string json) {
    return [json = std::move(json)](const test::HttpRequestRecord&) {
        return test::HttpCannedResponse{200, "OK", {}, directory::EncodeDirectoryResponse(json, 17)};
    };
}

std::string Database(const std::string& host, const char* type, const char* description) {
    return R"({"id": 1, "host": ")" + host + R"(", "password": "fennelrot", "type": ")" + type +
           R"(", "description": ")" + description + R"(", "parent": 0})";
}

struct FakeChooser : directory::DatabaseChooser {
    Choice answer;
    std::vector<std::vector<std::string>> offered;
    Choice Choose(const std::vector<std::string>& descriptions, int) override {
        offered.push_back(descriptions);
        return answer;
    }
};

struct DirectoryMode : test::DataModuleFixture {
    test::HttpTestServer server;
    FakeChooser chooser;
    test::ProcessEndRecorder ending;
    DirectoryMode() { directory::QDXConnection().SetDatabaseChooser(&chooser); }
    ~DirectoryMode() override { directory::QDXConnection().SetDatabaseChooser(nullptr); }
    void serve(const std::string& json, int port = 0) {
        server.setHandler(ListHandler(json));
        writeIni("[QDXSERVER]\nHOST=127.0.0.1:" + std::to_string(port ? port : server.port()) +
                 "\n[BDADOS]\nDB=/never/used.fdb\n[Banco]\nVersaoFirebird=3\n");
    }
    void expectFailureBox() {
        ASSERT_EQ(messages.boxes.size(), 1u);
        EXPECT_EQ(messages.boxes[0].caption, "Falha ao conectar.");
        EXPECT_EQ(messages.boxes[0].icon, MessageIcon::Error);
        EXPECT_FALSE(messages.boxes[0].text.empty());
        EXPECT_EQ(ending.codes, std::vector<int>{0});
        EXPECT_FALSE(dm.sqlCon.connected());
    }
};

} // namespace

TEST_F(DirectoryMode, OneCompanyTakesItsFirstMainDatabaseWithoutADialog) {
    serve(R"([{"codigo": 1, "nome": "Alfa", "bancos": [)" + Database("/other/kind2.fdb", "O", "Outro") + "," +
          Database(db.location(), "G", "Principal") + "," + Database("/second/main.fdb", "G", "Segundo") + "]}]");
    dm.Conectar();
    EXPECT_TRUE(dm.sqlCon.connected());
    EXPECT_EQ(dm.sqlCon.param("Database"), db.location());
    EXPECT_EQ(dm.sqlCon.DriverName, "DevartInterBase"); // the version is not read in this mode
    EXPECT_TRUE(chooser.offered.empty());
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(DirectoryMode, TwoCompaniesAskTheUser) {
    serve(R"([{"codigo": 1, "nome": "Alfa", "bancos": [)" + Database("/alfa.fdb", "G", "Alfa") + R"(]},
              {"codigo": 2, "nome": "Beta", "bancos": [)" + Database(db.location(), "G", "Beta") + "]}]");
    chooser.answer = {directory::DialogResult::Ok, 1};
    dm.Conectar();
    ASSERT_EQ(chooser.offered.size(), 1u);
    EXPECT_EQ(chooser.offered[0], (std::vector<std::string>{"Alfa", "Beta"}));
    EXPECT_EQ(dm.sqlCon.param("Database"), db.location());
    EXPECT_TRUE(dm.sqlCon.connected());
}

TEST_F(DirectoryMode, CancellingTheChoiceEndsTheProcessWithoutAMessage) {
    serve(R"([{"codigo": 1, "nome": "A", "bancos": []}, {"codigo": 2, "nome": "B", "bancos": []}])");
    chooser.answer = {directory::DialogResult::Cancel, -1};
    EXPECT_THROW(dm.Conectar(), test::ProcessEnded);
    EXPECT_EQ(ending.codes, std::vector<int>{0});
    EXPECT_TRUE(messages.boxes.empty());
}

TEST_F(DirectoryMode, FailuresShowTheBoxAndEndTheProcess) {
    struct Case { const char* name; std::string json; bool unreachable; directory::DatabaseChooser::Choice answer; };
    const Case cases[] = {
        {"unreachable", "[]", true, {}},
        {"empty list", "[]", false, {}},
        {"no main database", R"([{"codigo": 1, "nome": "A", "bancos": [)" + Database("/x.fdb", "O", "X") + "]}]", false, {}},
        {"confirmed with nothing", R"([{"codigo": 1, "nome": "A", "bancos": []}, {"codigo": 2, "nome": "B", "bancos": []}])",
         false, {directory::DialogResult::Ok, -1}},
        {"not json", "<html>", false, {}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        messages.boxes.clear();
        ending.codes.clear();
        chooser.answer = c.answer;
        serve(c.json, c.unreachable ? test::HttpTestServer::unusedPort() : 0);
        EXPECT_THROW(dm.Conectar(), test::ProcessEnded);
        expectFailureBox();
    }
}
