// The development directory server as a newcomer runs it: the built program, a list file, the
// client of the product pointed at it.
#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"
#include "platform/net/HttpClient.h"
#include "support/TempDir.h"
#include "DirectoryFixture.h"
#include "DirectoryServerProcess.h"

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <vector>

using namespace fat::directory;
using fat::test::DirectoryServerProcess;
using fat::test::kDirectoryList;

namespace {

struct DirectoryServer : ::testing::Test {
    fat::test::TempDir dir;
    std::string listFile = dir.file("list.json");
    DirectoryServer() { write(kDirectoryList); }
    void write(const std::string& text) const { std::ofstream(listFile, std::ios::binary) << text; }
    static std::string url(const DirectoryServerProcess& server) {
        return "http://" + server.host() + TQDXConnection::kListPath;
    }
};

const char* const kListRequest = "GET /services/rest/TAccessMethods/ListDatabases HTTP/1.1 -> ";

} // namespace

TEST_F(DirectoryServer, TheClientLoadsTheListItServes) {
    struct Case {
        const char* name;
        std::vector<std::string> options;
        bool encrypt;
        std::vector<std::string> statuses; // of the requests the server saw, in order
    };
    const Case cases[] = {
        {"encoded", {}, true, {"200 OK"}},
        {"first request challenged", {"--challenge"}, true, {"401 Unauthorized", "200 OK"}},
        {"plain", {"--plain"}, false, {"200 OK"}},
        {"fixed key offset at the end of the table", {"--key-offset", "4095"}, true, {"200 OK"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        DirectoryServerProcess server(listFile, c.options);
        TQDXConnection connection;
        connection.SetHost(server.host());
        connection.SetEncrypt(c.encrypt);
        connection.LoadDatabases();
        EXPECT_FALSE(connection.Offline()) << connection.LastLoadError();
        ASSERT_EQ(connection.CompanyCount(), 3);
        EXPECT_EQ(connection.Company(0)->Nome, "Com\xE9rcio Alfa"); // WIN1252 bytes unchanged
        EXPECT_EQ(connection.Company(1)->Bancos[0]->Host, "srv/3050:/db/beta.fdb");
        std::vector<std::string> expected;
        for (const auto& status : c.statuses) expected.push_back(kListRequest + status);
        EXPECT_EQ(server.requests(), expected) << server.log();
    }
}

TEST_F(DirectoryServer, AnswersOnlyTheListRequestWithTheDirectoryCredentials) {
    DirectoryServerProcess server(listFile, {"--key-offset", "4095"});
    struct Case {
        const char* name;
        std::string path;
        std::string user, password;
        int status;
    };
    const Case cases[] = {
        {"no credentials", TQDXConnection::kListPath, "", "", 401},
        {"wrong password", TQDXConnection::kListPath, TQDXConnection::kUserName, "9b1f04c27e65a3d8f0c2b7e419a6d351", 401},
        {"wrong user", TQDXConnection::kListPath, "QDX", TQDXConnection::kPassword, 401},
        {"another path", "/services/rest/TAccessMethods/ListDatabases/x", TQDXConnection::kUserName,
         TQDXConnection::kPassword, 404},
        {"the list", TQDXConnection::kListPath, TQDXConnection::kUserName, TQDXConnection::kPassword, 200},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        fat::net::HttpClient http;
        http.setReadTimeoutMs(5000);
        http.setCredentials(c.user, c.password);
        const fat::net::HttpResponse response = http.get("http://" + server.host() + c.path);
        EXPECT_EQ(response.status, c.status);
        if (c.status == 401) {
            EXPECT_EQ(response.header("WWW-Authenticate"), "Basic realm=\"directory\"");
        }
        if (c.status == 200) {
            // Header: key offset 4095 and the plain length, little-endian; the key wraps to 0 and 1.
            const std::string length = {static_cast<char>(std::string(kDirectoryList).size() & 0xFF),
                                        static_cast<char>(std::string(kDirectoryList).size() >> 8 & 0xFF), 0, 0};
            EXPECT_EQ(response.body.substr(0, 8), std::string("\xFF\x0F\x00\x00", 4) + length);
            EXPECT_EQ(DecodeDirectoryResponse(response.body), kDirectoryList);
        }
    }
}

TEST_F(DirectoryServer, ReadsTheFileForEveryRequest) {
    DirectoryServerProcess server(listFile, {"--plain"});
    fat::net::HttpClient http;
    http.setReadTimeoutMs(5000);
    http.setCredentials(TQDXConnection::kUserName, TQDXConnection::kPassword);
    EXPECT_EQ(http.get(url(server)).body, kDirectoryList);
    write("[]");
    EXPECT_EQ(http.get(url(server)).body, "[]");
    std::filesystem::remove(listFile);
    const fat::net::HttpResponse missing = http.get(url(server));
    EXPECT_EQ(missing.status, 500);
    EXPECT_NE(missing.body.find("cannot read"), std::string::npos) << missing.body;
}

TEST_F(DirectoryServer, RefusesBadOptions) {
    struct Case {
        std::vector<std::string> options;
        const char* message;
    };
    const Case cases[] = {
        {{"--key-offset", "4096"}, "--key-offset takes a number from 0 to 4095"},
        {{"--key-offset", "-1"}, "--key-offset takes a number from 0 to 4095"},
        {{"--port", "65536", "--port"}, "--port takes a number"},
        {{"--port", "80ab"}, "--port takes a number"},
        {{"--verbose"}, "unexpected argument --verbose"},
        {{"second.json"}, "unexpected argument"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.message);
        try {
            DirectoryServerProcess server(listFile, c.options);
            ADD_FAILURE() << "the server started";
        } catch (const std::runtime_error& e) {
            const std::string failure = e.what();
            EXPECT_NE(failure.find("ended at once with exit code 2"), std::string::npos) << failure;
            EXPECT_NE(failure.find(c.message), std::string::npos) << failure;
        }
    }
}
