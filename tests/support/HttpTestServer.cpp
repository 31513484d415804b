#include "support/HttpTestServer.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdlib>
#include <stdexcept>

namespace fat::test {

namespace {

bool SameText(std::string_view a, std::string_view b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](char x, char y) {
        return std::tolower(static_cast<unsigned char>(x)) == std::tolower(static_cast<unsigned char>(y));
    });
}

std::string Base64(std::string_view bytes) {
    static const char alphabet[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    std::size_t i = 0;
    for (; i + 2 < bytes.size(); i += 3) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8 |
                           static_cast<unsigned char>(bytes[i + 2]);
        out += {alphabet[v >> 18 & 63], alphabet[v >> 12 & 63], alphabet[v >> 6 & 63], alphabet[v & 63]};
    }
    if (i + 1 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16;
        out += {alphabet[v >> 18 & 63], alphabet[v >> 12 & 63], '=', '='};
    } else if (i + 2 == bytes.size()) {
        const unsigned v = static_cast<unsigned char>(bytes[i]) << 16 | static_cast<unsigned char>(bytes[i + 1]) << 8;
        out += {alphabet[v >> 18 & 63], alphabet[v >> 12 & 63], alphabet[v >> 6 & 63], '='};
    }
    return out;
}

std::string Trimmed(const std::string& s) {
    std::size_t b = 0, e = s.size();
    while (b < e && (s[b] == ' ' || s[b] == '\t')) ++b;
    while (e > b && (s[e - 1] == ' ' || s[e - 1] == '\t' || s[e - 1] == '\r')) --e;
    return s.substr(b, e - b);
}

} // namespace

std::string HttpRequestRecord::header(std::string_view name) const {
    for (const auto& [key, value] : headers)
        if (SameText(key, name)) return value;
    return {};
}

HttpTestServer::HttpTestServer(Handler handler) : handler_(std::move(handler)) {
    if (pipe(wake_) != 0) throw std::runtime_error("test server: pipe failed");
    listener_ = socket(AF_INET, SOCK_STREAM, 0);
    if (listener_ < 0) throw std::runtime_error("test server: socket failed");
    int on = 1;
    setsockopt(listener_, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = 0;
    socklen_t length = sizeof address;
    if (bind(listener_, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener_, 16) != 0 ||
        getsockname(listener_, reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        close(listener_);
        close(wake_[0]);
        close(wake_[1]);
        throw std::runtime_error("test server: cannot listen on 127.0.0.1");
    }
    port_ = ntohs(address.sin_port);
    thread_ = std::thread([this] { run(); });
}

HttpTestServer::~HttpTestServer() {
    const char stop = 's';
    [[maybe_unused]] const auto written = write(wake_[1], &stop, 1);
    thread_.join();
    close(listener_);
    close(wake_[0]);
    close(wake_[1]);
}

std::string HttpTestServer::url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(port_) + path;
}

void HttpTestServer::setHandler(Handler handler) {
    std::lock_guard lock(mutex_);
    handler_ = std::move(handler);
}

std::vector<HttpRequestRecord> HttpTestServer::requests() const {
    std::lock_guard lock(mutex_);
    return requests_;
}

std::string HttpTestServer::basicAuthorization(const std::string& userName, const std::string& password) {
    return "Basic " + Base64(userName + ":" + password);
}

int HttpTestServer::unusedPort() {
    const int s = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    if (s < 0 || bind(s, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        getsockname(s, reinterpret_cast<sockaddr*>(&address), &length) != 0)
        throw std::runtime_error("test server: no free port");
    close(s); // bound but never listening: connecting to it is refused
    return ntohs(address.sin_port);
}

void HttpTestServer::run() {
    for (;;) {
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {listener_, POLLIN, 0}};
        if (poll(fds, 2, -1) < 0) {
            if (errno == EINTR) continue;
            return;
        }
        if (fds[0].revents) return;
        if (!(fds[1].revents & POLLIN)) continue;
        const int client = accept(listener_, nullptr, nullptr);
        if (client < 0) continue;
        serve(client);
        close(client);
    }
}

bool HttpTestServer::pause(int ms) const {
    if (ms <= 0) return true;
    pollfd fd{wake_[0], POLLIN, 0};
    return poll(&fd, 1, ms) == 0;
}

bool HttpTestServer::sendAll(int client, std::string_view bytes) const {
    while (!bytes.empty()) {
        const ssize_t n = send(client, bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (n <= 0) return false;
        bytes.remove_prefix(static_cast<std::size_t>(n));
    }
    return true;
}

bool HttpTestServer::readRequest(int client, HttpRequestRecord& request) {
    std::string data;
    std::size_t headEnd = std::string::npos;
    std::size_t wanted = 0;
    for (;;) {
        if (headEnd == std::string::npos) {
            headEnd = data.find("\r\n\r\n");
            if (headEnd != std::string::npos) {
                std::size_t lineStart = 0;
                bool first = true;
                while (lineStart < headEnd) {
                    std::size_t lineEnd = data.find("\r\n", lineStart);
                    const std::string line = data.substr(lineStart, lineEnd - lineStart);
                    lineStart = lineEnd + 2;
                    if (first) {
                        first = false;
                        const auto a = line.find(' ');
                        const auto b = line.find(' ', a + 1);
                        if (a == std::string::npos || b == std::string::npos) return false;
                        request.method = line.substr(0, a);
                        request.target = line.substr(a + 1, b - a - 1);
                        request.version = line.substr(b + 1);
                        continue;
                    }
                    const auto colon = line.find(':');
                    if (colon == std::string::npos) continue;
                    request.headers.emplace_back(line.substr(0, colon), Trimmed(line.substr(colon + 1)));
                }
                const std::string length = request.header("Content-Length");
                wanted = headEnd + 4 + std::strtoul(length.c_str(), nullptr, 10);
            }
        }
        if (headEnd != std::string::npos && data.size() >= wanted) {
            request.body = data.substr(headEnd + 4, wanted - headEnd - 4);
            return true;
        }
        pollfd fds[2] = {{wake_[0], POLLIN, 0}, {client, POLLIN, 0}};
        if (poll(fds, 2, 10000) <= 0 || fds[0].revents) return false;
        char buffer[4096];
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return false;
        data.append(buffer, static_cast<std::size_t>(n));
    }
}

void HttpTestServer::serve(int client) {
    HttpRequestRecord request;
    if (!readRequest(client, request)) return;
    Handler handler;
    {
        std::lock_guard lock(mutex_);
        requests_.push_back(request);
        handler = handler_;
    }
    HttpCannedResponse response;
    if (handler) {
        try {
            response = handler(request);
        } catch (const std::exception& e) {
            response = HttpCannedResponse{500, "Internal Server Error", {}, e.what()};
        }
    } else {
        response = HttpCannedResponse{404, "Not Found", {}, "no handler"};
    }
    if (!pause(response.delayMs)) return;

    std::string head = "HTTP/1.1 " + std::to_string(response.status) + " " + response.reason + "\r\n";
    bool hasLength = false;
    for (const auto& [key, value] : response.headers) {
        hasLength = hasLength || SameText(key, "Content-Length");
        head += key + ": " + value + "\r\n";
    }
    if (!hasLength) head += "Content-Length: " + std::to_string(response.body.size()) + "\r\n";
    head += "Connection: close\r\n\r\n";
    if (!sendAll(client, head)) return;
    const std::size_t piece = response.chunkBytes ? response.chunkBytes : std::max<std::size_t>(response.body.size(), 1);
    for (std::size_t at = 0; at < response.body.size(); at += piece) {
        if (at > 0 && !pause(response.chunkGapMs)) return;
        if (!sendAll(client, std::string_view(response.body).substr(at, piece))) return;
    }
    shutdown(client, SHUT_WR);
}

} // namespace fat::test
