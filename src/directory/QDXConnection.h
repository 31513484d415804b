#pragma once
#include "directory/DatabaseChooser.h"
#include "directory/DatabaseInfo.h"
#include "platform/net/ProxySettings.h"

#include <memory>
#include <string>
#include <string_view>

namespace fat::net { class HttpClient; }

namespace fat::directory {

class TQDXConnectionThread;

// Which system the client serves. This product is the first; the first two share the
// directory credentials, and only the first has its company list parsed.
enum class TSistema { First, Second, Third };

// Client of the directory server: fetches the companies and their databases over HTTP,
// decodes the scrambled answer and keeps the records. Used on the main thread; its worker
// thread runs from creation to destruction and touches none of this state.
class TQDXConnection {
public:
    static constexpr const char* kUserName = "qdx";
    static constexpr const char* kPassword = "9b1f04c27e65a3d8f0c2b7e419a6d350";
    static constexpr const char* kListPath = "/services/rest/TAccessMethods/ListDatabases";
    static constexpr int kDefaultPort = 8080;
    static constexpr int kReadTimeoutMs = 5000;

    TQDXConnection();
    ~TQDXConnection();
    TQDXConnection(const TQDXConnection&) = delete;
    TQDXConnection& operator=(const TQDXConnection&) = delete;

    // True until a company list was loaded; true again from the start of every load.
    bool Offline() const { return offline_; }

    // "name" or "name:port". Sets Port (8080 without a colon, or when the text after it is not
    // a port number 1..65535) and BaseUrl ("http://name:port"). Contacts nothing.
    void SetHost(const std::string& value);
    const std::string& Host() const { return host_; }
    const std::string& HostName() const { return hostName_; }
    int Port() const { return port_; }
    const std::string& BaseUrl() const { return baseUrl_; }

    // The first two values set the directory credentials; the others leave them as they are.
    void SetSistema(TSistema value);
    TSistema Sistema() const { return sistema_; }
    const std::string& UserName() const { return userName_; }
    const std::string& Password() const { return password_; }

    // Copied into the HTTP client before every load; empty means a direct connection.
    net::ProxySettings& Proxy() { return proxy_; }
    // On: answers are encoded (see ResponseCodec.h). Off: the body is the JSON text itself.
    void SetEncrypt(bool on) { encrypt_ = on; }
    bool Encrypt() const { return encrypt_; }

    // Fetches and parses the list. Never raises: on any failure Companies is empty, Offline
    // stays true and LastLoadError() tells why. SelectedDatabase is cleared, since it pointed
    // into the list being replaced.
    void LoadDatabases() noexcept;
    const std::string& LastLoadError() const { return lastLoadError_; }

    int CompanyCount() const { return static_cast<int>(companies_.size()); }
    // The company at a 0-based index in server order; none outside the list.
    const TCompanyInfo* Company(int index) const;
    const TInfoList& Companies() const { return companies_; }

    const TDatabaseInfo* SelectedDatabase() const { return selectedDatabase_; }
    void SetSelectedDatabase(const TDatabaseInfo* database) { selectedDatabase_ = database; }

    // Every database of that kind (any parent), company by company, offered through the
    // installed chooser with the first one selected. Ok sets SelectedDatabase; Ok with no
    // entry chosen raises fat::Error, and so does a call with no chooser installed.
    DialogResult SelectDatabase(int kind);
    // Not owned; must outlive its use. nullptr removes it.
    void SetDatabaseChooser(DatabaseChooser* chooser) { chooser_ = chooser; }

    // One GET and the decoding of its body. Raises on a failed request or a status other than 2xx.
    std::string GetText(const std::string& url);
    std::string DecodeResponse(std::string_view body) const;

    // The HTTP client the load uses: basic authentication, read timeout kReadTimeoutMs.
    net::HttpClient& Http() { return *http_; }

private:
    void PeriodicStep();
    void ParseCompanies(const std::string& text);

    bool offline_ = true;
    std::string host_;
    std::string hostName_;
    int port_ = kDefaultPort;
    std::string baseUrl_;
    TSistema sistema_ = TSistema::First;
    std::string userName_;
    std::string password_;
    net::ProxySettings proxy_;
    bool encrypt_ = true;
    std::unique_ptr<net::HttpClient> http_;
    TInfoList companies_;
    const TDatabaseInfo* selectedDatabase_ = nullptr;
    DatabaseChooser* chooser_ = nullptr;
    std::string lastLoadError_;
    std::unique_ptr<TQDXConnectionThread> worker_;
};

// The process's single client, created on first use (at start-up, before any window).
TQDXConnection& QDXConnection();

} // namespace fat::directory
