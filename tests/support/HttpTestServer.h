#pragma once
#include <atomic>
#include <cstddef>
#include <functional>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <utility>
#include <vector>

namespace fat::test {

// One request as the server received it.
struct HttpRequestRecord {
    std::string method;
    std::string target; // "/path?query", or the absolute URL when it came through as a proxy
    std::string version;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;

    // First header with that name, compared without regard to case; "" if none.
    std::string header(std::string_view name) const;
};

// What the server answers. Content-Length is added unless a header gives it; every answer
// closes its connection.
struct HttpCannedResponse {
    int status = 200;
    std::string reason = "OK";
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
    int delayMs = 0;            // silence before anything is sent
    std::size_t chunkBytes = 0; // >0: the body goes out in pieces of this size...
    int chunkGapMs = 0;         // ...with this pause between two pieces
};

// A small HTTP/1.1 server on 127.0.0.1 and an ephemeral port, served by one thread with
// blocking sockets, one connection at a time. It records every request and answers through
// the handler (404 when there is none). The destructor stops it promptly, also in the middle
// of a delayed answer, and joins the thread.
class HttpTestServer {
public:
    using Handler = std::function<HttpCannedResponse(const HttpRequestRecord&)>;

    explicit HttpTestServer(Handler handler = {});
    ~HttpTestServer();
    HttpTestServer(const HttpTestServer&) = delete;
    HttpTestServer& operator=(const HttpTestServer&) = delete;

    int port() const { return port_; }
    // "http://127.0.0.1:<port>" followed by the path.
    std::string url(const std::string& path = "/") const;
    void setHandler(Handler handler);
    std::vector<HttpRequestRecord> requests() const;

    // The Authorization header value of basic authentication for these credentials.
    static std::string basicAuthorization(const std::string& userName, const std::string& password);
    // A loopback port on which nothing listens (taken from the system, then released).
    static int unusedPort();

private:
    void run();
    void serve(int client);
    bool readRequest(int client, HttpRequestRecord& request);
    bool pause(int ms) const; // false when the server is stopping
    bool sendAll(int client, std::string_view bytes) const;

    int listener_ = -1;
    int wake_[2] = {-1, -1};
    int port_ = 0;
    mutable std::mutex mutex_;
    Handler handler_;
    std::vector<HttpRequestRecord> requests_;
    std::thread thread_;
};

} // namespace fat::test
