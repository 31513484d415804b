#include "directory/QDXConnection.h"
#include "directory/QDXConnectionThread.h"
#include "directory/ResponseCodec.h"
#include "platform/net/HttpClient.h"
#include "support/HttpTestServer.h"
#include "DirectoryFixture.h"

#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>

using namespace fat::directory;
using fat::test::DirectoryHandler;
using fat::test::HttpCannedResponse;
using fat::test::HttpRequestRecord;
using fat::test::HttpTestServer;
using fat::test::kDirectoryList;
using fat::test::PointAt;

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

} // namespace

TEST(QDXConnection, HostSetsPortAndBaseUrl) {
    struct Case {
        const char* host;
        const char* name;
        int port;
        const char* url;
    };
    const Case cases[] = {
        {"", "", 8080, "http://:8080"},
        {"dir.local", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:9090", "dir.local", 9090, "http://dir.local:9090"},
        {"dir.local:", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:abc", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:90ab", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:99999999999", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:70000", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:0", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:-80", "dir.local", 8080, "http://dir.local:8080"},
        {"dir.local:12:34", "dir.local", 8080, "http://dir.local:8080"},
        {":9090", "", 9090, "http://:9090"},
    };
    TQDXConnection connection;
    for (const auto& c : cases) {
        SCOPED_TRACE(c.host);
        connection.SetHost(c.host);
        EXPECT_EQ(connection.Host(), c.host);
        EXPECT_EQ(connection.HostName(), c.name);
        EXPECT_EQ(connection.Port(), c.port);
        EXPECT_EQ(connection.BaseUrl(), c.url);
    }
}

TEST(QDXConnection, StartsOfflineWithTheDirectorySettings) {
    TQDXConnection connection;
    EXPECT_TRUE(connection.Offline());
    EXPECT_TRUE(connection.Encrypt());
    EXPECT_EQ(connection.Sistema(), TSistema::First);
    EXPECT_EQ(connection.UserName(), "qdx");
    EXPECT_EQ(connection.Password(), "9b1f04c27e65a3d8f0c2b7e419a6d350");
    EXPECT_TRUE(connection.Proxy().empty());
    EXPECT_EQ(connection.Http().readTimeoutMs(), 5000);
    EXPECT_EQ(connection.CompanyCount(), 0);
    EXPECT_EQ(connection.Company(0), nullptr);
    EXPECT_EQ(connection.SelectedDatabase(), nullptr);
}

TEST(QDXConnection, LoadsCompaniesAndDatabases) {
    HttpTestServer server(DirectoryHandler(kDirectoryList));
    TQDXConnection connection;
    PointAt(connection, server);
    connection.LoadDatabases();
    ASSERT_FALSE(connection.Offline()) << connection.LastLoadError();

    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u);
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/services/rest/TAccessMethods/ListDatabases");
    EXPECT_EQ(requests[0].header("Authorization"),
              HttpTestServer::basicAuthorization("qdx", "9b1f04c27e65a3d8f0c2b7e419a6d350"));

    ASSERT_EQ(connection.CompanyCount(), 3);
    const TCompanyInfo& alfa = *connection.Company(0);
    EXPECT_EQ(alfa.Codigo, 7); // 7.9 cut
    EXPECT_EQ(alfa.Nome, "Com\xE9rcio Alfa");
    ASSERT_EQ(alfa.Bancos.size(), 7u);
    const TDatabaseInfo& first = *alfa.Bancos[0];
    EXPECT_EQ(first.Id, 11);
    EXPECT_EQ(first.Host, "db1:/data/alfa.fdb");
    EXPECT_EQ(first.Password, "pw1");
    EXPECT_EQ(first.Description, "Alfa Matriz");
    EXPECT_EQ(first.Parent, 0);
    EXPECT_EQ(first.Company, &alfa);
    EXPECT_EQ(alfa.Bancos[1]->Parent, 11);
    EXPECT_EQ(alfa.Bancos[2]->Id, 13);     // a string holding a number
    EXPECT_EQ(alfa.Bancos[3]->Parent, 8);  // "7.5" rounds to 8
    EXPECT_EQ(alfa.Bancos[3]->Password, "p'4");
    const int kinds[] = {0, 1, 2, 3, 4, 5, 0}; // G A O C F X, and "g" is no letter of the table
    for (std::size_t i = 0; i < 7; ++i) EXPECT_EQ(alfa.Bancos[i]->Kind, kinds[i]) << i;

    const TCompanyInfo& beta = *connection.Company(1);
    EXPECT_EQ(beta.Codigo, 6); // "6.5": a tie rounds to even
    EXPECT_EQ(beta.Nome, "Beta Ind\xFAstria");
    ASSERT_EQ(beta.Bancos.size(), 2u);
    EXPECT_EQ(beta.Bancos[0]->Id, 21);
    EXPECT_EQ(beta.Bancos[0]->Host, "srv/3050:/db/beta.fdb");
    EXPECT_EQ(beta.Bancos[0]->Password, "s3cr\xE9t");
    EXPECT_EQ(beta.Bancos[0]->Kind, 0); // "B"
    EXPECT_EQ(beta.Bancos[1]->Kind, 0); // ""
    EXPECT_EQ(beta.Bancos[1]->Company, &beta);

    EXPECT_EQ(connection.Company(2)->Nome, "Gama sem bancos");
    EXPECT_TRUE(connection.Company(2)->Bancos.empty());
    EXPECT_EQ(connection.Company(3), nullptr);
}

TEST(QDXConnection, LoadVariantsThatSucceed) {
    struct Case {
        const char* name;
        HttpTestServer::Handler handler;
        bool encrypt;
        int companies;
        std::size_t requests;
    };
    int calls = 0;
    const auto challengeFirst = [&](const HttpRequestRecord& r) {
        if (++calls == 1) return HttpCannedResponse{401, "Unauthorized", {{"WWW-Authenticate", "Basic realm=\"d\""}}, ""};
        return DirectoryHandler(kDirectoryList)(r);
    };
    const Case cases[] = {
        {"empty list", DirectoryHandler("[]"), true, 0, 1},
        {"plain JSON when not encrypted", DirectoryHandler(kDirectoryList, false), false, 3, 1},
        {"challenge answered with the same credentials", challengeFirst, true, 3, 2},
        {"text after the list", DirectoryHandler("[{codigo:1,nome:x,bancos:[]}] trailing"), true, 1, 1},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server(c.handler);
        TQDXConnection connection;
        PointAt(connection, server);
        connection.SetEncrypt(c.encrypt);
        connection.LoadDatabases();
        EXPECT_FALSE(connection.Offline()) << connection.LastLoadError();
        EXPECT_EQ(connection.CompanyCount(), c.companies);
        EXPECT_EQ(server.requests().size(), c.requests);
    }
}

TEST(QDXConnection, LoadGoesThroughTheProxy) {
    HttpTestServer proxy([](const HttpRequestRecord& r) {
        HttpRequestRecord direct = r;
        if (r.target != "http://directory.invalid:8080/services/rest/TAccessMethods/ListDatabases")
            return HttpCannedResponse{502, "Bad Gateway", {}, ""};
        direct.target = TQDXConnection::kListPath;
        return DirectoryHandler(kDirectoryList)(direct);
    });
    TQDXConnection connection;
    connection.SetHost("directory.invalid");
    connection.Proxy() = {"127.0.0.1", proxy.port(), "", "", false};
    connection.LoadDatabases();
    EXPECT_FALSE(connection.Offline()) << connection.LastLoadError();
    EXPECT_EQ(connection.CompanyCount(), 3);
}

TEST(QDXConnection, FailedLoadLeavesAnEmptyListAndStaysOffline) {
    const auto answer = [](HttpCannedResponse r) { return [r](const HttpRequestRecord&) { return r; }; };
    const auto encoded = [&](const std::string& text) {
        return answer({200, "OK", {}, EncodeDirectoryResponse(text, 77)});
    };
    std::string corrupt = EncodeDirectoryResponse(kDirectoryList, 9);
    corrupt[20] = static_cast<char>(corrupt[20] ^ 0xFF);
    std::string fewer = EncodeDirectoryResponse("[]", 9);
    fewer[4] = 3; // announces 3 bytes, holds 2
    std::string badOffset = EncodeDirectoryResponse("[]", 9);
    badOffset[1] = 0x10; // 4096 + 9
    const std::string withoutParent = [] {
        std::string s = kDirectoryList;
        const std::string last = "\"description\": \"Beta 2\", \"parent\": 0}";
        s.replace(s.find(last), last.size(), "\"description\": \"Beta 2\"}");
        return s;
    }();

    struct Case {
        const char* name;
        HttpTestServer::Handler handler;
        const char* error;
    };
    const Case cases[] = {
        {"error status", answer({500, "Internal Server Error", {}, "boom"}), "HTTP status 500"},
        {"credentials refused twice", answer({401, "Unauthorized", {}, ""}), "HTTP status 401"},
        {"short header", answer({200, "OK", {}, "\x01\x02\x03\x04\x05"}), "too short"},
        {"key offset out of range", answer({200, "OK", {}, badOffset}), "key offset"},
        {"corrupt zlib stream", answer({200, "OK", {}, corrupt}), "does not inflate"},
        {"fewer bytes than announced", answer({200, "OK", {}, fewer}), "fewer than"},
        {"plain length 0: empty text", encoded(""), "A TJSONArray must start with"},
        {"an object, not an array", encoded("{\"codigo\":1}"), "A TJSONArray must start with"},
        {"broken JSON", encoded("[{\"codigo\":1,"), "must end with"},
        {"element not an object", encoded("[1]"), "TJSONArray[0] is not a TJSONObject is _Double"},
        {"one database without parent", encoded(withoutParent), "TJSONObject[\"parent\"] not found."},
        {"bancos not an array", encoded("[{\"codigo\":1,\"nome\":\"x\",\"bancos\":{}}]"), "is not a TJSONArray."},
        {"codigo not a number", encoded("[{\"codigo\":true,\"nome\":\"x\",\"bancos\":[]}]"), "is not a number."},
        {"database not an object", encoded("[{\"codigo\":1,\"nome\":\"x\",\"bancos\":[\"db\"]}]"), "is not a TJSONObject"},
    };
    HttpTestServer good(DirectoryHandler(kDirectoryList));
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        TQDXConnection connection;
        PointAt(connection, good); // a list and a selection from an earlier load must go
        connection.LoadDatabases();
        ASSERT_EQ(connection.CompanyCount(), 3);
        connection.SetSelectedDatabase(connection.Company(0)->Bancos[0].get());

        HttpTestServer server(c.handler);
        PointAt(connection, server);
        connection.LoadDatabases(); // never raises
        EXPECT_TRUE(connection.Offline());
        EXPECT_EQ(connection.CompanyCount(), 0);
        EXPECT_EQ(connection.SelectedDatabase(), nullptr);
        EXPECT_NE(connection.LastLoadError().find(c.error), std::string::npos) << connection.LastLoadError();
    }
}

TEST(QDXConnection, UnreachableOrSilentServerFailsTheLoadQuietly) {
    {
        TQDXConnection connection;
        connection.SetHost("127.0.0.1:" + std::to_string(HttpTestServer::unusedPort()));
        connection.LoadDatabases();
        EXPECT_TRUE(connection.Offline());
        EXPECT_EQ(connection.CompanyCount(), 0);
        EXPECT_NE(connection.LastLoadError().find("refused"), std::string::npos) << connection.LastLoadError();
    }
    {
        HttpTestServer server([](const HttpRequestRecord& r) {
            HttpCannedResponse late = DirectoryHandler(kDirectoryList)(r);
            late.delayMs = 3000;
            return late;
        });
        TQDXConnection connection;
        PointAt(connection, server);
        connection.Http().setReadTimeoutMs(250); // the product waits 5000 ms
        const auto start = Clock::now();
        connection.LoadDatabases();
        EXPECT_LT(MillisecondsSince(start), 2000);
        EXPECT_TRUE(connection.Offline());
        EXPECT_EQ(connection.CompanyCount(), 0);
        EXPECT_NE(connection.LastLoadError().find("no data received within 250 ms"), std::string::npos)
            << connection.LastLoadError();
    }
}

TEST(QDXConnection, OtherSystemsFetchButParseNothing) {
    HttpTestServer server(DirectoryHandler(kDirectoryList));
    TQDXConnection connection;
    PointAt(connection, server);
    connection.SetSistema(TSistema::Second);
    connection.LoadDatabases();
    EXPECT_EQ(server.requests().size(), 1u); // fetched with the shared credentials
    EXPECT_TRUE(connection.Offline());
    EXPECT_EQ(connection.CompanyCount(), 0);
    EXPECT_EQ(connection.LastLoadError(), "");
}

TEST(QDXConnection, WorkerStopsPromptlyWhenTheClientGoes) {
    const auto start = Clock::now();
    {
        TQDXConnection connection;
        std::this_thread::sleep_for(std::chrono::milliseconds(50)); // the worker is asleep by now
    }
    EXPECT_LT(MillisecondsSince(start), 500);
}

TEST(QDXConnectionThread, KeepsGoingAfterAFailedStepAndStopsAtOnce) {
    std::atomic<int> steps{0};
    auto worker = std::make_unique<TQDXConnectionThread>(
        [&] {
            ++steps;
            throw std::runtime_error("step failed");
        },
        std::chrono::milliseconds(5));
    const auto deadline = Clock::now() + std::chrono::seconds(5);
    while (steps < 3 && Clock::now() < deadline) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_GE(steps, 3);
    EXPECT_TRUE(worker->Running());

    TQDXConnectionThread sleeper([] {}); // 2000 ms steps
    std::this_thread::sleep_for(std::chrono::milliseconds(20));
    const auto start = Clock::now();
    sleeper.RequestStop();
    EXPECT_TRUE(sleeper.StopRequested());
    while (sleeper.Running() && MillisecondsSince(start) < 3000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(sleeper.Running());
    EXPECT_LT(MillisecondsSince(start), 500);
    worker.reset();
}

TEST(QDXConnectionThread, WithoutAClientItEndsAtOnce) {
    TQDXConnectionThread worker(nullptr);
    const auto start = Clock::now();
    while (worker.Running() && MillisecondsSince(start) < 3000) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    EXPECT_FALSE(worker.Running());
    EXPECT_FALSE(worker.StopRequested());
}

TEST(QDXConnection, ProcessHasOneClient) {
    TQDXConnection& a = QDXConnection();
    TQDXConnection& b = QDXConnection();
    EXPECT_EQ(&a, &b);
    EXPECT_TRUE(a.Offline());
}

TEST(QDXConnection, AServerThatNeverAnswersIsGivenUpAfterTheProductsTimeout) {
    HttpTestServer server([](const HttpRequestRecord&) {
        HttpCannedResponse silent{200, "OK", {}, "[]"};
        silent.delayMs = 60000; // the server is stopped long before
        return silent;
    });
    TQDXConnection connection; // read timeout as shipped, 5000 ms
    PointAt(connection, server);
    const auto start = Clock::now();
    connection.LoadDatabases();
    const long long waited = MillisecondsSince(start);
    EXPECT_GE(waited, 4900);
    EXPECT_LT(waited, 7000);
    EXPECT_TRUE(connection.Offline());
    EXPECT_EQ(connection.CompanyCount(), 0);
    EXPECT_NE(connection.LastLoadError().find("no data received within 5000 ms"), std::string::npos)
        << connection.LastLoadError();
}
