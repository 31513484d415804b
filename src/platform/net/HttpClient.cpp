#include "platform/net/HttpClient.h"

#include "platform/net/NetError.h"

#include <curl/curl.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <mutex>

namespace fat::net {

namespace {

using Clock = std::chrono::steady_clock;

void InitialiseCurlOnce() {
    static std::once_flag once;
    static CURLcode result = CURLE_OK;
    std::call_once(once, [] { result = curl_global_init(CURL_GLOBAL_DEFAULT); });
    if (result != CURLE_OK) throw Error(std::string("libcurl could not be initialised: ") + curl_easy_strerror(result));
}

struct EasyDeleter {
    void operator()(CURL* easy) const { curl_easy_cleanup(easy); }
};
struct MultiDeleter {
    void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// What the callbacks collect during one transfer.
struct Transfer {
    HttpResponse response;
    std::size_t maxBodyBytes = 0;
    bool bodyTooLarge = false;
    Clock::time_point lastActivity = Clock::now();
};

std::size_t OnBody(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    t.lastActivity = Clock::now();
    if (t.response.body.size() + length > t.maxBodyBytes) {
        t.bodyTooLarge = true;
        return 0; // makes libcurl stop with a write error
    }
    t.response.body.append(data, length);
    return length;
}

std::size_t OnHeader(char* data, std::size_t size, std::size_t count, void* user) {
    auto& t = *static_cast<Transfer*>(user);
    const std::size_t length = size * count;
    t.lastActivity = Clock::now();
    std::string line(data, length);
    while (!line.empty() && (line.back() == '\n' || line.back() == '\r')) line.pop_back();
    if (line.rfind("HTTP/", 0) == 0) {
        t.response.headers.clear(); // a new response starts (after a 100 Continue, for example)
        return length;
    }
    const auto colon = line.find(':');
    if (colon == std::string::npos || colon == 0) return length;
    std::size_t start = colon + 1;
    while (start < line.size() && (line[start] == ' ' || line[start] == '\t')) ++start;
    t.response.headers.emplace_back(line.substr(0, colon), line.substr(start));
    return length;
}

template <typename T>
void SetOption(CURL* easy, CURLoption option, T value) {
    const CURLcode rc = curl_easy_setopt(easy, option, value);
    if (rc != CURLE_OK) throw NetError(NetError::Kind::Protocol, std::string("libcurl option refused: ") + curl_easy_strerror(rc));
}

std::string Describe(CURL* easy, CURLcode rc, const char* errorBuffer) {
    std::string detail = errorBuffer[0] ? errorBuffer : curl_easy_strerror(rc);
    long osErrno = 0;
    if (curl_easy_getinfo(easy, CURLINFO_OS_ERRNO, &osErrno) == CURLE_OK && osErrno != 0)
        detail += std::string(" (") + std::strerror(static_cast<int>(osErrno)) + ")";
    return detail;
}

} // namespace

struct HttpClient::Impl {
    std::unique_ptr<CURL, EasyDeleter> easy;
    std::unique_ptr<CURLM, MultiDeleter> multi;
};

HttpClient::HttpClient() : impl_(std::make_unique<Impl>()) {
    InitialiseCurlOnce();
    impl_->easy.reset(curl_easy_init());
    impl_->multi.reset(curl_multi_init());
    if (!impl_->easy || !impl_->multi) throw Error("libcurl could not create a request handle");
}

HttpClient::~HttpClient() = default;

void HttpClient::setCredentials(const std::string& userName, const std::string& password) {
    userName_ = userName;
    password_ = password;
}

HttpResponse HttpClient::get(const std::string& url) {
    HttpResponse response = perform(url, userName_, password_, basicAuthentication_ && !userName_.empty());
    if (response.status == 401 && onAuthorization_) {
        std::string user = userName_;
        std::string password = password_;
        if (onAuthorization_(user, password)) response = perform(url, user, password, true);
    }
    return response;
}

HttpResponse HttpClient::perform(const std::string& url, const std::string& userName, const std::string& password,
                                 bool sendCredentials) {
    CURL* easy = impl_->easy.get();
    CURLM* multi = impl_->multi.get();
    const std::string what = "HTTP GET of " + url + " failed: ";
    char errorBuffer[CURL_ERROR_SIZE] = {};
    Transfer transfer;
    transfer.maxBodyBytes = maxBodyBytes_;

    curl_easy_reset(easy); // every request states all its options; nothing carries over
    SetOption(easy, CURLOPT_URL, url.c_str());
    SetOption(easy, CURLOPT_PROTOCOLS_STR, "http,https");
    SetOption(easy, CURLOPT_HTTPGET, 1L);
    SetOption(easy, CURLOPT_NOSIGNAL, 1L);
    SetOption(easy, CURLOPT_FOLLOWLOCATION, 0L);
    SetOption(easy, CURLOPT_ERRORBUFFER, errorBuffer);
    SetOption(easy, CURLOPT_WRITEFUNCTION, &OnBody);
    SetOption(easy, CURLOPT_WRITEDATA, &transfer);
    SetOption(easy, CURLOPT_HEADERFUNCTION, &OnHeader);
    SetOption(easy, CURLOPT_HEADERDATA, &transfer);
    if (connectTimeoutMs_ > 0) SetOption(easy, CURLOPT_CONNECTTIMEOUT_MS, static_cast<long>(connectTimeoutMs_));
    if (sendCredentials) {
        SetOption(easy, CURLOPT_HTTPAUTH, static_cast<long>(CURLAUTH_BASIC));
        SetOption(easy, CURLOPT_USERNAME, userName.c_str());
        SetOption(easy, CURLOPT_PASSWORD, password.c_str());
    }
    if (proxy_.empty()) {
        SetOption(easy, CURLOPT_PROXY, ""); // direct, whatever the environment says
    } else {
        SetOption(easy, CURLOPT_PROXY, proxy_.server.c_str());
        SetOption(easy, CURLOPT_PROXYTYPE, static_cast<long>(CURLPROXY_HTTP));
        if (proxy_.port > 0) SetOption(easy, CURLOPT_PROXYPORT, static_cast<long>(proxy_.port));
        if (!proxy_.userName.empty()) {
            SetOption(easy, CURLOPT_PROXYUSERNAME, proxy_.userName.c_str());
            SetOption(easy, CURLOPT_PROXYPASSWORD, proxy_.password.c_str());
            SetOption(easy, CURLOPT_PROXYAUTH,
                      static_cast<long>(proxy_.basicAuthentication ? CURLAUTH_BASIC : CURLAUTH_ANY));
        }
    }

    if (curl_multi_add_handle(multi, easy) != CURLM_OK) throw NetError(NetError::Kind::Protocol, what + "libcurl refused the request");
    struct Detach {
        CURLM* multi;
        CURL* easy;
        ~Detach() { curl_multi_remove_handle(multi, easy); }
    } detach{multi, easy};

    // The multi interface lets us wait exactly as long as the read timeout allows.
    const auto readTimeout = std::chrono::milliseconds(readTimeoutMs_);
    transfer.lastActivity = Clock::now();
    for (;;) {
        int running = 0;
        const CURLMcode mc = curl_multi_perform(multi, &running);
        if (mc != CURLM_OK) throw NetError(NetError::Kind::Protocol, what + curl_multi_strerror(mc));
        if (running == 0) break;
        int waitMs = 1000;
        if (readTimeoutMs_ > 0) {
            const auto idle = std::chrono::duration_cast<std::chrono::milliseconds>(Clock::now() - transfer.lastActivity);
            if (idle >= readTimeout)
                throw NetError(NetError::Kind::Timeout,
                               what + "no data received within " + std::to_string(readTimeoutMs_) + " ms");
            waitMs = static_cast<int>(std::min<long long>(waitMs, (readTimeout - idle).count()));
        }
        const CURLMcode pc = curl_multi_poll(multi, nullptr, 0, waitMs, nullptr);
        if (pc != CURLM_OK) throw NetError(NetError::Kind::Protocol, what + curl_multi_strerror(pc));
    }

    CURLcode rc = CURLE_OK;
    int queued = 0;
    while (CURLMsg* msg = curl_multi_info_read(multi, &queued))
        if (msg->msg == CURLMSG_DONE && msg->easy_handle == easy) rc = msg->data.result;

    switch (rc) {
    case CURLE_OK:
        break;
    case CURLE_COULDNT_CONNECT:
        throw NetError(NetError::Kind::CouldNotConnect, what + Describe(easy, rc, errorBuffer));
    case CURLE_COULDNT_RESOLVE_HOST:
    case CURLE_COULDNT_RESOLVE_PROXY:
        throw NetError(NetError::Kind::HostNotFound, what + Describe(easy, rc, errorBuffer));
    case CURLE_OPERATION_TIMEDOUT:
        throw NetError(NetError::Kind::Timeout, what + Describe(easy, rc, errorBuffer));
    default:
        if (transfer.bodyTooLarge)
            throw NetError(NetError::Kind::TooLarge,
                           what + "the body is larger than " + std::to_string(maxBodyBytes_) + " bytes");
        throw NetError(NetError::Kind::Protocol, what + Describe(easy, rc, errorBuffer));
    }

    long status = 0;
    curl_easy_getinfo(easy, CURLINFO_RESPONSE_CODE, &status);
    transfer.response.status = static_cast<int>(status);
    return std::move(transfer.response);
}

} // namespace fat::net
