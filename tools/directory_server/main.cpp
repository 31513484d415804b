// Development directory server: answers the company-list request on 127.0.0.1 with the JSON
// file given, encoded as the client decodes it, after checking the directory credentials.
//
//   directory_server <port> <list.json> [--plain]
//
// The file is read again for every request, so it can be edited while the server runs.
// --plain sends the JSON text as it is (for a client with Encrypt off).
#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>
#include <string>

namespace {

using fat::directory::TQDXConnection;

std::string Base64(const std::string& in) {
    static const char* a = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < in.size(); i += 3) {
        unsigned v = static_cast<unsigned char>(in[i]) << 16;
        if (i + 1 < in.size()) v |= static_cast<unsigned char>(in[i + 1]) << 8;
        if (i + 2 < in.size()) v |= static_cast<unsigned char>(in[i + 2]);
        out += a[v >> 18 & 63];
        out += a[v >> 12 & 63];
        out += i + 1 < in.size() ? a[v >> 6 & 63] : '=';
        out += i + 2 < in.size() ? a[v & 63] : '=';
    }
    return out;
}

std::string Lower(std::string s) {
    std::transform(s.begin(), s.end(), s.begin(), [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return s;
}

// The request head (up to the blank line), or "" when the client sent none.
std::string ReadHead(int client) {
    std::string data;
    char buffer[4096];
    while (data.find("\r\n\r\n") == std::string::npos && data.size() < 65536) {
        const ssize_t n = recv(client, buffer, sizeof buffer, 0);
        if (n <= 0) return "";
        data.append(buffer, static_cast<std::size_t>(n));
    }
    return data;
}

std::string Answer(int status, const char* reason, const std::string& body, const std::string& extra = "") {
    return "HTTP/1.1 " + std::to_string(status) + " " + reason + "\r\n" + extra +
           "Content-Type: application/octet-stream\r\nContent-Length: " + std::to_string(body.size()) +
           "\r\nConnection: close\r\n\r\n" + body;
}

std::string Respond(const std::string& head, const std::string& listFile, bool plain, std::mt19937& random) {
    std::istringstream lines(head);
    std::string method, target, line;
    lines >> method >> target;
    std::getline(lines, line);
    std::string authorization;
    while (std::getline(lines, line) && line != "\r") {
        const auto colon = line.find(':');
        if (colon != std::string::npos && Lower(line.substr(0, colon)) == "authorization") {
            authorization = line.substr(colon + 1);
            authorization.erase(0, authorization.find_first_not_of(' '));
            authorization.erase(authorization.find_last_not_of("\r ") + 1);
        }
    }
    if (method != "GET" || target != TQDXConnection::kListPath) return Answer(404, "Not Found", "");
    const std::string expected =
        "Basic " + Base64(std::string(TQDXConnection::kUserName) + ":" + TQDXConnection::kPassword);
    if (authorization != expected)
        return Answer(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"directory\"\r\n");
    std::ifstream file(listFile, std::ios::binary);
    if (!file) return Answer(500, "Internal Server Error", "cannot read " + listFile);
    const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
    const int offset = std::uniform_int_distribution<int>(0, 4095)(random);
    return Answer(200, "OK", plain ? text : fat::directory::EncodeDirectoryResponse(text, offset));
}

} // namespace

int main(int argc, char* argv[]) {
    if (argc < 3 || argc > 4 || (argc == 4 && std::string(argv[3]) != "--plain")) {
        std::fprintf(stderr, "usage: %s <port> <list.json> [--plain]\n", argv[0]);
        return 2;
    }
    const int port = std::atoi(argv[1]);
    const std::string listFile = argv[2];
    const bool plain = argc == 4;

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port));
    if (port <= 0 || port > 65535 || listener < 0 ||
        bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 || listen(listener, 16) != 0) {
        std::perror("directory_server: cannot listen on 127.0.0.1");
        return 1;
    }
    std::printf("directory server on http://127.0.0.1:%d%s serving %s\n", port, TQDXConnection::kListPath,
                listFile.c_str());
    std::fflush(stdout);

    std::mt19937 random(std::random_device{}());
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        const std::string head = ReadHead(client);
        if (!head.empty()) {
            const std::string answer = Respond(head, listFile, plain, random);
            std::printf("%s -> %s\n", head.substr(0, head.find("\r\n")).c_str(),
                        answer.substr(9, answer.find("\r\n") - 9).c_str());
            std::fflush(stdout);
            for (std::size_t sent = 0; sent < answer.size();) {
                const ssize_t n = send(client, answer.data() + sent, answer.size() - sent, MSG_NOSIGNAL);
                if (n <= 0) break;
                sent += static_cast<std::size_t>(n);
            }
        }
        close(client);
    }
}
