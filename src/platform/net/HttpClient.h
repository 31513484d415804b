#pragma once
#include "platform/net/HttpResponse.h"
#include "platform/net/ProxySettings.h"

#include <cstddef>
#include <functional>
#include <memory>
#include <string>

namespace fat::net {

// HTTP/1.1 GET over libcurl. One client owns one curl handle and runs one request at a time;
// it is not shared between threads. Only http:// and https:// URLs are accepted and redirects
// are not followed.
class HttpClient {
public:
    // Asked when the server answers 401. It may fill in (or change) the credentials; returning
    // true repeats the request once with them as basic authentication.
    using AuthorizationHandler = std::function<bool(std::string& userName, std::string& password)>;

    HttpClient();
    ~HttpClient();
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    // Credentials sent with the request itself as basic authentication, while the switch is on
    // and the user name is not empty.
    void setCredentials(const std::string& userName, const std::string& password);
    const std::string& userName() const { return userName_; }
    const std::string& password() const { return password_; }
    void setBasicAuthentication(bool on) { basicAuthentication_ = on; }
    bool basicAuthentication() const { return basicAuthentication_; }
    void setAuthorizationHandler(AuthorizationHandler handler) { onAuthorization_ = std::move(handler); }

    void setProxy(const ProxySettings& proxy) { proxy_ = proxy; }
    const ProxySettings& proxy() const { return proxy_; }

    // Longest wait for data, in milliseconds, counted from the start of the request (so it also
    // bounds connecting and the wait for the first byte) and again after every byte received.
    // 0 waits without limit.
    void setReadTimeoutMs(int ms) { readTimeoutMs_ = ms; }
    int readTimeoutMs() const { return readTimeoutMs_; }
    // Longest wait for the TCP connection alone; 0 leaves it to the read timeout and libcurl.
    void setConnectTimeoutMs(int ms) { connectTimeoutMs_ = ms; }
    // A body larger than this fails with NetError::Kind::TooLarge.
    void setMaxBodyBytes(std::size_t bytes) { maxBodyBytes_ = bytes; }

    // Any status is returned as a response; a request without an HTTP answer raises NetError.
    HttpResponse get(const std::string& url);

private:
    struct Impl;
    HttpResponse perform(const std::string& url, const std::string& userName, const std::string& password,
                         bool sendCredentials);

    std::unique_ptr<Impl> impl_;
    std::string userName_;
    std::string password_;
    bool basicAuthentication_ = true;
    AuthorizationHandler onAuthorization_;
    ProxySettings proxy_;
    int readTimeoutMs_ = 0;
    int connectTimeoutMs_ = 0;
    std::size_t maxBodyBytes_ = 64u * 1024u * 1024u;
};

} // namespace fat::net
