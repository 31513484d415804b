#include "platform/net/HttpClient.h"
#include "platform/net/NetError.h"
#include "support/HttpTestServer.h"

#include <gtest/gtest.h>

#include <chrono>
#include <cstdlib>

using fat::net::HttpClient;
using fat::net::NetError;
using fat::test::HttpCannedResponse;
using fat::test::HttpRequestRecord;
using fat::test::HttpTestServer;

namespace {

using Clock = std::chrono::steady_clock;

long long MillisecondsSince(Clock::time_point start) {
    return std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - start).count();
}

NetError::Kind FailureKind(HttpClient& client, const std::string& url, std::string* message = nullptr) {
    try {
        client.get(url);
    } catch (const NetError& e) {
        if (message) *message = e.what();
        return e.kind();
    }
    ADD_FAILURE() << "GET of " << url << " did not fail";
    return NetError::Kind::Protocol;
}

} // namespace

TEST(HttpClient, GetSendsBasicAuthenticationAndReturnsStatusHeadersAndBytes) {
    const std::string body("bin\0\xff\x80 data", 11);
    HttpTestServer server([&](const HttpRequestRecord& r) {
        if (r.header("Authorization") != HttpTestServer::basicAuthorization("qdx", "s3:cr\xe9t"))
            return HttpCannedResponse{401, "Unauthorized", {{"WWW-Authenticate", "Basic realm=\"x\""}}, ""};
        return HttpCannedResponse{200, "OK", {{"X-Answer", "forty two"}, {"Content-Type", "application/octet-stream"}}, body};
    });
    HttpClient client;
    client.setCredentials("qdx", "s3:cr\xe9t");
    const auto response = client.get(server.url("/services/rest/list"));

    EXPECT_EQ(response.status, 200);
    EXPECT_TRUE(response.succeeded());
    EXPECT_EQ(response.body, body);
    EXPECT_EQ(response.header("x-answer"), "forty two");
    EXPECT_EQ(response.header("missing"), "");
    const auto requests = server.requests();
    ASSERT_EQ(requests.size(), 1u); // the credentials went with the request itself
    EXPECT_EQ(requests[0].method, "GET");
    EXPECT_EQ(requests[0].target, "/services/rest/list");
    EXPECT_EQ(requests[0].body, "");
}

TEST(HttpClient, ErrorStatusIsAnAnswerNotAFailure) {
    HttpTestServer server([](const HttpRequestRecord&) { return HttpCannedResponse{503, "Busy", {}, "later"}; });
    HttpClient client;
    const auto response = client.get(server.url("/x"));
    EXPECT_EQ(response.status, 503);
    EXPECT_FALSE(response.succeeded());
    EXPECT_EQ(response.body, "later");
}

TEST(HttpClient, ChallengeIsAnsweredOnceThroughTheHandler) {
    const std::string expected = HttpTestServer::basicAuthorization("qdx", "pw");
    struct Case {
        const char* name;
        bool clientHasCredentials;
        int handler; // 0 none, 1 supplies qdx/pw, 2 declines
        bool serverAlwaysRejects;
        int status;
        std::size_t requests;
        bool firstCarriesCredentials;
    };
    const Case cases[] = {
        {"challenge despite credentials, answered again", true, 1, false, 200, 2, true},
        {"no credentials until the server asks", false, 1, false, 200, 2, false},
        {"no handler: the 401 is the answer", true, 0, false, 401, 1, true},
        {"handler declines", true, 2, false, 401, 1, true},
        {"server keeps rejecting: no endless loop", true, 1, true, 401, 2, true},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        int seen = 0;
        HttpTestServer server([&](const HttpRequestRecord& r) {
            ++seen;
            if (seen == 1 || c.serverAlwaysRejects || r.header("Authorization") != expected)
                return HttpCannedResponse{401, "Unauthorized", {{"WWW-Authenticate", "Basic realm=\"dir\""}}, "no"};
            return HttpCannedResponse{200, "OK", {}, "yes"};
        });
        HttpClient client;
        if (c.clientHasCredentials) client.setCredentials("qdx", "pw");
        if (c.handler == 1)
            client.setAuthorizationHandler([](std::string& user, std::string& password) {
                user = "qdx";
                password = "pw";
                return true;
            });
        if (c.handler == 2) client.setAuthorizationHandler([](std::string&, std::string&) { return false; });

        const auto response = client.get(server.url("/list"));
        EXPECT_EQ(response.status, c.status);
        const auto requests = server.requests();
        ASSERT_EQ(requests.size(), c.requests);
        EXPECT_EQ(requests[0].header("Authorization"), c.firstCarriesCredentials ? expected : "");
        if (requests.size() > 1) {
            EXPECT_EQ(requests[1].header("Authorization"), expected);
        }
    }
}

TEST(HttpClient, ReadTimeoutFiresWhenTheServerFallsSilent) {
    struct Case {
        const char* name;
        HttpCannedResponse response;
    };
    const Case cases[] = {
        {"no answer at all", HttpCannedResponse{200, "OK", {}, "late", 3000}},
        {"stalls in the middle of the body", HttpCannedResponse{200, "OK", {}, "0123456789", 0, 5, 3000}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        HttpTestServer server([&](const HttpRequestRecord&) { return c.response; });
        HttpClient client;
        client.setReadTimeoutMs(300);
        const auto start = Clock::now();
        std::string message;
        EXPECT_EQ(FailureKind(client, server.url("/slow"), &message), NetError::Kind::Timeout);
        const auto elapsed = MillisecondsSince(start);
        EXPECT_GE(elapsed, 280);
        EXPECT_LT(elapsed, 2000);
        EXPECT_NE(message.find("within 300 ms"), std::string::npos) << message;
    }
}

TEST(HttpClient, ReadTimeoutBoundsEachWaitNotTheWholeTransfer) {
    // Ten pieces 120 ms apart: well over the timeout in total, never silent for that long.
    HttpTestServer server([](const HttpRequestRecord&) {
        return HttpCannedResponse{200, "OK", {}, "abcdefghij", 0, 1, 120};
    });
    HttpClient client;
    client.setReadTimeoutMs(500);
    const auto start = Clock::now();
    EXPECT_EQ(client.get(server.url("/trickle")).body, "abcdefghij");
    EXPECT_GE(MillisecondsSince(start), 1000);
}

TEST(HttpClient, ConnectionRefusedRaisesAClearError) {
    HttpClient client;
    const std::string url = "http://127.0.0.1:" + std::to_string(HttpTestServer::unusedPort()) + "/x";
    std::string message;
    EXPECT_EQ(FailureKind(client, url, &message), NetError::Kind::CouldNotConnect);
    EXPECT_NE(message.find(url), std::string::npos) << message;
    EXPECT_NE(message.find("refused"), std::string::npos) << message;
}

TEST(HttpClient, RefusesSchemesOtherThanHttp) {
    HttpClient client;
    EXPECT_EQ(FailureKind(client, "file:///etc/hostname"), NetError::Kind::Protocol);
}

TEST(HttpClient, BodyLargerThanTheLimitFails) {
    HttpTestServer server([](const HttpRequestRecord&) { return HttpCannedResponse{200, "OK", {}, std::string(5000, 'x')}; });
    HttpClient client;
    client.setMaxBodyBytes(4096);
    EXPECT_EQ(FailureKind(client, server.url("/big")), NetError::Kind::TooLarge);
}

TEST(HttpClient, ProxyReceivesTheAbsoluteUrlAndItsCredentials) {
    struct Case {
        bool basic;
        std::string proxyAuthorization;
    };
    const Case cases[] = {
        {true, HttpTestServer::basicAuthorization("puser", "ppass")},
        {false, ""}, // offered only when the proxy asks
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.basic);
        HttpTestServer proxy([](const HttpRequestRecord&) { return HttpCannedResponse{200, "OK", {}, "via proxy"}; });
        HttpClient client;
        client.setProxy({"127.0.0.1", proxy.port(), "puser", "ppass", c.basic});
        client.setCredentials("qdx", "pw");
        // The name is never resolved here: the proxy gets it.
        EXPECT_EQ(client.get("http://directory.invalid:8080/services/x").body, "via proxy");
        const auto requests = proxy.requests();
        ASSERT_EQ(requests.size(), 1u);
        EXPECT_EQ(requests[0].target, "http://directory.invalid:8080/services/x");
        EXPECT_EQ(requests[0].header("Proxy-Authorization"), c.proxyAuthorization);
        EXPECT_EQ(requests[0].header("Authorization"), HttpTestServer::basicAuthorization("qdx", "pw"));
    }
}

TEST(HttpClient, EmptyProxyMeansDirectEvenWithAProxyInTheEnvironment) {
    HttpTestServer server([](const HttpRequestRecord&) { return HttpCannedResponse{200, "OK", {}, "direct"}; });
    const std::string deadProxy = "http://127.0.0.1:" + std::to_string(HttpTestServer::unusedPort());
    setenv("http_proxy", deadProxy.c_str(), 1);
    setenv("HTTP_PROXY", deadProxy.c_str(), 1);
    unsetenv("no_proxy");
    unsetenv("NO_PROXY");
    HttpClient client;
    std::string body;
    try {
        body = client.get(server.url("/d")).body;
    } catch (const std::exception& e) {
        body = e.what();
    }
    unsetenv("http_proxy");
    unsetenv("HTTP_PROXY");
    EXPECT_EQ(body, "direct");
}
