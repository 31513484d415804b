// Development directory server: answers the company-list request on 127.0.0.1 with the JSON
// file given, encoded as the client decodes it, after checking the directory credentials.
//
//   directory_server [--port N] [--plain] [--challenge] [--key-offset K] <list.json>
//
//   --port N        TCP port on 127.0.0.1; default 8080 (the client's default), 0 takes a free one
//   --plain         send the JSON text as it is (for a client with Encrypt off)
//   --challenge     answer the first list request with a 401 challenge, even when it carries
//                   the right credentials (a client must then send them again)
//   --key-offset K  scramble from key offset K (0..4095) instead of a random one per answer
//
// The first line on standard output is "listening on http://127.0.0.1:<port>"; then one line
// per request. The file is read again for every request, so it can be edited while the server
// runs. It listens on the loopback interface only and serves one connection at a time.
#include "directory/QDXConnection.h"
#include "directory/ResponseCodec.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <optional>
#include <random>
#include <sstream>
#include <string>

namespace {

using fat::directory::TQDXConnection;

struct Options {
    int port = TQDXConnection::kDefaultPort;
    std::string listFile;
    bool plain = false;
    bool challenge = false;
    std::optional<int> keyOffset;
};

// A whole number in [low, high] written with digits only.
std::optional<int> ReadNumber(const std::string& text, int low, int high) {
    if (text.empty() || text.size() > 9 || text.find_first_not_of("0123456789") != std::string::npos) return {};
    const int value = std::stoi(text);
    if (value < low || value > high) return {};
    return value;
}

bool ParseOptions(int argc, char* argv[], Options& options, std::string& problem) {
    for (int i = 1; i < argc; ++i) {
        const std::string a = argv[i];
        const auto number = [&](int low, int high) -> std::optional<int> {
            if (i + 1 >= argc) return {};
            return ReadNumber(argv[++i], low, high);
        };
        if (a == "--plain") {
            options.plain = true;
        } else if (a == "--challenge") {
            options.challenge = true;
        } else if (a == "--port") {
            const auto port = number(0, 65535);
            if (!port) return problem = "--port takes a number from 0 to 65535", false;
            options.port = *port;
        } else if (a == "--key-offset") {
            options.keyOffset = number(0, 4095);
            if (!options.keyOffset) return problem = "--key-offset takes a number from 0 to 4095", false;
        } else if (a.rfind("--", 0) == 0 || !options.listFile.empty()) {
            return problem = "unexpected argument " + a, false;
        } else {
            options.listFile = a;
        }
    }
    if (options.listFile.empty()) return problem = "no list file given", false;
    return true;
}

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

constexpr std::size_t kMaxHead = 64 * 1024;

// The request head up to and with the blank line; "" when the client sent none in time. A head
// that does not end within kMaxHead bytes is returned as it is (and refused by Respond).
std::string ReadHead(int client) {
    std::string data;
    char buffer[4096];
    while (data.find("\r\n\r\n") == std::string::npos && data.size() < kMaxHead) {
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

class Server {
public:
    explicit Server(Options options) : options_(std::move(options)), random_(std::random_device{}()) {}

    std::string Respond(const std::string& head) {
        if (head.find("\r\n\r\n") == std::string::npos)
            return Answer(431, "Request Header Fields Too Large", "");
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
        const bool challengeNow = options_.challenge && !challenged_;
        challenged_ = true;
        if (challengeNow || authorization != expected)
            return Answer(401, "Unauthorized", "", "WWW-Authenticate: Basic realm=\"directory\"\r\n");
        std::ifstream file(options_.listFile, std::ios::binary);
        if (!file) return Answer(500, "Internal Server Error", "cannot read " + options_.listFile);
        const std::string text((std::istreambuf_iterator<char>(file)), std::istreambuf_iterator<char>());
        if (options_.plain) return Answer(200, "OK", text);
        const int offset = options_.keyOffset ? *options_.keyOffset : std::uniform_int_distribution<int>(0, 4095)(random_);
        return Answer(200, "OK", fat::directory::EncodeDirectoryResponse(text, offset));
    }

private:
    Options options_;
    std::mt19937 random_;
    bool challenged_ = false;
};

void SendAll(int client, const std::string& bytes) {
    for (std::size_t sent = 0; sent < bytes.size();) {
        const ssize_t n = send(client, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (n <= 0) return;
        sent += static_cast<std::size_t>(n);
    }
}

} // namespace

int main(int argc, char* argv[]) {
    Options options;
    std::string problem;
    if (!ParseOptions(argc, argv, options, problem)) {
        std::fprintf(stderr,
                     "directory_server: %s\nusage: directory_server [--port N] [--plain] [--challenge] "
                     "[--key-offset K] <list.json>\n",
                     problem.c_str());
        return 2;
    }

    const int listener = socket(AF_INET, SOCK_STREAM, 0);
    int on = 1;
    if (listener >= 0) setsockopt(listener, SOL_SOCKET, SO_REUSEADDR, &on, sizeof on);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(options.port));
    socklen_t size = sizeof address;
    if (listener < 0 || bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) != 0 ||
        listen(listener, 16) != 0 || getsockname(listener, reinterpret_cast<sockaddr*>(&address), &size) != 0) {
        std::perror("directory_server: cannot listen on 127.0.0.1");
        return 1;
    }
    std::printf("listening on http://127.0.0.1:%d\n", ntohs(address.sin_port));
    std::printf("serving %s at %s%s%s\n", options.listFile.c_str(), TQDXConnection::kListPath,
                options.plain ? ", plain" : "", options.challenge ? ", first request challenged" : "");
    std::fflush(stdout);

    Server server(options);
    for (;;) {
        const int client = accept(listener, nullptr, nullptr);
        if (client < 0) continue;
        // A client that connects and says nothing must not hold up everyone else.
        const timeval patience{5, 0};
        setsockopt(client, SOL_SOCKET, SO_RCVTIMEO, &patience, sizeof patience);
        const std::string head = ReadHead(client);
        if (!head.empty()) {
            const std::string answer = server.Respond(head);
            std::printf("%s -> %s\n", head.substr(0, std::min<std::size_t>(head.find("\r\n"), 200)).c_str(),
                        answer.substr(9, answer.find("\r\n") - 9).c_str());
            std::fflush(stdout);
            SendAll(client, answer);
        }
        close(client);
    }
}
